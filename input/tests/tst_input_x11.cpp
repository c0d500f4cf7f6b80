// The X11 capture end to end: a private virtual display, keys and buttons
// pressed on it through XTEST (xdotool), and the usage codes that come out
// of the capture and reach the scene.

#include "Recorder.h"

#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/myQQuickView.h"
#include "input/GlobalInputHook.h"
#include "input/InputHookPlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace {

// The virtual display goes when the test process goes, however it ends.
class ChildProcess : public QProcess
{
protected:
    void setupChildProcess() override { prctl(PR_SET_PDEATHSIG, SIGTERM); }
};

// Ends the capture again when a receiver is called for the first time.
struct Quitter
{
    GlobalInputHook* hook = nullptr;
    Recorder recorder;
    bool done = false;

    static void onKey(unsigned char usage, unsigned char isDown, void* context)
    {
        auto* self = static_cast<Quitter*>(context);
        Recorder::onKey(usage, isDown, &self->recorder);
        if (!self->done) {
            self->done = true;
            self->hook->uninstallHooks();
        }
    }
};

// Every row ends with Escape, so that its release marks the end of what the
// row typed and anything reported in between shows.
const QString Sentinel = "key Escape";
const QString SentinelReports = "29+ 29-";

}

class TestInputX11 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void keys_data();
    void keys();
    void buttons_data();
    void buttons();
    void positionOfEachButtonEvent();
    void receiverMayEndCapture();
    void noDisplay_data();
    void noDisplay();
    void reachesTheScene();

private:
    bool xdotool(const QString& commands);
    void typeAndCompare(const QString& commands, const QString& reports);

    ChildProcess xvfb;
    QByteArray display;
    QTemporaryDir workDir;
};

void TestInputX11::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("Xvfb").isEmpty(), "Xvfb is not installed");
    QVERIFY2(!QStandardPaths::findExecutable("xdotool").isEmpty(), "xdotool is not installed");
    xvfb.setProgram("Xvfb");
    // No reset when the last client leaves: the tests connect and leave often.
    xvfb.setArguments({"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                       "-noreset"});
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.start();
    QVERIFY2(xvfb.waitForStarted(5000), "Xvfb did not start");
    QElapsedTimer clock;
    clock.start();
    while (!xvfb.canReadLine() && clock.elapsed() < 15000)
        xvfb.waitForReadyRead(100);
    const QByteArray number = xvfb.readLine().trimmed();
    QVERIFY2(!number.isEmpty(), "Xvfb gave no display number");
    display = ":" + number;
    qputenv("DISPLAY", display);

    QVERIFY(workDir.isValid());
    QVERIFY(QDir(workDir.path()).mkpath("modules/setting"));
    QVERIFY(QDir::setCurrent(workDir.path()));
}

void TestInputX11::cleanupTestCase()
{
    xvfb.terminate();
    if (!xvfb.waitForFinished(5000))
        xvfb.kill();
}

void TestInputX11::cleanup()
{
    qputenv("DISPLAY", display);
    for (int usage = 0; usage < 256; ++usage)
        QVERIFY2(GlobalInputHook::keyDownState()[usage] == 0, qPrintable(Recorder::hex(usage)));
}

bool TestInputX11::xdotool(const QString& commands)
{
    QProcess p;
    p.start("xdotool", commands.split(' ', Qt::SkipEmptyParts));
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void TestInputX11::typeAndCompare(const QString& commands, const QString& reports)
{
    GlobalInputHook hook(false);
    QVERIFY(InputHookPlatform::installed());
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    hook.setMouseCallback(&Recorder::onButton, &r);
    QVERIFY(xdotool(commands + ' ' + Sentinel));
    QTRY_VERIFY(r.text().endsWith(SentinelReports));
    QCOMPARE(r.text(), reports.isEmpty() ? SentinelReports : reports + ' ' + SentinelReports);
    hook.setKeyboardCallback(nullptr, nullptr);
    hook.setMouseCallback(nullptr, nullptr);
}

void TestInputX11::keys_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("reports");
    QTest::newRow("a") << "key a" << "04+ 04-";
    QTest::newRow("Return") << "key Return" << "28+ 28-";
    QTest::newRow("keypad Enter") << "key KP_Enter" << "58+ 58-";
    QTest::newRow("Pause") << "key Pause" << "48+ 48-";
    // xdotool releases the modifiers of a combination first.
    QTest::newRow("Ctrl+Pause") << "key ctrl+Pause" << "E0+ 48+ E0- 48-";
    // Modifier keys by key code: by name xdotool adds the left one.
    QTest::newRow("right Control") << "key 105" << "E4+ E4-";
    QTest::newRow("right Shift") << "key 62" << "E5+ E5-";
    QTest::newRow("Home") << "key Home" << "4A+ 4A-";
    QTest::newRow("keypad 7 with and without Num Lock")
            << "key KP_Home Num_Lock KP_Home Num_Lock" << "5F+ 5F- 53+ 53- 5F+ 5F- 53+ 53-";
    QTest::newRow("Print Screen") << "key Print" << "46+ 46-";
    QTest::newRow("Alt+Print Screen") << "key alt+Print" << "E2+ 46+ E2- 46-";
    QTest::newRow("Alt+Print Screen, Print Screen released first")
            << "keydown alt keydown Print keyup Print keyup alt" << "E2+ 46+ 46- E2-";
    QTest::newRow("Menu") << "key Menu" << "65+ 65-";
    QTest::newRow("backslash") << "key backslash" << "31+ 31-";
    QTest::newRow("right Windows reports nothing") << "key 134" << "";
    QTest::newRow("a held key reports once") << "keydown a keydown a keyup a" << "04+ 04-";
    QTest::newRow("a release without a press reports nothing") << "keyup b" << "";
}

void TestInputX11::keys()
{
    QFETCH(QString, commands);
    QFETCH(QString, reports);
    typeAndCompare(commands, reports);
}

void TestInputX11::buttons_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("reports");
    QTest::newRow("left") << "mousemove 123 45 click 1" << "F0+@123,45 F0-@123,45";
    QTest::newRow("right") << "mousemove 1279 799 click 3" << "F1+@1279,799 F1-@1279,799";
    QTest::newRow("middle") << "mousemove 0 0 click 2" << "F2+@0,0 F2-@0,0";
    QTest::newRow("wheel and extra buttons")
            << "mousemove 5 5 click 4 click 5 click 6 click 7 click 8 click 9" << "";
}

void TestInputX11::buttons()
{
    QFETCH(QString, commands);
    QFETCH(QString, reports);
    typeAndCompare(commands, reports);
}

// The position is where the pointer is when the event is read, which is
// where it was pressed as long as the event loop keeps up.
void TestInputX11::positionOfEachButtonEvent()
{
    GlobalInputHook hook(false);
    Recorder r;
    hook.setMouseCallback(&Recorder::onButton, &r);
    QVERIFY(xdotool("mousemove 10 20 mousedown 1"));
    QTRY_COMPARE(r.text(), QString("F0+@10,20"));
    QVERIFY(xdotool("mousemove 200 150 mouseup 1"));
    QTRY_COMPARE(r.text(), QString("F0+@10,20 F0-@200,150"));
    hook.setMouseCallback(nullptr, nullptr);
}

// A receiver that ends the capture stops the events at once, and capture
// can be installed again.
void TestInputX11::receiverMayEndCapture()
{
    GlobalInputHook hook(false);
    Quitter quitter;
    quitter.hook = &hook;
    hook.setKeyboardCallback(&Quitter::onKey, &quitter);
    QVERIFY(xdotool("key a b c"));
    QTest::qWait(300);
    QCOMPARE(quitter.recorder.text(), QString("04+"));
    QVERIFY(!InputHookPlatform::installed());

    QVERIFY(hook.installHooks());
    // The release of a was never seen: its next press is taken for a repeat.
    QVERIFY(xdotool("key a " + Sentinel));
    QTRY_VERIFY(quitter.recorder.text().endsWith(SentinelReports));
    QCOMPARE(quitter.recorder.text(), "04+ 04- " + SentinelReports);
    hook.setKeyboardCallback(nullptr, nullptr);
}

void TestInputX11::noDisplay_data()
{
    QTest::addColumn<QByteArray>("displayName");
    QTest::newRow("unset") << QByteArray();
    QTest::newRow("no server") << QByteArray(":9999");
    QTest::newRow("malformed") << QByteArray("no such display");
}

// Without an X server installation fails without a word and without events.
void TestInputX11::noDisplay()
{
    QFETCH(QByteArray, displayName);
    if (displayName.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", displayName);
    GlobalInputHook hook(false);
    QVERIFY(!InputHookPlatform::installed());
    QVERIFY(!hook.installHooks());
    hook.uninstallHooks();
}

// The window's receivers hand the events to the scene's detectKeyboard and
// detectMouse; with no window as context they do nothing.
void TestInputX11::reachesTheScene()
{
    Widget w;
    myQQuickView* view = w.controller->view;
    view->setSource(QUrl("qrc:/inputtests/qml/InputProbe.qml"));
    QCOMPARE(view->status(), QQuickWidget::Ready);
    auto calls = [view] { return view->rootObject()->property("calls").toStringList(); };

    GlobalInputHook hook(view->hwMode == 0);
    hook.setKeyboardCallback(&Widget::keyboardHookCallback, &w);
    hook.setMouseCallback(&Widget::mouseHookCallback, &w);
    QVERIFY(xdotool("mousemove 40 50 click 1 key a"));
    const QStringList expected{"detectMouse true 240 40 50", "detectMouse false 240 40 50",
                               "detectKeyboard true 4", "detectKeyboard false 4"};
    QTRY_COMPARE(calls(), expected);

    Widget::keyboardHookCallback(4, 1, nullptr);
    Widget::mouseHookCallback(240, 1, 1, 1, nullptr);
    QTest::qWait(50);
    QCOMPARE(calls(), expected);

    hook.uninstallHooks();
    hook.setKeyboardCallback(nullptr, nullptr);
    hook.setMouseCallback(nullptr, nullptr);
}

QTEST_MAIN(TestInputX11)
#include "tst_input_x11.moc"
