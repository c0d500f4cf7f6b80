// The window's own key events as the fallback source of key reports: Qt key
// events carrying X key codes, delivered to a window, come out of the
// capture's receiver as the USB usage codes the capture itself would report.

#include "Recorder.h"
#include "StubPlatform.h"

#include "input/GlobalInputHook.h"
#include "input/InputHookPlatform.h"
#include "input/WindowKeyFallback.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

namespace {

// X key codes (Linux input event code + 8).
constexpr int XA = 30 + 8, XB = 48 + 8, XLeftAlt = 56 + 8, XRightCtrl = 97 + 8;
constexpr int XPrint = 99 + 8, XFn = 464 - 256; // no Windows scan code

}

class TestInputWindowKeys : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void needed_data();
    void needed();
    void keys_data();
    void keys();
    void autoRepeatIsDropped();
    void focusLossReleasesHeldKeys();
    void detachedWindowReportsNothing();

private:
    void key(QWindow* window, int xKeyCode, bool pressed, bool autoRepeat = false);

    Recorder recorder;
};

void TestInputWindowKeys::init()
{
    StubPlatform::reset();
    StubPlatform::failInstall = true;
    recorder.clear();
}

void TestInputWindowKeys::cleanup()
{
    for (int usage = 0; usage < 256; ++usage)
        QVERIFY2(GlobalInputHook::keyDownState()[usage] == 0, qPrintable(Recorder::hex(usage)));
}

void TestInputWindowKeys::key(QWindow* window, int xKeyCode, bool pressed, bool autoRepeat)
{
    QKeyEvent e(pressed ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                quint32(xKeyCode), 0, 0, QString(), autoRepeat);
    QGuiApplication::sendEvent(window, &e);
}

void TestInputWindowKeys::needed_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("needed");
    QTest::newRow("X11, capture in place") << true << "xcb" << false;
    QTest::newRow("X11 without XInput 2.2") << false << "xcb" << true;
    QTest::newRow("Wayland beside Xwayland") << true << "wayland" << true;
    QTest::newRow("Wayland, EGL platform") << true << "wayland-egl" << true;
    QTest::newRow("no capture at all") << false << "offscreen" << true;
}

void TestInputWindowKeys::needed()
{
    QFETCH(bool, installed);
    QFETCH(QString, platform);
    QFETCH(bool, needed);
    QCOMPARE(WindowKeyFallback::needed(installed, platform), needed);
}

// Event sequences as (X key code, pressed) pairs and what the receiver gets.
void TestInputWindowKeys::keys_data()
{
    QTest::addColumn<QVector<int>>("events"); // +code press, -code release
    QTest::addColumn<QString>("reports");
    QTest::newRow("A") << QVector<int>{XA, -XA} << "04+ 04-";
    QTest::newRow("interleaved") << QVector<int>{XA, XB, -XA, -XB} << "04+ 05+ 04- 05-";
    QTest::newRow("right Ctrl (extended)") << QVector<int>{XRightCtrl, -XRightCtrl} << "E4+ E4-";
    QTest::newRow("Print Screen") << QVector<int>{XPrint, -XPrint} << "46+ 46-";
    QTest::newRow("Alt + Print Screen (SysRq)")
            << QVector<int>{XLeftAlt, XPrint, -XPrint, -XLeftAlt} << "E2+ 46+ 46- E2-";
    QTest::newRow("key without a scan code") << QVector<int>{XFn, -XFn} << "";
    QTest::newRow("no native code") << QVector<int>{0} << "";
    QTest::newRow("release never pressed") << QVector<int>{-XB} << "";
}

void TestInputWindowKeys::keys()
{
    QFETCH(QVector<int>, events);
    QFETCH(QString, reports);
    GlobalInputHook hook(false);
    QVERIFY(!InputHookPlatform::installed());
    hook.setKeyboardCallback(&Recorder::onKey, &recorder);
    QWindow window;
    WindowKeyFallback fallback;
    fallback.attach(&window);
    for (int e : events)
        key(&window, qAbs(e), e > 0);
    QCOMPARE(recorder.text(), reports);
}

void TestInputWindowKeys::autoRepeatIsDropped()
{
    GlobalInputHook hook(false);
    hook.setKeyboardCallback(&Recorder::onKey, &recorder);
    QWindow window;
    WindowKeyFallback fallback;
    fallback.attach(&window);
    key(&window, XA, true);
    for (int i = 0; i < 3; ++i) {
        key(&window, XA, false, true);
        key(&window, XA, true, true);
    }
    key(&window, XA, false);
    QCOMPARE(recorder.text(), QString("04+ 04-"));
}

// A key released while another window has the focus: its release never
// comes to this window, so the fallback gives it when the focus goes.
void TestInputWindowKeys::focusLossReleasesHeldKeys()
{
    GlobalInputHook hook(false);
    hook.setKeyboardCallback(&Recorder::onKey, &recorder);
    QWindow window;
    WindowKeyFallback fallback;
    fallback.attach(&window);
    key(&window, XA, true);
    key(&window, XB, true);
    key(&window, XB, false);
    QFocusEvent out(QEvent::FocusOut);
    QGuiApplication::sendEvent(&window, &out);
    QCOMPARE(recorder.text(), QString("04+ 05+ 05- 04-"));
    // Pressed again after the focus came back: reported again.
    recorder.clear();
    key(&window, XA, true);
    key(&window, XA, false);
    QCOMPARE(recorder.text(), QString("04+ 04-"));
}

void TestInputWindowKeys::detachedWindowReportsNothing()
{
    GlobalInputHook hook(false);
    hook.setKeyboardCallback(&Recorder::onKey, &recorder);
    QWindow window;
    WindowKeyFallback fallback;
    fallback.attach(&window);
    key(&window, XA, true);
    fallback.attach(nullptr); // releases what it reported as held
    key(&window, XB, true);
    key(&window, XB, false);
    QCOMPARE(recorder.text(), QString("04+ 04-"));
    QCOMPARE(fallback.window(), nullptr);
}

QTEST_MAIN(TestInputWindowKeys)
#include "tst_input_windowkeys.moc"
