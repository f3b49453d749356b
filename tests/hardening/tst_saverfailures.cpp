// Every saver of the client against the ways a save fails for real: a full
// disk, a folder the user may not write to, and a folder standing where the
// file should be. Each save runs in a forked child that meets the failure
// (a file-size limit with SIGXFSZ ignored, a filled tmpfs, the user nobody);
// afterwards the old file must be byte for byte what it was, nothing else
// may lie beside it, and the person must have been told the saver's own
// text with the system's reason.
#include "atomicsave.h"
#include "clicommands.h"
#include "clitexts.h"
#include "logtexts.h"
#include "o2refgrid.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "statetexts.h"
#include "table.h"
#include "tabletexts.h"
#include "zantolog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <cstdio>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;
const QByteArray OldContent("the file as it was before the save\n");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A recording long enough that its file passes any small limit.
LogColumns recording()
{
    LogColumns c;
    c.resize(300);
    for (int i = 0; i < 300; ++i) {
        c.colConverter[i] = i % 256;
        c.colRpm[i] = i * 20;
        c.colO2[i] = (i * 7) % 256;
        c.colCorr[i] = i % 100 - 50;
    }
    return c;
}

// The savers, set up before the fork so that a child only saves.
struct Savers {
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog log{nullptr, bus, notifier};
    TextSettingsBoxes boxes;
    Table table{notifier};
    ProgramState state;
    O2RefGrid grid;
    QString csvSource;

    Savers()
    {
        table.SetUpTableView(&boxes, nullptr, false, [](const QString&) {}, [](const QString&) {});
        table.tab[0] = 0x64;
        table.tab[1] = 0x05;
        log.store().replaceLog(recording());
        state.FileFolder = QStringLiteral("/home/driver/logs");
        grid.FillO2Defaults(25, 6500, 100);
    }

    // Saves to path; the texts the person was shown, one per entry.
    QStringList save(const QString& saver, const QString& path)
    {
        if (saver == u"config.cfg")
            SaveProgramState(path, state, grid, notifier);
        else if (saver == u".tab")
            table.SaveTableFile(path);
        else if (saver == u".log")
            log.SaveLog(path);
        else
            return exportCsv(path);
        return notifier.texts(RecordingNotifier::Message);
    }

    // What the export says goes through a pipe too: a file would meet the
    // same file-size limit as the export.
    QStringList exportCsv(const QString& path)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return {QStringLiteral("<no pipe>")};
        std::FILE* err = fdopen(fds[1], "w");
        runCli({QStringLiteral("log2csv"), csvSource, path}, stdout, err);
        std::fclose(err);
        QByteArray said;
        char chunk[512];
        for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;)
            said.append(chunk, n);
        close(fds[0]);
        return QString::fromLocal8Bit(said).split(u'\n', Qt::SkipEmptyParts);
    }
};

// Runs the save in a child under the named failure; the texts it was shown
// come back through a pipe, which no file-size limit or user change touches.
QStringList saveInChild(Savers& savers, const QString& saver, const QString& path, const QString& failure)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {QStringLiteral("<no pipe>")};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        if (failure == u"file-size limit") {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1, 1};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(3);
        } else if (failure == u"folder not writable") {
            if (setgid(Nobody) != 0 || setuid(Nobody) != 0)
                _exit(3);
            // Some machines keep the test's folder out of that user's reach;
            // the row then says nothing about the saver.
            struct stat seen {};
            if (::lstat(QFile::encodeName(path).constData(), &seen) != 0)
                _exit(5);
        }
        const QByteArray said = savers.save(saver, path).join(u'\x1e').toUtf8();
        const bool sent = write(pipeFds[1], said.constData(), size_t(said.size())) == said.size();
        _exit(sent ? 0 : 4);
    }
    close(pipeFds[1]);
    QByteArray said;
    char chunk[512];
    for (ssize_t n; (n = read(pipeFds[0], chunk, sizeof chunk)) > 0;)
        said.append(chunk, n);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 5)
        return {QStringLiteral("<target out of reach>")};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {QStringLiteral("<child ended with status %1>").arg(status)};
    return QString::fromUtf8(said).split(u'\x1e', Qt::SkipEmptyParts);
}

// A tmpfs of a few pages, filled up after the old file is in it.
struct FullTmpfs {
    QString folder;
    bool mounted = false;

    explicit FullTmpfs(const QString& where) : folder(where)
    {
        QDir().mkpath(folder);
        mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullTmpfs()
    {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
    bool fill() const
    {
        QFile filler(folder + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        return true;
    }
};

}  // namespace

class TestSaverFailures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void oldFileSurvivesAndTheReasonIsShown_data();
    void oldFileSurvivesAndTheReasonIsShown();
    void savedAgainOnceTheCauseIsGone();

private:
    QTemporaryDir dir;
    Savers savers;
};

void TestSaverFailures::initTestCase()
{
    // What the other user may read must not hang on the umask this runs
    // under (a fresh machine's may be 077): folders and files get the modes
    // a home folder has.
    ::umask(022);
    QVERIFY(dir.isValid());
    // Open to every user for reading, as a home folder is, but writable by
    // its owner only.
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    savers.csvSource = dir.filePath(QStringLiteral("source.log"));
    savers.log.SaveLog(savers.csvSource);
    QVERIFY(QFileInfo(savers.csvSource).size() > 100);
}

void TestSaverFailures::oldFileSurvivesAndTheReasonIsShown_data()
{
    QTest::addColumn<QString>("saver");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("expected");  // %1: the target's path

    const QString stateWrite = QString::fromUtf8(StateTexts::SaveError2);
    const QString stateInTheWay = QString::fromUtf8(StateTexts::SaveError1) + u'\n';
    const QString tabInTheWay = QString::fromUtf8(TableTexts::CantDeleteBeforeSaving) + u'\n';
    const QString logWrite = QString::fromUtf8(LogTexts::CannotWriteLog).arg(QStringLiteral("%1"), QString());
    const QString logInTheWay = QString::fromUtf8(LogTexts::CantDeleteBeforeSaving) + u'\n';
    const QString csv = QString::fromUtf8(CliTexts::CannotWriteCsv).arg(QStringLiteral("%1"), QString());

    const struct {
        const char* failure;
        const char* reason;
    } failures[] = {
        {"file-size limit", "File too large"},
        {"full tmpfs", "No space left on device"},
        {"folder not writable", "Permission denied"},
        {"a folder in the way", "Is a directory"},
    };
    for (const auto& f : failures) {
        const QString reason = QString::fromUtf8(f.reason);
        const bool writing = qstrcmp(f.failure, "file-size limit") == 0 || qstrcmp(f.failure, "full tmpfs") == 0;
        const auto row = [&](const char* saver, const QString& expected) {
            QTest::addRow("%s, %s", saver, f.failure) << saver << f.failure << expected;
        };
        row("config.cfg", (writing ? stateWrite : stateInTheWay) + reason);
        row(".tab", writing ? reason : tabInTheWay + reason);
        row(".log", writing ? logWrite + reason : logInTheWay + reason);
        row(".csv", csv + reason);
    }
}

void TestSaverFailures::oldFileSurvivesAndTheReasonIsShown()
{
    QFETCH(QString, saver);
    QFETCH(QString, failure);
    QFETCH(QString, expected);

    if (failure == u"folder not writable" && geteuid() != 0)
        QSKIP("needs root, to save as another user");
    const QString caseName = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_').replace(u',', u'_');
    const QString folder = dir.filePath(caseName);
    std::optional<FullTmpfs> tmpfs;
    if (failure == u"full tmpfs") {
        tmpfs.emplace(folder);
        if (!tmpfs->mounted)
            QSKIP("cannot mount a tmpfs here");
    } else {
        QVERIFY(QDir().mkpath(folder));
    }
    const QString target = folder + QStringLiteral("/file") + saver;

    if (failure == u"a folder in the way") {
        QVERIFY(QDir().mkpath(target + QStringLiteral("/inside")));
    } else {
        QVERIFY(writeAll(target, OldContent));
    }
    if (tmpfs)
        QVERIFY(tmpfs->fill());
    const QStringList before = entriesOf(folder);

    const QStringList said = saveInChild(savers, saver, target, failure);
    if (said == QStringList{QStringLiteral("<target out of reach>")})
        QSKIP("the user nobody cannot reach the test folder on this machine");

    QCOMPARE(said, QStringList{expected.arg(target)});
    QCOMPARE(entriesOf(folder), before);
    if (failure == u"a folder in the way")
        QCOMPARE(entriesOf(target), QStringList{QStringLiteral("inside")});
    else
        QCOMPARE(readAll(target), OldContent);
}

void TestSaverFailures::savedAgainOnceTheCauseIsGone()
{
    // The same savers in the same folder succeed without the failure, so the
    // rows above fail for the failure's sake alone.
    const QString folder = dir.filePath(QStringLiteral("healthy"));
    QVERIFY(QDir().mkpath(folder));
    for (const QString saver : {"config.cfg", ".tab", ".log", ".csv"}) {
        const QString target = folder + QStringLiteral("/file") + saver;
        QVERIFY(writeAll(target, OldContent));
        QCOMPARE(saveInChild(savers, saver, target, QStringLiteral("none")), QStringList());
        QVERIFY2(readAll(target) != OldContent, qPrintable(saver));
        QVERIFY(QFileInfo(target).size() > 1);
    }
    QCOMPARE(entriesOf(folder).size(), 4);
}

QTEST_GUILESS_MAIN(TestSaverFailures)
#include "tst_saverfailures.moc"
