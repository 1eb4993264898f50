// SPDX-License-Identifier: GPL-3.0-or-later
// The serial windows with real timers against a simulator that works, misbehaves or vanishes,
// and closed by their close box mid-exchange.
#include "AppFixture.h"
#include "Frames.h"
#include "FrmCapture.h"
#include "FrmGetCal.h"
#include "FrmNetwork.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "ModVars.h"
#include "SimProcess.h"
#include "SpreadGrid.h"

#include <QComboBox>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <ctime>
#include <memory>

namespace {

enum Window { Upload, Download, Network, Capture };
// Vanished: the simulator leaves mid-exchange; Closed: the window's close box ends it.
enum Outcome { Done, Failed, Vanished, Closed };

constexpr const char* CommErrorText =
    "A Comm Port Error Occured.  Please check the Comm Port and try again.";
const char* const Texts[4][3] = {
    {"Calibration Upload from Velmora was successful.....",
     "Unable to connect with Velmora.  Please check connection and try again.", CommErrorText},
    {"Parameter transfer compete....",
     "Unable to communicate with Velmora.  Please, check the connection and try again.",
     CommErrorText},
    {"Channel opened successfully...",
     "Could not find selected channel.  Please check the dip-switch and try again.", CommErrorText},
    {"Capture Complete for Run 1", "", "A Comm Port error has occured...."}};

struct Peer {
    Window window;
    const char* sim;
    Outcome outcome;
    /// After a vanished one: the simulator the next exchange meets (a closed one meets the same).
    const char* next = nullptr;
};

void PrintTo(const Peer& p, std::ostream* os) {
    *os << (p.outcome == Closed ? "closed, " : "") << p.sim;
}

// The download sends each set until it is acknowledged, 20 ticks in all; the network window
// gives the chosen board three open frames and reads the reply a tick later.
const Peer peers[] = {
    {Upload, "--type C --set D=1,2,3,4,5,6,7,8,9,10 --split 9 --split-gap 10 --garbage 5", Done},
    {Upload, "--unknown-type", Failed},
    {Download, "--silent", Failed},
    {Download, "--garbage 6", Done},
    {Download, "--bad-checksum all", Failed},
    {Download, "--bad-checksum 3", Done},
    {Download, "--wrong-ack", Failed},
    {Download, "--hold 300", Done},
    {Download, "--hold 1000", Failed},
    {Network, "--board 12", Done},
    {Network, "--board 12 --silent", Failed},
    {Network, "--board 12 --garbage 4", Done},
    {Network, "--board 12 --bad-checksum all", Failed},
    {Network, "--board 12 --wrong-address", Failed},
    {Network, "--board 12 --wrong-command", Failed},
    {Network, "--board 12 --hold 800", Failed},
    {Upload, "--type B --exit-after 3", Vanished, "--type C --set D=1,2,3,4,5,6,7,8,9,10"},
    {Download, "--exit-after 3", Vanished, ""},
    {Network, "--board 12 --exit-after 4", Vanished, "--board 12"},
    {Capture, "--capture 2000 --capture-delay 0 --exit-after-records 300", Vanished,
     "--capture 1000 --capture-delay 0"},
    {Upload, "--type C --set D=1,2,3,4,5,6,7,8,9,10 --hold 300", Closed},
    {Download, "--hold 150", Closed},
    {Network, "--board 12 --hold 150", Closed},
    {Capture, "--capture 1000 --capture-delay 600", Closed},
};

class PeerTest : public AppFixture, public ::testing::WithParamInterface<Peer> {
protected:
    void TearDown() override {
        AppFixture::TearDown();
        sim.reset();
    }
    /// A fresh simulator with `arguments` on port 1, the one before it gone.
    void startSim(const char* arguments) {
        sim.reset();
        sim = std::make_unique<SimProcess>(
            QString::fromLatin1(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        ASSERT_TRUE(sim->started()) << sim->errors().toStdString();
        sim->useAsPort(1);
    }
    /// The network window opens channel 3 on board 12 and closes only addresses 252 to 254
    /// first, since the whole scan takes 77 s.
    static SerialForm& start(Window window) {
        const auto run = [](auto& form) -> SerialForm& {
            form.show();
            form.CmdRun->click();
            return form;
        };
        if (window == Upload) return run(Forms::get<FrmGetCal>());
        if (window == Download) return run(Forms::get<FrmSetCal>());
        if (window == Capture) return run(Forms::get<FrmCapture>());
        FrmNetwork& net = Forms::get<FrmNetwork>();
        net.show();
        net.CmbAddr->setCurrentIndex(12);
        net.CmbChannel->setCurrentIndex(2);
        net.CmdRun->click();
        NetScanAddress = 252;
        return net;
    }
    /// Waits until the window's port is open; a capture is then made to finish on its next tick.
    static SerialForm& underWay(SerialForm& form) {
        EXPECT_TRUE(SimProcess::waitFor([&] { return form.MSComm->isOpen(); }));
        if (qobject_cast<FrmCapture*>(&form)) CaptureTicks = 9;
        return form;
    }
    static bool polling() {
        return runs(&FrmGetCal::TmrUpload) || runs(&FrmSetCal::TmrDownload) ||
               runs(&FrmNetwork::TmrNetwork) || runs(&FrmCapture::TmrUpload);
    }
    template <class F> static bool runs(QTimer* F::*timer) {
        return Forms::exists<F>() && (Forms::get<F>().*timer)->isActive();
    }
    /// Waits for the first message and returns its text.
    QString message(int timeoutMs = 15000) {
        SimProcess::waitFor([&] { return !msgs->calls.isEmpty(); }, timeoutMs);
        return msgs->calls.isEmpty() ? QString() : msgs->calls.first().text;
    }
    /// A successful upload took set D = 1..10 from a type C instrument and shows the sheet.
    static void expectUploaded() {
        EXPECT_EQ(InstrumentType, 2);
        EXPECT_EQ(Frames::StoreSets(Setpoints)->at(3),
                  (Frames::ParameterBytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        SpreadGrid& sheet = *Forms::get<FrmSetpoints>().spdSetpoints;
        sheet.setCol(4);
        sheet.setRow(1); // Total of set D
        EXPECT_EQ(sheet.value().toInt(), 258);
    }
    /// CPU seconds this process spends in `ms` of its event loop with nothing to do.
    static double idleCpuSeconds(int ms) {
        const std::clock_t before = std::clock();
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        return double(std::clock() - before) / CLOCKS_PER_SEC;
    }

    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_P(PeerTest, EndsWithItsMessageOrAtItsCloseBoxAndTheNextExchangeWorks) {
    const Peer& p = GetParam();
    SCOPED_TRACE(p.sim);
    for (int k = 1; k <= 4; ++k) // sets unlike the instrument's own
        Frames::StoreParameterSet(Setpoints, k,
                                  {std::uint8_t(k), 100, 7, 62, 120, 130, 20, 1, 40, 50});
    for (auto& row : CapturedData.cells)
        row.fill(42.0f);
    const SetpointStore store = Setpoints;
    const auto captured = CapturedData.cells;
    startSim(p.sim);
    SerialForm& started = start(p.window);
    if (p.outcome == Closed) {
        const QPointer<SerialForm> old = &underWay(started);
        old->window()->close(); // by its close box: the exchange ends at once
        EXPECT_FALSE(old->MSComm->isOpen() || old->findChild<QTimer*>()->isActive());
        SimProcess::pause(1500);   // past the end it would have had
        EXPECT_TRUE(old.isNull()); // the next opening makes a fresh window
        EXPECT_EQ(InstrumentType, 0);
    } else {
        EXPECT_EQ(message(), QLatin1String(Texts[p.window][p.outcome]));
    }
    if (p.outcome == Vanished) {
        ASSERT_TRUE(sim->waitForLog(QStringLiteral("Vanished"), 0));
        if (p.window == Capture) Forms::get<FrmCapture>().CmdHalt->click();
        EXPECT_LT(idleCpuSeconds(5000), 0.05);
    } else {
        SimProcess::pause(300);
    }
    EXPECT_EQ(msgs->calls.size(), p.outcome != Closed); // no second message, no tick running
    EXPECT_FALSE(polling());
    EXPECT_TRUE(CapturedData.cells == captured);
    if (p.window == Upload && p.outcome == Done) {
        expectUploaded();
    } else {
        EXPECT_EQ(Setpoints, store);
    }
    const bool ended = p.outcome == Done || p.outcome == Failed; // by the exchange itself
    if (p.window == Network && ended) {
        EXPECT_EQ(sim->frames(QStringLiteral("NetCloseAll(254)")).size(), 3);
        EXPECT_TRUE(sim->waitForLog(QStringLiteral("Board(12) channel 3 open"), 0));
    }
    if (p.window == Download && p.outcome == Done) {
        for (int k = 1; k <= 4; ++k) // every copy the instrument took is the store's set
            for (const QByteArray& f :
                 sim->frames(QStringLiteral("WriteParameterSet(%1)").arg(QChar('@' + k))))
                EXPECT_EQ(f, *Frames::WriteParameterSet(Setpoints, k)) << k;
    }
    if (ended) return;

    msgs->clear();
    if (p.outcome == Vanished) startSim(p.next);
    SerialForm& again = start(p.window);
    if (p.outcome == Closed) underWay(again);
    EXPECT_EQ(message(20000), QLatin1String(Texts[p.window][Done]));
    if (p.window == Upload) expectUploaded();
    EXPECT_EQ(CapturedData.cells == captured, p.window != Capture);
}

INSTANTIATE_TEST_SUITE_P(Peers, PeerTest, ::testing::ValuesIn(peers));
