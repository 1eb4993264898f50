// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class DriveList;
class FolderList;
class FileList;

/// The program's own file dialog, for reading and saving the data file. FileBrowseMode (0 read,
/// 1 save) is set before it is shown; Okay takes the typed path as DataFileName, hides the
/// dialog and reads or saves.
class FrmFileBrowse : public TaskForm {
    Q_OBJECT
public:
    FrmFileBrowse();

    DriveList* DrvPick = nullptr;
    FolderList* DirPick = nullptr;
    FileList* FilList = nullptr;
    QLineEdit* TxtFileName = nullptr;
    QComboBox* CmbFileType = nullptr;
    QPushButton* CmdOkay = nullptr;
    QPushButton* CmdCancel = nullptr;
    QLabel* LblLookIn = nullptr;
    QLabel* LblPathName = nullptr;
    QLabel* LblFiles = nullptr;
    QLabel* LblFileName = nullptr;
    QLabel* LblFileType = nullptr;

    void DrvPick_Change();
    void DirPick_Change();
    void DirPick_Click();
    void FilList_Click();
    void FilList_DblClick();
    void CmbFileType_Click(int index);
    void CmdCancel_Click();
    void CmdOkay_Click();

    /// Tests DataFileName as a path to save under, splits it, then writes the data file.
    void SaveDataFile();
    /// Tests DataFileName as a path to read, splits it, then loads the data file; the live data
    /// changes only when the whole file was read and is a data file.
    void ReadDataFile();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    /// Focus to the text box, caret after its last character.
    void FocusFileName();
};

/// Writes the live data to DataFileName (".CSV" appended when the name holds no "."), asking
/// before it replaces a file, with progress in FrmStatus and one message for the outcome.
void WriteDataFile();
