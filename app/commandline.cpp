#include "commandline.h"

#include <QCommandLineParser>

ClientOptions parseClientOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "ZantoTPS: connects to the Converter over Bluetooth, shows its live data,\n"
        "records logs, edits its correction table and updates its firmware.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    ClientOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    options.helpText = parser.helpText();
    options.versionText = QStringLiteral("zantotps %1\n").arg(QStringLiteral(ZANTO_VERSION));
    return options;
}
