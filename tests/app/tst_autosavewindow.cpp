// The window's recordings on disk: written as they run into autosave/ beside
// config.cfg, finished at the stop, the oldest beyond 20 removed, an
// unfinished one loaded at the next start (once), and a file that cannot be
// written stopping the writer with one message while logging goes on.
#include "tabbedform.h"

#include "dashboardpage.h"
#include "linktexts.h"
#include "logautosave.h"
#include "logfile.h"
#include "logtexts.h"
#include "recordingnotifier.h"
#include "roundbutton.h"
#include "tbtmethod.h"
#include "zantolog.h"

#include <QBuffer>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A recording as the poll leaves it: O2 swinging, "O2SM" still 0.
LogColumns liveLike(int samples)
{
    LogColumns c;
    c.resize(samples);
    for (int i = 0; i < samples; ++i) {
        c.colConverter[i] = (i * 7) % 256;
        c.colO2[i] = 60 + (i * 13) % 80;
    }
    return c;
}

QByteArray unfinishedFile(const LogColumns& columns, qsizetype cutBytes = 0)
{
    QByteArray bytes = LogFile::header(12, 240, true);
    QByteArray records(columns.count() * LogFile::RecordSize, Qt::Uninitialized);
    LogFile::encodeRecords(columns, 0, columns.count(), records.data());
    bytes += records;
    bytes.chop(cutBytes);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The modification time, which orders the recordings.
void setAge(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

QStringList recoveredMessages(const RecordingNotifier& notifier)
{
    QStringList found;
    for (const QString& text : notifier.texts(RecordingNotifier::Message))
        if (text.startsWith(QStringLiteral("The last recording was not finished")))
            found.append(text);
    return found;
}

}  // namespace

class TestAutosaveWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void unfinishedRecordingIsLoadedOnceAtStart();
    void recordingIsWrittenAndFinishedAndNotLoadedAgain();
    void oldestRecordingsGoOthersStay();
    void fileTooLargeStopsTheWriterOnceLoggingGoesOn_data();
    void fileTooLargeStopsTheWriterOnceLoggingGoesOn();

private:
    std::unique_ptr<TTabbedForm> start();
    void connectToSimulator(TTabbedForm& form);
    QString autosaveDir() const { return QDir(dir->path()).filePath(QStringLiteral("autosave")); }

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    RecordingNotifier notifier;
};

void TestAutosaveWindow::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    notifier.clear();
}

void TestAutosaveWindow::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

std::unique_ptr<TTabbedForm> TestAutosaveWindow::start()
{
    LinkOptions link;
    link.simulator = true;
    auto form = std::make_unique<TTabbedForm>(&notifier, nullptr, link);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    // The recovery runs once the window stands.
    QTest::qWait(50);
    return form;
}

void TestAutosaveWindow::connectToSimulator(TTabbedForm& form)
{
    form.MTabControl->setCurrentIndex(1);
    QTest::mouseClick(form.Dash->BTTabSel_rect, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(form.Dash->TextConnection->toPlainText().endsWith(LinkTexts::ConnectedBySearch), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(form.Dash->Angle_SpinBox->value(), 10.0, 3000);
}

void TestAutosaveWindow::unfinishedRecordingIsLoadedOnceAtStart()
{
    QVERIFY(QDir().mkpath(autosaveDir()));
    const LogColumns recorded = liveLike(600);
    const QString older = QDir(autosaveDir()).filePath(QStringLiteral("D31122026T23_59_59.log"));
    const QString newest = QDir(autosaveDir()).filePath(QStringLiteral("D09122026T1_07_15.log"));
    // A finished one is never loaded by itself; of two unfinished ones the
    // newest is the current recording. The newest was cut mid-record.
    writeFile(QDir(autosaveDir()).filePath(QStringLiteral("D05052026T5_05_05.log")),
              LogFile::header(0, 0) + QByteArray(15 * 30, '\x01'));
    writeFile(older, unfinishedFile(liveLike(100)));
    setAge(older, QDateTime::currentDateTime().addDays(-2));
    writeFile(newest, unfinishedFile(recorded, 7));

    {
        auto form = start();
        QVERIFY(form);
        QTRY_COMPARE(recoveredMessages(notifier).size(), 1);
        QCOMPARE(recoveredMessages(notifier).first(),
                 QString::fromUtf8(LogTexts::AutosaveRecovered).arg(QDir::toNativeSeparators(newest)));

        // The current recording, as its stop would have left it: the cut
        // record dropped, "O2SM" derived, the chart window set.
        const LogColumns shown = form->Logger->store().logColumns();
        QCOMPARE(shown.count(), 599);
        QCOMPARE(shown.colConverter, recorded.colConverter.mid(0, 599));
        QCOMPARE(form->Logger->rangeLow, 12);
        QCOMPARE(form->Logger->rangeHigh, 240);
        QCOMPARE(form->Logger->windowEnd, qsizetype(599 - 20));
        for (int k = 30; k < 599 - 20; ++k) {
            qint64 sum = 0;
            for (int i = k - 20; i < k + 20; ++i)
                sum += recorded.colO2[i];
            QCOMPARE(shown.colO2sm[k], qint32(sum / 40));
        }
        QCOMPARE(shown.colO2sm[10], 0);

        // Its file is finished: exactly what SaveLog writes of it.
        QBuffer expected;
        QVERIFY(expected.open(QIODevice::WriteOnly));
        QVERIFY(LogFile::write(expected, shown, 12, 240));
        QCOMPARE(readAll(newest), expected.data());
        QVERIFY(!LogFile::isUnfinished(readAll(older)));
        form->close();
    }

    // Nothing is loaded again at the next start.
    notifier.clear();
    auto again = start();
    QVERIFY(again);
    QTest::qWait(100);
    QVERIFY(recoveredMessages(notifier).isEmpty());
    QCOMPARE(again->Logger->store().sampleCount(), 0);
}

void TestAutosaveWindow::recordingIsWrittenAndFinishedAndNotLoadedAgain()
{
    {
        auto form = start();
        QVERIFY(form);
        connectToSimulator(*form);
        QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
        const LogAutosave* writer = form->Logger->Autosave();
        QVERIFY(writer && writer->running());
        const QString file = writer->path();
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(autosaveDir()).absoluteFilePath());
        QVERIFY(QFileInfo(file).fileName().startsWith('D'));
        QVERIFY(QFileInfo(file).fileName().endsWith(".log"));
        // Whole samples reach the file while logging runs.
        QTRY_VERIFY_WITH_TIMEOUT(readAll(file).size() > LogFile::fileSize(60), 5000);
        const QByteArray during = readAll(file);
        QVERIFY(LogFile::isUnfinished(during));
        QCOMPARE((during.size() - LogFile::HeaderSize) % LogFile::RecordSize, 0);

        QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
        QVERIFY(!writer->running());
        QVERIFY(writer->finished());
        QBuffer expected;
        QVERIFY(expected.open(QIODevice::WriteOnly));
        QVERIFY(LogFile::write(expected, form->Logger->store().logColumns(), 0, 0));
        QCOMPARE(readAll(file), expected.data());
        QVERIFY(notifier.texts(RecordingNotifier::Error).isEmpty());
        form->close();
    }
    QCOMPARE(QDir(autosaveDir()).entryList(QDir::Files).size(), 1);
    notifier.clear();
    auto again = start();
    QVERIFY(again);
    QTest::qWait(100);
    QVERIFY(recoveredMessages(notifier).isEmpty());
    QCOMPARE(again->Logger->store().sampleCount(), 0);
}

void TestAutosaveWindow::oldestRecordingsGoOthersStay()
{
    QVERIFY(QDir().mkpath(autosaveDir()));
    const QDir folder(autosaveDir());
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < 22; ++i) {
        const QString path = folder.filePath(QStringLiteral("D0101202%1T%2.log").arg(i % 10).arg(i));
        writeFile(path, LogFile::header(0, 0));
        setAge(path, now.addSecs(-3600 * (i + 1)));
    }
    const QStringList foreign = {QStringLiteral("notes.txt"), QStringLiteral("mine.log"), QStringLiteral("D.log")};
    for (const QString& name : foreign) {
        writeFile(folder.filePath(name), "keep");
        setAge(folder.filePath(name), now.addYears(-3));
    }

    auto form = start();
    QVERIFY(form);
    connectToSimulator(*form);
    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    QTest::qWait(300);
    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);

    const QStringList left = folder.entryList(QDir::Files);
    for (const QString& name : foreign)
        QVERIFY2(left.contains(name), qPrintable(name));
    QCOMPARE(left.size(), 20 + foreign.size());
    // The 19 newest old ones stay (i = 0 .. 18), the new one joins them.
    QVERIFY(left.contains(QStringLiteral("D01012028T18.log")));
    QVERIFY(!left.contains(QStringLiteral("D01012029T19.log")));
    QVERIFY(!left.contains(QStringLiteral("D01012021T21.log")));
    QVERIFY(left.contains(QFileInfo(form->Logger->Autosave()->path()).fileName()));
}

void TestAutosaveWindow::fileTooLargeStopsTheWriterOnceLoggingGoesOn_data()
{
    QTest::addColumn<bool>("roomAtStop");
    QTest::newRow("room again by the stop") << true;
    QTest::newRow("still full at the stop") << false;
}

void TestAutosaveWindow::fileTooLargeStopsTheWriterOnceLoggingGoesOn()
{
    QFETCH(bool, roomAtStop);
    auto form = start();
    QVERIFY(form);
    connectToSimulator(*form);
    notifier.clear();

    // A file-size limit stands in for a full disk: writes past it fail with
    // EFBIG once SIGXFSZ is ignored.
    struct rlimit previous {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = previous;
    limited.rlim_cur = LogFile::fileSize(40) + 7;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);

    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    const QString file = form->Logger->Autosave()->path();
    QTRY_VERIFY_WITH_TIMEOUT(form->Logger->Autosave()->failed(), 5000);
    const qsizetype atFailure = form->Logger->store().sampleCount();
    QTest::qWait(600);
    QVERIFY(form->Logger->store().sampleCount() > atFailure + 15);
    QCOMPARE(notifier.texts(RecordingNotifier::Message),
             QStringList{QString::fromUtf8(LogTexts::AutosaveStopped)
                             .arg(QDir::toNativeSeparators(file), QString::fromLocal8Bit(strerror(EFBIG)))});
    QVERIFY(!form->Dash->Stop_img->isHidden());
    // Meanwhile the file keeps what it got, still marked unfinished.
    const QByteArray cut = readAll(file);
    QVERIFY(quint64(cut.size()) <= quint64(limited.rlim_cur));
    QVERIFY(LogFile::isUnfinished(cut));

    if (roomAtStop) {
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &previous), 0);
        std::signal(SIGXFSZ, oldHandler);
    }
    QTest::mouseClick(form->Dash->StartStop_rect, Qt::LeftButton);
    const qsizetype total = form->Logger->store().sampleCount();
    QVERIFY(total > atFailure);
    if (roomAtStop) {
        // The file is finished with the whole recording.
        QVERIFY(form->Logger->Autosave()->finished());
        QCOMPARE(QFileInfo(file).size(), LogFile::fileSize(total));
    } else {
        // The file stays as it was cut, marked for the next start; no second message.
        QVERIFY(!form->Logger->Autosave()->finished());
        QCOMPARE(readAll(file), cut);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &previous), 0);
        std::signal(SIGXFSZ, oldHandler);
    }
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);

    // The rest behaves as before: save all writes the whole recording.
    const QString saved = dir->filePath(QStringLiteral("whole.log"));
    form->Logger->SaveLog(saved);
    QCOMPARE(QFileInfo(saved).size(), LogFile::fileSize(total));
    QCOMPARE(notifier.texts(RecordingNotifier::Message).size(), 1);
}

QTEST_MAIN(TestAutosaveWindow)
#include "tst_autosavewindow.moc"
