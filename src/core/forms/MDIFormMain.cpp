// SPDX-License-Identifier: GPL-3.0-or-later
#include "MDIFormMain.h"

#include "Controls.h"
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
#include "FrmStatus.h"
#include "Launcher.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "Screen.h"
#include "SpreadGrid.h"
#include "frmAbout.h"

#include <QEvent>
#include <QLocale>
#include <QMenuBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

/// The captured-data grid shows the shared table itself.
class CapturedStore : public CellStore {
public:
    QVariant value(int col, int row) const override { return CapturedData.at(col, row); }
    void setValue(int col, int row, const QVariant& v) override {
        CapturedData.at(col, row) = v.toFloat();
    }
};

/// Each window in turn leaves as it was made to; one never used is created for it first.
template <class... Windows> void leaveInTurn() {
    (Forms::get<Windows>().leave(), ...);
}

/// Calls `fn` whenever `watched` changes size.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QWidget* watched, std::function<void()> fn)
        : QObject(watched), fn_(std::move(fn)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) fn_();
        return false;
    }

private:
    std::function<void()> fn_;
};

} // namespace

MDIFormMain::MDIFormMain() : Form(QStringLiteral("MDIFormMain")) {}

MDIFormMain::~MDIFormMain() = default;

QWidget* MDIFormMain::createWindow() {
    auto* w = new QMainWindow(nullptr);
    w->setWindowTitle(QStringLiteral("VL500 Tarvolm"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("app"))));
    w->resize(twips(9855), twips(6720));
    setOwnerWindow(w);
    return w;
}

void MDIFormMain::Form_Load() {
    auto* w = static_cast<QMainWindow*>(window());
    auto* central = new QWidget(w);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    buildToolbar(w);
    column->addWidget(PicButtons);

    // The client area between the two strips; the data panel sits on its left edge.
    auto* workspace = new QWidget(central);
    workspace->setAutoFillBackground(true);
    QPalette pal = workspace->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    workspace->setPalette(pal);
    column->addWidget(workspace, 1);
    PicMain = new QWidget(workspace);
    PicMain->setObjectName(QStringLiteral("PicMain"));
    PicMain->setAutoFillBackground(true);
    PicMain->setPalette(w->palette());
    PicMain->hide();

    spdTorque = new SpreadGrid(CapturedTable::Columns, CapturedTable::Rows, PicMain);
    spdTorque->setObjectName(QStringLiteral("spdTorque"));
    capturedStore_ = std::make_unique<CapturedStore>();
    spdTorque->setStore(capturedStore_.get());
    spdTorque->setColumnWidthChars(0, 8.62);
    for (int c = 1; c <= CapturedTable::Columns; ++c) {
        CellType type = CellType::decimal(CapturedTable::MinLevel, CapturedTable::MaxLevel, 1);
        type.allowEmpty = false;
        spdTorque->setColumnType(c, type);
        spdTorque->setColumnWidthChars(c, c == 8 ? 4.75 : 5.0);
        const int run = (c + 1) / 2;
        spdTorque->setColumnBackground(c, run % 2 ? QColor(Qt::white) : QColor(192, 192, 192));
        spdTorque->setCol(c);
        spdTorque->setRow(0);
        spdTorque->setText(QStringLiteral("%1 %2").arg(c % 2 ? 'I' : 'E').arg(run));
    }

    PicStatus = new QWidget(central);
    PicStatus->setFixedHeight(twips(495));
    LblStatus = new QLabel(QStringLiteral("Status:"), PicStatus);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setGeometry(twips(120), twips(120), twips(5895), twips(255));
    column->addWidget(PicStatus);
    w->setCentralWidget(central);

    buildMenus(w);

    new ResizeWatcher(workspace, [this, workspace] {
        PicMain->resize(PicMain->width(), workspace->height());
        MDIForm_Resize();
    });
    new ResizeWatcher(w, [this] { MDIForm_Resize(); });

    MDIForm_Initialize();
    w->setWindowState(Qt::WindowMaximized);
}

void MDIFormMain::buildToolbar(QMainWindow* w) {
    PicButtons = new QWidget(w);
    PicButtons->setFixedHeight(twips(615));
    struct Button {
        PictureButton*& control;
        const char* picture;
        int left;
        const char* tooltip;
        void (MDIFormMain::*click)();
    };
    const Button buttons[] = {
        {CmdOpen, "tb_open", 0, "Open an Existing File", &MDIFormMain::CmdOpen_Click},
        {CmdSave, "tb_save", 600, "Save File", &MDIFormMain::CmdSave_Click},
        {CmdGraph, "tb_graph", 1440, "Graph", &MDIFormMain::CmdGraph_Click},
        {CmdNetwork, "tb_network", 2280, "Set Network Channel", &MDIFormMain::CmdNetwork_Click},
        {CmdUpload, "tb_capture", 2880, "Capture Run Data", &MDIFormMain::CmdUpload_Click},
        {CmdGetPresets, "tb_upload", 3480, "Upload Calibration Data",
         &MDIFormMain::CmdGetPresets_Click},
        {CmdDownLoad, "tb_download", 4080, "Download Calibration Data",
         &MDIFormMain::CmdDownLoad_Click},
        {CmdSetPoints, "tb_setpoints", 4680, "View Calibration Setpoints",
         &MDIFormMain::CmdSetPoints_Click},
        {CmdExit, "tb_exit", 5520, "Exit Program", &MDIFormMain::CmdExit_Click},
    };
    QWidget* previous = nullptr;
    for (const Button& b : buttons) {
        b.control =
            new PictureButton(QLatin1String(b.picture), QLatin1String(b.tooltip), PicButtons);
        b.control->setGeometry(twips(b.left), 0, twips(615), twips(615));
        connect(b.control, &QToolButton::clicked, this, b.click);
        if (previous) QWidget::setTabOrder(previous, b.control);
        previous = b.control;
    }
    SmartHelp1 = new QToolButton(PicButtons);
    SmartHelp1->setText(QStringLiteral("Help"));
    SmartHelp1->setIcon(QIcon(picture(QStringLiteral("help"))));
    SmartHelp1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SmartHelp1->setToolTip(QStringLiteral("Need Help? Click Here..."));
    SmartHelp1->setGeometry(twips(6360), 0, twips(735), twips(615));
    connect(SmartHelp1, &QToolButton::clicked, this, &MDIFormMain::mnuHelpBook_Click);
    ChkData = new QCheckBox(QStringLiteral("View Captured Data"), PicButtons);
    ChkData->setGeometry(twips(7320), twips(120), twips(1815), twips(255));
    ChkData->adjustSize(); // the design width is too narrow for this toolkit's font
    connect(ChkData, &QCheckBox::clicked, this, &MDIFormMain::ChkData_Click);
    QWidget::setTabOrder(previous, SmartHelp1);
    QWidget::setTabOrder(SmartHelp1, ChkData);
}

void MDIFormMain::buildMenus(QMainWindow* w) {
    QMenuBar* bar = w->menuBar();
    auto item = [this](QMenu* menu, QAction*& action, const char* name, const char* caption,
                       void (MDIFormMain::*click)()) {
        action = menu->addAction(QLatin1String(caption));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, click);
    };
    auto divider = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    item(file, mnuFileNew, "mnuFileNew", "New", &MDIFormMain::mnuFileNew_Click);
    item(file, mnuFileOpen, "mnuFileOpen", "Open", &MDIFormMain::mnuFileOpen_Click);
    divider(file, "mnuFileDiv0");
    item(file, mnuFileSave, "mnuFileSave", "Save As", &MDIFormMain::mnuFileSave_Click);
    divider(file, "mnuFileDiv1");
    item(file, mnuFileExit, "mnuFileExit", "Exit", &MDIFormMain::mnuFileExit_Click);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    item(edit, mnuEditParams, "mnuEditParams", "Edit Setpoint Information",
         &MDIFormMain::mnuEditParams_Click);

    QMenu* comm = bar->addMenu(QStringLiteral("&Comm"));
    comm->setObjectName(QStringLiteral("mnuComm"));
    item(comm, mnuCommNetwork, "mnuCommNetwork", "Set VL Network Channel",
         &MDIFormMain::mnuCommNetwork_Click);
    divider(comm, "mnuCommDiv0");
    item(comm, mnuUploadTool, "mnuUploadTool", "Collect Tool Data",
         &MDIFormMain::mnuUploadTool_Click);
    divider(comm, "mnuUploadDiv0");
    item(comm, mnuUploadVL, "mnuUploadVL", "Upload Calibration Values ",
         &MDIFormMain::mnuUploadVL_Click);
    item(comm, mnuDownloadVL, "mnuDownloadVL", "Download Calibration Values",
         &MDIFormMain::mnuDownloadVL_Click);

    QMenu* graph = bar->addMenu(QStringLiteral("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    item(graph, mnuGraphMult, "mnuGraphMult", "View Multiple Runs",
         &MDIFormMain::mnuGraphMult_Click);
    divider(graph, "mnuGraphDiv0");
    item(graph, mnuGraphAnalyse, "mnuGraphAnalyse", "Analyse Single Run",
         &MDIFormMain::mnuGraphAnalyse_Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    item(help, mnuHelpBook, "mnuHelpBook", "Tarvolm Help Topics", &MDIFormMain::mnuHelpBook_Click);
    divider(help, "mnuHelpDiv");
    item(help, mnuHelpAbout, "mnuHelpAbout", "About", &MDIFormMain::mnuHelpAbout_Click);
}

void MDIFormMain::MDIForm_Initialize() {
    Forms::get<FrmCapture>().load();
    Forms::get<FrmGetCal>().load();
    Forms::get<FrmGraph>().load();
    Forms::get<FrmGraphInfo>().load();
    Forms::get<FrmNetwork>().load();
    Forms::get<FrmSetpoints>().load();
    Forms::get<FrmSetCal>().load();
    writeRowHeaders();
}

void MDIFormMain::writeRowHeaders() {
    const QString point = QLocale().decimalPoint();
    spdTorque->setCol(0);
    for (int i = 1; i <= CapturedTable::Rows; ++i) {
        spdTorque->setRow(i);
        QString s = QString::number(i * 0.005, 'g', 15).replace(QLatin1Char('.'), point);
        if (s.size() < 3) s += point + QStringLiteral("000");
        if (s.size() < 4) s += QStringLiteral("00");
        if (s.size() < 5) s += QStringLiteral("0");
        spdTorque->setText(s + QStringLiteral(" sec"));
    }
}

void MDIFormMain::Form_Activate() {
    if (MainActivated == 100) return;
    MainActivated = 100;
    FrmSetpoints& sheet = Forms::get<FrmSetpoints>();
    sheet.show();
    sheet.hide();
    Forms::get<FrmGetCal>().show();
}

void MDIFormMain::closeRequested() {
    endProgram();
}

void MDIFormMain::HideChildForms() {
    leaveInTurn<FrmCapture, FrmGraph, FrmGetCal, FrmNetwork, FrmGraphInfo, FrmSetCal, FrmSetpoints,
                FrmAnalyseDialoge, FrmGraphType, FrmAnalyse, FrmFileBrowse>();
}

void MDIFormMain::setStatusLine(const QString& text) {
    MDIFormMain& main = Forms::get<MDIFormMain>();
    main.load();
    main.LblStatus->setText(text);
}

SpreadGrid& MDIFormMain::torqueGrid() {
    MDIFormMain& main = Forms::get<MDIFormMain>();
    main.load();
    return *main.spdTorque;
}

void MDIFormMain::MDIForm_Resize() {
    if (!PicMain) return;
    // Sizes in twips; a step that would give a negative size is skipped.
    PicMain->resize(window()->frameGeometry().width(), PicMain->height());
    const double panelW = toTwips(PicMain->width());
    const double panelH = toTwips(PicMain->height());
    double gridW = toTwips(spdTorque->width());
    double gridH = toTwips(spdTorque->height());
    if (gridH > panelH) gridH = panelH;
    if (gridW > panelW) gridW = panelW;
    if (panelH - 1000 >= 0) gridH = panelH - 1000;
    if (panelW - 1000 >= 0) gridW = panelW - 1000;
    spdTorque->setGeometry(twips(panelW / 2 - gridW / 2), twips(panelH / 2 - gridH / 2),
                           twips(gridW), twips(gridH));
}

void MDIFormMain::ChkData_Click() {
    HideChildForms();
    PicMain->resize(PicStatus->width(), PicMain->height());
    PicMain->setVisible(ChkData->isChecked());
    MDIForm_Resize();
}

template <class T> void MDIFormMain::showTask() {
    HideChildForms();
    Forms::get<T>().show();
}

void MDIFormMain::openFileBrowser(int mode) {
    HideChildForms();
    FileBrowseMode = static_cast<std::int16_t>(mode);
    Forms::get<FrmFileBrowse>().show();
}

void MDIFormMain::CmdOpen_Click() {
    openFileBrowser(0);
}
void MDIFormMain::CmdSave_Click() {
    openFileBrowser(1);
}
void MDIFormMain::mnuFileOpen_Click() {
    openFileBrowser(0);
}
void MDIFormMain::mnuFileSave_Click() {
    openFileBrowser(1);
}
void MDIFormMain::CmdGraph_Click() {
    showTask<FrmGraphType>();
}
void MDIFormMain::CmdNetwork_Click() {
    showTask<FrmNetwork>();
}
void MDIFormMain::mnuCommNetwork_Click() {
    showTask<FrmNetwork>();
}
void MDIFormMain::CmdUpload_Click() {
    showTask<FrmCapture>();
}
void MDIFormMain::mnuUploadTool_Click() {
    showTask<FrmCapture>();
}
void MDIFormMain::CmdGetPresets_Click() {
    showTask<FrmGetCal>();
}
void MDIFormMain::mnuUploadVL_Click() {
    showTask<FrmGetCal>();
}
void MDIFormMain::CmdDownLoad_Click() {
    showTask<FrmSetCal>();
}
void MDIFormMain::mnuDownloadVL_Click() {
    showTask<FrmSetCal>();
}
void MDIFormMain::mnuEditParams_Click() {
    showTask<FrmSetpoints>();
}
void MDIFormMain::mnuGraphMult_Click() {
    showTask<FrmGraphInfo>();
}
void MDIFormMain::mnuGraphAnalyse_Click() {
    showTask<FrmAnalyseDialoge>();
}
void MDIFormMain::mnuHelpAbout_Click() {
    showTask<frmAbout>();
}

void MDIFormMain::CmdSetPoints_Click() {
    showTask<FrmSetpoints>();
    if (QWidget* sheet = Forms::get<FrmSetpoints>().window()) sheet->repaint();
}

void MDIFormMain::CmdExit_Click() {
    endProgram();
}
void MDIFormMain::mnuFileExit_Click() {
    endProgram();
}

void MDIFormMain::mnuHelpBook_Click() {
    if (!launchProgram(QStringLiteral("xdg-open"),
                       {programFolder() + QStringLiteral("/TARVOLM.HLP")}))
        MsgBox(QStringLiteral("Could not locate help system..."));
}

void MDIFormMain::mnuFileNew_Click() {
    HideChildForms();
    SetDefaults();
    InstrumentType = 0;
    const ProgressShown shown;
    int n = 0;
    for (int c = 1; c <= CapturedTable::Columns; ++c) {
        for (int r = 1; r <= CapturedTable::Rows; ++r) {
            spdTorque->setCol(c);
            spdTorque->setRow(r);
            spdTorque->setValue(0);
            ++n;
            // Whole percent, ties to even; multiplied first so that halves stay exact.
            double progress = std::nearbyint(n * 100.0 / 32000.0);
            if (progress > 100) progress = 100;
            shown.bar().setProgress(progress);
        }
    }
}
