// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFile.h"
#include "FilePaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using FilePaths::Mode;

TEST(FilePaths, ExtensionRuleLooksForADotAnywhere) {
    EXPECT_EQ(FilePaths::withDefaultExtension(QStringLiteral("/data/RUN1")),
              QStringLiteral("/data/RUN1.CSV"));
    EXPECT_EQ(FilePaths::withDefaultExtension(QStringLiteral("/data/run1")),
              QStringLiteral("/data/run1.CSV"));
    EXPECT_EQ(FilePaths::withDefaultExtension(QStringLiteral("/data.old/RUN1")),
              QStringLiteral("/data.old/RUN1"));
    EXPECT_EQ(FilePaths::withDefaultExtension(QStringLiteral("/data/run1.csv")),
              QStringLiteral("/data/run1.csv"));
}

TEST(FilePaths, FormatRuleAndSplitKeepTheTypedCase) {
    EXPECT_EQ(
        FilePaths::formatMessage(QStringLiteral("/ab"), Mode::Save),
        QStringLiteral("Disk Error.  Please access file using /Directory/Filname.Ext format.4"));
    EXPECT_EQ(FilePaths::formatMessage(QStringLiteral("/ab"), Mode::Read),
              QStringLiteral("Please access file using /Directory/Filname.Ext format."));
    EXPECT_EQ(FilePaths::formatMessage(QStringLiteral("data/Run.csv"), Mode::Save),
              FilePaths::SaveFormat + QStringLiteral("13"));
    EXPECT_EQ(FilePaths::formatMessage(QStringLiteral("/a.c"), Mode::Read), QString());

    const auto split = FilePaths::splitPath(QStringLiteral("/Home/Data.Old/Run1.Csv"));
    EXPECT_EQ(split.dir, QStringLiteral("/Home/Data.Old/"));
    EXPECT_EQ(split.title, QStringLiteral("Run1.Csv"));
    EXPECT_EQ(FilePaths::splitPath(QStringLiteral("/tmp/")).title, QString());
    EXPECT_EQ(FilePaths::folderText(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(FilePaths::folderText(QStringLiteral("/ab")), QStringLiteral("/ab/"));
}

class PathTestOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
        QFile f(at("Run1.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QString at(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(PathTestOnDisk, EachFailureEndsInItsMessage) {
    const struct {
        QString path;
        Mode mode;
        QString message;
    } cases[] = {
        {at("nowhere/Run1.csv"), Mode::Read, FilePaths::DirectoryNotFound},
        {at("nowhere/Run1.csv"), Mode::Save, FilePaths::DirectoryNotFound},
        {QStringLiteral("Run1.csv"), Mode::Read, FilePaths::ReadFormat},
        {QStringLiteral("Run1.csv"), Mode::Save, FilePaths::SaveFormat + QStringLiteral("9")},
        {at("Missing.csv"), Mode::Read, FilePaths::FileNotFound},
        {at("RUN1.CSV"), Mode::Read, FilePaths::FileNotFound}, // names compare exactly
        {at("folder.csv"), Mode::Read, FilePaths::FileNotFound},
        {dir.path() + QStringLiteral("/"), Mode::Read, FilePaths::FileNotFound},
        {at("Run1.csv"), Mode::Read, QString()},
        {at("New.csv"), Mode::Save, QString()},
    };
    for (const auto& c : cases) {
        const auto test = FilePaths::testPath(c.path, c.mode);
        EXPECT_EQ(test.message, c.message) << c.path.toStdString();
        if (test.ok()) {
            EXPECT_EQ(test.split.dir + test.split.title, c.path);
        }
    }
    EXPECT_TRUE(FilePaths::isExistingFile(at("Run1.csv")));
    EXPECT_FALSE(FilePaths::isExistingFile(at("folder.csv")));
    EXPECT_FALSE(FilePaths::isExistingFile(at("run1.csv")));
}

TEST_F(PathTestOnDisk, SavingWhereNoFileCanBeMadeFailsAndKeepsWhatWasThere) {
    const auto data = std::make_unique<DataFile::Snapshot>();
    // A path ending in "/", and a name taken by a folder, pass the path test but not the save.
    for (const QString& path : {dir.path() + QStringLiteral("/"), at("folder.csv")}) {
        EXPECT_TRUE(FilePaths::testPath(path, Mode::Save).ok());
        EXPECT_FALSE(FilePaths::isExistingFile(path)); // no replace question
        EXPECT_FALSE(DataFile::saveDataFile(path, *data));
    }
    EXPECT_TRUE(QFileInfo(at("folder.csv")).isDir());
    EXPECT_TRUE(FilePaths::endsWithSeparator(dir.path() + QStringLiteral("/")));
}

TEST_F(PathTestOnDisk, SavingIntoAReadOnlyFolderFails) {
    const QString folder = at("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile old(folder + QStringLiteral("/Old.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("kept");
    old.close();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "folder permissions do not hold for this user (root)";
    }
    const auto data = std::make_unique<DataFile::Snapshot>();
    EXPECT_FALSE(DataFile::saveDataFile(folder + QStringLiteral("/Old.csv"), *data));
    EXPECT_FALSE(DataFile::saveDataFile(folder + QStringLiteral("/New.csv"), *data));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile back(folder + QStringLiteral("/Old.csv"));
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), "kept");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Old.csv")});
}
