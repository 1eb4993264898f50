// SPDX-License-Identifier: GPL-3.0-or-later
// Saves two data files over TARGET in turn until it is killed: the subject of the test that
// kills a save at random moments.
//   tarvolm_save_loop TARGET FIRST SECOND
#include "DataFile.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarvolm_save_loop TARGET FIRST SECOND\n");
        return 2;
    }
    std::unique_ptr<DataFile::Snapshot> data[2];
    for (int i = 0; i < 2; ++i) {
        data[i] = std::make_unique<DataFile::Snapshot>();
        if (DataFile::readDataFile(QString::fromLocal8Bit(argv[2 + i]), *data[i]).status !=
            DataFile::ReadStatus::Ok)
            return 1;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    // The killer's clock starts here, not at our start-up.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int i = 0;; i ^= 1)
        if (!DataFile::saveDataFile(target, *data[i])) return 1;
}
