// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "DataFile.h"
#include "FileLists.h"
#include "FilePaths.h"
#include "FrmFileBrowse.h"
#include "FrmStatus.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SameData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class FileDialogTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        main = &startProgram();
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
    }
    QString at(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    FrmFileBrowse& openDialog(int mode) {
        mode == 1 ? main->CmdSave_Click() : main->mnuFileOpen_Click();
        return Forms::get<FrmFileBrowse>();
    }
    /// Types `text` in a fresh dialog and presses Okay; returns the messages shown.
    QStringList okay(int mode, const QString& text) {
        msgs->clear();
        FrmFileBrowse& f = openDialog(mode);
        f.TxtFileName->setText(text);
        f.CmdOkay->click();
        EXPECT_FALSE(f.isVisible() || Forms::get<FrmStatus>().isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return msgs->texts();
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(at(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    MDIFormMain* main = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_F(FileDialogTest, ListsFillTheFileNameBox) {
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QStringLiteral("/"));
    FrmFileBrowse& f = openDialog(0);
    QDir::setCurrent(cwd);
    EXPECT_EQ(f.TxtFileName->text(), QStringLiteral("/")); // the root, not "//"
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Runs")));
    for (const char* name : {"a.csv", "B.CSV", "c.Csv", "d.txt", "e.TXT", "noext"})
        write("Runs/" + QLatin1String(name), {});
    // Links to a device or to nothing are neither folders nor files; a link to a folder is one.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Runs/sub")));
    for (auto [link, target] : {std::pair{"dev.csv", "/dev/null"},
                                {"dev", "/dev/null"},
                                {"gone", "/nonexistent"},
                                {"up", ".."}})
        ASSERT_TRUE(QFile::link(QLatin1String(target), at("Runs/") + link));
    ASSERT_TRUE(f.DirPick->setPath(dir.path()));
    f.DirPick->openFolder(f.DirPick->rowOf(at("Runs")));
    EXPECT_EQ(f.TxtFileName->text(), at("Runs/"));
    QStringList folders;
    for (int r = f.DirPick->currentRow() + 1; r < f.DirPick->count(); ++r)
        folders << QFileInfo(f.DirPick->folderAt(r)).fileName();
    EXPECT_EQ(folders, (QStringList{"sub", "up"}));
    EXPECT_EQ(f.FilList->fileNames(), (QStringList{"a.csv", "B.CSV", "c.Csv"}));
    emit f.CmbFileType->activated(1);
    EXPECT_EQ(f.FilList->fileNames(), (QStringList{"d.txt", "e.TXT"}));
    f.FilList->clickFile(1);
    f.FilList->doubleClickFile(0); // a double click does not confirm
    f.DirPick->clickFolder(0);
    EXPECT_EQ(f.TxtFileName->text(), at("Runs/e.TXT"));
    EXPECT_TRUE(f.isVisible() && msgs->calls.isEmpty());
}

TEST_F(FileDialogTest, PathsAndFilesThatFailSayOnlyWhyAndChangeNothing) {
    write("other.csv", "Name,Age\r\nBob,3\r\n");
    CapturedData.at(3, 3) = 33.0f;
    const auto before = std::make_unique<DataFile::Snapshot>(DataFile::currentData());
    const QString saveFormat = FilePaths::SaveFormat;
    const std::tuple<int, QString, QString> cases[] = {
        {0, "abc", FilePaths::ReadFormat},
        {0, "/ab", FilePaths::ReadFormat},
        {0, "/q.z", FilePaths::FileNotFound}, // four characters are enough
        {1, "abc", saveFormat + "4"},
        {0, "Run1.csv", FilePaths::ReadFormat},
        {1, "Run1.csv", saveFormat + "9"},
        {0, at("missing.csv"), FilePaths::FileNotFound},
        {0, at("OTHER.CSV"), FilePaths::FileNotFound}, // names compare exactly
        {0, at("nowhere/run.csv"), FilePaths::DirectoryNotFound},
        {1, at("nowhere/run.csv"), FilePaths::DirectoryNotFound},
        {0, at("folder.csv"), FilePaths::FileNotFound},
        {1, at("folder.csv"), DataFile::SaveFailed},
        {0, at(""), FilePaths::FileNotFound},
        {1, at(""), DataFile::SaveFailed},
        {0, at("other.csv"), DataFile::ReadFailed},
    };
    for (const auto& [mode, text, message] : cases)
        EXPECT_EQ(okay(mode, text), QStringList{message}) << mode << text.toStdString();
    // A name ending in "/" did not turn into a hidden ".CSV" file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"folder.csv", "other.csv"}));
    EXPECT_TRUE(sameBits(DataFile::currentData(), *before));
}

TEST_F(FileDialogTest, SaveAsksBeforeReplacingAndOpenBringsEverythingBackBitForBit) {
    CapturedData.at(1, 1) = 1.0f / 3;
    CapturedData.at(16, 2000) = 98.9f;
    InstrumentType = 4;
    const auto saved = std::make_unique<DataFile::Snapshot>(DataFile::currentData());
    EXPECT_EQ(okay(1, at("run 1")), QStringList{DataFile::SaveComplete});
    const QByteArray bytes = contents(at("run 1.CSV"));

    InstrumentType = 2;
    msgs->answers = {MsgAnswer::No};
    EXPECT_EQ(okay(1, at("run 1")), QStringList{DataFile::ReplaceQuestion});
    EXPECT_EQ(msgs->calls[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(contents(at("run 1.CSV")), bytes);

    main->mnuFileNew_Click();
    EXPECT_EQ(okay(0, at("run 1.CSV")), QStringList{DataFile::AccessComplete});
    EXPECT_TRUE(sameBits(DataFile::currentData(), *saved));
    InstrumentType = 2;
    EXPECT_EQ(okay(1, at("run 1.CSV")),
              (QStringList{DataFile::ReplaceQuestion, DataFile::SaveComplete}));
    EXPECT_NE(contents(at("run 1.CSV")), bytes);
}
