// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "DataFile.h"
#include "FrmAnalyse.h"
#include "FrmCapture.h"
#include "FrmFileBrowse.h"
#include "FrmGetCal.h"
#include "FrmGraph.h"
#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "FrmStart.h"
#include "FrmStatus.h"
#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SameData.h"
#include "SpreadGrid.h"
#include "frmAbout.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <ranges>

namespace {

/// Visible windows besides the main window and the About window.
int visibleTaskWindows() {
    return int(std::ranges::count_if(QApplication::topLevelWidgets(), [](QWidget* w) {
        return w->isVisible() && w != Forms::get<MDIFormMain>().window() &&
               w->objectName() != QLatin1String("frmAbout");
    }));
}

QString statusLine() {
    return Forms::get<MDIFormMain>().LblStatus->text();
}

using MainWindowTest = AppFixture;

} // namespace

TEST_F(MainWindowTest, StartUpShowsTheMainWindowAndTheUploadWindow) {
    EXPECT_TRUE(startProgram().isVisible());
    pump(50);
    EXPECT_FALSE(Forms::exists<FrmStart>());
    EXPECT_EQ(Form::activeForm(), &Forms::get<FrmGetCal>());
    EXPECT_EQ(visibleTaskWindows(), 1);
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Get Setpoints from Velmora."));
    // The sheet was built from the defaults once and hidden again.
    EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), QStringLiteral("Type A"));
    EXPECT_TRUE(msgs->calls.isEmpty());
    // Row i of the captured data is i x 5 ms into the run, always with three decimals.
    const QAbstractItemModel& grid = *Forms::get<MDIFormMain>().spdTorque->model();
    for (int i = 1; i <= CapturedTable::Rows; ++i)
        ASSERT_EQ(grid.headerData(i - 1, Qt::Vertical).toString(),
                  QLocale().toString(i / 200.0, 'f', 3) + " sec");
    QStringList columns;
    for (int c = 0; c < CapturedTable::Columns; ++c)
        columns << grid.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(columns.join(' '), "I 1 E 1 I 2 E 2 I 3 E 3 I 4 E 4 I 5 E 5 I 6 E 6 I 7 E 7 I 8 E 8");
    const SpreadGrid& torque = *Forms::get<MDIFormMain>().spdTorque;
    EXPECT_GE(
        torque.verticalHeader()->width(),
        torque.fontMetrics().horizontalAdvance(grid.headerData(1999, Qt::Vertical).toString()));
}

TEST_F(MainWindowTest, LogoFileReplacesTheBuiltInPictureOnlyWhenReadable) {
    QTemporaryDir dir;
    QImage small(30, 20, QImage::Format_RGB32);
    const QString logo = dir.filePath(QStringLiteral("logo.bmp")); // any letter case
    ASSERT_TRUE(small.save(logo, "PNG"));                          // any format Qt reads
    EXPECT_EQ(FrmStart::loadLogo(dir.path()).size(), QSize(30, 20));
    QFile(logo).resize(40);
    EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());
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
    // Task windows stay over the main window, the graphs and the analysis as well: the window
    // system keeps a dialog above the window it names as its owner.
    const auto owner = [](Form& f) {
        f.window()->winId();
        const QWindow* w = f.window()->windowHandle();
        return w->type() == Qt::Dialog ? w->transientParent() : nullptr;
    };
    for (Form* f : std::initializer_list<Form*>{
             &Forms::get<FrmGraphType>(), &Forms::get<FrmGraph>(), &Forms::get<FrmAnalyse>()}) {
        f->load();
        EXPECT_EQ(owner(*f), main.window()->windowHandle()) << f->objectName().toStdString();
    }
    // The About window is not a task window: navigation leaves it where it is.
    EXPECT_TRUE(Forms::get<frmAbout>().isVisible());
    EXPECT_TRUE(msgs->calls.isEmpty());
    Forms::get<FrmAnalyse>().load();
    main.ChkData->click(); // the data panel toggle hides the open task window too
    EXPECT_EQ(visibleTaskWindows(), 0);
    EXPECT_FALSE(Forms::exists<FrmCapture>() || Forms::exists<FrmFileBrowse>() ||
                 Forms::get<FrmGraph>().isLoaded() || Forms::get<FrmAnalyse>().isLoaded());
    main.ChkData->click();
    main.CmdGraph_Click(); // Previous crosses subsystem borders
    Forms::get<FrmGraphType>().CmdBack_Click();
    EXPECT_TRUE(Forms::get<FrmCapture>().isVisible());
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Capture incoming data from Velmora."));
}

TEST_F(MainWindowTest, FileNewResetsEverythingWithProgressExitAndHelp) {
    MDIFormMain& main = startProgram();
    main.CmdSetPoints_Click();
    const QString status = statusLine();
    for (auto& row : CapturedData.cells)
        row.fill(7.5f);
    SpTimerY[2] = 77;
    SpTotalHi[0] = 3;
    InstrumentType = 3;
    bool ticked = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticked = true; });
    timer.start(0);
    // The bar first shows v once 320v - 160 cells are cleared, one more for odd v, whose half
    // goes to the even neighbour below. Each value is on screen before the next is written, the
    // 0 before the first cell too, and no timer runs meanwhile.
    int shown = 0;
    Forms::get<FrmStatus>().load();
    const ProgressBar& bar = *Forms::get<FrmStatus>().PrgStatus;
    int paints = bar.paintCount();
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int v) {
        const auto cleared = std::ranges::count(CapturedData.cells | std::views::join, 0.0f);
        EXPECT_EQ(std::pair(v, cleared), std::pair(++shown, 320 * v - 160L + v % 2));
        EXPECT_GT(bar.paintCount(), std::exchange(paints, bar.paintCount())) << v;
        EXPECT_FALSE(ticked) << v;
    });
    main.mnuFileNew_Click();
    EXPECT_EQ(shown, 100);
    EXPECT_GT(bar.paintCount(), paints);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    DataFile::Snapshot reset; // every cell 0, type 0
    for (int i = 0; i < SetpointStore::ArrayCount; ++i)
        reset.setpoints.array(i).fill(std::array{0, 0, 5, 61, 250, 250, 10, 0, 10, 10}[i]);
    EXPECT_TRUE(sameBits(DataFile::currentData(), reset));
    EXPECT_EQ(visibleTaskWindows(), 0); // the progress window included
    EXPECT_EQ(statusLine(), status);

    main.CmdExit_Click();
    main.mnuFileExit_Click();
    main.window()->close();
    EXPECT_EQ(programEnds, 3);
    main.mnuHelpBook_Click();
    main.SmartHelp1->click();
    const QString help = "xdg-open " + programFolder() + "/TARVOLM.HLP";
    EXPECT_EQ(launches, (QStringList{help, help}));
    EXPECT_TRUE(msgs->calls.isEmpty());
    launchSucceeds = false;
    main.mnuHelpBook_Click();
    EXPECT_EQ(msgs->texts(), QStringList{"Could not locate help system..."});
}
