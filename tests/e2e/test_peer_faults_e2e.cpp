// SPDX-License-Identifier: GPL-3.0-or-later
// The serial windows with real timers against a simulator that misbehaves or vanishes.
#include "AppFixture.h"
#include "Frames.h"
#include "FrmCapture.h"
#include "FrmGetCal.h"
#include "FrmNetwork.h"
#include "FrmSetCal.h"
#include "ModVars.h"
#include "SimProcess.h"

#include <QComboBox>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <memory>

namespace {

enum class Window { Upload, Download, Network, Capture };

/// Names the table rows after their window.
template <class Row> std::string rowName(const ::testing::TestParamInfo<Row>& row) {
    static const char* const names[] = {"Upload", "Download", "Network", "Capture"};
    return names[int(row.param.window)] + std::to_string(row.index);
}

const char* const UploadDone = "Calibration Upload from Velmora was successful.....";
const char* const UploadFailed =
    "Unable to connect with Velmora.  Please check connection and try again.";
const char* const DownloadDone = "Parameter transfer compete....";
const char* const DownloadFailed =
    "Unable to communicate with Velmora.  Please, check the connection and try again.";
const char* const ChannelOpened = "Channel opened successfully...";
const char* const ChannelNotFound =
    "Could not find selected channel.  Please check the dip-switch and try again.";
const char* const CommError =
    "A Comm Port Error Occured.  Please check the Comm Port and try again.";
const char* const CaptureError = "A Comm Port error has occured....";
const char* const CaptureDone = "Capture Complete for Run 1";

class PeerFixture : public AppFixture {
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
    /// Presses Start in `window`; the network window opens channel 3 on board 12 and closes
    /// only addresses 252 to 254 first, since the whole scan takes 77 s.
    static void start(Window window) {
        switch (window) {
        case Window::Upload:
            Forms::get<FrmGetCal>().show();
            Forms::get<FrmGetCal>().CmdRun->click();
            break;
        case Window::Download:
            Forms::get<FrmSetCal>().show();
            Forms::get<FrmSetCal>().CmdRun->click();
            break;
        case Window::Network: {
            FrmNetwork& net = Forms::get<FrmNetwork>();
            net.show();
            net.CmbAddr->setCurrentIndex(12);
            net.CmbChannel->setCurrentIndex(2);
            net.CmdRun->click();
            NetScanAddress = 252;
            break;
        }
        case Window::Capture:
            Forms::get<FrmCapture>().show();
            Forms::get<FrmCapture>().CmdRun->click();
            break;
        }
    }
    /// Some serial window's polling timer runs.
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
    /// CPU seconds this process spends in `ms` of its event loop with nothing to do.
    static double idleCpuSeconds(int ms) {
        const auto cpu = [] {
            rusage u{};
            getrusage(RUSAGE_SELF, &u);
            return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
                   double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
        };
        const double before = cpu();
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        return cpu() - before;
    }

    std::unique_ptr<SimProcess> sim;
};

struct Misbehaviour {
    Window window;
    const char* sim;
    const char* message;
};

void PrintTo(const Misbehaviour& m, std::ostream* os) {
    *os << m.sim;
}

class Misbehaving : public PeerFixture, public ::testing::WithParamInterface<Misbehaviour> {};

// The download sends each set until it is acknowledged, 20 ticks in all; the network window
// gives the chosen board three open frames and reads the reply a tick later.
const Misbehaviour misbehaviours[] = {
    {Window::Download, "--silent", DownloadFailed},
    {Window::Download, "--garbage 6", DownloadDone},
    {Window::Download, "--bad-checksum all", DownloadFailed},
    {Window::Download, "--bad-checksum 3", DownloadDone},
    {Window::Download, "--wrong-ack", DownloadFailed},
    {Window::Download, "--hold 300", DownloadDone},
    {Window::Download, "--hold 1000", DownloadFailed},
    {Window::Network, "--board 12", ChannelOpened},
    {Window::Network, "--board 12 --silent", ChannelNotFound},
    {Window::Network, "--board 12 --garbage 4", ChannelOpened},
    {Window::Network, "--board 12 --bad-checksum all", ChannelNotFound},
    {Window::Network, "--board 12 --wrong-address", ChannelNotFound},
    {Window::Network, "--board 12 --wrong-command", ChannelNotFound},
    {Window::Network, "--board 12 --hold 150", ChannelOpened},
    {Window::Network, "--board 12 --hold 800", ChannelNotFound},
    {Window::Upload, "--unknown-type", UploadFailed},
};

TEST_P(Misbehaving, EndsWithItsMessage) {
    const Misbehaviour& m = GetParam();
    SCOPED_TRACE(m.sim);
    startSim(m.sim);
    for (int k = 1; k <= 4; ++k) // sets unlike the instrument's own
        Frames::StoreParameterSet(Setpoints, k,
                                  {std::uint8_t(k), 100, 7, 62, 120, 130, 20, 1, 40, 50});
    const SetpointStore store = Setpoints;
    start(m.window);
    EXPECT_EQ(message(), QLatin1String(m.message));
    SimProcess::pause(300); // no second message, no tick left running
    EXPECT_EQ(msgs->calls.size(), 1);
    EXPECT_FALSE(polling());
    EXPECT_EQ(Setpoints, store);
    if (m.window == Window::Network) {
        EXPECT_EQ(sim->frames(QStringLiteral("NetCloseAll(254)")).size(), 3);
        EXPECT_TRUE(sim->waitForLog(QStringLiteral("Board(12) channel 3 open"), 0));
    }
    if (m.window == Window::Download && QLatin1String(m.message) == QLatin1String(DownloadDone)) {
        for (int k = 1; k <= 4; ++k) // every copy the instrument took is the store's set
            for (const QByteArray& f :
                 sim->frames(QStringLiteral("WriteParameterSet(%1)").arg(QChar('@' + k))))
                EXPECT_EQ(f, *Frames::WriteParameterSet(Setpoints, k)) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Peers, Misbehaving, ::testing::ValuesIn(misbehaviours),
                         rowName<Misbehaviour>);

struct Vanishing {
    Window window;
    const char* vanishing; ///< a simulator that leaves mid-exchange
    const char* message;
    const char* next; ///< the simulator the next exchange meets
    const char* done;
};

void PrintTo(const Vanishing& v, std::ostream* os) {
    *os << v.vanishing;
}

class InstrumentVanishes : public PeerFixture, public ::testing::WithParamInterface<Vanishing> {};

const Vanishing vanishings[] = {
    {Window::Upload, "--type B --exit-after 3", CommError, "--type C --set D=1,2,3,4,5,6,7,8,9,10",
     UploadDone},
    {Window::Download, "--exit-after 3", CommError, "", DownloadDone},
    {Window::Network, "--board 12 --exit-after 4", CommError, "--board 12", ChannelOpened},
    {Window::Capture, "--capture 2000 --capture-delay 0 --exit-after-records 300", CaptureError,
     "--capture 1000 --capture-delay 0", CaptureDone},
};

TEST_P(InstrumentVanishes, TheProgramReportsIdlesAndWorksWithTheNextOne) {
    const Vanishing& v = GetParam();
    SCOPED_TRACE(v.vanishing);
    for (auto& row : CapturedData.cells)
        row.fill(42.0f);
    const auto captured = CapturedData.cells;
    const SetpointStore store = Setpoints;
    startSim(v.vanishing);
    start(v.window);
    EXPECT_EQ(message(), QLatin1String(v.message));
    ASSERT_TRUE(sim->waitForLog(QStringLiteral("Vanished"), 0));
    if (v.window == Window::Capture) Forms::get<FrmCapture>().CmdHalt->click();
    EXPECT_LT(idleCpuSeconds(5000), 0.05);
    EXPECT_EQ(msgs->calls.size(), 1);
    EXPECT_FALSE(polling());
    EXPECT_EQ(Setpoints, store);
    EXPECT_TRUE(CapturedData.cells == captured);

    msgs->clear();
    startSim(v.next);
    start(v.window);
    EXPECT_EQ(message(20000), QLatin1String(v.done));
    if (v.window == Window::Upload) {
        EXPECT_EQ(SpTotalHi[4], 1);
    }
    if (v.window == Window::Capture) {
        EXPECT_FALSE(CapturedData.cells == captured);
    }
}

INSTANTIATE_TEST_SUITE_P(Peers, InstrumentVanishes, ::testing::ValuesIn(vanishings),
                         rowName<Vanishing>);

} // namespace
