// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The simulator speaks the instrument's and the boards' frames from its own byte tables and
// its own checksum arithmetic; it never uses the program's code, so it cannot share its faults.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <set>

namespace Sim {

/// The ten bytes of one parameter set in the order they travel: total hi, total lo, number in
/// assembly, count direction, CH1 peak, CH2 peak, percent threshold, view total, timer X, Y.
using ParameterSet = std::array<std::uint8_t, 10>;
/// Parameter sets A to D.
using FourSets = std::array<ParameterSet, 4>;

/// Sum of the bytes modulo 256: the last byte of a calibration frame and a capture record.
std::uint8_t byteSum(QByteArrayView bytes);
/// The byte that makes `bytes` plus itself sum to 0 modulo 256: the last byte of a board frame.
std::uint8_t zeroSum(QByteArrayView bytes);

/// How the simulated instrument and boards behave; everything the CLI can choose that shapes
/// the bytes (timing is the shell's business).
struct Behaviour {
    int type = 0;           ///< 0 to 5, type A to F
    FourSets sets{};        ///< parameter sets A to D as the instrument holds them
    bool instrument = true; ///< answer calibration frames
    std::set<int> boards;   ///< addresses of the switching boards on the line
    bool silent = false;    ///< never answer
    int splitBytes = 0;     ///< > 0: each reply goes out in pieces of this many bytes
    int garbage = 0;        ///< random bytes written before and after each reply
    int badChecksums = 0;   ///< the first N replies get a wrong checksum; < 0: every one
    std::array<bool, 4> ack{true, true, true, true}; ///< which sets' writes are acknowledged
    bool unknownType = false;                        ///< identify with a letter past F
    bool wrongAddress = false;                       ///< boards answer from the next address
    bool wrongCommand = false; ///< boards echo the command instead of answering it
    bool wrongAck = false;     ///< a write is acknowledged with the previous set's code
    int exitAfter = 0;         ///< > 0: vanish on receiving this many frames
    unsigned seed = 1;         ///< for the garbage
};

/// The instrument's factory sets: 0, 0, 5, 61, 250, 250, 10, 0, 10, 10 in all four.
FourSets defaultSets();

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

    const FourSets& sets() const { return behaviour_.sets; }
    /// Board address -> open channel (0 when all closed), for the boards that were addressed.
    const std::map<int, int>& channels() const { return channels_; }

private:
    void handle(const QByteArray& frame, Response& out);
    void answerBoard(const QByteArray& frame, Response& out);
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

/// The capture records of `pairs`, back to back: 72, a counter, CH1, CH2, byte sum. With
/// badEvery > 0 every badEvery-th record carries a wrong checksum.
QByteArray captureStream(const QList<CodePair>& pairs, int badEvery);

} // namespace Sim
