#pragma once

#include <QString>
#include <QStringList>

// The tool's command line, read but not yet acted on.
struct CliArguments {
    enum Connection { NoConnection, Simulator, Port, Bluetooth };

    Connection connection = NoConnection;
    QString device;         // the port's path or the Bluetooth address
    int baud = 0;           // 0: the serial stack's default
    bool help = false;
    QString command;
    QStringList args;       // the command's own arguments
};

// Reads the arguments after the program name. Returns an empty text when
// they make a valid call (or ask for help), else why they do not. The
// command's arguments are checked here too, so nothing connects for a call
// that cannot run.
QString parseCliArguments(const QStringList& arguments, CliArguments& result);

// The angle of write-angle, when the text is one in range.
bool parseAngle(const QString& text, double& degrees);
// The duration of record, in milliseconds.
bool parseSeconds(const QString& text, int& ms);
