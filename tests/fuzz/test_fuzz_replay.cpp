// SPDX-License-Identifier: GPL-3.0-or-later
// Every stored fuzz input, seeds and past findings alike, goes through its harness again, so
// a mended fault that comes back fails here without clang.
#include "Harnesses.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace Fuzz {
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}
} // namespace Fuzz

namespace {

class FuzzReplay : public testing::TestWithParam<Fuzz::Target> {};

TEST_P(FuzzReplay, StoredInputsPass) {
    const QString name = QString::fromLatin1(GetParam().name.data(), GetParam().name.size());
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        QDir dir(QStringLiteral(TARVOLM_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), name));
        for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
            QFile in(dir.filePath(file));
            ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << in.fileName().toStdString();
            const QByteArray bytes = in.readAll();
            SCOPED_TRACE(in.fileName().toStdString());
            EXPECT_EQ(GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       std::size_t(bytes.size())),
                      0);
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no stored inputs for " << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(Fuzz::Targets),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
