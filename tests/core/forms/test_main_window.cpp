// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "FrmAnalyse.h"
#include "FrmAnalyseDialoge.h"
#include "FrmCapture.h"
#include "FrmFileBrowse.h"
#include "FrmGetCal.h"
#include "FrmGraph.h"
#include "FrmGraphInfo.h"
#include "FrmGraphType.h"
#include "FrmNetwork.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "FrmStart.h"
#include "FrmStatus.h"
#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "Screen.h"
#include "SpreadGrid.h"
#include "frmAbout.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>

namespace {

int visibleTaskWindows() {
    const QList<Form*> tasks = {
        &Forms::get<FrmCapture>(),   &Forms::get<FrmGraph>(),          &Forms::get<FrmGetCal>(),
        &Forms::get<FrmNetwork>(),   &Forms::get<FrmGraphInfo>(),      &Forms::get<FrmSetCal>(),
        &Forms::get<FrmSetpoints>(), &Forms::get<FrmAnalyseDialoge>(), &Forms::get<FrmGraphType>(),
        &Forms::get<FrmAnalyse>(),   &Forms::get<FrmFileBrowse>()};
    return int(std::count_if(tasks.begin(), tasks.end(), [](Form* f) { return f->isVisible(); }));
}

QString statusLine() {
    return Forms::get<MDIFormMain>().LblStatus->text();
}

using MainWindowTest = AppFixture;

} // namespace

TEST_F(MainWindowTest, StartUpShowsTheMainWindowAndTheUploadWindow) {
    FrmStart& splash = Forms::get<FrmStart>();
    splash.load();
    EXPECT_EQ(Setpoints.SpCh1Peak[3], 250); // defaults before the main window exists

    MDIFormMain& main = startProgram();
    pump(50);
    EXPECT_FALSE(Forms::exists<FrmStart>());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(Form::activeForm(), &Forms::get<FrmGetCal>());
    EXPECT_EQ(visibleTaskWindows(), 1);
    EXPECT_EQ(Forms::get<FrmGetCal>().window()->parentWidget(), main.window()); // stays above
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Get Setpoints from Velmora."));
    // The sheet was built from the defaults once and hidden again.
    EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), QStringLiteral("Type A"));
    EXPECT_FALSE(main.PicMain->isVisible());
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(MainWindowTest, LogoFileReplacesTheBuiltInPictureOnlyWhenReadable) {
    QTemporaryDir dir;
    const QString logo = dir.filePath(QStringLiteral("logo.bmp")); // any letter case
    EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());
    QImage big(3000, 2000, QImage::Format_RGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(logo, "PNG")); // any format Qt reads
    // A picture larger than the screen still centres the splash (negative position).
    FrmStart& splash = Forms::get<FrmStart>();
    splash.load();
    splash.setPicture(FrmStart::loadLogo(dir.path()));
    EXPECT_EQ(splash.window()->size(), QSize(3000, 2000));
    EXPECT_EQ(splash.window()->x(),
              (QGuiApplication::primaryScreen()->geometry().width() - 3000) / 2);
    QFile(logo).resize(40);
    EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());
}

TEST_F(MainWindowTest, CapturedDataGridIsAViewOfTheTable) {
    MDIFormMain& main = startProgram();
    QAbstractItemModel* m = main.spdTorque->model();
    ASSERT_EQ(m->columnCount(), 16);
    ASSERT_EQ(m->rowCount(), 2000);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString() +
                  m->headerData(15, Qt::Horizontal).toString(),
              QStringLiteral("I 1E 8"));
    const QString p = QLocale().decimalPoint();
    for (auto [row, text] :
         {std::pair{1, "0.005"}, {2, "0.010"}, {20, "0.100"}, {200, "1.000"}, {2000, "10.000"}})
        EXPECT_EQ(m->headerData(row - 1, Qt::Vertical), QString(text).replace('.', p) + " sec");

    CapturedData.at(5, 100) = 42.5f;
    EXPECT_EQ(m->data(m->index(99, 4), Qt::DisplayRole).toString(), QStringLiteral("42") + p + "5");
}

TEST_F(MainWindowTest, EveryActionLeavesAtMostOneTaskWindow) {
    MDIFormMain& main = startProgram();
    using M = MDIFormMain;
    const QList<void (M::*)()> actions = {
        &M::CmdOpen_Click,      &M::CmdSave_Click,         &M::CmdGraph_Click,
        &M::CmdNetwork_Click,   &M::CmdUpload_Click,       &M::CmdGetPresets_Click,
        &M::CmdDownLoad_Click,  &M::CmdSetPoints_Click,    &M::mnuEditParams_Click,
        &M::mnuGraphMult_Click, &M::mnuGraphAnalyse_Click, &M::mnuFileOpen_Click,
        &M::mnuFileSave_Click,  &M::mnuCommNetwork_Click,  &M::mnuUploadTool_Click,
        &M::mnuUploadVL_Click,  &M::mnuDownloadVL_Click};
    main.mnuHelpAbout_Click();
    for (int i = 0; i < actions.size(); ++i) {
        for (int j = 0; j < actions.size(); j += 3) {
            (main.*actions[i])();
            (main.*actions[j])();
            ASSERT_EQ(visibleTaskWindows(), 1) << i << "," << j;
        }
    }
    // The About window is not a task window: navigation leaves it where it is.
    EXPECT_TRUE(Forms::get<frmAbout>().isVisible());
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(MainWindowTest, DataPanelAndPreviousNext) {
    MDIFormMain& main = startProgram();
    // The data panel toggle hides the open task window too, and shrinks with the window.
    main.ChkData->click();
    EXPECT_EQ(visibleTaskWindows(), 0);
    EXPECT_TRUE(main.PicMain->isVisible());
    main.window()->setWindowState(Qt::WindowNoState);
    main.window()->resize(300, main.PicButtons->height() + main.PicStatus->height() + 60);
    pump();
    EXPECT_LE(main.spdTorque->height(), main.PicMain->height());
    main.ChkData->click();
    EXPECT_FALSE(main.PicMain->isVisible());

    // Previous and Next cross subsystem borders.
    main.CmdGraph_Click();
    Forms::get<FrmGraphType>().CmdBack_Click();
    EXPECT_TRUE(Forms::get<FrmCapture>().isVisible());
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Capture incoming data from Velmora."));
    EXPECT_EQ(visibleTaskWindows(), 1);
}

TEST_F(MainWindowTest, FileNewResetsEverythingWithProgress) {
    MDIFormMain& main = startProgram();
    main.CmdSetPoints_Click();
    const QString status = statusLine();
    for (auto& row : CapturedData.cells)
        row.fill(7.5f);
    SpTimerY[2] = 77;
    InstrumentType = 3;

    // Each shown value is the share of the cells already zeroed.
    FrmStatus& st = Forms::get<FrmStatus>();
    st.load();
    bool consistent = true;
    QObject::connect(st.PrgStatus, &QProgressBar::valueChanged, st.PrgStatus, [&](int v) {
        int zeroed = 0;
        for (const auto& row : CapturedData.cells)
            zeroed += int(std::count(row.begin(), row.end(), 0.0f));
        consistent &= v == std::nearbyint(zeroed / 320.0);
    });
    main.mnuFileNew_Click();
    EXPECT_TRUE(consistent);
    EXPECT_EQ(st.PrgStatus->value(), 100);
    EXPECT_FALSE(st.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    EXPECT_EQ(CapturedData, CapturedTable{});
    SetpointStore defaults;
    defaults.setDefaults();
    EXPECT_EQ(Setpoints, defaults);
    EXPECT_EQ(InstrumentType, 0);
    EXPECT_EQ(visibleTaskWindows(), 0);
    EXPECT_EQ(statusLine(), status);
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(MainWindowTest, ExitAndHelp) {
    MDIFormMain& main = startProgram();
    main.CmdExit_Click();
    main.mnuFileExit_Click();
    main.window()->close();
    EXPECT_EQ(programEnds, 3);

    main.mnuHelpBook_Click();
    main.SmartHelp1->click();
    const QString expected = "xdg-open " + programFolder() + "/TARVOLM.HLP";
    EXPECT_EQ(launches, (QStringList{expected, expected}));
    EXPECT_TRUE(msgs->calls.isEmpty());
    launchSucceeds = false;
    main.mnuHelpBook_Click();
    EXPECT_EQ(msgs->texts(), QStringList{"Could not locate help system..."});
}
