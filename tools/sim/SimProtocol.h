// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Frames.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <random>
#include <set>

namespace Sim {

/// How the simulated instrument and boards behave; everything the CLI can choose that shapes
/// the bytes (timing is the shell's business).
struct Behaviour {
    int type = 0;            ///< 0 to 5, type A to F
    Frames::FourSets sets{}; ///< parameter sets A to D as the instrument holds them
    bool instrument = true;  ///< answer calibration frames
    std::set<int> boards;    ///< addresses of the switching boards on the line
    bool silent = false;     ///< never answer
    int splitBytes = 0;      ///< > 0: each reply goes out in pieces of this many bytes
    int garbage = 0;         ///< random bytes written before and after each reply
    int badChecksums = 0;    ///< the first N replies get a wrong checksum; < 0: every one
    std::array<bool, 4> ack{true, true, true, true}; ///< which sets' writes are acknowledged
    int exitAfter = 0;                               ///< > 0: vanish on receiving this many frames
    unsigned seed = 1;                               ///< for the garbage
};

/// The instrument's factory sets: the program's setpoint defaults in all four sets.
Frames::FourSets defaultSets();

/// What one batch of received bytes leads to.
struct Response {
    QList<QByteArray> writes; ///< separate writes to the line, in order
    QStringList log;          ///< one line per received frame or event
    bool vanish = false;      ///< the simulator leaves now, answering nothing more
};

/// The simulator's protocol state: bytes in, bytes out. It finds frames anywhere in the byte
/// stream, skipping what is no frame, and keeps a frame cut across reads until it completes.
class Responder {
public:
    explicit Responder(const Behaviour& behaviour);

    /// Takes bytes from the line and returns what to send and log.
    Response receive(QByteArrayView bytes);

    const Frames::FourSets& sets() const { return behaviour_.sets; }
    /// Board address -> open channel (0 when all closed), for the boards that were addressed.
    const std::map<int, int>& channels() const { return channels_; }
    int framesReceived() const { return frames_; }
    bool vanished() const { return vanished_; }

private:
    void handle(const QByteArray& frame, Response& out);
    void reply(QByteArray bytes, Response& out);
    void flushSkipped(Response& out);

    Behaviour behaviour_;
    QByteArray pending_;
    QByteArray skipped_;
    std::map<int, int> channels_;
    int frames_ = 0;
    int replies_ = 0;
    bool vanished_ = false;
    std::mt19937 rng_;
};

/// Bytes as upper-case hex pairs separated by spaces.
QString hex(QByteArrayView bytes);

/// One capture sample: CH1 and CH2 instrument codes.
struct CodePair {
    std::uint8_t ch1 = 0;
    std::uint8_t ch2 = 0;
    bool operator==(const CodePair&) const = default;
};

/// A torque curve of `records` samples: idle, a rise to `peak`, a plateau, a fall, idle; CH2
/// follows CH1 a little later and lower.
QList<CodePair> generatedCurve(int records, int peak);

/// "ch1 ch2" code pairs, one per line (blank lines and lines starting with # skipped). nullopt
/// with `error` set on the first bad line.
std::optional<QList<CodePair>> parseCodePairs(const QByteArray& text, QString* error);

/// The capture records of `pairs`, back to back; with badEvery > 0 every badEvery-th record
/// carries a wrong checksum.
QByteArray captureStream(const QList<CodePair>& pairs, int badEvery);

} // namespace Sim
