// SPDX-License-Identifier: GPL-3.0-or-later
#include "Harnesses.h"

#include "DataFile.h"
#include "FilePaths.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Fuzz {

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

namespace {

bool sameData(const DataFile::Snapshot& a, const DataFile::Snapshot& b) {
    return a.instrumentType == b.instrumentType && a.setpoints == b.setpoints && a.table == b.table;
}

DataFile::ReadStatus read(QByteArray bytes, DataFile::Snapshot& into) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    return DataFile::readDataFile(in, into).status;
}

} // namespace

int dataFile(const std::uint8_t* data, std::size_t size) {
    auto staged = std::make_unique<DataFile::Snapshot>();
    const auto status =
        read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), *staged);
    if (status != DataFile::ReadStatus::Ok) return 0;
    check(staged->instrumentType >= 0 && staged->instrumentType <= 5, "type 0 to 5");
    for (const auto& row : staged->table.cells)
        for (float v : row)
            check(v >= 0.0f && v <= 99.0f, "levels 0 to 99");
    // Whatever was accepted must survive a save and a read unchanged.
    const QByteArray saved = DataFile::dataFileBytes(*staged);
    auto again = std::make_unique<DataFile::Snapshot>();
    check(read(saved, *again) == DataFile::ReadStatus::Ok, "a saved file reads back");
    check(sameData(*staged, *again), "a saved file reads back the same");
    return 0;
}

int filePath(const std::uint8_t* data, std::size_t size) {
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto split = FilePaths::splitPath(path);
    check(split.dir + split.title == path && !split.title.contains(QLatin1Char('/')),
          "folder and title make the path");
    check(FilePaths::withDefaultExtension(path).contains(QLatin1Char('.')), "an extension");
    for (auto mode : {FilePaths::Mode::Read, FilePaths::Mode::Save}) {
        const auto test = FilePaths::testPath(path, mode);
        check(!test.ok() || (test.split.dir == split.dir && test.split.title == split.title),
              "a passed path is split as it was typed");
    }
    return 0;
}

} // namespace Fuzz
