#include "clicommands.h"

#include "anglevalues.h"
#include "cliarguments.h"
#include "clisession.h"
#include "clitexts.h"
#include "devicesettings.h"
#include "firmwareupdate.h"
#include "logautosave.h"
#include "logcsv.h"
#include "logfile.h"
#include "messages.h"
#include "atomicsave.h"
#include "stderrnotifier.h"
#include "stopsignalwatcher.h"
#include "tabletransfer.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantolog.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <exception>

namespace {

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

void printLine(std::FILE* out, const QString& line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fflush(out);
}

int usage(std::FILE* err, const QString& why)
{
    printLine(err, QString::fromLatin1(CliTexts::Program) + QStringLiteral(": ") + why);
    printLine(err, text(CliTexts::Usage));
    return CliUsage;
}

// "angle A": entry 0 as a signed byte over ten, one decimal.
QString angleLine(const Table& table)
{
    return text(CliTexts::AnglePrefix) + QString::number(angleFromTableEntry(table.tab.value(0)), 'f', 1);
}

// The model tells of a failed command only through a message box.
int statusOf(const StderrNotifier& notifier)
{
    return notifier.messageShown() ? CliFailure : CliSuccess;
}

// Stops the event loop when logging ends by itself (the Converter was lost).
class StopListener : public TZantoListener {
public:
    explicit StopListener(QEventLoop& eventLoop) : loop(eventLoop) {}
    void Dispatch(const TMessage& message) override
    {
        if (message.id == MsgStopLog)
            loop.quit();
    }

private:
    QEventLoop& loop;
};

int runInfo(CliSession& s, std::FILE* out)
{
    printLine(out, text(CliTexts::FirmwarePrefix) + QString::number(s.answer.firmware / 10) + QLatin1Char('.') +
                       QString::number(s.answer.firmware % 10));
    printLine(out, text(referenceSwitchChecked(s.answer.refMode) ? CliTexts::Reference3Pin
                                                                 : CliTexts::Reference4Pin));
    return CliSuccess;
}

int runRead(CliSession& s, std::FILE* out)
{
    ReadTable(s.table);
    if (s.notifier.messageShown())
        return CliFailure;
    printLine(out, angleLine(s.table));
    return CliSuccess;
}

int runWriteAngle(CliSession& s, const QString& degreesText)
{
    double degrees = 0;
    parseAngle(degreesText, degrees);  // checked with the command line
    s.table.writeValue = writeValueFromAngle(degrees);
    WriteTable(s.table);
    return statusOf(s.notifier);
}

int runCalibrate(CliSession& s, const QString& end)
{
    Calibrate(s.rxtx.get(), s.notifier, end == QLatin1String("closed"), {});
    return statusOf(s.notifier);
}

int runReset(CliSession& s, std::FILE* out)
{
    ResetTable(s.table, {});
    if (s.notifier.messageShown())
        return CliFailure;
    printLine(out, angleLine(s.table));
    return CliSuccess;
}

int runRecord(CliSession& s, int ms, const QString& fileName, std::FILE* out)
{
    QEventLoop loop;
    TZantoLog log(nullptr, s.rxtx.get(), s.bus, s.notifier);
    // Written as it goes, so a killed run keeps all but its last moments;
    // the stop replaces it with the finished recording.
    log.RecordToFile(LogFile::withLogExtension(fileName));
    StopListener stopListener(loop);
    s.bus.Register(&stopListener);

    // Ctrl-C, SIGTERM and SIGHUP end the recording as its time would.
    StopSignalWatcher stopSignals;
    QObject::connect(&stopSignals, &StopSignalWatcher::stopRequested, &loop, &QEventLoop::quit);
    QTimer duration;
    duration.setSingleShot(true);
    QObject::connect(&duration, &QTimer::timeout, &loop, &QEventLoop::quit);

    const TMsgStartLog start;
    s.bus.Broadcast(start);
    if (log.loggingActive) {
        duration.start(ms);
        loop.exec();
    }
    if (log.loggingActive) {
        const TMsgStopLog stop;
        s.bus.Broadcast(stop);
    }

    const qsizetype samples = log.store().sampleCount();
    // A file the writer could not keep up is saved whole now, with the reason
    // if that fails too.
    const LogAutosave* writer = log.Autosave();
    if (samples > 0 && !(writer && writer->finished()))
        log.SaveLog(fileName);
    printLine(out, text(CliTexts::SamplesPrefix) + QString::number(samples));
    if (samples == 0) {
        s.notifier.showMessage(text(CliTexts::NothingRecorded).arg(LogFile::withLogExtension(fileName)));
    }
    return statusOf(s.notifier);
}

int runFirmware(CliSession& s, const QString& fileName)
{
    FirmwareProgress progress;
    progress.showToast = [&s](const QString& t) { s.notifier.showToast(t); };
    progress.flashToast = [&s](const QString& t) { s.notifier.flashToast(t); };
    return UpdateFirmware(s.rxtx.get(), s.notifier, fileName, progress) ? CliSuccess : CliFailure;
}

int runLogToCsv(StderrNotifier& notifier, const QStringList& args, std::FILE* out)
{
    TZantoBroadcaster bus;
    TZantoLog log(nullptr, bus, notifier);
    log.LoadLog(args.at(0));
    if (notifier.messageShown())
        return CliFailure;
    const LogColumns columns = log.store().logColumns();

    if (args.size() < 2) {
        QFile stdoutFile;
        if (!stdoutFile.open(out, QIODevice::WriteOnly) || !LogCsv::write(stdoutFile, columns) ||
            !stdoutFile.flush()) {
            notifier.showMessage(text(CliTexts::CannotWriteCsv).arg(QStringLiteral("-"), stdoutFile.errorString()));
            return CliFailure;
        }
        return CliSuccess;
    }

    // Replaced only once complete: a failed export leaves an old file alone.
    const QString name = args.at(1);
    const SaveOutcome saved =
        SaveAtomically(name, [&columns](QIODevice& device) { return LogCsv::write(device, columns); });
    if (!saved) {
        notifier.showMessage(text(CliTexts::CannotWriteCsv).arg(QDir::toNativeSeparators(name), saved.reason));
        return CliFailure;
    }
    return CliSuccess;
}

int runConnected(CliSession& s, const CliArguments& a, std::FILE* out)
{
    const QString& c = a.command;
    if (c == QLatin1String("info"))
        return runInfo(s, out);
    if (c == QLatin1String("read"))
        return runRead(s, out);
    if (c == QLatin1String("write-angle"))
        return runWriteAngle(s, a.args.at(0));
    if (c == QLatin1String("calibrate"))
        return runCalibrate(s, a.args.at(0));
    if (c == QLatin1String("reset"))
        return runReset(s, out);
    if (c == QLatin1String("record")) {
        int ms = 0;
        parseSeconds(a.args.at(0), ms);  // checked with the command line
        return runRecord(s, ms, a.args.at(1), out);
    }
    if (c == QLatin1String("firmware"))
        return runFirmware(s, a.args.at(0));
    return CliUsage;
}

}  // namespace

int runCli(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    CliArguments a;
    const QString problem = parseCliArguments(arguments, a);
    if (a.help) {
        std::fputs(CliTexts::Help, out);
        std::fflush(out);
        return CliSuccess;
    }
    if (!problem.isEmpty())
        return usage(err, problem);

    StderrNotifier notifier(err);
    try {
        if (a.command == QLatin1String("log2csv"))
            return runLogToCsv(notifier, a.args, out);

        CliSession session(notifier, a);
        if (!session.connect())
            return CliFailure;
        return runConnected(session, a, out);
    } catch (const std::exception& e) {
        // The commands' sends throw when the link fails, as in the window.
        notifier.showError(QString::fromLocal8Bit(e.what()));
        return CliFailure;
    }
}
