// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QToolButton>

#include <memory>

class PictureButton;
class SpreadGrid;
class CellStore;

/// The program's main window: toolbar, menus, the status line and the captured-data panel.
/// It opens the task windows, hiding the others first, so that at most one shows at a time.
class MDIFormMain : public Form {
    Q_OBJECT
public:
    MDIFormMain();
    ~MDIFormMain() override;

    /// Every task window leaves as it was made to (`Form::Leaving`): the capture and file
    /// windows are released, the graph and analysis windows unloaded, the others hidden. A
    /// hidden window's exchange goes on; a released capture window stops its own, so that the
    /// next one can open the port.
    void HideChildForms();

    /// Writes the status line, loading the main window if needed.
    static void setStatusLine(const QString& text);
    /// The captured-data grid, loading the main window if needed.
    static SpreadGrid& torqueGrid();

    // Controls, by their given names.
    QWidget* PicButtons = nullptr;
    PictureButton* CmdOpen = nullptr;
    PictureButton* CmdSave = nullptr;
    PictureButton* CmdGraph = nullptr;
    PictureButton* CmdNetwork = nullptr;
    PictureButton* CmdUpload = nullptr;
    PictureButton* CmdGetPresets = nullptr;
    PictureButton* CmdDownLoad = nullptr;
    PictureButton* CmdSetPoints = nullptr;
    PictureButton* CmdExit = nullptr;
    QToolButton* SmartHelp1 = nullptr;
    QCheckBox* ChkData = nullptr;
    QWidget* PicStatus = nullptr;
    QLabel* LblStatus = nullptr;
    QWidget* PicMain = nullptr;
    SpreadGrid* spdTorque = nullptr;

    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuEditParams = nullptr;
    QAction* mnuCommNetwork = nullptr;
    QAction* mnuUploadTool = nullptr;
    QAction* mnuUploadVL = nullptr;
    QAction* mnuDownloadVL = nullptr;
    QAction* mnuGraphMult = nullptr;
    QAction* mnuGraphAnalyse = nullptr;
    QAction* mnuHelpBook = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Event procedures.
    void MDIForm_Resize();
    void ChkData_Click();
    void CmdOpen_Click();
    void CmdSave_Click();
    void CmdGraph_Click();
    void CmdNetwork_Click();
    void CmdUpload_Click();
    void CmdGetPresets_Click();
    void CmdDownLoad_Click();
    void CmdSetPoints_Click();
    void CmdExit_Click();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileExit_Click();
    void mnuEditParams_Click();
    void mnuCommNetwork_Click();
    void mnuUploadTool_Click();
    void mnuUploadVL_Click();
    void mnuDownloadVL_Click();
    void mnuGraphMult_Click();
    void mnuGraphAnalyse_Click();
    void mnuHelpBook_Click();
    void mnuHelpAbout_Click();

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;
    void closeRequested() override;

private:
    void MDIForm_Initialize();
    void buildToolbar(QMainWindow* w);
    void buildMenus(QMainWindow* w);
    void writeRowHeaders();
    void openFileBrowser(int mode);
    template <class T> void showTask();

    std::unique_ptr<CellStore> capturedStore_;
};
