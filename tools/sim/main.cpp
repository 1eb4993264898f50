// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-sim: the instrument and its switching boards on a pseudo-terminal. The protocol lives
// in Sim::Responder; this file only moves bytes and keeps time.
#include "SimCli.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <optional>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr auto RecordPeriod = milliseconds(5);
constexpr int RecordBytes = 5;

volatile std::sig_atomic_t stopSignal = 0;

void onSignal(int signal) {
    stopSignal = signal;
}

void installSignals() {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no SA_RESTART: poll must wake up
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

class Shell {
public:
    explicit Shell(const Sim::Options& options)
        : options_(options), responder_(options.behaviour), started_(Clock::now()) {}
    ~Shell() { cleanUp(); }

    /// Opens the pseudo-terminal; false with a message on stderr when it cannot.
    bool setUp();
    /// Serves until a signal or a vanish; returns the exit status.
    int run();

private:
    void say(const QString& text);
    void logLine(const QString& line);
    void cleanUp();

    void readLine();
    void readStdin();
    void peerOpened();
    void peerClosed();
    void scheduleStream(const char* why);
    void runStream(Clock::time_point now);
    void sendDue(Clock::time_point now);
    void send(const QByteArray& bytes);
    std::optional<Clock::time_point> nextDue() const;

    Sim::Options options_;
    Sim::Responder responder_;
    Clock::time_point started_;
    int master_ = -1;
    QByteArray device_;
    bool linked_ = false;
    std::FILE* log_ = nullptr;
    bool peerOpen_ = false;
    bool stdinOpen_ = true;
    QByteArray stdinLine_;
    bool vanish_ = false;

    std::deque<std::pair<Clock::time_point, QByteArray>> outbox_;

    bool awaitActivity_ = false;
    std::optional<Clock::time_point> streamDue_;
    QByteArray stream_;
    Clock::time_point streamStart_;
    qsizetype streamSent_ = 0; // records
};

void Shell::say(const QString& text) {
    if (!options_.verbose) return;
    const double t = std::chrono::duration<double>(Clock::now() - started_).count();
    std::fprintf(stderr, "[%8.3f] %s\n", t, text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void Shell::logLine(const QString& line) {
    say(line);
    if (!log_) return;
    std::fprintf(log_, "%s\n", line.toLatin1().constData());
    std::fflush(log_);
}

bool Shell::setUp() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        std::perror("velmora-sim: pseudo-terminal");
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        std::perror("velmora-sim: ptsname");
        return false;
    }
    device_ = name;
    // Raw mode from the start, so no byte is translated before the reader sets its own mode.
    // Opening and closing the slave once also makes the master report a hang-up until a
    // reader opens it, which is how the opening of the port is noticed.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios tio{};
        if (tcgetattr(slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(slave, TCSANOW, &tio);
        }
        ::close(slave);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    if (!options_.logPath.isEmpty()) {
        log_ = std::fopen(options_.logPath.toLocal8Bit().constData(), "w");
        if (!log_) {
            std::perror("velmora-sim: log file");
            return false;
        }
    }
    if (!options_.linkPath.isEmpty()) {
        const QByteArray link = options_.linkPath.toLocal8Bit();
        struct stat st {};
        if (::lstat(link.constData(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                std::fprintf(stderr, "velmora-sim: %s exists and is no symlink\n",
                             link.constData());
                return false;
            }
            ::unlink(link.constData());
        }
        if (::symlink(name, link.constData()) != 0) {
            std::perror("velmora-sim: symlink");
            return false;
        }
        linked_ = true;
    }
    std::printf("device: %s\n", name);
    if (linked_) std::printf("link: %s\n", options_.linkPath.toLocal8Bit().constData());
    std::fflush(stdout);
    say(QStringLiteral("serving on %1, type %2, boards: %3")
            .arg(QString::fromLocal8Bit(device_))
            .arg(QChar('A' + options_.behaviour.type))
            .arg(options_.behaviour.boards.size()));
    return true;
}

void Shell::cleanUp() {
    if (linked_) {
        const QByteArray link = options_.linkPath.toLocal8Bit();
        char target[4096];
        const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
        if (n > 0 && QByteArray(target, n) == device_) ::unlink(link.constData());
        linked_ = false;
    }
    if (log_) {
        std::fclose(log_);
        log_ = nullptr;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

std::optional<Clock::time_point> Shell::nextDue() const {
    std::optional<Clock::time_point> due;
    const auto consider = [&](Clock::time_point t) {
        if (!due || t < *due) due = t;
    };
    if (!outbox_.empty()) consider(outbox_.front().first);
    if (streamDue_) consider(*streamDue_);
    if (!stream_.isEmpty()) consider(streamStart_ + streamSent_ * RecordPeriod);
    return due;
}

int Shell::run() {
    while (!stopSignal && !vanish_) {
        const auto now = Clock::now();
        int timeout = 100;
        if (const auto due = nextDue())
            timeout = static_cast<int>(std::clamp<long long>(
                std::chrono::duration_cast<milliseconds>(*due - now).count(), 0, 100));
        // With no reader the master reports a hang-up at once, so it is only looked at below.
        if (!peerOpen_) timeout = std::min(timeout, 2);

        pollfd fds[2];
        int count = 0;
        if (peerOpen_) fds[count++] = {master_, POLLIN, 0};
        if (stdinOpen_) fds[count++] = {STDIN_FILENO, POLLIN, 0};
        if (count > 0)
            ::poll(fds, count, timeout);
        else
            ::usleep(static_cast<useconds_t>(timeout) * 1000);
        if (stopSignal) break;

        pollfd line{master_, POLLIN, 0};
        ::poll(&line, 1, 0);
        const bool hungUp = line.revents & POLLHUP;
        if (!hungUp && !peerOpen_) peerOpened();
        if (line.revents & POLLIN) readLine(); // what came just before a close still counts
        if (vanish_) break;
        if (hungUp && peerOpen_) peerClosed();

        if (stdinOpen_) {
            pollfd in{STDIN_FILENO, POLLIN, 0};
            if (::poll(&in, 1, 0) > 0 && (in.revents & (POLLIN | POLLHUP))) readStdin();
        }

        const auto later = Clock::now();
        sendDue(later);
        runStream(later);
    }
    if (stopSignal) say(QStringLiteral("stopped by signal %1").arg(int(stopSignal)));
    cleanUp();
    return 0;
}

void Shell::readLine() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) return; // EAGAIN, or EIO once the reader has gone
        if (awaitActivity_) {
            awaitActivity_ = false;
            scheduleStream("first bytes received");
        }
        const Sim::Response response = responder_.receive(QByteArrayView(buffer, n));
        for (const QString& l : response.log)
            logLine(l);
        if (response.vanish) {
            for (const QByteArray& w : response.writes)
                send(w);
            say(QStringLiteral("vanishing"));
            vanish_ = true;
            return;
        }
        auto due = Clock::now() + milliseconds(options_.holdMs);
        for (const QByteArray& w : response.writes) {
            if (!outbox_.empty() && options_.behaviour.splitBytes > 0)
                due = std::max(due, outbox_.back().first + milliseconds(options_.splitGapMs));
            outbox_.emplace_back(due, w);
        }
    }
}

void Shell::readStdin() {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        stdinOpen_ = false;
        return;
    }
    for (ssize_t i = 0; i < n; ++i) {
        if (buffer[i] != '\n') continue;
        if (options_.captureStart == Sim::CaptureStart::Trigger) scheduleStream("trigger");
    }
}

void Shell::peerOpened() {
    peerOpen_ = true;
    say(QStringLiteral("port opened"));
    if (options_.captureStart == Sim::CaptureStart::Open) scheduleStream("port opened");
    if (options_.captureStart == Sim::CaptureStart::Activity) awaitActivity_ = true;
}

void Shell::peerClosed() {
    peerOpen_ = false;
    say(QStringLiteral("port closed"));
    outbox_.clear();
    awaitActivity_ = false;
    if (streamDue_ || !stream_.isEmpty()) say(QStringLiteral("capture stream cancelled"));
    streamDue_.reset();
    stream_.clear();
}

void Shell::scheduleStream(const char* why) {
    if (options_.capture.isEmpty() || streamDue_ || !stream_.isEmpty()) return;
    streamDue_ = Clock::now() + milliseconds(options_.captureDelayMs);
    say(QStringLiteral("capture stream of %1 records due in %2 ms (%3)")
            .arg(options_.capture.size())
            .arg(options_.captureDelayMs)
            .arg(QLatin1String(why)));
}

void Shell::runStream(Clock::time_point now) {
    if (streamDue_ && now >= *streamDue_) {
        stream_ = Sim::captureStream(options_.capture, options_.badEvery);
        streamStart_ = *streamDue_;
        streamSent_ = 0;
        streamDue_.reset();
        say(QStringLiteral("capture stream started"));
    }
    if (stream_.isEmpty()) return;
    qsizetype total = stream_.size() / RecordBytes;
    if (options_.exitAfterRecords > 0)
        total = std::min<qsizetype>(total, options_.exitAfterRecords);
    const qsizetype due = std::min<qsizetype>(total, (now - streamStart_) / RecordPeriod + 1);
    if (due > streamSent_) {
        send(stream_.mid(streamSent_ * RecordBytes, (due - streamSent_) * RecordBytes));
        streamSent_ = due;
    }
    if (options_.exitAfterRecords > 0 && streamSent_ == options_.exitAfterRecords) {
        logLine(QStringLiteral("Vanished"));
        vanish_ = true;
        return;
    }
    if (streamSent_ == total) {
        say(QStringLiteral("capture stream done: %1 records").arg(total));
        stream_.clear();
    }
}

void Shell::sendDue(Clock::time_point now) {
    while (!outbox_.empty() && outbox_.front().first <= now) {
        const QByteArray bytes = outbox_.front().second;
        outbox_.pop_front();
        say(QStringLiteral("tx ") + Sim::hex(bytes));
        send(bytes);
    }
}

void Shell::send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // A full line drops bytes, as they would be lost on a real one.
        say(QStringLiteral("line full or closed: %1 bytes dropped").arg(bytes.size() - done));
        return;
    }
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    bool help = false;
    const auto options = Sim::parseArguments(arguments, &error, &help);
    if (help) {
        std::fputs(Sim::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!options) {
        std::fprintf(stderr, "velmora-sim: %s\nTry velmora-sim --help.\n",
                     error.toLocal8Bit().constData());
        return 2;
    }
    installSignals();
    Shell shell(*options);
    if (!shell.setUp()) return 1;
    return shell.run();
}
