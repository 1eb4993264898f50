// SPDX-License-Identifier: GPL-3.0-or-later
// Serial bytes of any kind, in any split: no crash, no hang, and a change only on a valid record.
#include "FrmGetCal.h"
#include "LinkFormTest.h"
#include "ModVars.h"

#include <QTimer>

#include <random>

namespace {

class BadSerialInputTest : public LinkFormTest {
protected:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    QByteArray noise(int size) {
        QByteArray bytes(size, 0);
        for (char& c : bytes)
            c = char(pick(0, 255));
        return bytes;
    }
    /// Adds random bytes mixed with whole, cut and damaged copies of `frames` to the line
    /// (sometimes dropping what waited there) and forgets the last read.
    void feed(const QList<QByteArray>& frames) {
        if (pick(0, 9) == 0) line().incoming.clear();
        for (int p = pick(0, 3); p > 0; --p) {
            QByteArray f = frames[pick(0, int(frames.size()) - 1)];
            const int kind = pick(0, 4); // whole (4), cut, tail only, damaged or noise
            if (kind == 0) f = f.left(pick(0, int(f.size()) - 1));
            if (kind == 1) f = f.mid(pick(1, int(f.size())));
            if (kind == 2) f[pick(0, int(f.size()) - 1)] = char(pick(0, 255));
            if (kind == 3) f = noise(pick(1, 20));
            line().incoming += f;
        }
        line().lastRead.clear();
    }
    std::mt19937 rng{20240611};
    static constexpr int Reads = 3000;
};

/// The sets of the first record in `read`, looked for the plain way.
std::optional<Frames::FourSets> recordIn(const QByteArray& read) {
    for (int i = 0; i + 44 <= read.size() && i < 1200; ++i) {
        unsigned sum = 0;
        for (int j = 0; j < 43; ++j)
            sum += std::uint8_t(read[i + j]);
        if (read[i] == 1 && std::uint8_t(sum) == std::uint8_t(read[i + 43]))
            return Frames::SetpointRecordSets(read, i);
    }
    return std::nullopt;
}

} // namespace

TEST_F(BadSerialInputTest, Upload) {
    QList<QByteArray> frames{Frames::SetpointRecord(distinctSets()),
                             Frames::SetpointRecord(distinctSets(90))};
    for (int t = 0; t <= 5; ++t)
        frames << *Frames::IdentifyReply(t);
    FrmGetCal& up = Forms::get<FrmGetCal>();
    up.show();
    int identified = 0, uploads = 0;
    for (int i = 0; i < Reads; ++i) {
        if (!up.TmrUpload->isActive()) up.CmdRun_Click();
        const bool identifying = InstrumentFound != 1;
        SetpointStore expected = Setpoints;
        feed(frames);
        up.TmrUpload_Timer();
        const QByteArray& read = line().lastRead;
        if (identifying) {
            bool valid = false;
            for (int t = 0; t <= 5; ++t)
                valid = valid || read.contains(*Frames::IdentifyReply(t));
            ASSERT_EQ(InstrumentFound == 1, valid) << read.toHex().constData();
            ASSERT_TRUE(!valid || read.contains(*Frames::IdentifyReply(InstrumentType)));
            identified += valid;
        } else if (const auto sets = recordIn(read)) {
            expected = storeWith(expected, *sets);
            ++uploads;
        }
        ASSERT_EQ(Setpoints, expected) << read.toHex().constData();
    }
    EXPECT_GT(identified, 20); // the mix reaches both phases and both outcomes
    EXPECT_GT(uploads, 10);
}
