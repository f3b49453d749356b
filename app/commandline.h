#pragma once

#include "stackfactory.h"

#include <QString>
#include <QStringList>

// What the client was asked to do on its command line.
struct ClientOptions {
    bool showHelp = false;
    bool showVersion = false;
    QString helpText;
    QString versionText;
    QString error;  // non-empty when the arguments could not be parsed
    LinkOptions link;  // how to reach the Converter
    QString dataFolder;  // working folder to use; empty: the current one
};

// Parses the client's arguments (argv[0] first). Needs no application object,
// so --help and --version work without a display.
ClientOptions parseClientOptions(const QStringList& arguments);
