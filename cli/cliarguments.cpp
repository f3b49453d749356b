#include "cliarguments.h"

#include "clitexts.h"
#include "serialstack.h"

#include <QLocale>

#include <cmath>

namespace {

constexpr double MaxAngle = 12.5;
constexpr double MaxSeconds = 2000000;  // keeps the milliseconds in an int

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

// Numbers are read the same whatever the locale: '.' separates decimals.
bool parseNumber(const QString& s, double& value)
{
    bool ok = false;
    value = QLocale::c().toDouble(s, &ok);
    return ok && std::isfinite(value);
}

struct CommandShape {
    const char* name;
    int minArgs;
    int maxArgs;
    bool needsDevice;
};

constexpr CommandShape Commands[] = {
    {"info", 0, 0, true},     {"read", 0, 0, true},     {"write-angle", 1, 1, true},
    {"calibrate", 1, 1, true}, {"reset", 0, 0, true},   {"record", 2, 2, true},
    {"firmware", 1, 1, true},  {"log2csv", 1, 2, false},
};

const CommandShape* findCommand(const QString& name)
{
    for (const CommandShape& shape : Commands) {
        if (name == QLatin1String(shape.name))
            return &shape;
    }
    return nullptr;
}

QString checkCommandArguments(const CliArguments& a)
{
    if (a.command == QLatin1String("write-angle")) {
        double degrees = 0;
        if (!parseAngle(a.args.at(0), degrees))
            return text(CliTexts::BadAngle).arg(a.args.at(0));
    } else if (a.command == QLatin1String("calibrate")) {
        if (a.args.at(0) != QLatin1String("closed") && a.args.at(0) != QLatin1String("open"))
            return text(CliTexts::BadCalibration).arg(a.args.at(0));
    } else if (a.command == QLatin1String("record")) {
        int ms = 0;
        if (!parseSeconds(a.args.at(0), ms))
            return text(CliTexts::BadSeconds).arg(a.args.at(0));
    }
    return QString();
}

}  // namespace

bool parseAngle(const QString& s, double& degrees)
{
    return parseNumber(s, degrees) && degrees >= -MaxAngle && degrees <= MaxAngle;
}

bool parseSeconds(const QString& s, int& ms)
{
    double seconds = 0;
    if (!parseNumber(s, seconds) || seconds <= 0 || seconds > MaxSeconds)
        return false;
    ms = std::max(1, int(std::lround(seconds * 1000)));
    return true;
}

QString parseCliArguments(const QStringList& arguments, CliArguments& result)
{
    result = CliArguments();
    int connections = 0;
    qsizetype i = 0;
    // Options come before the command; after it, everything belongs to the
    // command (a negative angle looks like an option).
    for (; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            break;
        const bool takesValue = arg == QLatin1String("--port") || arg == QLatin1String("--baud") ||
                                arg == QLatin1String("--bluetooth");
        if (takesValue && i + 1 >= arguments.size())
            return text(CliTexts::MissingValue).arg(arg);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.help = true;
            return QString();
        } else if (arg == QLatin1String("--simulator")) {
            result.connection = CliArguments::Simulator;
            ++connections;
        } else if (arg == QLatin1String("--port")) {
            result.connection = CliArguments::Port;
            result.device = arguments.at(++i);
            ++connections;
        } else if (arg == QLatin1String("--bluetooth")) {
            result.connection = CliArguments::Bluetooth;
            result.device = arguments.at(++i);
            ++connections;
        } else if (arg == QLatin1String("--baud")) {
            const QString value = arguments.at(++i);
            bool ok = false;
            result.baud = value.toInt(&ok);
            if (!ok || !SerialStack::isSupportedBaud(result.baud))
                return text(CliTexts::BadBaud).arg(value);
        } else {
            return text(CliTexts::UnknownOption).arg(arg);
        }
    }
    if (connections > 1)
        return text(CliTexts::OneConnection);
    if (result.baud != 0 && result.connection != CliArguments::Port)
        return text(CliTexts::UnknownOption).arg(QStringLiteral("--baud"));
    if (i >= arguments.size())
        return text(CliTexts::NoCommand);

    result.command = arguments.at(i);
    result.args = arguments.mid(i + 1);
    const CommandShape* shape = findCommand(result.command);
    if (!shape)
        return text(CliTexts::UnknownCommand).arg(result.command);
    if (result.args.size() < shape->minArgs || result.args.size() > shape->maxArgs)
        return text(CliTexts::WrongArgumentCount).arg(result.command);
    if (shape->needsDevice && connections != 1)
        return text(CliTexts::OneConnection);
    return checkCommandArguments(result);
}
