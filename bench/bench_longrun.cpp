// SPDX-License-Identifier: GPL-3.0-or-later
// A long session, driven through the windows against velmora-sim: eight captures back to back,
// save, File > New, load, 50 single-run analyses and 50 multi-run graphs. Prints the resident
// memory along the way and the median time of each step. It takes about a minute and a half,
// most of it the captures' ten seconds each.
#include "Form.h"
#include "FrmAnalyse.h"
#include "FrmAnalyseDialoge.h"
#include "FrmCapture.h"
#include "FrmFileBrowse.h"
#include "FrmGraph.h"
#include "FrmGraphInfo.h"
#include "FrmStart.h"
#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "MsgBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <malloc.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int CaptureRecords = 2000; // a full run
constexpr int CapturePeak = 230;
constexpr int Analyses = 50;
constexpr int Graphs = 50;

long residentKb() {
    // Hand freed heap back first, so the reading counts what is in use, not what the
    // allocator keeps for later.
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

/// Runs the event loop as the program's own would, deferred deletions included (the driver
/// runs outside exec(), where they would otherwise wait for ever).
void pump(int ms = 0) {
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (ms > 0) QThread::msleep(2);
    } while (t.elapsed() < ms);
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= timeoutMs) return false;
        pump(5);
    }
    return true;
}

/// velmora-sim on a pseudo-terminal, reached through its link as the program's port 1.
class Simulator {
public:
    Simulator() {
        process_.setStandardErrorFile(dir_.filePath(QStringLiteral("sim.err")));
        process_.start(QStringLiteral(TARVOLM_BIN_DIR "/velmora-sim"),
                       {QStringLiteral("--capture"), QString::number(CaptureRecords),
                        QStringLiteral("--peak"), QString::number(CapturePeak),
                        QStringLiteral("--link"), link_});
        if (!process_.waitForStarted(5000)) return;
        while (!process_.canReadLine() && process_.state() == QProcess::Running &&
               process_.waitForReadyRead(5000)) {
        }
        started_ = process_.readLine().startsWith("device: ");
        if (started_) qputenv("TARVOLM_COMM1", link_.toLocal8Bit());
    }
    ~Simulator() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) process_.kill();
        qunsetenv("TARVOLM_COMM1");
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool started() const { return started_; }

private:
    QTemporaryDir dir_;
    QProcess process_;
    const QString link_ = dir_.filePath(QStringLiteral("line"));
    bool started_ = false;
};

/// Times each step by name and keeps the messages the program showed.
struct Session {
    std::map<std::string, std::vector<double>> ms;
    std::vector<std::pair<std::string, long>> rss;
    QStringList messages;
    QStringList unexpected;

    void timed(const std::string& step, const std::function<void()>& f) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms[step].push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    /// Takes the messages shown since the last call; any but `expected` is remembered.
    void expect(const QString& expected) {
        for (const QString& m : messages)
            if (m != expected) unexpected << m;
        if (!expected.isEmpty() && !messages.contains(expected))
            unexpected << QStringLiteral("(missing) ") + expected;
        messages.clear();
    }
    void memory(const std::string& when) { rss.emplace_back(when, residentKb()); }
    long memoryAt(const std::string& when) const {
        for (const auto& [w, kb] : rss)
            if (w == when) return kb;
        return 0;
    }
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_LongRun(benchmark::State& state) {
    Session s;
    setMsgBoxHook([&s](const MsgBoxCall& call) {
        s.messages << call.text;
        return call.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    });
    setEndProgramHook([] {});
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("longrun.csv"));
    Simulator sim;
    if (!sim.started()) {
        state.SkipWithError("velmora-sim did not start");
        return;
    }

    for (auto _ : state) {
        Forms::get<FrmStart>().show();
        if (!waitFor([] { return MainActivated == 100; }, 10000)) {
            state.SkipWithError("the main window did not come up");
            return;
        }
        MDIFormMain& main = Forms::get<MDIFormMain>();
        s.memory("program started");

        for (int run = 1; run <= 8; ++run) {
            const QString done = QStringLiteral("Capture Complete for Run %1").arg(run);
            s.timed("capture", [&] {
                main.mnuUploadTool->trigger();
                FrmCapture& capture = Forms::get<FrmCapture>();
                capture.OptData[run - 1]->click();
                capture.CmdRun->click();
                waitFor([&] { return !s.messages.isEmpty(); }, 30000);
            });
            s.expect(done);
            if (run == 1) s.memory("after the first capture");
        }
        const CapturedTable captured = CapturedData;
        s.memory("after 8 captures");

        // Each opening of the file dialog makes a fresh one.
        const auto fileDialog = [&file] {
            FrmFileBrowse& browse = Forms::get<FrmFileBrowse>();
            browse.TxtFileName->setText(file);
            browse.CmdOkay->click();
        };
        s.timed("save", [&] {
            main.CmdSave_Click();
            fileDialog();
            pump();
        });
        s.expect(QStringLiteral("File Save Complete."));
        s.timed("file new", [&] {
            main.mnuFileNew->trigger();
            pump();
        });
        s.expect({});
        s.timed("load", [&] {
            main.mnuFileOpen->trigger();
            fileDialog();
            pump();
        });
        s.expect(QStringLiteral("File Access Complete...."));
        if (!(CapturedData == captured)) s.unexpected << QStringLiteral("loaded data differ");
        s.memory("after save, new, load");

        main.mnuGraphAnalyse->trigger();
        FrmAnalyseDialoge& chooser = Forms::get<FrmAnalyseDialoge>();
        FrmAnalyse& analyse = Forms::get<FrmAnalyse>();
        for (int i = 0; i < Analyses; ++i) {
            chooser.OptRun[i % 8]->click();
            chooser.OptParam[i % 4]->click();
            s.timed("analysis open", [&] {
                chooser.CmdGraph->click();
                pump();
            });
            if (!analyse.isVisible()) s.unexpected << QStringLiteral("analysis did not show");
            s.timed("analysis leave", [&] {
                analyse.CmdBack->click();
                pump();
            });
            s.expect({});
            if (i == 0) s.memory("after the first analysis");
        }
        s.memory("after 50 analyses");

        main.mnuGraphMult->trigger();
        FrmGraphInfo& runs = Forms::get<FrmGraphInfo>();
        FrmGraph& graph = Forms::get<FrmGraph>();
        runs.CmdSetAll->click();
        for (int i = 0; i < Graphs; ++i) {
            s.timed("graph open", [&] {
                runs.CmdGraph->click();
                pump();
            });
            if (!graph.isVisible()) s.unexpected << QStringLiteral("graph did not show");
            s.timed("graph leave", [&] {
                graph.CmdBack->click();
                pump();
            });
            s.expect({});
            if (i == 0) s.memory("after the first graph");
        }
        s.memory("after 50 graphs");
    }
    Forms::releaseAll();
    pump();
    setMsgBoxHook({});
    setEndProgramHook({});

    std::printf("\nResident memory (VmRSS):\n");
    for (const auto& [when, kb] : s.rss)
        std::printf("  %-26s %8.1f MB\n", when.c_str(), kb / 1024.0);
    const long first = s.memoryAt("after the first capture"), last = s.rss.back().second;
    const double growth = first > 0 ? 100.0 * (last - first) / first : 0;
    std::printf("  end against first capture: %+.1f %% (%s)\n", growth,
                std::abs(growth) <= 10 ? "within 10 %" : "OVER 10 %");
    // Windows first opened after the first capture load their controls, fonts and plot once;
    // growth beyond that, over the repeated steps, is what a leak would show.
    const long warm = s.memoryAt("after the first graph");
    const double repeated = warm > 0 ? 100.0 * (last - warm) / warm : 0;
    std::printf("  end against the first graph: %+.1f %%\n", repeated);
    std::printf("\nMedian time per step:\n");
    for (const auto& [step, times] : s.ms) {
        std::printf("  %-16s %9.1f ms  (%zu times)\n", step.c_str(), median(times), times.size());
        state.counters[step + " ms"] = median(times);
    }
    for (const QString& u : s.unexpected)
        std::printf("  unexpected: %s\n", qPrintable(u));
    std::printf("\n");
    state.counters["rss first MB"] = first / 1024.0;
    state.counters["rss end MB"] = last / 1024.0;
    state.counters["rss growth %"] = growth;
    state.counters["rss repeated growth %"] = repeated;
    if (!s.unexpected.isEmpty()) state.SkipWithError("the session did not go as an operator's");
}
BENCHMARK(BM_LongRun)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
