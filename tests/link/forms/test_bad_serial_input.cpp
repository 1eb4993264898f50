// SPDX-License-Identifier: GPL-3.0-or-later
// Serial bytes of any kind, in any split: no crash, no hang, and a change only on a valid record.
#include "FrmGetCal.h"
#include "LinkFormTest.h"
#include "ModVars.h"

#include <QTimer>

#include <random>

namespace {

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

using BadSerialInputTest = LinkFormTest;

TEST_F(BadSerialInputTest, Upload) {
    QList<QByteArray> frames{Frames::SetpointRecord(distinctSets()),
                             Frames::SetpointRecord(distinctSets(90))};
    for (int t = 0; t <= 5; ++t)
        frames << *Frames::IdentifyReply(t);
    std::mt19937 rng{20240611};
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    FrmGetCal& up = Forms::get<FrmGetCal>();
    up.show();
    int identified = 0, uploads = 0;
    for (int i = 0; i < 3000; ++i) {
        if (!up.TmrUpload->isActive()) up.CmdRun_Click();
        const bool identifying = InstrumentFound != 1;
        SetpointStore expected = Setpoints;
        // Whole, cut, tail-only and damaged frames and noise, sometimes after a lost read.
        if (pick(0, 9) == 0) line().incoming.clear();
        for (int p = pick(0, 3); p > 0; --p) {
            QByteArray f = frames[pick(0, int(frames.size()) - 1)];
            const int kind = pick(0, 4);
            if (kind == 0) f = f.left(pick(0, int(f.size()) - 1));
            if (kind == 1) f = f.mid(pick(1, int(f.size())));
            if (kind == 2) f[pick(0, int(f.size()) - 1)] = char(pick(0, 255));
            if (kind == 3) f.resize(pick(1, 20));
            if (kind == 3)
                for (char& c : f)
                    c = char(pick(0, 255));
            line().incoming += f;
        }
        line().lastRead.clear();
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
