// The portable part of the key and button capture, fed the values a Windows
// low-level hook delivers, with a stand-in back end.

#include "Recorder.h"
#include "StubPlatform.h"

#include "input/GlobalInputHook.h"

#include <QTest>

#include <set>
#include <utility>

namespace {

struct KeyEvent
{
    int nCode;
    quintptr message;
    quint32 scan;
    quint32 flags;
};

constexpr quint32 Ext = LowLevelInput::Extended;
constexpr quint32 Alt = LowLevelInput::AltDown;

KeyEvent down(quint32 scan, quint32 flags = 0) { return {0, LowLevelInput::KeyDown, scan, flags}; }
KeyEvent up(quint32 scan, quint32 flags = 0)
{
    return {0, LowLevelInput::KeyUp, scan, flags | LowLevelInput::Up};
}
KeyEvent sysDown(quint32 scan, quint32 flags = 0)
{
    return {0, LowLevelInput::SysKeyDown, scan, flags};
}
KeyEvent sysUp(quint32 scan, quint32 flags = 0)
{
    return {0, LowLevelInput::SysKeyUp, scan, flags | LowLevelInput::Up};
}

void send(const KeyEvent& e)
{
    GlobalInputHook::keyboardEvent(e.nCode, e.message, e.scan, e.flags);
}

}

using KeyEvents = QVector<KeyEvent>;
Q_DECLARE_METATYPE(KeyEvents)

class TestInputCore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void table_data();
    void table();
    void onlyTableKeysReport();
    void sequences_data();
    void sequences();
    void nonUsHash_data();
    void nonUsHash();
    void newestInstanceBuildsTheTables();
    void receivers();
    void buttons_data();
    void buttons();
    void installation();
};

void TestInputCore::init()
{
    StubPlatform::reset();
}

// Every test leaves every key up, so that the module-wide key state of one
// test cannot hide a report in the next.
void TestInputCore::cleanup()
{
    for (int usage = 0; usage < 256; ++usage)
        QVERIFY2(GlobalInputHook::keyDownState()[usage] == 0, qPrintable(Recorder::hex(usage)));
}

// The keyboard's layout of physical keys: scan code, extended flag, USB usage.
void TestInputCore::table_data()
{
    QTest::addColumn<int>("scan");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<int>("usage");
    auto row = [](int scan, bool extended, int usage) {
        QTest::addRow("%02X%s", scan, extended ? " ext" : "") << scan << extended << usage;
    };
    auto run = [&](int firstScan, std::initializer_list<int> usages) {
        int scan = firstScan;
        for (int usage : usages)
            row(scan++, false, usage);
    };
    row(0x01, false, 0x29);
    run(0x02, {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27});
    run(0x0C, {0x2D, 0x2E, 0x2A, 0x2B});
    run(0x10, {0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13});
    run(0x1A, {0x2F, 0x30, 0x28});
    row(0x1C, true, 0x58);
    row(0x1D, false, 0xE0);
    row(0x1D, true, 0xE4);
    run(0x1E, {0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F});
    run(0x27, {0x33, 0x34, 0x35, 0xE1, 0x31});
    run(0x2C, {0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10});
    run(0x33, {0x36, 0x37, 0x38});
    row(0x35, true, 0x54);
    row(0x36, true, 0xE5);
    row(0x37, false, 0x55);
    row(0x37, true, 0x46);
    row(0x38, false, 0xE2);
    row(0x38, true, 0xE6);
    run(0x39, {0x2C, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43});
    row(0x45, false, 0x48);
    row(0x45, true, 0x53);
    row(0x46, false, 0x47);
    row(0x47, false, 0x5F);
    row(0x47, true, 0x4A);
    row(0x48, false, 0x60);
    row(0x48, true, 0x52);
    row(0x49, false, 0x61);
    row(0x49, true, 0x4B);
    row(0x4A, false, 0x56);
    row(0x4B, false, 0x5C);
    row(0x4B, true, 0x50);
    row(0x4C, false, 0x5D);
    row(0x4D, false, 0x5E);
    row(0x4D, true, 0x4F);
    row(0x4E, false, 0x57);
    row(0x4F, false, 0x59);
    row(0x4F, true, 0x4D);
    row(0x50, false, 0x5A);
    row(0x50, true, 0x51);
    row(0x51, false, 0x5B);
    row(0x51, true, 0x4E);
    row(0x52, false, 0x62);
    row(0x52, true, 0x49);
    row(0x53, false, 0x63);
    row(0x53, true, 0x4C);
    run(0x56, {0x64, 0x44, 0x45});
    row(0x5B, true, 0xE3);
    row(0x5D, true, 0x65);
    row(0x6E, false, 0x72);
}

// One report per change of state: a repeated press and a repeated release
// report nothing.
void TestInputCore::table()
{
    QFETCH(int, scan);
    QFETCH(bool, extended);
    QFETCH(int, usage);
    GlobalInputHook hook(false);
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    const quint32 flags = extended ? Ext : 0;

    send(down(scan, flags));
    send(down(scan, flags));
    QCOMPARE(GlobalInputHook::keyDownState()[usage], quint8(1));
    send(up(scan, flags));
    send(up(scan, flags));
    const QString u = Recorder::hex(usage);
    QCOMPARE(r.text(), u + "+ " + u + "-");
}

// Every other scan code, both with and without the extended flag, is silent;
// codes above FFH are not cut down to a byte.
void TestInputCore::onlyTableKeysReport()
{
    GlobalInputHook hook(false);
    QCOMPARE(GlobalInputHook::scanToVirtualKey().size(), std::size_t(105));
    QCOMPARE(GlobalInputHook::virtualKeyToUsage().size(), std::size_t(105));
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);

    std::set<std::pair<quint32, bool>> reporting;
    for (quint32 scan = 0; scan <= 0x3FF; ++scan) {
        for (bool extended : {false, true}) {
            r.clear();
            send(down(scan, extended ? Ext : 0));
            send(up(scan, extended ? Ext : 0));
            if (!r.reports.isEmpty()) {
                QCOMPARE(r.reports.size(), 2);
                reporting.insert({scan, extended});
            }
        }
    }
    std::set<std::pair<quint32, bool>> expected;
    for (const auto& entry : GlobalInputHook::scanToVirtualKey())
        expected.insert({quint32(entry.first >> 8), (entry.first & 1) != 0});
    expected.insert({0x46, true}); // Break
    QCOMPARE(reporting.size(), expected.size());
    QVERIFY(reporting == expected);
}

void TestInputCore::sequences_data()
{
    QTest::addColumn<KeyEvents>("events");
    QTest::addColumn<QString>("reports");

    QTest::newRow("a held key reports once")
            << KeyEvents{down(0x1E), down(0x1E), down(0x1E), up(0x1E)} << "04+ 04-";
    QTest::newRow("a release without a press reports nothing")
            << KeyEvents{up(0x1E), up(0x1C, Ext)} << "";
    QTest::newRow("Break alone is Pause")
            << KeyEvents{down(0x46, Ext), up(0x46, Ext)} << "48+ 48-";
    QTest::newRow("Pause and Break share one state")
            << KeyEvents{down(0x45), down(0x46, Ext), up(0x46, Ext), up(0x45)} << "48+ 48-";
    QTest::newRow("Scroll Lock is 46H without the extended flag")
            << KeyEvents{down(0x46), up(0x46)} << "47+ 47-";
    QTest::newRow("Alt+SysRq is Print Screen")
            << KeyEvents{sysDown(0x38, Alt), sysDown(0x54, Alt), sysUp(0x54, Alt), up(0x38)}
            << "E2+ 46+ 46- E2-";
    QTest::newRow("SysRq pressed with Alt, released as Print Screen")
            << KeyEvents{sysDown(0x54, Alt), up(0x37, Ext)} << "46+ 46-";
    QTest::newRow("Print Screen pressed, released as SysRq")
            << KeyEvents{down(0x37, Ext), sysUp(0x54, Alt)} << "46+ 46-";
    QTest::newRow("54H without Alt is no key")
            << KeyEvents{down(0x54), up(0x54)} << "";
    QTest::newRow("keypad 7 whatever Num Lock says")
            << KeyEvents{down(0x47), up(0x47), down(0x45, Ext), up(0x45, Ext), down(0x47), up(0x47)}
            << "5F+ 5F- 53+ 53- 5F+ 5F-";
    // With Num Lock on, Windows wraps a shifted keypad key in a synthetic
    // release and press of the left Shift, with the extended flag.
    QTest::newRow("the synthetic left Shift is ignored")
            << KeyEvents{down(0x2A), up(0x2A, Ext), down(0x47), up(0x47), down(0x2A, Ext), up(0x2A)}
            << "E1+ 5F+ 5F- E1-";
    QTest::newRow("Home")
            << KeyEvents{down(0x47, Ext), up(0x47, Ext)} << "4A+ 4A-";
    QTest::newRow("the two Enter keys are two keys")
            << KeyEvents{down(0x1C), down(0x1C, Ext), up(0x1C), up(0x1C, Ext)}
            << "28+ 58+ 28- 58-";
    QTest::newRow("the right Windows key reports nothing")
            << KeyEvents{down(0x5C, Ext), up(0x5C, Ext)} << "";
    QTest::newRow("right Shift without the extended flag is no key")
            << KeyEvents{down(0x36), up(0x36)} << "";
    // AltGr: Windows sends a left Ctrl with scan code 21DH before right Alt.
    QTest::newRow("scan codes above FFH are no key")
            << KeyEvents{down(0x21D), down(0x38, Ext), up(0x21D), up(0x38, Ext), down(0x11E), up(0x11E)}
            << "E6+ E6-";
    QTest::newRow("WM_SYSKEYDOWN and WM_SYSKEYUP")
            << KeyEvents{sysDown(0x3E, Alt), sysUp(0x3E, Alt)} << "3D+ 3D-";
    QTest::newRow("injected events count")
            << KeyEvents{down(0x1E, LowLevelInput::Injected), up(0x1E, LowLevelInput::Injected)}
            << "04+ 04-";
    QTest::newRow("a press with a code other than HC_ACTION is a release")
            << KeyEvents{down(0x1E), {3, LowLevelInput::KeyDown, 0x1E, 0}} << "04+ 04-";
}

void TestInputCore::sequences()
{
    QFETCH(KeyEvents, events);
    QFETCH(QString, reports);
    GlobalInputHook hook(false);
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    for (const KeyEvent& e : events)
        send(e);
    QCOMPARE(r.text(), reports);
}

void TestInputCore::nonUsHash_data()
{
    QTest::addColumn<bool>("useNonUsHash");
    QTest::addColumn<QString>("reports");
    QTest::newRow("backslash") << false << "31+ 31-";
    QTest::newRow("non-US #") << true << "32+ 32-";
}

void TestInputCore::nonUsHash()
{
    QFETCH(bool, useNonUsHash);
    QFETCH(QString, reports);
    GlobalInputHook hook(useNonUsHash);
    QCOMPARE(hook.useNonUsHash(), useNonUsHash);
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    send(down(0x2B));
    send(up(0x2B));
    QCOMPARE(r.text(), reports);
}

// Each construction rebuilds the shared tables from scratch for its own
// layout flag; once it is gone, no dangling current instance is left.
void TestInputCore::newestInstanceBuildsTheTables()
{
    GlobalInputHook first(true);
    QCOMPARE(GlobalInputHook::current(), &first);
    Recorder r;
    first.setKeyboardCallback(&Recorder::onKey, &r);
    {
        GlobalInputHook second(false);
        QCOMPARE(GlobalInputHook::current(), &second);
        QCOMPARE(GlobalInputHook::scanToVirtualKey().size(), std::size_t(105));
        QCOMPARE(GlobalInputHook::virtualKeyToUsage().size(), std::size_t(105));
        send(down(0x2B));
        send(up(0x2B));
    }
    QCOMPARE(GlobalInputHook::current(), nullptr);
    QCOMPARE(r.text(), QString("31+ 31-"));
}

// A receiver gets its own context; a new registration replaces the old one;
// without a receiver the key state is still followed.
void TestInputCore::receivers()
{
    GlobalInputHook hook(false);
    Recorder first, second;
    hook.setKeyboardCallback(&Recorder::onKey, &first);
    hook.setMouseCallback(&Recorder::onButton, &first);
    send(down(0x1E));
    GlobalInputHook::mouseEvent(LowLevelInput::LeftDown, 1, 2);
    hook.setKeyboardCallback(&Recorder::onKey, &second);
    hook.setMouseCallback(&Recorder::onButton, &second);
    send(up(0x1E));
    GlobalInputHook::mouseEvent(LowLevelInput::LeftUp, 3, 4);
    QCOMPARE(first.text(), QString("04+ F0+@1,2"));
    QCOMPARE(second.text(), QString("04- F0-@3,4"));

    hook.setKeyboardCallback(nullptr, nullptr);
    hook.setMouseCallback(nullptr, nullptr);
    send(down(0x1F));
    GlobalInputHook::mouseEvent(LowLevelInput::RightDown, 0, 0);
    QCOMPARE(GlobalInputHook::keyDownState()[0x16], quint8(1));
    hook.setKeyboardCallback(&Recorder::onKey, &second);
    send(down(0x1F));
    send(up(0x1F));
    QCOMPARE(second.text(), QString("04- F0-@3,4 16-"));
}

void TestInputCore::buttons_data()
{
    QTest::addColumn<quintptr>("message");
    QTest::addColumn<QString>("reports");
    QTest::newRow("left down") << quintptr(0x0201) << "F0+@-1920,-5 F0+@-1920,-5";
    QTest::newRow("left up") << quintptr(0x0202) << "F0-@-1920,-5 F0-@-1920,-5";
    QTest::newRow("left double click") << quintptr(0x0203) << "";
    QTest::newRow("right down") << quintptr(0x0204) << "F1+@-1920,-5 F1+@-1920,-5";
    QTest::newRow("right up") << quintptr(0x0205) << "F1-@-1920,-5 F1-@-1920,-5";
    QTest::newRow("right double click") << quintptr(0x0206) << "";
    QTest::newRow("middle down") << quintptr(0x0207) << "F2+@-1920,-5 F2+@-1920,-5";
    QTest::newRow("middle up") << quintptr(0x0208) << "F2-@-1920,-5 F2-@-1920,-5";
    QTest::newRow("middle double click") << quintptr(0x0209) << "";
    QTest::newRow("move") << quintptr(0x0200) << "";
    QTest::newRow("wheel") << quintptr(0x020A) << "";
    QTest::newRow("X button down") << quintptr(0x020B) << "";
    QTest::newRow("X button up") << quintptr(0x020C) << "";
    QTest::newRow("horizontal wheel") << quintptr(0x020E) << "";
    QTest::newRow("below the range") << quintptr(0x01FF) << "";
    QTest::newRow("far outside") << ~quintptr(0) << "";
}

// Buttons are not filtered: the same message twice reports twice.
void TestInputCore::buttons()
{
    QFETCH(quintptr, message);
    QFETCH(QString, reports);
    GlobalInputHook hook(false);
    Recorder r;
    hook.setMouseCallback(&Recorder::onButton, &r);
    GlobalInputHook::mouseEvent(message, -1920, -5);
    GlobalInputHook::mouseEvent(message, -1920, -5);
    QCOMPARE(r.text(), reports);
}

// Construction installs; installing again replaces the installation; a
// failure is reported by installHooks only; destruction removes it.
void TestInputCore::installation()
{
    {
        GlobalInputHook hook(false);
        QCOMPARE(StubPlatform::installs, 1);
        QVERIFY(hook.installHooks());
        QCOMPARE(StubPlatform::uninstalls, 1);
        QCOMPARE(StubPlatform::installs, 2);
        hook.uninstallHooks();
        hook.uninstallHooks();
        QCOMPARE(StubPlatform::uninstalls, 2);

        StubPlatform::failInstall = true;
        QVERIFY(!hook.installHooks());
        QCOMPARE(StubPlatform::uninstalls, 2);
        StubPlatform::failInstall = false;
        QVERIFY(hook.installHooks());
    }
    QCOMPARE(StubPlatform::uninstalls, 3);
}

QTEST_APPLESS_MAIN(TestInputCore)
#include "tst_input_core.moc"
