#include "commandline.h"

#include "serialstack.h"

#include <QCommandLineParser>

ClientOptions parseClientOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "ZantoTPS: connects to the Converter over Bluetooth, shows its live data,\n"
        "records logs, edits its correction table and updates its firmware.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption simulator("simulator", "Talk to the simulated Converter built into the client.");
    const QCommandLineOption port("port", "Use the serial port PATH as a paired device (repeatable).", "PATH");
    const QCommandLineOption baud("baud", QStringLiteral("Baud rate of the serial ports (default %1).")
                                              .arg(SerialStack::DefaultBaud),
                                  "N");
    parser.addOption(simulator);
    parser.addOption(port);
    parser.addOption(baud);

    ClientOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return options;
    }
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    options.helpText = parser.helpText();
    options.versionText = QStringLiteral("zantotps %1\n").arg(QStringLiteral(ZANTO_VERSION));
    options.link.simulator = parser.isSet(simulator);
    options.link.ports = parser.values(port);
    if (parser.isSet(baud)) {
        const QString text = parser.value(baud);
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || !SerialStack::isSupportedBaud(value)) {
            options.error = QStringLiteral("Unsupported baud rate '%1'.").arg(text);
            return options;
        }
        options.link.baud = value;
    }
    return options;
}
