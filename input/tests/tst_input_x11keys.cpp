// X key codes and pointer buttons turned into what a Windows low-level hook
// reports for the same keys, and the usage codes that then come out.

#include "Recorder.h"
#include "StubPlatform.h"

#include "input/GlobalInputHook.h"
#include "input/X11KeyTranslation.h"

#include <QTest>

#include <climits>
#include <map>
#include <utility>

namespace {

// X key codes of a pc105 keyboard (Linux input code + 8).
constexpr int XLeftCtrl = 37, XLeftAlt = 64, XRightAlt = 108, XPrint = 107, XPause = 127;
constexpr int XA = 38;

QString describe(const LowLevelKeyEvent& e)
{
    QString s = Recorder::hex(quint8(e.scanCode));
    if (e.flags & LowLevelInput::Extended)
        s += 'e';
    if (e.flags & LowLevelInput::AltDown)
        s += 'a';
    const bool down = (e.message & ~quintptr(4)) == LowLevelInput::KeyDown;
    return s + (down ? '+' : '-');
}

}

using KeyPresses = QVector<QPair<int, bool>>;
Q_DECLARE_METATYPE(KeyPresses)

class TestInputX11Keys : public QObject
{
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void everyTableKeyHasOneXKeyCode();
    void oddKeyCodes_data();
    void oddKeyCodes();
    void modifiers_data();
    void modifiers();
    void altHeldAtStart();
    void buttons_data();
    void buttons();
};

void TestInputX11Keys::keys_data()
{
    QTest::addColumn<int>("xKeyCode");
    QTest::addColumn<int>("scan");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<int>("usage"); // -1: not reported

    QTest::newRow("Escape") << 9 << 0x01 << false << 0x29;
    QTest::newRow("a") << 38 << 0x1E << false << 0x04;
    QTest::newRow("backslash") << 51 << 0x2B << false << 0x31;
    QTest::newRow("Return") << 36 << 0x1C << false << 0x28;
    QTest::newRow("keypad Enter") << 104 << 0x1C << true << 0x58;
    QTest::newRow("left Control") << 37 << 0x1D << false << 0xE0;
    QTest::newRow("right Control") << 105 << 0x1D << true << 0xE4;
    QTest::newRow("left Shift") << 50 << 0x2A << false << 0xE1;
    QTest::newRow("right Shift") << 62 << 0x36 << true << 0xE5;
    QTest::newRow("keypad /") << 106 << 0x35 << true << 0x54;
    QTest::newRow("keypad *") << 63 << 0x37 << false << 0x55;
    QTest::newRow("Print Screen") << 107 << 0x37 << true << 0x46;
    QTest::newRow("left Alt") << 64 << 0x38 << false << 0xE2;
    QTest::newRow("right Alt") << 108 << 0x38 << true << 0xE6;
    QTest::newRow("F10") << 76 << 0x44 << false << 0x43;
    QTest::newRow("Num Lock") << 77 << 0x45 << true << 0x53;
    QTest::newRow("Pause") << 127 << 0x45 << false << 0x48;
    QTest::newRow("Scroll Lock") << 78 << 0x46 << false << 0x47;
    QTest::newRow("keypad 7") << 79 << 0x47 << false << 0x5F;
    QTest::newRow("Home") << 110 << 0x47 << true << 0x4A;
    QTest::newRow("keypad .") << 91 << 0x53 << false << 0x63;
    QTest::newRow("Delete") << 119 << 0x53 << true << 0x4C;
    QTest::newRow("102nd key") << 94 << 0x56 << false << 0x64;
    QTest::newRow("F11") << 95 << 0x57 << false << 0x44;
    QTest::newRow("F12") << 96 << 0x58 << false << 0x45;
    QTest::newRow("left Windows") << 133 << 0x5B << true << 0xE3;
    QTest::newRow("right Windows") << 134 << 0x5C << true << -1;
    QTest::newRow("Menu") << 135 << 0x5D << true << 0x65;
    QTest::newRow("F13") << 191 << 0x64 << false << -1;
    QTest::newRow("F23") << 201 << 0x6E << false << 0x72;
    QTest::newRow("F24") << 202 << 0x76 << false << -1;
    QTest::newRow("Mute") << 121 << 0x20 << true << -1;
    QTest::newRow("keypad =") << 125 << 0x59 << false << -1;
}

void TestInputX11Keys::keys()
{
    QFETCH(int, xKeyCode);
    QFETCH(int, scan);
    QFETCH(bool, extended);
    QFETCH(int, usage);

    const auto key = windowsScanCodeForXKeyCode(xKeyCode);
    QVERIFY(key);
    QCOMPARE(int(key->scan), scan);
    QCOMPARE(key->extended, extended);

    GlobalInputHook hook(false);
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    X11KeyTranslator translator;
    for (bool pressed : {true, false}) {
        const auto e = translator.translate(xKeyCode, pressed);
        QVERIFY(e);
        GlobalInputHook::keyboardEvent(LowLevelInput::Action, e->message, e->scanCode, e->flags);
    }
    const QString u = usage < 0 ? QString() : Recorder::hex(quint8(usage));
    QCOMPARE(r.text(), usage < 0 ? QString() : u + "+ " + u + "-");
}

// Every key of the usage table can be reached from exactly one X key code,
// and no two X key codes stand for the same Windows key.
void TestInputX11Keys::everyTableKeyHasOneXKeyCode()
{
    GlobalInputHook hook(false);
    std::map<std::pair<int, bool>, int> xKeyCodeOf;
    for (int code = 0; code < 256; ++code) {
        const auto key = windowsScanCodeForXKeyCode(code);
        if (!key)
            continue;
        const auto id = std::make_pair(int(key->scan), key->extended);
        QVERIFY2(!xKeyCodeOf.count(id),
                 qPrintable(QString("X key codes %1 and %2").arg(xKeyCodeOf[id]).arg(code)));
        xKeyCodeOf[id] = code;
    }
    for (const auto& entry : GlobalInputHook::scanToVirtualKey()) {
        const auto id = std::make_pair(entry.first >> 8, (entry.first & 1) != 0);
        QVERIFY2(xKeyCodeOf.count(id),
                 qPrintable(QString("scan %1%2").arg(id.first, 0, 16).arg(id.second ? " ext" : "")));
    }
}

void TestInputX11Keys::oddKeyCodes_data()
{
    QTest::addColumn<int>("xKeyCode");
    QTest::newRow("INT_MIN") << INT_MIN;
    QTest::newRow("-1") << -1;
    QTest::newRow("0") << 0;
    QTest::newRow("7") << 7;
    QTest::newRow("no Linux key (8)") << 8;
    QTest::newRow("no Linux key (92)") << 92;
    QTest::newRow("256") << 256;
    QTest::newRow("INT_MAX") << INT_MAX;
}

// Key codes outside the table translate to nothing and leave the Alt state
// alone.
void TestInputX11Keys::oddKeyCodes()
{
    QFETCH(int, xKeyCode);
    QVERIFY(!windowsScanCodeForXKeyCode(xKeyCode));
    X11KeyTranslator translator;
    translator.translate(XLeftAlt, true);
    QVERIFY(!translator.translate(xKeyCode, false));
    QVERIFY(translator.altDown());
}

void TestInputX11Keys::modifiers_data()
{
    QTest::addColumn<KeyPresses>("presses");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reports");
    auto d = [](int code) { return qMakePair(code, true); };
    auto u = [](int code) { return qMakePair(code, false); };

    QTest::newRow("Print Screen")
            << KeyPresses{d(XPrint), u(XPrint)} << "37e+ 37e-" << "46+ 46-";
    QTest::newRow("Alt+Print Screen is SysRq")
            << KeyPresses{d(XLeftAlt), d(XPrint), u(XPrint), u(XLeftAlt)}
            << "38a+ 54a+ 54a- 38-" << "E2+ 46+ 46- E2-";
    QTest::newRow("Alt released before Print Screen")
            << KeyPresses{d(XLeftAlt), d(XPrint), u(XLeftAlt), u(XPrint)}
            << "38a+ 54a+ 38- 37e-" << "E2+ 46+ E2- 46-";
    QTest::newRow("right Alt")
            << KeyPresses{d(XRightAlt), d(XPrint), u(XPrint), u(XRightAlt)}
            << "38ea+ 54a+ 54a- 38e-" << "E6+ 46+ 46- E6-";
    QTest::newRow("one of two Alt keys released")
            << KeyPresses{d(XLeftAlt), d(XRightAlt), u(XLeftAlt), d(XPrint), u(XPrint), u(XRightAlt)}
            << "38a+ 38ea+ 38a- 54a+ 54a- 38e-" << "E2+ E6+ E2- 46+ 46- E6-";
    QTest::newRow("Alt flag on every key while Alt is held")
            << KeyPresses{d(XLeftAlt), d(XA), u(XA), u(XLeftAlt), d(XA), u(XA)}
            << "38a+ 1Ea+ 1Ea- 38- 1E+ 1E-" << "E2+ 04+ 04- E2- 04+ 04-";
    QTest::newRow("Ctrl+Pause is Pause")
            << KeyPresses{d(XLeftCtrl), d(XPause), u(XPause), u(XLeftCtrl)}
            << "1D+ 45+ 45- 1D-" << "E0+ 48+ 48- E0-";
}

// The events carry the flags and messages Windows would give them: the Up
// flag on releases, and the WM_SYSKEY messages while Alt is held.
void TestInputX11Keys::modifiers()
{
    QFETCH(KeyPresses, presses);
    QFETCH(QString, events);
    QFETCH(QString, reports);
    GlobalInputHook hook(false);
    Recorder r;
    hook.setKeyboardCallback(&Recorder::onKey, &r);
    X11KeyTranslator translator;
    QStringList seen;
    for (const auto& press : presses) {
        const auto e = translator.translate(press.first, press.second);
        QVERIFY(e);
        seen << describe(*e);
        QCOMPARE(bool(e->flags & LowLevelInput::Up), !press.second);
        const bool alt = e->flags & LowLevelInput::AltDown;
        QCOMPARE(e->message, press.second ? (alt ? LowLevelInput::SysKeyDown : LowLevelInput::KeyDown)
                                          : (alt ? LowLevelInput::SysKeyUp : LowLevelInput::KeyUp));
        GlobalInputHook::keyboardEvent(LowLevelInput::Action, e->message, e->scanCode, e->flags);
    }
    QCOMPARE(seen.join(' '), events);
    QCOMPARE(r.text(), reports);
}

// An Alt key already held when capture starts still makes SysRq.
void TestInputX11Keys::altHeldAtStart()
{
    X11KeyTranslator translator;
    translator.setHeld(XA, true);
    QVERIFY(!translator.altDown());
    translator.setHeld(XRightAlt, true);
    const auto e = translator.translate(XPrint, true);
    QVERIFY(e);
    QCOMPARE(describe(*e), QString("54a+"));
}

void TestInputX11Keys::buttons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<quintptr>("press");
    QTest::addColumn<quintptr>("release");
    QTest::addColumn<QString>("reports");
    QTest::newRow("left") << 1 << quintptr(0x0201) << quintptr(0x0202) << "F0+@7,8 F0-@7,8";
    QTest::newRow("middle") << 2 << quintptr(0x0207) << quintptr(0x0208) << "F2+@7,8 F2-@7,8";
    QTest::newRow("right") << 3 << quintptr(0x0204) << quintptr(0x0205) << "F1+@7,8 F1-@7,8";
    for (int button : {4, 5, 6, 7, 8, 9, 0, -1, 256})
        QTest::addRow("button %d", button) << button << quintptr(0) << quintptr(0) << "";
}

void TestInputX11Keys::buttons()
{
    QFETCH(int, button);
    QFETCH(quintptr, press);
    QFETCH(quintptr, release);
    QFETCH(QString, reports);
    QCOMPARE(windowsMouseMessageForXButton(button, true), press);
    QCOMPARE(windowsMouseMessageForXButton(button, false), release);

    GlobalInputHook hook(false);
    Recorder r;
    hook.setMouseCallback(&Recorder::onButton, &r);
    GlobalInputHook::mouseEvent(press, 7, 8);
    GlobalInputHook::mouseEvent(release, 7, 8);
    QCOMPARE(r.text(), reports);
}

QTEST_APPLESS_MAIN(TestInputX11Keys)
#include "tst_input_x11keys.moc"
