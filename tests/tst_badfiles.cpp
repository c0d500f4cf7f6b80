// Every data file damaged as a user may meet it (empty, cut short, random
// bytes, huge or negative counts, missing): the whole program still starts
// and shows its window, says in one line on standard error which file it
// cannot use, keeps working, and never writes over a file it could not read.

#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/myQQuickView.h"

#include "CopyTree.h"

#include <q3sim.h>

#include <QDirIterator>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

QStringList warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        warnings.append(text);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray randomBytes()
{
    std::mt19937 random(7);
    QByteArray bytes(3000, '\0');
    for (char& c : bytes)
        c = char(random() & 0xFF);
    return bytes;
}


}

class TestBadFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { StartupEnvironment::ensureThreadPool(); }
    void damagedFile_data();
    void damagedFile();
};

void TestBadFiles::damagedFile_data()
{
    QTest::addColumn<QString>("file");     // under modules/
    QTest::addColumn<QString>("damage");   // empty, truncated, random, missing, or "key=value" lines to write
    QTest::addColumn<bool>("reported");    // one line on standard error names the file
    QTest::addColumn<bool>("profiles");    // the current profile still takes what the keyboard sends
    QTest::addColumn<QString>("keptAs");   // where the damaged bytes must be afterwards ("" = in place, "-" = nowhere)

    // A value in Qt's binary form naming a polygon of absurd size: Qt's own
    // reader of it crashes, so the program must never hand it on.
    const QString polygon = "@Variant(\\0\\0\\0G)30)";

    const QString hw = "setting/HWDef.bin";
    QTest::newRow("HWDef empty") << hw << "empty" << true << false << "";
    QTest::newRow("HWDef truncated") << hw << "truncated" << false << true << "";
    QTest::newRow("HWDef random") << hw << "random" << true << false << "";
    QTest::newRow("HWDef huge counts") << hw << "[common]\nkbLayoutType=3\nmaxMacro=2147483647\nmaxProfile=2147483647\n[3]\ntotal_HW=2147483647\ntotal_FW=2147483647\n" << false << true << "";
    QTest::newRow("HWDef negative counts") << hw << "[common]\nkbLayoutType=3\nmaxMacro=-3\nmaxProfile=-1\n[3]\ntotal_HW=-5\ntotal_FW=-5\n" << true << false << "";
    QTest::newRow("HWDef Qt binary value") << hw << "[common]\nkbLayoutType=3\nmaxMacro=16\nmaxProfile=3\n[3]\ntotal_HW=" + polygon + "\n" << true << false << "";
    QTest::newRow("HWDef missing") << hw << "missing" << true << false << "-";

    const QString keys = "setting/KeyCodeDef.bin";
    QTest::newRow("KeyCodeDef empty") << keys << "empty" << true << true << "";
    QTest::newRow("KeyCodeDef truncated") << keys << "truncated" << true << true << "";
    QTest::newRow("KeyCodeDef random") << keys << "random" << true << true << "";
    QTest::newRow("KeyCodeDef Qt binary value") << keys << "[common]\nusbStr=A, " + polygon + "\nusbCode=4, 5\n" << true << true << "";
    QTest::newRow("KeyCodeDef missing") << keys << "missing" << true << true << "-";

    const QString settings = "setting/apConfig.bin";
    QTest::newRow("apConfig empty") << settings << "empty" << true << true << "";
    QTest::newRow("apConfig truncated") << settings << "truncated" << false << true << "";
    QTest::newRow("apConfig random") << settings << "random" << true << true << "";
    QTest::newRow("apConfig huge count") << settings << "[common]\ntotal=2147483647\n0=1\n" << false << true << "";
    QTest::newRow("apConfig negative count") << settings << "[common]\ntotal=-4\n0=1\n" << true << true << "";
    QTest::newRow("apConfig Qt binary value") << settings << "[common]\ntotal=2\n0=1\n1=" + polygon + "\n" << true << true << "";
    QTest::newRow("apConfig missing") << settings << "missing" << true << true << "-";

    const QString factory = "setting/apConfigD.bin";
    QTest::newRow("apConfigD empty") << factory << "empty" << true << true << "";
    QTest::newRow("apConfigD random") << factory << "random" << true << true << "";
    QTest::newRow("apConfigD Qt binary value") << factory << "[common]\ntotal=1\n0=" + polygon + "\n" << true << true << "";
    QTest::newRow("apConfigD missing") << factory << "missing" << true << true << "-";

    const QString defaults = "setting/pD.bin";
    QTest::newRow("pD random") << defaults << "random" << true << true << "";
    QTest::newRow("pD Qt binary value") << defaults << "[color]\nledType=" + polygon + "\n" << true << true << "";
    QTest::newRow("pD missing") << defaults << "missing" << true << true << "-";

    const QString profile = "setting/p1.bin";
    // A profile the program can read is the program's to write.
    QTest::newRow("profile empty") << profile << "empty" << false << true << "-";
    QTest::newRow("profile truncated") << profile << "truncated" << false << true << "-";
    QTest::newRow("profile random") << profile << "random" << true << true << "setting/p1.bin.unreadable";
    QTest::newRow("profile Qt binary value") << profile << "[color]\nledType=" + polygon + "\n" << true << true << "setting/p1.bin.unreadable";
    QTest::newRow("profile huge lists") << profile << "[color]\nledType=1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14\ncolor=1\n[userPicture]\n0=1\n" << false << true << "-";

    const QString macro = "macro/Macro. 001.bin";
    QTest::newRow("macro random") << macro << "random" << true << true << "";
    QTest::newRow("macro truncated") << macro << "[config]\nindex=0\ntotal=2\n[macro]\n0=A    [Do" << false << true << "";
    QTest::newRow("macro huge count") << macro << "[config]\nindex=0\ntotal=2147483647\n[macro]\n0=A    [Down]\n" << false << true << "";
    QTest::newRow("macro Qt binary value") << macro << "[config]\nindex=0\ntotal=1\n[macro]\n0=" + polygon + "\n" << true << true << "";
    // Kept unbound with its actions, and named: its claim on a slot is dropped.
    QTest::newRow("macro negative index") << macro << "[config]\nindex=-7\ntotal=-2\n[macro]\n0=A    [Down]\n" << true << true << "-";

    const QString language = "i18n/lang_031000.ini";
    QTest::newRow("language empty") << language << "empty" << true << true << "";
    QTest::newRow("language random") << language << "random" << true << true << "";
    QTest::newRow("language huge count") << language << "[font]\nfamily=Arial\ntotal=2147483647\ncs=1\n" << true << true << "";
    QTest::newRow("language Qt binary value") << language << "[font]\nfamily=" + polygon + "\ntotal=0\ncs=74\n" << true << true << "";
    // Not offered at all: the scene keeps its built-in captions.
    QTest::newRow("language missing") << language << "missing" << false << true << "-";
}

void TestBadFiles::damagedFile()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(bool, reported);
    QFETCH(bool, profiles);
    QFETCH(QString, keptAs);

    QTemporaryDir work;
    QVERIFY(copyTree(QString::fromLocal8Bit(Q3_BUILD_MODULES), work.path() + "/modules"));
    QDir::setCurrent(work.path());
    const QString path = "modules/" + file;
    // A profile and a macro to damage start as the program would write them.
    if (file == "setting/p1.bin" && !QFile::exists(path))
        QVERIFY(QFile::copy("modules/setting/pD.bin", path));
    QDir().mkpath("modules/macro");
    if (file.startsWith("macro/"))
        writeAll(path, "[config]\nindex=0\ntotal=2\nrepeat=1\ndid=0\n[macro]\n0=A    [Down]\n1=A      [Up]\n");

    QByteArray damaged;
    if (damage == "missing") {
        QFile::remove(path);
    } else {
        if (damage == "empty")
            damaged = "";
        else if (damage == "truncated")
            damaged = readAll(path).left(readAll(path).size() / 2);
        else if (damage == "random")
            damaged = randomBytes();
        else
            damaged = damage.toUtf8();
        writeAll(path, damaged);
    }

    q3sim::reset();
    warnings.clear();
    qInstallMessageHandler(collectWarnings);
    {
        Widget window;
        window.checkDevice();
        window.showNormal();
        window.startScene();
        QVERIFY(window.isVisible());
        QVERIFY(window.controller->view->rootObject());
        QTest::qWait(300);

        // The keyboard reports a lighting change; the profile takes it.
        q3sim::runControlCommand("lighting 2 3 4 1 5 6 7");
        if (profiles) {
            const auto stored = [&window] {
                window.controller->view->profiles.flush(0);
                return QSettings("modules/setting/p1.bin", QSettings::IniFormat).value("color/ledType").toStringList();
            };
            QTRY_COMPARE_WITH_TIMEOUT(stored(), (QStringList{"2", "3", "4", "1", "5", "6", "7"}), 3000);
        } else {
            QTest::qWait(300);
        }
        window.close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qInstallMessageHandler(nullptr);

    const QString name = QFileInfo(file).fileName();
    const QStringList naming = warnings.filter(name);
    if (reported) {
        QVERIFY2(naming.size() == 1, qPrintable(warnings.join('\n')));
        QVERIFY2(naming.first().contains("cannot be used") || naming.first().contains("is kept unbound"),
                 qPrintable(naming.first()));
    } else {
        QVERIFY2(naming.isEmpty(), qPrintable(naming.join('\n')));
    }
    if (keptAs != "-" && damage != "missing")
        QCOMPARE(readAll("modules/" + (keptAs.isEmpty() ? file : keptAs)), damaged);
    QDir::setCurrent(QDir::tempPath());
}

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
