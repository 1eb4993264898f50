// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimCli.h"

#include <QCommandLineParser>
#include <QFile>

namespace Sim {

namespace {

struct OptionInfo {
    const char* group;
    const char* name;
    const char* valueName; ///< nullptr for a flag
    const char* description;
};

// One table feeds both the parser and the help text, so they cannot drift apart.
const OptionInfo optionTable[] = {
    {"Line", "link", "PATH", "Also reach the device through a symlink at PATH (removed at exit)."},
    {"Line", "log", "FILE",
     "Write one line per received frame to FILE: its name and hex bytes, e.g. "
     "\"WriteParameterSet(B) EB 0E 01 ...\", \"NetOpenChannel(12,3) 91 10 06 0C 03 4A\"; also "
     "\"Board(12) channel 3 open\", \"Board(12) closed\", \"Skipped <hex>\" for bytes that were no "
     "frame, and \"Vanished\"."},
    {"Line", "verbose", nullptr, "Tell on stderr what the simulator receives and sends."},
    {"Instrument", "type", "LETTER", "Instrument type A to F (default A)."},
    {"Instrument", "sets", "LIST",
     "Parameter sets as comma-separated bytes 0-255 (decimal or 0x..): ten values for all four "
     "sets, or forty for A, B, C, D in turn. Each set is: Total hi, Total lo, Number in assembly, "
     "Count direction (61 up, 62 down), CH1 peak, CH2 peak, Percent threshold, View total, Timer "
     "X, Timer Y. Default 0,0,5,61,250,250,10,0,10,10 in every set."},
    {"Instrument", "set", "L=LIST", "One set, e.g. B=0,0,5,61,200,190,10,0,12,12 (repeatable)."},
    {"Instrument", "no-instrument", nullptr, "Answer no calibration frames (boards only)."},
    {"Switching boards", "board", "ADDR",
     "A switching board at address 0-255 (repeatable). It answers NetCloseAll and NetOpenChannel "
     "(channels 1-8) for its address."},
    {"Capture stream", "capture", "N",
     "Stream a generated torque curve of N records (rise, plateau, fall; CH2 following CH1), one "
     "five-byte record per 5 ms. N above 2500 makes an over-long run."},
    {"Capture stream", "capture-file", "FILE",
     "Stream the code pairs of FILE instead: one \"ch1 ch2\" pair per line, codes 0-255; blank "
     "lines and lines starting with # are skipped."},
    {"Capture stream", "peak", "CODE", "Plateau code of the generated curve (default 200)."},
    {"Capture stream", "capture-start", "WHEN",
     "open: each time the port is opened (default); activity: at the first bytes received after an "
     "open; trigger: at each line read on stdin (press Enter)."},
    {"Capture stream", "capture-delay", "MS",
     "Wait MS milliseconds after the start event before streaming (default 300)."},
    {"Capture stream", "bad-every", "N", "Every N-th record carries a wrong checksum."},
    {"Misbehaviour", "silent", nullptr, "Answer no frame at all (a capture stream still runs)."},
    {"Misbehaviour", "split", "BYTES", "Send each reply in pieces of BYTES bytes."},
    {"Misbehaviour", "split-gap", "MS", "Pause between the pieces of a split reply (default 30)."},
    {"Misbehaviour", "garbage", "N", "Surround each reply by N random bytes before and after."},
    {"Misbehaviour", "bad-checksum", "N",
     "The first N replies carry a wrong checksum; \"all\" for every reply."},
    {"Misbehaviour", "ack-only", "SETS",
     "Acknowledge writes only of these sets, e.g. A or AC (the sets are still taken)."},
    {"Misbehaviour", "unknown-type", nullptr,
     "Identify as type G, a letter no Velmora reports (BF 05 00 47 0B)."},
    {"Misbehaviour", "wrong-address", nullptr,
     "Boards answer as if from the next address (board 12 answers as 13)."},
    {"Misbehaviour", "wrong-command", nullptr,
     "Boards echo the command (00, 10) instead of answering with the command plus 1."},
    {"Misbehaviour", "wrong-ack", nullptr,
     "Acknowledge each write as the previous set's: set B's with FA 04 00 FE (set A), set A's "
     "with set D's."},
    {"Misbehaviour", "hold", "MS", "Hold every reply back for MS milliseconds."},
    {"Misbehaviour", "exit-after", "N",
     "Vanish (exit, closing the device) on receiving the N-th frame, unanswered."},
    {"Misbehaviour", "exit-after-records", "N",
     "Vanish after sending N records of the capture stream."},
    {"Misbehaviour", "seed", "N", "Seed of the random garbage (default 1)."},
};

const char* const groups[] = {"Line", "Instrument", "Switching boards", "Capture stream",
                              "Misbehaviour"};

QStringList wrapped(const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

std::optional<std::uint8_t> byteValue(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 0);
    if (!ok || v < 0 || v > 255) return std::nullopt;
    return static_cast<std::uint8_t>(v);
}

std::optional<QList<std::uint8_t>> byteList(const QString& text) {
    QList<std::uint8_t> bytes;
    for (const QString& field : text.split(QLatin1Char(','))) {
        const auto b = byteValue(field);
        if (!b) return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

std::optional<int> number(const QString& text, int min, int max) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < min || v > max) return std::nullopt;
    return v;
}

ParameterSet setOf(const QList<std::uint8_t>& bytes, int first) {
    ParameterSet set{};
    for (int i = 0; i < 10; ++i)
        set[i] = bytes[first + i];
    return set;
}

} // namespace

QString helpText() {
    QString text = QStringLiteral(
        "Usage: velmora-sim [options]\n"
        "\n"
        "Plays a Velmora torque instrument and its switching boards on a pseudo-terminal,\n"
        "so that Tarvolm can be tried without the hardware. The first line on stdout is\n"
        "\"device: /dev/pts/N\"; point Tarvolm's Comm Port 1 at it with\n"
        "TARVOLM_COMM1=/dev/pts/N (or use --link). The instrument answers\n"
        "IdentifyRequest, ReadSetpointsRequest (with its four parameter sets) and\n"
        "WriteParameterSet (taking the set and acknowledging it). It runs until\n"
        "interrupted (Ctrl-C).\n"
        "\n"
        "  -h, --help            Show this text.\n");
    constexpr int column = 24;
    for (const char* group : groups) {
        text += QStringLiteral("\n%1:\n").arg(QLatin1String(group));
        for (const OptionInfo& o : optionTable) {
            if (qstrcmp(o.group, group) != 0) continue;
            QString head = QStringLiteral("  --%1").arg(QLatin1String(o.name));
            if (o.valueName) head += QLatin1Char(' ') + QLatin1String(o.valueName);
            if (head.size() >= column)
                head += QLatin1Char('\n') + QString(column, QLatin1Char(' '));
            else
                head = head.leftJustified(column);
            const QStringList lines = wrapped(QString::fromLatin1(o.description), 80 - column);
            text += head + lines.join(QLatin1Char('\n') + QString(column, QLatin1Char(' '))) +
                    QLatin1Char('\n');
        }
    }
    text += QStringLiteral(
        "\nExamples:\n"
        "  velmora-sim --type C --set A=0,0,5,61,200,190,10,0,12,12 --verbose\n"
        "  velmora-sim --board 12 --link /tmp/velmora --log /tmp/velmora.log\n"
        "  velmora-sim --capture 2000 --capture-delay 1000\n"
        "  velmora-sim --capture-file run.txt --capture-start trigger --bad-every 50\n"
        "  velmora-sim --ack-only A --split 3 --garbage 4\n"
        "  velmora-sim --board 12 --wrong-address --hold 250\n");
    return text;
}

std::optional<Options> parseArguments(const QStringList& arguments, QString* error, bool* help) {
    QString dummyError;
    bool dummyHelp = false;
    if (!error) error = &dummyError;
    if (!help) help = &dummyHelp;
    error->clear();
    *help = false;

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const OptionInfo& o : optionTable) {
        if (o.valueName)
            parser.addOption(
                QCommandLineOption(QLatin1String(o.name), QString(), QLatin1String(o.valueName)));
        else
            parser.addOption(QCommandLineOption(QLatin1String(o.name)));
    }
    if (!parser.parse(QStringList{QStringLiteral("velmora-sim")} + arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        *help = true;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error =
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }

    Options o;
    Behaviour& b = o.behaviour;
    b.sets = defaultSets();
    const auto fail = [&](const QString& message) {
        *error = message;
        return std::nullopt;
    };
    const auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };
    const auto isSet = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    const auto intOption = [&](const char* name, int min, int max, int* target) {
        if (!isSet(name)) return true;
        const auto v = number(value(name), min, max);
        if (!v) {
            *error = QStringLiteral("--%1 wants a number from %2 to %3, not \"%4\"")
                         .arg(QLatin1String(name))
                         .arg(min)
                         .arg(max)
                         .arg(value(name));
            return false;
        }
        *target = *v;
        return true;
    };

    o.linkPath = value("link");
    o.logPath = value("log");
    o.verbose = isSet("verbose");

    if (isSet("type")) {
        const QString t = value("type").trimmed().toUpper();
        if (t.size() != 1 || t[0] < QLatin1Char('A') || t[0] > QLatin1Char('F'))
            return fail(
                QStringLiteral("--type wants a letter A to F, not \"%1\"").arg(value("type")));
        b.type = t[0].unicode() - 'A';
    }
    if (isSet("sets")) {
        const auto bytes = byteList(value("sets"));
        if (!bytes || (bytes->size() != 10 && bytes->size() != 40))
            return fail(QStringLiteral("--sets wants 10 or 40 comma-separated bytes 0-255"));
        for (int k = 0; k < 4; ++k)
            b.sets[k] = setOf(*bytes, bytes->size() == 40 ? 10 * k : 0);
    }
    for (const QString& one : parser.values(QStringLiteral("set"))) {
        const QString letter = one.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
        const auto bytes = byteList(one.section(QLatin1Char('='), 1));
        if (letter.size() != 1 || letter[0] < QLatin1Char('A') || letter[0] > QLatin1Char('D') ||
            !bytes || bytes->size() != 10)
            return fail(
                QStringLiteral("--set wants L=ten bytes, L from A to D, not \"%1\"").arg(one));
        b.sets[letter[0].unicode() - 'A'] = setOf(*bytes, 0);
    }
    b.instrument = !isSet("no-instrument");
    for (const QString& a : parser.values(QStringLiteral("board"))) {
        const auto address = number(a, 0, 255);
        if (!address)
            return fail(QStringLiteral("--board wants an address 0 to 255, not \"%1\"").arg(a));
        b.boards.insert(*address);
    }

    b.silent = isSet("silent");
    b.unknownType = isSet("unknown-type");
    b.wrongAddress = isSet("wrong-address");
    b.wrongCommand = isSet("wrong-command");
    b.wrongAck = isSet("wrong-ack");
    if (!intOption("split", 1, 1000, &b.splitBytes) ||
        !intOption("split-gap", 0, 60000, &o.splitGapMs) ||
        !intOption("garbage", 0, 1000, &b.garbage) ||
        !intOption("exit-after", 1, 1000000, &b.exitAfter) ||
        !intOption("hold", 0, 600000, &o.holdMs) ||
        !intOption("exit-after-records", 1, 1000000, &o.exitAfterRecords))
        return std::nullopt;
    if (isSet("bad-checksum")) {
        if (value("bad-checksum").trimmed().compare(QLatin1String("all"), Qt::CaseInsensitive) == 0)
            b.badChecksums = -1;
        else if (!intOption("bad-checksum", 0, 1000000, &b.badChecksums))
            return std::nullopt;
    }
    if (isSet("ack-only")) {
        b.ack = {false, false, false, false};
        const QString sets = value("ack-only").trimmed().toUpper();
        for (QChar c : sets) {
            if (c < QLatin1Char('A') || c > QLatin1Char('D'))
                return fail(
                    QStringLiteral("--ack-only wants letters A to D, not \"%1\"").arg(sets));
            b.ack[c.unicode() - 'A'] = true;
        }
    }
    if (isSet("seed")) {
        bool ok = false;
        b.seed = value("seed").toUInt(&ok);
        if (!ok) return fail(QStringLiteral("--seed wants a whole number"));
    }

    if (isSet("capture") && isSet("capture-file"))
        return fail(QStringLiteral("--capture and --capture-file exclude each other"));
    int records = 0;
    int peak = 200;
    if (!intOption("capture", 1, 1000000, &records) || !intOption("peak", 11, 255, &peak) ||
        !intOption("capture-delay", 0, 3600000, &o.captureDelayMs) ||
        !intOption("bad-every", 1, 1000000, &o.badEvery))
        return std::nullopt;
    if (records > 0) o.capture = generatedCurve(records, peak);
    if (isSet("capture-file")) {
        QFile file(value("capture-file"));
        if (!file.open(QIODevice::ReadOnly))
            return fail(
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        QString why;
        const auto pairs = parseCodePairs(file.readAll(), &why);
        if (!pairs) return fail(QStringLiteral("%1: %2").arg(file.fileName(), why));
        if (pairs->isEmpty())
            return fail(QStringLiteral("%1 holds no code pairs").arg(file.fileName()));
        o.capture = *pairs;
    }
    if (isSet("capture-start")) {
        const QString when = value("capture-start").trimmed().toLower();
        if (when == QLatin1String("open"))
            o.captureStart = CaptureStart::Open;
        else if (when == QLatin1String("activity"))
            o.captureStart = CaptureStart::Activity;
        else if (when == QLatin1String("trigger"))
            o.captureStart = CaptureStart::Trigger;
        else
            return fail(QStringLiteral("--capture-start wants open, activity or trigger"));
    }
    return o;
}

} // namespace Sim
