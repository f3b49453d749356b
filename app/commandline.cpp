#include "commandline.h"

#include "datafolder.h"
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
    const QCommandLineOption dataDir(
        "data-dir",
        "Keep config.cfg, the first file folder and saves in DIR (created when missing) "
        "instead of the current folder.",
        "DIR");
    const QCommandLineOption userData(
        "user-data", QStringLiteral("Same as --data-dir %1 (the menu entry starts the client so).")
                         .arg(userDataFolder()));
    parser.addOption(simulator);
    parser.addOption(port);
    parser.addOption(baud);
    parser.addOption(dataDir);
    parser.addOption(userData);

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
    if (parser.isSet(dataDir) && parser.isSet(userData)) {
        options.error = QStringLiteral("Give either --data-dir or --user-data, not both.");
        return options;
    }
    if (parser.isSet(dataDir)) {
        options.dataFolder = parser.value(dataDir);
        if (options.dataFolder.isEmpty()) {
            options.error = QStringLiteral("The data folder name is empty.");
            return options;
        }
    } else if (parser.isSet(userData)) {
        options.dataFolder = userDataFolder();
    }
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
