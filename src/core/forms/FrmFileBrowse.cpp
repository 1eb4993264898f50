// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmFileBrowse.h"

#include "DataFile.h"
#include "FileLists.h"
#include "FilePaths.h"
#include "FrmStatus.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "Screen.h"
#include "SpreadGrid.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include <memory>

namespace {

DataFile::Progress progressTo(const ProgressShown& shown) {
    return [bar = &shown.bar()](float percent) { bar->setProgress(percent); };
}

} // namespace

FrmFileBrowse::FrmFileBrowse() : TaskForm(QStringLiteral("FrmFileBrowse"), Leaving::Release) {}

void FrmFileBrowse::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("File Browser"));

    DrvPick = new DriveList(w);
    DrvPick->setObjectName(QStringLiteral("DrvPick"));
    DrvPick->setToolTip(QStringLiteral("Use to Choose Current Drive."));
    // A long mount point must not widen the folder column beyond the file column.
    DrvPick->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DrvPick->setMinimumContentsLength(8);
    DirPick = new FolderList(w);
    DirPick->setObjectName(QStringLiteral("DirPick"));
    DirPick->setToolTip(QStringLiteral("Use To Select Directory."));
    FilList = new FileList(w);
    FilList->setObjectName(QStringLiteral("FilList"));
    FilList->setToolTip(QStringLiteral("Use To Select an Existing File."));
    TxtFileName = new QLineEdit(w);
    TxtFileName->setObjectName(QStringLiteral("TxtFileName"));
    TxtFileName->setToolTip(QStringLiteral("Use to Specify File  in /Path/Name Format"));
    CmbFileType = new QComboBox(w);
    CmbFileType->setObjectName(QStringLiteral("CmbFileType"));
    CmbFileType->addItems(
        {QStringLiteral("*.CSV"), QStringLiteral("*.TXT"), QStringLiteral("*.*")});
    CmbFileType->setToolTip(QStringLiteral("Use to Select File Type"));
    CmdOkay = new QPushButton(QStringLiteral("&Okay"), w);
    CmdOkay->setObjectName(QStringLiteral("CmdOkay"));
    CmdOkay->setToolTip(QStringLiteral("Press to Use Current File Name."));
    CmdOkay->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("&Cancel"), w);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setToolTip(QStringLiteral("Press to Cancel Selection."));

    auto label = [w](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QLatin1String(text), w);
        l->setBuddy(buddy);
        return l;
    };
    LblLookIn = label("Look In:", DrvPick);
    LblPathName = label("Path Name:", DirPick);
    LblFiles = label("Files In This Directory:", FilList);
    LblFileName = label("File Name:", TxtFileName);
    LblFileType = label("File Type:", CmbFileType);

    // The lists start where the program was started from, as a fresh dialog always does; a
    // folder that has gone since then gives way to the home folder, or the root.
    if (!DirPick->setPath(QDir::currentPath()) && !DirPick->setPath(QDir::homePath()))
        DirPick->setPath(QStringLiteral("/"));
    DrvPick->setDriveQuietly(DirPick->path());
    FilList->setPattern(CmbFileType->currentText());
    FilList->setPath(DirPick->path());

    auto* lists = new QGridLayout;
    lists->addWidget(LblLookIn, 0, 0);
    lists->addWidget(DrvPick, 1, 0);
    lists->addWidget(LblPathName, 2, 0);
    lists->addWidget(DirPick, 3, 0);
    lists->addWidget(LblFiles, 2, 1);
    lists->addWidget(FilList, 3, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);
    lists->setRowStretch(3, 1);
    lists->setHorizontalSpacing(twips(180));

    auto* entry = new QGridLayout;
    entry->addWidget(LblFileName, 0, 0);
    entry->addWidget(TxtFileName, 0, 1);
    entry->addWidget(CmdOkay, 0, 2);
    entry->addWidget(LblFileType, 1, 0);
    entry->addWidget(CmbFileType, 1, 1, Qt::AlignLeft);
    entry->addWidget(CmdCancel, 1, 2);
    entry->setColumnStretch(1, 1);
    CmbFileType->setMinimumWidth(twips(1500));
    CmdOkay->setMinimumWidth(twips(1200));
    CmdCancel->setMinimumWidth(twips(1200));

    auto* layout = new QVBoxLayout(w);
    layout->addLayout(lists, 1);
    layout->addSpacing(twips(120));
    layout->addLayout(entry);

    QWidget::setTabOrder(TxtFileName, CmbFileType);
    QWidget::setTabOrder(CmbFileType, CmdOkay);
    QWidget::setTabOrder(CmdOkay, CmdCancel);
    QWidget::setTabOrder(CmdCancel, DrvPick);
    QWidget::setTabOrder(DrvPick, DirPick);
    QWidget::setTabOrder(DirPick, FilList);

    connect(DrvPick, &DriveList::Change, this, &FrmFileBrowse::DrvPick_Change);
    connect(DirPick, &FolderList::Change, this, &FrmFileBrowse::DirPick_Change);
    connect(DirPick, &FolderList::Click, this, &FrmFileBrowse::DirPick_Click);
    connect(FilList, &FileList::Click, this, &FrmFileBrowse::FilList_Click);
    connect(FilList, &FileList::DblClick, this, &FrmFileBrowse::FilList_DblClick);
    connect(CmbFileType, &QComboBox::activated, this, &FrmFileBrowse::CmbFileType_Click);
    connect(CmdOkay, &QPushButton::clicked, this, &FrmFileBrowse::CmdOkay_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmFileBrowse::CmdCancel_Click);
    // The keyboard's way to Okay and Cancel.
    connect(TxtFileName, &QLineEdit::returnPressed, this, &FrmFileBrowse::CmdOkay_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), w);
    connect(escape, &QShortcut::activated, this, &FrmFileBrowse::CmdCancel_Click);

    w->setMinimumSize(twips(5400), twips(4050));
    w->resize(twips(7200), twips(5400));
}

void FrmFileBrowse::Form_Activate() {
    TxtFileName->setText(FilePaths::folderText(FilList->path()));
    FocusFileName();
    if (FileBrowseMode == 1) {
        window()->setWindowTitle(QStringLiteral("Save File"));
        window()->setWindowIcon(QIcon(picture(QStringLiteral("tb_save"))));
        setStatus(QStringLiteral("Status: Save File."));
    } else {
        window()->setWindowTitle(QStringLiteral("Read File"));
        window()->setWindowIcon(QIcon(picture(QStringLiteral("tb_open"))));
        setStatus(QStringLiteral("Status: Read File."));
    }
}

void FrmFileBrowse::FocusFileName() {
    TxtFileName->setFocus();
    TxtFileName->deselect();
    TxtFileName->setCursorPosition(int(TxtFileName->text().size()));
}

void FrmFileBrowse::DrvPick_Change() {
    // A root that cannot be listed puts the drive list back where the folder list is.
    if (!DirPick->setPath(DrvPick->drive())) DrvPick->setDriveQuietly(DirPick->path());
    FocusFileName();
}

void FrmFileBrowse::DirPick_Change() {
    FilList->setPath(DirPick->path());
    // The folder list may cross into another mounted file system.
    DrvPick->setDriveQuietly(DirPick->path());
    TxtFileName->setText(FilePaths::folderText(DirPick->path()));
    FocusFileName();
}

void FrmFileBrowse::DirPick_Click() {
    FocusFileName();
}

void FrmFileBrowse::FilList_Click() {
    TxtFileName->setText(FilePaths::folderText(FilList->path()) + FilList->fileName());
    FocusFileName();
}

void FrmFileBrowse::FilList_DblClick() {
    FocusFileName();
}

void FrmFileBrowse::CmbFileType_Click(int index) {
    static const char* const patterns[] = {"*.csv", "*.txt", "*.*"};
    if (index >= 0 && index < 3) FilList->setPattern(QLatin1String(patterns[index]));
    FocusFileName();
}

void FrmFileBrowse::CmdCancel_Click() {
    hide();
}

void FrmFileBrowse::CmdOkay_Click() {
    // Linux paths are case-sensitive: the name is used exactly as typed.
    DataFileName = TxtFileName->text();
    hide();
    if (FileBrowseMode == 0)
        ReadDataFile();
    else if (FileBrowseMode == 1)
        SaveDataFile();
}

void FrmFileBrowse::SaveDataFile() {
    const FilePaths::PathTest test = FilePaths::testPath(DataFileName, FilePaths::Mode::Save);
    if (!test.ok()) {
        MsgBox(test.message);
        return;
    }
    DataFileDir = test.split.dir;
    DataFileTitle = test.split.title;
    WriteDataFile();
}

void FrmFileBrowse::ReadDataFile() {
    const FilePaths::PathTest test = FilePaths::testPath(DataFileName, FilePaths::Mode::Read);
    // The split comes before the existence test, so a missing file still sets it.
    if (test.ok() || test.status == FilePaths::PathStatus::NoFile) {
        DataFileDir = test.split.dir;
        DataFileTitle = test.split.title;
    }
    if (!test.ok()) {
        MsgBox(test.message);
        return;
    }

    DataFile::ReadResult result;
    {
        // The dialog goes off screen while the file loads, so the hourglass is the program's.
        const ProgressShown shown;
        hide();
        result = DataFile::loadDataFile(DataFileName, progressTo(shown));
    }
    if (result.status == DataFile::ReadStatus::Ok) MDIFormMain::torqueGrid().refresh();
    for (const QString& message : DataFile::readMessages(result.status))
        MsgBox(message);
}

void WriteDataFile() {
    // A name ending in "/" names a folder. Checked before the extension rule, which would
    // otherwise turn it into a hidden file called ".CSV" inside that folder.
    if (FilePaths::endsWithSeparator(DataFileName)) {
        MsgBox(DataFile::SaveFailed);
        return;
    }
    DataFileName = FilePaths::withDefaultExtension(DataFileName);
    if (FilePaths::isExistingFile(DataFileName) &&
        MsgBox(DataFile::ReplaceQuestion, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;

    bool saved = false;
    {
        const ProgressShown shown;
        const auto data = std::make_unique<DataFile::Snapshot>(DataFile::currentData());
        saved = DataFile::saveDataFile(DataFileName, *data, progressTo(shown));
    }
    MsgBox(saved ? DataFile::SaveComplete : DataFile::SaveFailed);
}
