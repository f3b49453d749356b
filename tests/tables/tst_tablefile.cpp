#include "tablefixture.h"
#include "tablesettings.h"
#include "tabletexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file of `size` bytes starting with 0xC8 0x07, filled with 0xAB.
QByteArray tableBytes(int size)
{
    QByteArray bytes(size, char(0xAB));
    if (size > 0)
        bytes[0] = char(0xC8);
    if (size > 1)
        bytes[1] = char(0x07);
    return bytes;
}

const QString cantDelete = QString::fromUtf8(TableTexts::CantDeleteBeforeSaving);
const QString noPermission = QString::fromUtf8(TableTexts::NoWritePermission);

}  // namespace

class TestTableFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void saveName_data();
    void saveName();
    void saveReadsBoxesFirstAndReplacesOldFile();
    void saveFailures_data();
    void saveFailures();
    void saveWriteErrorKeepsPreviousFile();

    void load_data();
    void load();
    void loadRestartsHistory();
    void loadFailures_data();
    void loadFailures();
    void saveThenLoadRoundTrip();

private:
    QTemporaryDir dir;
};

void TestTableFile::init()
{
    QVERIFY(dir.isValid());
    for (const QString& name : QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFileInfo info(dir.filePath(name));
        if (info.isDir())
            QDir(info.filePath()).removeRecursively();
        else
            QFile::remove(info.filePath());
    }
}

void TestTableFile::saveName_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "angle" << "angle.tab";
    QTest::newRow("lower-case extension kept") << "angle.tab" << "angle.tab";
    QTest::newRow("upper-case extension gets another") << "angle.TAB" << "angle.TAB.tab";
    QTest::newRow("other extension") << "angle.log" << "angle.log.tab";
    QTest::newRow("extension alone") << ".tab" << ".tab";
}

void TestTableFile::saveName()
{
    QFETCH(QString, given);
    QFETCH(QString, written);

    TableFixture f;
    f.table.tab[0] = -25;  // the angle -2.5 in tenths
    f.table.tab[1] = 0x1FF;
    f.table.SaveTableFile(dir.filePath(given));

    QVERIFY(f.notifier.entries.isEmpty());
    QCOMPARE(readAll(dir.filePath(written)), QByteArray("\xE7\xFF", 2));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{written});
}

void TestTableFile::saveReadsBoxesFirstAndReplacesOldFile()
{
    TableFixture f;
    const QString path = dir.filePath(QStringLiteral("old.tab"));
    writeFile(path, tableBytes(600));
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QStringLiteral("1.5"));
    f.table.tab[0] = 1;
    f.table.tab[1] = 2;

    f.table.SaveTableFile(path);

    QVERIFY(f.notifier.entries.isEmpty());
    QCOMPARE(readAll(path), QByteArray("\x01\x02", 2));
    QCOMPARE(f.table.tab[261], 15);
    QCOMPARE(f.table.tab[263], 255);
}

void TestTableFile::saveFailures_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    // These fail for root as well, which the test machines run as.
    // Each text is followed by the system's reason on a line of its own.
    QTest::newRow("folder under a plain file") << "file:plain" << "plain/table"
                                               << noPermission + "\nNot a directory";
    QTest::newRow("folder that does not exist") << "" << "missing/table"
                                                << noPermission + "\nNo such file or directory";
    QTest::newRow("a folder stands where the file should") << "dir:table.tab" << "table"
                                                           << cantDelete + "\nIs a directory";
    if (geteuid() != 0) {
        QTest::newRow("read-only folder") << "readonly:ro" << "ro/table" << noPermission + "\nPermission denied";
        QTest::newRow("read-only folder with the file in it") << "readonly-with-file:ro" << "ro/table"
                                                              << cantDelete + "\nPermission denied";
    }
}

void TestTableFile::saveFailures()
{
    QFETCH(QString, setUp);
    QFETCH(QString, name);
    QFETCH(QString, message);

    const QString kind = setUp.section(u':', 0, 0);
    const QString target = dir.filePath(setUp.section(u':', 1));
    if (kind == u"file")
        writeFile(target, "x");
    else if (kind == u"dir")
        QVERIFY(QDir().mkdir(target));
    else if (kind.startsWith(u"readonly")) {
        QVERIFY(QDir().mkdir(target));
        if (kind == u"readonly-with-file")
            writeFile(target + QStringLiteral("/table.tab"), "old");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0555) == 0);
    }

    TableFixture f;
    f.boxes.setText(SettingsBoxes::SmoothTps_nb, QStringLiteral("1.5"));
    f.table.SaveTableFile(dir.filePath(name));

    QCOMPARE(f.notifier.texts(RecordingNotifier::Message), QStringList{message});
    QCOMPARE(f.notifier.entries.size(), 1);
    // Nothing was written, so the boxes were not read either.
    QCOMPARE(f.table.tab[261], 0);
    if (kind == u"dir")
        QVERIFY(QFileInfo(target).isDir());
    if (kind == u"readonly-with-file")
        QCOMPARE(readAll(target + QStringLiteral("/table.tab")), QByteArray("old"));
    if (kind.startsWith(u"readonly"))
        ::chmod(QFile::encodeName(target).constData(), 0755);
    if (kind != u"dir" && kind != u"readonly-with-file")
        QVERIFY(!QFileInfo::exists(dir.filePath(name + QStringLiteral(".tab"))));
}

void TestTableFile::saveWriteErrorKeepsPreviousFile()
{
    // A file size limit of one byte makes the write fail half-way, even for
    // root: the previous file must come through untouched.
    const QString path = dir.filePath(QStringLiteral("keep.tab"));
    writeFile(path, "previous");

    TableFixture f;
    f.table.tab[0] = 1;
    f.table.tab[1] = 2;

    rlimit old{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 1;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &tiny) == 0);
    f.table.SaveTableFile(path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(readAll(path), QByteArray("previous"));
    QCOMPARE(f.notifier.texts(RecordingNotifier::Message), QStringList{QString::fromLocal8Bit(std::strerror(EFBIG))});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.tab"});
}

void TestTableFile::load_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("tab0");
    QTest::addColumn<int>("tab1");
    QTest::addColumn<bool>("cellsCleared");
    QTest::addColumn<bool>("settingsReset");

    QTest::newRow("empty") << 0 << 0 << 0 << true << true;
    QTest::newRow("one byte") << 1 << 200 << 0 << true << true;
    QTest::newRow("two bytes") << 2 << 200 << 7 << false << true;
    QTest::newRow("256 bytes") << 256 << 200 << 7 << false << true;
    QTest::newRow("257 bytes") << 257 << 200 << 7 << false << false;
    QTest::newRow("300 bytes") << 300 << 200 << 7 << false << false;
    QTest::newRow("511 bytes") << 511 << 200 << 7 << false << false;
    QTest::newRow("512 bytes") << 512 << 200 << 7 << true << false;
    QTest::newRow("513 bytes") << 513 << 200 << 7 << false << false;
    QTest::newRow("longer than a reader reads") << 5000 << 200 << 7 << false << false;
}

void TestTableFile::load()
{
    QFETCH(int, size);
    QFETCH(int, tab0);
    QFETCH(int, tab1);
    QFETCH(bool, cellsCleared);
    QFETCH(bool, settingsReset);

    const QString path = dir.filePath(QStringLiteral("in.tab"));
    writeFile(path, tableBytes(size));

    TableFixture f;
    f.table.tab[0] = 55;
    f.table.tab[1] = 66;
    const QList<int> settings{9, 8, 7, 6, 5, 4, 3, 2};
    for (int k = 0; k < 8; ++k)
        f.table.tab[256 + k] = settings[k];
    for (int i = Table::IatFirst; i < Table::TableSize; ++i)
        f.table.tab[i] = i % 61;
    const QList<int> cells = f.table.tab.mid(Table::IatFirst);
    const QList<int> curveRest = f.table.tab.mid(2, 254);

    f.table.LoadTableFile(path);

    QVERIFY(f.notifier.entries.isEmpty());
    QCOMPARE(f.table.tab[0], tab0);
    QCOMPARE(f.table.tab[1], tab1);
    QCOMPARE(f.table.tab.mid(2, 254), curveRest);
    QCOMPARE(f.table.tab.mid(Table::IatFirst), cellsCleared ? QList<int>(128, 0) : cells);
    const QList<int> wantSettings = settingsReset ? QList<int>{4, 5, 128, 64, 128, 0, 128, 255} : settings;
    QCOMPARE(f.table.tab.mid(256, 8), wantSettings);
    // The boxes show what the table now holds.
    for (int k = 0; k < 8; ++k) {
        const auto box = static_cast<SettingsBoxes::Box>(k);
        QCOMPARE(f.boxes.text(box), TableSettings::toText(box, wantSettings[k]));
    }
    QCOMPARE(f.table.tab.size(), 392);
}

void TestTableFile::loadRestartsHistory()
{
    const QString path = dir.filePath(QStringLiteral("in.tab"));
    writeFile(path, tableBytes(2));

    TableFixture f;
    f.table.SetPoint(10, 10, 1);
    f.table.SetPoint(20, 30, 1);
    f.table.UndoRedo(false);
    const int redraws = f.view.tableRedraws;

    f.table.LoadTableFile(path);
    const TBufUndoRedo loaded = f.state();
    QCOMPARE(f.view.tableRedraws, redraws + 1);
    QCOMPARE(f.table.undoList.size(), 1);
    QCOMPARE(f.table.undoPos, 1);
    f.table.UndoRedo(false);
    QVERIFY(f.state() == loaded);
    f.table.UndoRedo(true);
    QVERIFY(f.state() == loaded);
    QCOMPARE(f.table.tab[0], 200);
}

void TestTableFile::loadFailures_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("file vanished after it was chosen") << "vanished" << "gone.tab" << "No such file or directory";
    QTest::newRow("a folder") << "dir" << "folder.tab" << TableTexts::NotARegularFile;
    QTest::newRow("a pipe would block") << "fifo" << "pipe.tab" << TableTexts::NotARegularFile;
    QTest::newRow("empty name") << "" << "" << TableTexts::NoFileName;
    if (geteuid() != 0)
        QTest::newRow("unreadable") << "unreadable" << "secret.tab" << "Permission denied";
}

void TestTableFile::loadFailures()
{
    QFETCH(QString, setUp);
    QFETCH(QString, name);
    QFETCH(QString, reason);

    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (setUp == u"vanished") {
        writeFile(path, tableBytes(2));
        QVERIFY(QFile::remove(path));
    } else if (setUp == u"dir") {
        QVERIFY(QDir().mkdir(path));
    } else if (setUp == u"fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    } else if (setUp == u"unreadable") {
        writeFile(path, tableBytes(2));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
    }

    TableFixture f;
    f.table.SetPoint(10, 10, 1);
    f.table.tab[300] = 5;
    const TBufUndoRedo before = f.state();
    const auto history = f.table.undoList;
    const int position = f.table.undoPos;

    f.table.LoadTableFile(path);

    const QString expected = QString::fromUtf8(TableTexts::CannotOpenFile).arg(QDir::toNativeSeparators(path), reason);
    QCOMPARE(f.notifier.texts(RecordingNotifier::Message), QStringList{expected});
    QVERIFY(f.state() == before);
    QVERIFY(f.table.undoList == history);
    QCOMPARE(f.table.undoPos, position);
}

void TestTableFile::saveThenLoadRoundTrip()
{
    const QString path = dir.filePath(QStringLiteral("round"));
    TableFixture f;
    f.table.tab[0] = 0x96;
    f.table.tab[1] = 3;
    f.table.SaveTableFile(path);

    TableFixture g;
    g.table.LoadTableFile(path + QStringLiteral(".tab"));
    QCOMPARE(g.table.tab[0], 0x96);
    QCOMPARE(g.table.tab[1], 3);
    QVERIFY(g.notifier.entries.isEmpty());
}

QTEST_APPLESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
