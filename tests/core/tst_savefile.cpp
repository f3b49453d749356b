#include "savefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

}  // namespace

class TestSaveFile : public QObject {
    Q_OBJECT
private slots:
    void removesOnlyTheTargetsTemporaries_data();
    void removesOnlyTheTargetsTemporaries();
    void followsALinkToTheRealFile();
};

void TestSaveFile::removesOnlyTheTargetsTemporaries_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("kind");  // file, dir or link
    QTest::addColumn<bool>("removed");

    const QString log = QStringLiteral("drive.log");
    QTest::newRow("letters") << log << "drive.log.AbCdEf" << "file" << true;
    QTest::newRow("letters and digits") << log << "drive.log.a1B2c3" << "file" << true;
    QTest::newRow("digits") << log << "drive.log.123456" << "file" << true;
    QTest::newRow("the target") << log << "drive.log" << "file" << false;
    QTest::newRow("five") << log << "drive.log.12345" << "file" << false;
    QTest::newRow("seven") << log << "drive.log.1234567" << "file" << false;
    QTest::newRow("backup") << log << "drive.log.bak" << "file" << false;
    QTest::newRow("six, not a dot") << log << "drive.log_abcdef" << "file" << false;
    QTest::newRow("underscore inside") << log << "drive.log.ab_cde" << "file" << false;
    QTest::newRow("dot inside") << log << "drive.log.ab.cde" << "file" << false;
    QTest::newRow("non-ASCII letter") << log << QString::fromUtf8("drive.log.abcdé1") << "file" << false;
    QTest::newRow("other case") << log << "Drive.log.abcdef" << "file" << false;
    QTest::newRow("other file's") << log << "drive.tab.abcdef" << "file" << false;
    QTest::newRow("longer name") << log << "xdrive.log.abcdef" << "file" << false;
    QTest::newRow("folder") << log << "drive.log.abcdef" << "dir" << false;
    QTest::newRow("symbolic link") << log << "drive.log.abcdef" << "link" << false;
    QTest::newRow("wildcards in name") << "t[1]*.tab" << "t[1]*.tab.Zz9Zz9" << "file" << true;
    QTest::newRow("wildcards matched") << "t[1]*.tab" << "t1xy.tab.Zz9Zz9" << "file" << false;
    QTest::newRow("hidden target") << ".config.cfg" << ".config.cfg.qWeRt0" << "file" << true;
}

void TestSaveFile::removesOnlyTheTargetsTemporaries()
{
    QFETCH(QString, target);
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QFETCH(bool, removed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(entry);
    const QString linkedTo = dir.filePath(QStringLiteral("elsewhere"));
    if (kind == QLatin1String("dir")) {
        QVERIFY(QDir(dir.path()).mkdir(entry));
    } else if (kind == QLatin1String("link")) {
        QVERIFY(writeFile(linkedTo));
        QVERIFY(QFile::link(linkedTo, path));
    } else {
        QVERIFY(writeFile(path));
    }
    if (entry != target)
        QVERIFY(writeFile(dir.filePath(target)));

    // Folders and links are kept by their kind, not their name.
    QCOMPARE(IsSaveTempName(target, entry), removed || kind != QLatin1String("file"));
    RemoveStaleSaveTemps(dir.filePath(target));

    QCOMPARE(QFileInfo::exists(path) || QFileInfo(path).isSymLink(), !removed);
    QVERIFY(QFileInfo::exists(dir.filePath(target)));
    if (kind == QLatin1String("link"))
        QVERIFY(QFileInfo::exists(linkedTo));
}

void TestSaveFile::followsALinkToTheRealFile()
{
    // QSaveFile writes beside the file a link leads to; its leftovers are
    // there, and a name like them beside the link is not one.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
    const QString real = dir.filePath(QStringLiteral("real/table.tab"));
    QVERIFY(writeFile(real));
    QVERIFY(QFile::link(real, dir.filePath(QStringLiteral("table.tab"))));
    QVERIFY(writeFile(real + QStringLiteral(".AbC123")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("table.tab.AbC123"))));

    RemoveStaleSaveTemps(dir.filePath(QStringLiteral("table.tab")));

    QVERIFY(!QFileInfo::exists(real + QStringLiteral(".AbC123")));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("table.tab.AbC123"))));
    QVERIFY(QFileInfo::exists(real));
}

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_savefile.moc"
