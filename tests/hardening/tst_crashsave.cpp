// Saves that survive a crash: a forked child saves a .log, a .tab and a
// config.cfg over and over, alternating two contents, while this test kills
// it with SIGKILL at random moments. After every kill the file must be
// exactly one of the two complete contents, never short or mixed.
//
// The saves write a temporary file beside the target and rename it over the
// target once it is complete. A kill before the rename leaves that one file
// behind; nothing else may be left, so each kill may add at most one stray
// file of the target's temporary name. Every save first removes such leftovers, so
// after the kills one more save leaves the target alone in its folder.
#include "o2refgrid.h"
#include "programstate.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "zantolog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int KillsPerKind = 60;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// Two contents of each kind that differ in size and in every region, so a
// short file or one of mixed halves cannot pass for either.
LogColumns logContent(int variant)
{
    const int samples = variant == 0 ? 400 : 3000;
    LogColumns c;
    c.resize(samples);
    for (int i = 0; i < samples; ++i) {
        const int v = variant * 97 + i;
        c.colConverter[i] = v % 256;
        c.colMarker[i] = variant * 4;
        c.colEnrichment[i] = (v * 3) % 256;
        c.colMaf[i] = v % 1000;
        c.colTps[i] = (v * 5) % 256;
        c.colRpm[i] = (v * 13) % 65536;
        c.colO2[i] = (v * 7) % 256;
        c.colCorr[i] = v % 511 - 255;
        c.colIat[i] = v % 120;
        c.colEct[i] = (v + 40) % 120;
        c.colO2sm[i] = (v * 11) % 256;
        c.colLogCorr[i] = 255 - v % 511;
    }
    return c;
}

void stateContent(int variant, ProgramState& s, O2RefGrid& grid)
{
    s.LanguageId = quint8(variant);
    s.mafPulsations = 10 + variant;
    s.LastDeviceAddress = variant == 0 ? QStringLiteral("00:11:22:33:44:55") : QStringLiteral("AA:BB:CC:DD:EE:FF");
    s.FileFolder = variant == 0 ? QStringLiteral("/home/a") : QStringLiteral("/home/driver/a/much/longer/folder");
    grid.FillO2Defaults(variant == 0 ? 100 : 147, 7000, 255);
}

// The three savers, each set up once in this process so that a forked child
// only saves.
struct Savers {
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TZantoLog log{nullptr, bus, notifier};
    LogColumns logs[2] = {logContent(0), logContent(1)};
    TextSettingsBoxes boxes;
    Table table{notifier};
    ProgramState states[2];
    O2RefGrid grids[2];

    Savers()
    {
        table.SetUpTableView(&boxes, nullptr, false, [](const QString&) {}, [](const QString&) {});
        stateContent(0, states[0], grids[0]);
        stateContent(1, states[1], grids[1]);
    }

    void save(const QString& kind, int v, const QString& path)
    {
        if (kind == QLatin1String("log")) {
            log.store().replaceLog(logs[v]);
            log.rangeLow = v == 0 ? 5 : 250;
            log.rangeHigh = v == 0 ? 200 : 3;
            log.SaveLog(path);
        } else if (kind == QLatin1String("tab")) {
            table.tab[0] = v == 0 ? 0x11 : 0xA5;
            table.tab[1] = v == 0 ? 0x22 : 0x5A;
            table.SaveTableFile(path);
        } else {
            SaveProgramState(path, states[v], grids[v], notifier);
        }
    }
};

// Forks a child that signals on the pipe, then saves 1, 0, 1, 0 ... until
// killed. Returns its pid once it has signalled, or -1.
pid_t startWriter(Savers& savers, const QString& kind, const QString& path)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const char r = 'R';
        if (write(ready[1], &r, 1) != 1)
            _exit(3);
        for (int v = 1;; v ^= 1)
            savers.save(kind, v, path);
    }
    close(ready[1]);
    char r = 0;
    const bool started = pid > 0 && read(ready[0], &r, 1) == 1;
    close(ready[0]);
    if (pid > 0 && !started) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

}  // namespace

class TestCrashSave : public QObject {
    Q_OBJECT
private slots:
    void killedSaveKeepsWholeFile_data();
    void killedSaveKeepsWholeFile();

private:
    Savers savers;
};

void TestCrashSave::killedSaveKeepsWholeFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("log") << "log" << "drive.log";
    QTest::newRow("tab") << "tab" << "table.tab";
    QTest::newRow("cfg") << "cfg" << "config.cfg";
}

void TestCrashSave::killedSaveKeepsWholeFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, fileName);

    QTemporaryDir reference;
    QTemporaryDir work;
    QVERIFY(reference.isValid() && work.isValid());

    // The two complete contents, saved when nobody kills the saver.
    QByteArray contents[2];
    for (int v = 0; v < 2; ++v) {
        const QString path = reference.filePath(QStringLiteral("%1-%2").arg(v).arg(fileName));
        savers.save(kind, v, path);
        contents[v] = readAll(path);
    }
    QVERIFY(!contents[0].isEmpty());
    QVERIFY(contents[0] != contents[1]);

    const QString target = work.filePath(fileName);
    savers.save(kind, 0, target);
    QCOMPARE(readAll(target), contents[0]);

    // How long a freshly forked saver takes to put its first file in place,
    // under this machine's load: the kills fall anywhere within twice that.
    qint64 maxDelayUs = 0;
    {
        QElapsedTimer clock;
        const pid_t pid = startWriter(savers, kind, target);
        QVERIFY(pid > 0);
        clock.start();
        while (readAll(target) != contents[1] && clock.elapsed() < 10000)
            usleep(200);
        maxDelayUs = qMax<qint64>(2000, 2 * clock.nsecsElapsed() / 1000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        QVERIFY2(clock.elapsed() < 10000, "the saver never finished a save");
        savers.save(kind, 0, target);
        QStringList others = QDir(work.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        others.removeAll(fileName);
        for (const QString& other : others)
            QFile::remove(work.filePath(other));
    }

    // QSaveFile's temporary name: the target's, a dot, six letters or digits.
    const QRegularExpression tempName(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(fileName) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const auto othersInWork = [&work, &fileName] {
        QStringList others = QDir(work.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        others.removeAll(fileName);
        return others;
    };

    int seen[2] = {0, 0};
    int strays = 0;
    int mostLeft = 0;
    QStringList before;
    QRandomGenerator random(QRandomGenerator::global()->generate());
    for (int round = 0; round < KillsPerKind; ++round) {
        const pid_t pid = startWriter(savers, kind, target);
        QVERIFY(pid > 0);
        usleep(useconds_t(random.bounded(maxDelayUs)));
        QCOMPARE(kill(pid, SIGKILL), 0);
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const QByteArray now = readAll(target);
        const int which = now == contents[0] ? 0 : now == contents[1] ? 1 : -1;
        if (which < 0) {
            QFAIL(qPrintable(QStringLiteral("kill %1 left %2 bytes, neither complete content (%3 or %4 bytes)")
                                 .arg(round)
                                 .arg(now.size())
                                 .arg(contents[0].size())
                                 .arg(contents[1].size())));
        }
        ++seen[which];

        // Left in place: the next saver is the one to clear them away.
        const QStringList others = othersInWork();
        QStringList added;
        for (const QString& other : others) {
            QVERIFY2(tempName.match(other).hasMatch(), qPrintable(other));
            if (!before.contains(other))
                added << other;
        }
        QVERIFY2(added.size() <= 1, qPrintable(QStringLiteral("kill %1 left more than one temporary file: %2")
                                                   .arg(round)
                                                   .arg(added.join(QStringLiteral(", ")))));
        strays += int(added.size());
        mostLeft = qMax(mostLeft, int(others.size()));
        before = others;
    }
    // Both contents turned up, so the kills did land while saves went on.
    QVERIFY2(seen[0] > 0 && seen[1] > 0,
             qPrintable(QStringLiteral("old content %1 times, new %2 times").arg(seen[0]).arg(seen[1])));

    // One more save clears every leftover of the kills, and a planted one
    // of the same pattern, but nothing that only looks similar.
    const QStringList keep = {fileName + QStringLiteral(".bak"), fileName + QStringLiteral(".12345"),
                              fileName + QStringLiteral(".1234567"),
                              QStringLiteral("x") + fileName + QStringLiteral(".AbC123")};
    for (const QString& name : keep + QStringList{fileName + QStringLiteral(".Zz9Zz9")}) {
        QFile planted(work.filePath(name));
        QVERIFY(planted.open(QIODevice::WriteOnly));
    }
    savers.save(kind, 1, target);
    QCOMPARE(readAll(target), contents[1]);
    QStringList left = othersInWork();
    left.sort();
    QStringList expected = keep;
    expected.sort();
    QCOMPARE(left, expected);

    qInfo("%s: %d kills within %lld us, content 0 left %d times, content 1 %d times, %d stray temporary file(s), "
          "at most %d at once",
          qPrintable(kind), KillsPerKind, maxDelayUs, seen[0], seen[1], strays, mostLeft);
}

QTEST_GUILESS_MAIN(TestCrashSave)
#include "tst_crashsave.moc"
