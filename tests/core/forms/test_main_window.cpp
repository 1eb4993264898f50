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
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<Form*> taskWindows() {
    return {
        &Forms::get<FrmCapture>(),   &Forms::get<FrmGraph>(),          &Forms::get<FrmGetCal>(),
        &Forms::get<FrmNetwork>(),   &Forms::get<FrmGraphInfo>(),      &Forms::get<FrmSetCal>(),
        &Forms::get<FrmSetpoints>(), &Forms::get<FrmAnalyseDialoge>(), &Forms::get<FrmGraphType>(),
        &Forms::get<FrmAnalyse>(),   &Forms::get<FrmFileBrowse>()};
}

int visibleTaskWindows() {
    int n = 0;
    for (Form* f : taskWindows())
        n += f->isVisible();
    return n;
}

QString statusLine() {
    return Forms::get<MDIFormMain>().LblStatus->text();
}

using MainWindowTest = AppFixture;

} // namespace

TEST_F(MainWindowTest, StartUpShowsTheMainWindowAndTheUploadWindow) {
    FrmStart& splash = Forms::get<FrmStart>();
    splash.load();
    // Defaults are in the store before the main window exists.
    EXPECT_EQ(Setpoints.SpCh1Peak[3], 250);
    EXPECT_EQ(splash.window()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("Version 1.3"));

    MDIFormMain& main = startProgram();
    pump(50);
    EXPECT_FALSE(Forms::exists<FrmStart>()); // one tick and the splash is gone
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.window()->windowTitle(), QStringLiteral("VL500 Tarvolm"));
    EXPECT_TRUE(main.window()->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(Forms::get<FrmGetCal>().isVisible());
    EXPECT_EQ(Form::activeForm(), &Forms::get<FrmGetCal>());
    EXPECT_EQ(visibleTaskWindows(), 1);
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Get Setpoints from Velmora."));
    // The sheet was built from the defaults once and hidden again.
    FrmSetpoints& sheet = Forms::get<FrmSetpoints>();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.LblType->text(), QStringLiteral("Type A"));
    EXPECT_FALSE(main.PicMain->isVisible());
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(MainWindowTest, SplashPictureSizeAndPlacement) {
    FrmStart& splash = Forms::get<FrmStart>();
    splash.load();
    QWidget* w = splash.window();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString logo = programFolder() + QStringLiteral("/LOGO.BMP");
    if (!QFile::exists(logo)) {
        EXPECT_EQ(w->size(), QSize(417, 345));
    }
    EXPECT_EQ(w->x(), (screen.width() - w->width()) / 2);
    EXPECT_EQ(w->y(), (screen.height() - w->height()) / 2);
    const QLabel* l = splash.lblVersion;
    EXPECT_EQ(l->x(), (w->width() - l->width()) / 2);
    EXPECT_EQ(l->y(), (w->height() - l->height()) / 4);
}

TEST_F(MainWindowTest, LogoFileReplacesTheBuiltInPictureOnlyWhenReadable) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logo.bmp")); // other letter case counts
    EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());

    QFile(path).open(QIODevice::WriteOnly); // empty
    EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());

    QImage big(3000, 2000, QImage::Format_RGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(path, "BMP"));
    QFile whole(path);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    EXPECT_EQ(FrmStart::loadLogo(dir.path()).size(), QSize(3000, 2000));

    for (const QByteArray& broken : {bytes.left(40), QByteArray("not a picture at all")}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(broken);
        f.close();
        EXPECT_TRUE(FrmStart::loadLogo(dir.path()).isNull());
    }

    // A picture larger than the screen still centres the splash (negative position).
    QImage png(3000, 2000, QImage::Format_RGB32);
    png.fill(Qt::red);
    const QString programLogo = programFolder() + QStringLiteral("/LOGO.BMP");
    ASSERT_FALSE(QFile::exists(programLogo));
    ASSERT_TRUE(png.save(programLogo, "PNG")); // any format Qt reads
    FrmStart& splash = Forms::get<FrmStart>();
    splash.load();
    QFile::remove(programLogo);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.window()->size(), QSize(3000, 2000));
    EXPECT_EQ(splash.window()->x(), (screen.width() - 3000) / 2);
    EXPECT_LT(splash.window()->x(), 0);
}

TEST_F(MainWindowTest, ToolbarMenusAndStatusLineAsDesigned) {
    MDIFormMain& main = startProgram();
    const QList<PictureButton*> buttons = {main.CmdOpen,     main.CmdSave,      main.CmdGraph,
                                           main.CmdNetwork,  main.CmdUpload,    main.CmdGetPresets,
                                           main.CmdDownLoad, main.CmdSetPoints, main.CmdExit};
    const QStringList tooltips = {"Open an Existing File",
                                  "Save File",
                                  "Graph",
                                  "Set Network Channel",
                                  "Capture Run Data",
                                  "Upload Calibration Data",
                                  "Download Calibration Data",
                                  "View Calibration Setpoints",
                                  "Exit Program"};
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->toolTip(), tooltips[i]);
        EXPECT_EQ(buttons[i]->accessibleName(), tooltips[i]);
        EXPECT_TRUE(buttons[i]->text().isEmpty());
        EXPECT_FALSE(buttons[i]->icon().isNull());
        if (i > 0) {
            EXPECT_GT(buttons[i]->x(), buttons[i - 1]->x());
        }
    }
    EXPECT_EQ(main.SmartHelp1->text(), QStringLiteral("Help"));
    EXPECT_EQ(main.SmartHelp1->toolTip(), QStringLiteral("Need Help? Click Here..."));
    EXPECT_EQ(main.ChkData->text(), QStringLiteral("View Captured Data"));
    EXPECT_FALSE(main.ChkData->isChecked());

    QStringList menus;
    for (QAction* top : static_cast<QMainWindow*>(main.window())->menuBar()->actions()) {
        QStringList items;
        for (QAction* a : top->menu()->actions())
            items << (a->isSeparator() ? "-" : a->text());
        menus << top->text() + ": " + items.join('|');
    }
    EXPECT_EQ(menus,
              (QStringList{"&File: New|Open|-|Save As|-|Exit", "&Edit: Edit Setpoint Information",
                           "&Comm: Set VL Network Channel|-|Collect Tool Data|-|"
                           "Upload Calibration Values |Download Calibration Values",
                           "&Graph: View Multiple Runs|-|Analyse Single Run",
                           "&Help: Tarvolm Help Topics|-|About"}));
}

TEST_F(MainWindowTest, CapturedDataGridHeadersAndColours) {
    MDIFormMain& main = startProgram();
    QAbstractItemModel* m = main.spdTorque->model();
    ASSERT_EQ(m->columnCount(), 16);
    ASSERT_EQ(m->rowCount(), 2000);
    QStringList heads;
    for (int c = 0; c < 16; ++c)
        heads << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(heads.join(','), QStringLiteral("I 1,E 1,I 2,E 2,I 3,E 3,I 4,E 4,I 5,E 5,I 6,E 6,"
                                              "I 7,E 7,I 8,E 8"));
    const QString p = QLocale().decimalPoint();
    for (auto [row, text] : {std::pair{1, "0.005 sec"},
                             {2, "0.010 sec"},
                             {20, "0.100 sec"},
                             {200, "1.000 sec"},
                             {1998, "9.990 sec"},
                             {2000, "10.000 sec"}})
        EXPECT_EQ(m->headerData(row - 1, Qt::Vertical).toString(),
                  QString::fromLatin1(text).replace('.', p))
            << row;
    EXPECT_EQ(m->data(m->index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(m->data(m->index(0, 2), Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));
    EXPECT_EQ(m->data(m->index(0, 15), Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));
    EXPECT_LT(main.spdTorque->columnWidth(7), main.spdTorque->columnWidth(6));

    // The grid is a view of the shared table.
    CapturedData.at(5, 100) = 42.5f;
    EXPECT_EQ(m->data(m->index(99, 4), Qt::DisplayRole).toString(), QStringLiteral("42") + p + "5");
    EXPECT_FALSE(main.spdTorque->typeIntoCell(3, 7, QStringLiteral("99.5")));
    EXPECT_FALSE(main.spdTorque->typeIntoCell(3, 7, QStringLiteral("x")));
    EXPECT_FALSE(main.spdTorque->typeIntoCell(3, 7, QString()));
    EXPECT_TRUE(main.spdTorque->typeIntoCell(3, 7, QStringLiteral("12.5")));
    EXPECT_EQ(CapturedData.at(3, 7), 12.5f);
}

TEST_F(MainWindowTest, EveryActionLeavesAtMostOneTaskWindow) {
    MDIFormMain& main = startProgram();
    const QList<std::function<void()>> actions = {
        [&] { main.CmdOpen_Click(); },         [&] { main.CmdSave_Click(); },
        [&] { main.CmdGraph_Click(); },        [&] { main.CmdNetwork_Click(); },
        [&] { main.CmdUpload_Click(); },       [&] { main.CmdGetPresets_Click(); },
        [&] { main.CmdDownLoad_Click(); },     [&] { main.CmdSetPoints_Click(); },
        [&] { main.mnuEditParams_Click(); },   [&] { main.mnuGraphMult_Click(); },
        [&] { main.mnuGraphAnalyse_Click(); }, [&] { main.mnuFileOpen_Click(); },
        [&] { main.mnuFileSave_Click(); },     [&] { main.mnuCommNetwork_Click(); },
        [&] { main.mnuUploadTool_Click(); },   [&] { main.mnuUploadVL_Click(); },
        [&] { main.mnuDownloadVL_Click(); },
    };
    main.mnuHelpAbout_Click();
    for (int i = 0; i < actions.size(); ++i) {
        for (int j = 0; j < actions.size(); j += 3) {
            actions[i]();
            actions[j]();
            ASSERT_EQ(visibleTaskWindows(), 1) << i << "," << j;
        }
    }
    // The About window is not a task window: navigation leaves it where it is.
    EXPECT_TRUE(Forms::get<frmAbout>().isVisible());
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(MainWindowTest, NavigationDetails) {
    MDIFormMain& main = startProgram();

    // The sheet's button again: hidden and shown, so it rebuilds and prompts again.
    main.CmdSetPoints_Click();
    main.LblStatus->setText(QStringLiteral("Status:"));
    InstrumentType = 4;
    main.CmdSetPoints_Click();
    EXPECT_EQ(statusLine(), QStringLiteral("Status: View and/or modify setpoints."));
    EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), QStringLiteral("Type E"));

    // Open and Save As set the mode as the toolbar does; the dialog comes back fresh.
    main.mnuFileSave_Click();
    EXPECT_EQ(FileBrowseMode, 1);
    FrmFileBrowse* saveDialog = &Forms::get<FrmFileBrowse>();
    EXPECT_EQ(saveDialog->window()->windowTitle(), QStringLiteral("Save File"));
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Save File."));
    main.mnuFileOpen_Click();
    EXPECT_EQ(FileBrowseMode, 0);
    EXPECT_EQ(Forms::get<FrmFileBrowse>().window()->windowTitle(), QStringLiteral("Read File"));
    main.CmdSave_Click();
    EXPECT_EQ(FileBrowseMode, 1);

    // The data panel toggle hides the open task window too.
    main.CmdNetwork_Click();
    main.ChkData->click();
    EXPECT_EQ(visibleTaskWindows(), 0);
    EXPECT_TRUE(main.PicMain->isVisible());
    main.ChkData->click();
    EXPECT_FALSE(main.PicMain->isVisible());

    // Previous and Next cross subsystem borders.
    main.CmdGraph_Click();
    Forms::get<FrmGraphType>().CmdBack_Click();
    EXPECT_TRUE(Forms::get<FrmCapture>().isVisible());
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Capture incoming data from Velmora."));
    EXPECT_EQ(visibleTaskWindows(), 1);
}

TEST_F(MainWindowTest, DataPanelGridStaysInsideTheShrunkPanel) {
    MDIFormMain& main = startProgram();
    main.ChkData->click();
    QWidget* w = main.window();
    w->setWindowState(Qt::WindowNoState);
    w->resize(twips(9855), twips(6720));
    pump();
    EXPECT_EQ(main.spdTorque->height(), main.PicMain->height() - twips(1000));
    EXPECT_NEAR(main.spdTorque->y(), twips(500), 1);
    w->resize(300, main.PicButtons->height() + main.PicStatus->height() + 60);
    pump();
    EXPECT_LT(main.PicMain->height(), twips(1000));
    EXPECT_LE(main.spdTorque->height(), main.PicMain->height());
}

TEST_F(MainWindowTest, FileNewResetsEverythingWithProgress) {
    MDIFormMain& main = startProgram();
    main.CmdSetPoints_Click();
    const QString status = statusLine();
    for (auto& row : CapturedData.cells)
        row.fill(7.5f);
    for (int k = 0; k <= 4; ++k)
        SpTimerY[k] = 77;
    SpCountDir[2] = 62;
    InstrumentType = 3;

    // Each shown value must be the share of the cells already zeroed, and never above 100.
    FrmStatus& st = Forms::get<FrmStatus>();
    st.load();
    int changes = 0;
    bool consistent = true;
    QObject::connect(st.PrgStatus, &QProgressBar::valueChanged, st.PrgStatus, [&](int v) {
        ++changes;
        int zeroed = 0;
        for (const auto& row : CapturedData.cells)
            for (float f : row)
                zeroed += f == 0.0f;
        consistent &= v == std::nearbyint(zeroed / 320.0) && v <= 100;
    });
    main.mnuFileNew_Click();
    EXPECT_TRUE(consistent);
    EXPECT_LE(changes, 101);
    EXPECT_EQ(st.PrgStatus->value(), 100);
    EXPECT_FALSE(st.isVisible());
    EXPECT_FALSE(st.window()->windowFlags() & Qt::WindowCloseButtonHint);
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
    EXPECT_TRUE(msgs->calls.isEmpty());

    main.mnuHelpBook_Click();
    main.SmartHelp1->click();
    const QString expected = "xdg-open " + programFolder() + "/TARVOLM.HLP";
    EXPECT_EQ(launches, (QStringList{expected, expected}));
    EXPECT_TRUE(msgs->calls.isEmpty());
    launchSucceeds = false;
    main.mnuHelpBook_Click();
    EXPECT_EQ(msgs->texts(), QStringList{"Could not locate help system..."});
}
