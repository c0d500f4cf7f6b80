#include "app/AccessNotice.h"
#include "app/Diagnostics.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/LanguageFiles.h"
#include "bridge/myQQuickView.h"

#include <q3sim.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QDateTime>
#include <QTest>
#include <QTextStream>

// What the user learns when the keyboard cannot be used: the report of
// --diagnose, and the notice in the window when the keyboard refuses this
// user.
class TestDeviceAccess : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void diagnose_data();
    void diagnose();
    void keyCaptureLine_data();
    void keyCaptureLine();
    void everyLanguageExplainsRefusedAccess_data();
    void everyLanguageExplainsRefusedAccess();
    void noticeShownOnceInTheLanguageInUse();
    void noNoticeWithoutARefusal_data();
    void noNoticeWithoutARefusal();

private:
    QString report(Diagnostics::KeyCapture capture, int* status);
    void writeLanguage(const QString& code, bool valid);
    void useLanguage(int position);

    QTemporaryDir workDir;
};

void TestDeviceAccess::initTestCase()
{
    QVERIFY(workDir.isValid());
    QVERIFY(QDir(workDir.path()).mkpath("modules/setting"));
    QVERIFY(QDir(workDir.path()).mkpath("modules/i18n"));
    QVERIFY(QDir::setCurrent(workDir.path()));
}

void TestDeviceAccess::init()
{
    q3sim::reset();
    for (const QString& f : QDir("modules/i18n").entryList(QDir::Files))
        QFile::remove("modules/i18n/" + f);
    writeLanguage("031000", true);
    writeLanguage("042000", true);
    useLanguage(0);
}

// A language file without strings: its check value is 7418700.
void TestDeviceAccess::writeLanguage(const QString& code, bool valid)
{
    QFile f("modules/i18n/lang_" + code + ".ini");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QString("[font]\nfamily=Arial\ntotal=0\ncs=%1\n").arg(valid ? "7418700" : "1").toUtf8());
}

// Entry 4 of the settings: the position in the language list (ENGLISH, GERMAN).
void TestDeviceAccess::useLanguage(int position)
{
    QFile f("modules/setting/apConfig.bin");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QString("[common]\nname=Q3\ntotal=32\n4=%1\n").arg(position).toUtf8());
    // Settings objects of this process cache the file by size and time: a
    // rewrite of the same size within one clock tick must still look new.
    static int rewrites = 0;
    f.flush();
    f.setFileTime(QDateTime::currentDateTime().addSecs(++rewrites), QFileDevice::FileModificationTime);
}

QString TestDeviceAccess::report(Diagnostics::KeyCapture capture, int* status)
{
    QString text;
    QTextStream out(&text);
    DataFolder::Choice folder;
    folder.workingDirectory = QDir::currentPath();
    *status = Diagnostics::run(out, folder, capture);
    out.flush();
    return text;
}

void TestDeviceAccess::diagnose_data()
{
    QTest::addColumn<QStringList>("commands");   // to the simulated keyboard first
    QTest::addColumn<bool>("germanValid");
    QTest::addColumn<int>("language");           // settings entry 4
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("notShown");

    const QStringList both{"q3sim:04d9:a1cd:ff01  usage page ff01 usage 0001", "q3sim:04d9:a1cd:ff02  usage page ff02 usage 0001"};
    QTest::newRow("usable")
        << QStringList{} << true << 0 << 0
        << (both + QStringList{"commands: opens", "events: opens", "firmware: 01 0A, layout mode 3",
                               "current profile: 1\n", "lang_031000.ini  ENGLISH: check value ok (in use)",
                               "lang_042000.ini  GERMAN: check value ok\n", "result: keyboard usable"})
        << QStringList{"WRONG", "permission"};
    QTest::newRow("another profile current")
        << QStringList{"profile 2"} << true << 0 << 0
        << QStringList{"current profile: 3\n", "result: keyboard usable"} << QStringList{};
    QTest::newRow("absent")
        << QStringList{"unplug"} << true << 0 << 1
        << QStringList{"keyboard 04d9:a1cd:\n  not found\n", "result: no Q3 keyboard found"}
        << QStringList{"firmware", "current profile", "usable"};
    QTest::newRow("permission denied")
        << QStringList{"deny-open on"} << true << 0 << 1
        << (both + QStringList{"commands: permission denied", "events: permission denied",
                               "this user may not open it (permission denied)", "70-q3config.rules",
                               "udevadm trigger --subsystem-match=hidraw", "plug it in again"})
        << QStringList{"firmware", "current profile", "usable"};
    QTest::newRow("opens failing otherwise")
        << QStringList{"fail-open -1"} << true << 0 << 1
        << QStringList{"commands: cannot be opened (Failed to open the device (simulated failure))",
                       "its interfaces cannot be opened"}
        << QStringList{"firmware", "permission", "usable"};
    QTest::newRow("only the command interface")
        << QStringList{"interfaces command"} << true << 0 << 1
        << QStringList{"commands: opens", "shows only its command interface"}
        << QStringList{"events:", "firmware", "usable"};
    QTest::newRow("keyboard silent")
        << QStringList{"fail-call hid_get_feature_report -1"} << true << 0 << 1
        << QStringList{"events: opens", "firmware: the keyboard does not answer", "result: the keyboard does not answer"}
        << QStringList{"current profile", "usable"};
    QTest::newRow("language in use fails its check")
        << QStringList{} << false << 1 << 1
        << QStringList{"firmware: 01 0A", "lang_042000.ini  GERMAN: check value WRONG (in use)",
                       "lang_042000.ini) fails its check value"}
        << QStringList{"usable"};
    QTest::newRow("a broken language not in use")
        << QStringList{} << false << 0 << 0
        << QStringList{"GERMAN: check value WRONG\n", "result: keyboard usable"} << QStringList{};
}

void TestDeviceAccess::diagnose()
{
    QFETCH(QStringList, commands);
    QFETCH(bool, germanValid);
    QFETCH(int, language);
    QFETCH(int, status);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, notShown);
    for (const QString& c : commands)
        QVERIFY2(q3sim::runControlCommand(c.toStdString()), qPrintable(c));
    writeLanguage("042000", germanValid);
    useLanguage(language);

    int got = -1;
    const QString text = report(Diagnostics::KeyCapture::SystemWide, &got);
    QVERIFY2(text.startsWith("q3config " Q3CONFIG_VERSION "\n"), qPrintable(text));
    QVERIFY2(text.contains("data folder: " + QDir::toNativeSeparators(QDir::currentPath()) + "\n"), qPrintable(text));
    for (const QString& s : shown)
        QVERIFY2(text.contains(s), qPrintable(QString("missing \"%1\" in:\n%2").arg(s, text)));
    for (const QString& s : notShown)
        QVERIFY2(!text.contains(s), qPrintable(QString("unexpected \"%1\" in:\n%2").arg(s, text)));
    QCOMPARE(got, status);
}

void TestDeviceAccess::keyCaptureLine_data()
{
    QTest::addColumn<int>("capture");
    QTest::addColumn<QString>("line");
    QTest::newRow("XInput") << int(Diagnostics::KeyCapture::SystemWide) << "key capture: XInput 2.2 (system-wide)\n";
    QTest::newRow("window") << int(Diagnostics::KeyCapture::WindowOnly) << "key capture: window-only";
    QTest::newRow("none") << int(Diagnostics::KeyCapture::None) << "key capture: none (no display)\n";
}

void TestDeviceAccess::keyCaptureLine()
{
    QFETCH(int, capture);
    QFETCH(QString, line);
    int status = -1;
    const QString text = report(Diagnostics::KeyCapture(capture), &status);
    QVERIFY2(text.contains(line), qPrintable(text));
    // Key capture does not decide whether the keyboard can be configured.
    QCOMPARE(status, 0);
}

void TestDeviceAccess::everyLanguageExplainsRefusedAccess_data()
{
    QTest::addColumn<QString>("code");
    const QStringList files = QDir(Q3_SOURCE_MODULES "/i18n").entryList({"lang_*.ini"}, QDir::Files);
    QVERIFY(files.size() >= 4);
    for (const QString& f : files)
        QTest::newRow(qPrintable(f)) << f.mid(5, 6);
}

void TestDeviceAccess::everyLanguageExplainsRefusedAccess()
{
    QFETCH(QString, code);
    const QString folder = Q3_SOURCE_MODULES "/i18n";
    QSettings ini(folder + "/lang_" + code + ".ini", QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const QString title = ini.value("notice/accessTitle").toString();
    const QString text = ini.value("notice/accessText").toString();
    QVERIFY(!title.isEmpty());
    QVERIFY(text.contains("udevadm"));
    QVERIFY(text.contains("q3config"));
    const AccessNotice::Texts texts = AccessNotice::texts(folder, code);
    QCOMPARE(texts.title, title);
    QCOMPARE(texts.text, text);
    // The captions sit outside the checked strings: the file stays valid.
    QVERIFY(LanguageFiles::load(folder, code).verified);
    if (code != "031000")
        QVERIFY(title != AccessNotice::texts(folder, "031000").title);
}

void TestDeviceAccess::noticeShownOnceInTheLanguageInUse()
{
    QFile::remove("modules/i18n/lang_042000.ini");
    QVERIFY(QFile::copy(Q3_SOURCE_MODULES "/i18n/lang_042000.ini", "modules/i18n/lang_042000.ini"));
    const AccessNotice::Texts german = AccessNotice::texts("modules/i18n", "042000");
    // The scene starts in the language of the settings: GERMAN, second in the list.
    useLanguage(1);

    q3sim::denyOpens(true);
    Widget w;
    w.checkDevice();
    // Nothing over a scene that has not started yet.
    QVERIFY(!w.accessNotice());
    w.startScene();
    QTRY_VERIFY(w.accessNotice());
    AccessNotice* notice = w.accessNotice();
    QCOMPARE(notice->title(), german.title);
    QCOMPARE(notice->text(), german.text);
    QVERIFY(notice->isVisibleTo(&w));
    QVERIFY(notice->geometry().intersects(w.rect()));

    // Said once: later checks neither repeat nor bring it back once closed.
    w.checkDevice();
    QCOMPARE(w.accessNotice(), notice);
    notice->close();
    QTRY_VERIFY(!w.accessNotice());
    w.checkDevice();
    QCoreApplication::processEvents();
    QVERIFY(!w.accessNotice());

    // Access worked in between, then was refused again: said again.
    q3sim::denyOpens(false);
    w.checkDevice();
    QVERIFY(!w.hid.accessDenied());
    QVERIFY(!w.accessNotice());
    q3sim::denyOpens(true);
    w.checkDevice();
    QVERIFY(w.accessNotice());

    // The user reloaded the rule and plugged the keyboard in again.
    q3sim::denyOpens(false);
    w.checkDevice();
    QTRY_VERIFY(!w.accessNotice());
}

void TestDeviceAccess::noNoticeWithoutARefusal_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("usable") << "plug";
    QTest::newRow("absent") << "unplug";
    QTest::newRow("opens failing otherwise") << "fail-open -1";
}

void TestDeviceAccess::noNoticeWithoutARefusal()
{
    QFETCH(QString, command);
    QVERIFY(q3sim::runControlCommand(command.toStdString()));
    Widget w;
    w.checkDevice();
    w.startScene();
    QTest::qWait(50);
    QCoreApplication::processEvents();
    QVERIFY(!w.accessNotice());
    QVERIFY(!w.hid.accessDenied());
}

QTEST_MAIN(TestDeviceAccess)
#include "tst_deviceaccess.moc"
