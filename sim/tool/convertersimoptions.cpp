#include "convertersimoptions.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

void complain(const QString& text)
{
    std::fprintf(stderr, "converter-sim: %s\n", text.toLocal8Bit().constData());
}

struct IntOption {
    QCommandLineOption option;
    int minimum;
    int maximum;
    int* target;
};

bool readHex(const QString& text, QByteArray& bytes)
{
    QString digits = text;
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
    if (digits.size() % 2 != 0)
        return false;
    for (QChar c : digits)
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return false;
    bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

}  // namespace

int parseConverterSimArguments(const QStringList& arguments, ConverterSimSettings& settings)
{
    SimulatorOptions& o = settings.options;
    SimulatorFaults& f = o.faults;
    int dropAfterBytes = -1;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated Converter on a pseudo-terminal. Prints the terminal's path on the first line "
        "of standard output and serves until interrupted. Connect the client's serial backend or "
        "any serial tool (raw mode) to that path."));
    parser.addHelpOption();

    const auto value = [](const char* name, const char* description, const char* valueName) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                  QString::fromLatin1(valueName));
    };
    const auto flag = [](const char* name, const char* description) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description));
    };

    const QList<IntOption> numbers = {
        {value("firmware-version", "Firmware version times ten, handshake byte 2 (default 23 = 2.3).", "n"), 0, 255, &o.firmwareVersion},
        {value("reference-mode", "Reference-input mode, handshake byte 3 (default 0 = reference switch on).", "n"), 0, 255, &o.referenceMode},
        {value("delay", "Answer, acknowledge and start a stream this late.", "ms"), 0, 600000, &f.answerDelayMs},
        {value("trickle", "Send answers one byte at a time with this pause between the bytes.", "ms"), 0, 60000, &f.trickleMs},
        {value("bad-crc-every", "Every n-th frame of a stream carries a wrong check byte.", "n"), 0, 1000000, &f.badCrcEvery},
        {value("bad-crc-run", "n frames in a row carry a wrong check byte (see --bad-crc-run-start).", "n"), 0, 1000000, &f.badCrcRunLength},
        {value("bad-crc-run-start", "First frame (counted from 0) of the --bad-crc-run.", "k"), 0, 1000000, &f.badCrcRunStart},
        {value("drop-after-frames", "Drop the line after n frames of a stream; the program then ends.", "n"), 0, 100000000, &f.dropAfterFrames},
        {value("drop-after-bytes", "Drop the line once n bytes have been received; the program then ends.", "n"), 0, 1000000000, &dropAfterBytes},
        {value("reject-times", "Reject firmware blocks k times each before accepting them (see --reject-block).", "k"), 0, 1000, &f.rejectTimes},
        {value("reject-block", "Only block b (counted from 0) is rejected by --reject-times.", "b"), 0, 1000000, &f.rejectBlock},
        {value("silent-block", "Never acknowledge firmware block b (counted from 0).", "b"), 0, 1000000, &f.silentBlock},
    };
    const QCommandLineOption silent = flag("silent", "Receive but never send anything.");
    const QCommandLineOption wrongHandshake = flag("wrong-handshake", "Answer the handshake with a first byte of 1.");
    const QCommandLineOption handshakeAnswer = value("handshake-answer", "Answer the handshake with these bytes instead (hex, e.g. 00001700).", "hex");
    const QCommandLineOption shortAnswers = flag("short-answers", "Answers lose their last byte.");
    const QCommandLineOption stale = value("stale", "Send these bytes (hex) after every command, to lie waiting before the next answer.", "hex");
    const QCommandLineOption dropMidFrame = flag("drop-mid-frame", "With --drop-after-frames, cut the last frame off half way.");
    const QCommandLineOption verbose = flag("verbose", "Tell on standard error what the device understood and did.");

    for (const IntOption& number : numbers)
        parser.addOption(number.option);
    for (const QCommandLineOption* option : {&silent, &wrongHandshake, &handshakeAnswer, &shortAnswers, &stale, &dropMidFrame, &verbose})
        parser.addOption(*option);

    if (!parser.parse(arguments)) {
        complain(parser.errorText());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        complain(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
        return 2;
    }
    for (const IntOption& number : numbers) {
        if (!parser.isSet(number.option))
            continue;
        bool ok = false;
        const QString text = parser.value(number.option);
        const int v = text.toInt(&ok);
        if (!ok || v < number.minimum || v > number.maximum) {
            complain(QStringLiteral("--%1 wants a whole number from %2 to %3, not \"%4\"")
                         .arg(number.option.names().first()).arg(number.minimum).arg(number.maximum).arg(text));
            return 2;
        }
        *number.target = v;
    }
    f.dropAfterReceivedBytes = dropAfterBytes;
    f.silent = parser.isSet(silent);
    f.shortAnswers = parser.isSet(shortAnswers);
    f.dropMidFrame = parser.isSet(dropMidFrame);
    if (parser.isSet(wrongHandshake))
        f.handshakeAnswer = QByteArray{"\x01\x00", 2} + char(o.firmwareVersion) + char(o.referenceMode);
    if (parser.isSet(handshakeAnswer) && !readHex(parser.value(handshakeAnswer), f.handshakeAnswer)) {
        complain(QStringLiteral("--handshake-answer wants hexadecimal bytes"));
        return 2;
    }
    if (parser.isSet(stale) && !readHex(parser.value(stale), f.staleBytes)) {
        complain(QStringLiteral("--stale wants hexadecimal bytes"));
        return 2;
    }
    settings.verbose = parser.isSet(verbose);
    return -1;
}
