#include "BridgeFixture.h"

#include "app/StartupEnvironment.h"
#include "bridge/DeviceConversions.h"
#include "bridge/HardwareLimits.h"
#include "bridge/WindowNotices.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

// A step on the fixture: the call under test, or the check after it.
using Step = std::function<void(BridgeFixture&)>;
using Call = Step;
using Check = Step;
Q_DECLARE_METATYPE(Step)

namespace {

QString hex(const QByteArray& b)
{
    return b.toHex(' ');
}

// What the keyboard received, as "F <hex>" (request) and "W <hex>" (data report).
QStringList received()
{
    QStringList out;
    for (const q3sim::TraceEntry& e : q3sim::trace()) {
        const QByteArray bytes(reinterpret_cast<const char*>(e.data.data()), int(e.data.size()));
        if (e.call == "hid_send_feature_report")
            out << "F " + hex(bytes);
        else if (e.call == "hid_write")
            out << "W " + hex(bytes);
    }
    return out;
}

QStringList dataReports(const QByteArray& payload)
{
    QStringList out;
    for (int off = 0; off < payload.size(); off += 64)
        out << "W 00 " + hex(payload.mid(off, 64));
    return out;
}

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList l;
    for (int v : values)
        l.append(v);
    return l;
}

QVariantList repeated(int value, int count)
{
    QVariantList l;
    for (int i = 0; i < count; ++i)
        l.append(value);
    return l;
}

QVariantList asStrings(const QVariantList& l)
{
    QVariantList out;
    for (const QVariant& v : l)
        out.append(v.toString());
    return out;
}

}

class TestBridge : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void deviceCalls_data();
    void deviceCalls();
    void readsFromTheProfile();
    void syncFW();
    void syncFWIgnoresUnknownProfile();
    void refusedWritesChangeNothing_data();
    void refusedWritesChangeNothing();
    void untouchedBrightnessIsKept_data();
    void untouchedBrightnessIsKept();
    void firmwareVersionText_data();
    void firmwareVersionText();
    void hardwareLimits_data();
    void hardwareLimits();
    void sceneCallsAreQueued();
    void slotOrder();
};

void TestBridge::initTestCase()
{
    qRegisterMetaType<Step>();
    StartupEnvironment::ensureThreadPool();
}

// Each row: a call on the bridge, what the keyboard must have received, and
// a check of what the current profile file holds afterwards.
void TestBridge::deviceCalls_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Check>("check");

    const QString trailer = "55 aa 00";

    {
        QVariantList src;
        for (int i = 0; i < 128; ++i)
            src << i << 0;
        QByteArray sent(256, '\0');
        for (int i = 0; i < 128; ++i)
            sent[2 * i] = char(i);
        sent[2 * 61] = char(45);
        sent[2 * 77] = char(61);
        sent[2 * 93] = char(77);
        QTest::newRow("key matrix, entry i = code i")
            << Call([src](BridgeFixture& f) { f.view->ui_0C0DH_SetKeyMatrix(src); })
            << (QStringList{"F 00 0c 00 00 00 00 " + trailer} + dataReports(sent.left(128))
                + QStringList{"F 00 0d 00 00 00 00 " + trailer} + dataReports(sent.mid(128)))
            << Check([](BridgeFixture& f) {
                   for (int i = 0; i < 128; ++i)
                       QCOMPARE(f.stored(0, QString("keydefine3/%1").arg(i)).toList(),
                                (QVariantList{QString::number(i), "0"}));
               });
    }
    {
        // Missing values count as 0; values are cut to their low byte.
        QByteArray sent(256, '\0');
        sent[0] = char(0x04);
        sent[1] = char(0x30);
        sent[2] = char(0x34);
        QTest::newRow("key matrix, short list")
            << Call([](BridgeFixture& f) { f.view->ui_0C0DH_SetKeyMatrix(ints({4, 0x30, 0x1234})); })
            << (QStringList{"F 00 0c 00 00 00 00 " + trailer} + dataReports(sent.left(128))
                + QStringList{"F 00 0d 00 00 00 00 " + trailer} + dataReports(sent.mid(128)))
            << Check([](BridgeFixture& f) {
                   QCOMPARE(f.stored(0, "keydefine3/1").toList(), (QVariantList{"4660", "0"}));
                   QCOMPARE(f.stored(0, "keydefine3/127").toList(), (QVariantList{"0", "0"}));
               });
    }
    {
        QByteArray sent(64, '\0');
        for (int k = 0; k < 21; ++k)
            sent[k] = char(63);
        QTest::newRow("seven colours, all 255")
            << Call([](BridgeFixture& f) { f.view->ui_30H_SetColor(repeated(255, 21)); })
            << (QStringList{"F 00 30 00 00 00 00 " + trailer} + dataReports(sent))
            << Check([](BridgeFixture& f) {
                   QCOMPARE(f.stored(0, "color/color").toList(), asStrings(repeated(255, 21)));
               });
    }
    QTest::newRow("LED type")
        << Call([](BridgeFixture& f) { f.view->ui_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7); })
        << QStringList{"F 00 08 01 02 03 04 05 06 07"}
        << Check([](BridgeFixture& f) {
               QCOMPARE(f.stored(0, "color/ledType").toList(),
                        (QVariantList{"1", "2", "3", "4", "5", "6", "7"}));
           });
    {
        QVariantList picture;
        for (int i = 0; i < 128; ++i)
            picture << i << 255 << 128 << 4;
        QTest::newRow("user picture, option 255 only stores")
            << Call([picture](BridgeFixture& f) { f.view->ui_12H_SetUserPicture(2, 255, picture); })
            << QStringList{}
            << Check([picture](BridgeFixture& f) {
                   QCOMPARE(f.stored(0, "userPicture/2").toList(), asStrings(picture));
                   QCOMPARE(f.view->ui_92H_GetUserPicture(2), picture);
               });
        QByteArray modes(128, '\0');
        for (int i = 0; i < 128; ++i)
            modes[i] = char(i);
        QStringList expected;
        const QByteArray planes[4] = {modes, QByteArray(128, char(63)), QByteArray(128, char(32)),
                                      QByteArray(128, char(1))};
        for (int p = 0; p < 4; ++p)
            expected << QString("F 00 12 00 02 %1 00 ").arg(p, 2, 10, QChar('0')) + trailer
                     << dataReports(planes[p]);
        QTest::newRow("user picture, four planes")
            << Call([picture](BridgeFixture& f) { f.view->ui_12H_SetUserPicture(2, 0, picture); })
            << expected
            << Check([picture](BridgeFixture& f) {
                   QCOMPARE(f.stored(0, "userPicture/2").toList(), asStrings(picture));
               });
    }
    QTest::newRow("keyboard mode keeps option bytes 2 and 3")
        << Call([](BridgeFixture& f) {
               f.hid->hid_02H_SetKeyboardoption(0, 0x11, 0x22);
               f.waitForLink();
               q3sim::clearTrace();
               f.view->ui_02H_SetKeyboardMode(1);
           })
        << QStringList{"F 00 82 00 00 00 00 " + trailer, "F 00 02 01 11 22 00 " + trailer}
        << Check([](BridgeFixture& f) { QCOMPARE(f.view->ui_82H_GetKeyboardMode().toInt(), 1); });
    QTest::newRow("sensitivity")
        << Call([](BridgeFixture& f) { f.view->ui_04H_SetButtonSensitivity(7); })
        << QStringList{"F 00 04 07 00 00 00 " + trailer}
        << Check([](BridgeFixture& f) { QCOMPARE(f.view->ui_84H_GetButtonSensitivity().toInt(), 7); });
    QTest::newRow("recovery data")
        << Call([](BridgeFixture& f) { f.view->ui_13H_SetRecoveryData(); })
        << QStringList{"F 00 13 ff 1f 00 00 " + trailer}
        << Check([](BridgeFixture&) {});
    QTest::newRow("current profile")
        << Call([](BridgeFixture& f) {
               f.view->ui_21H_SetCurrentProfile(2);
               f.waitForLink();
               f.view->ui_08H_SetLEDType(9, 9, 9, 9, 9, 9, 9);
           })
        << QStringList{"F 00 21 02 00 00 00 " + trailer, "F 00 08 09 09 09 09 09 09 09"}
        << Check([](BridgeFixture& f) {
               QCOMPARE(f.view->ui_A1H_GetCurrentProfile().toInt(), 2);
               QVERIFY(f.stored(2, "color/ledType").isValid());
               QVERIFY(!f.stored(0, "color/ledType").isValid());
           });
    QTest::newRow("profile beyond the files is refused")
        << Call([](BridgeFixture& f) {
               f.view->ui_21H_SetCurrentProfile(1);
               f.waitForLink();
               q3sim::clearTrace();
               f.view->ui_21H_SetCurrentProfile(3);
               f.view->ui_21H_SetCurrentProfile(256 + 3);
               f.view->ui_21H_SetCurrentProfile(-1);
           })
        << QStringList{}
        << Check([](BridgeFixture& f) { QCOMPARE(f.view->ui_A1H_GetCurrentProfile().toInt(), 1); });
    QTest::newRow("report rate belongs to device 1 only")
        << Call([](BridgeFixture& f) { f.view->ui_01H_SetReportRate(4); })
        << QStringList{}
        << Check([](BridgeFixture& f) {
               QVERIFY(!f.stored(0, "sensor/reportRate_Q4").isValid());
               QCOMPARE(f.view->ui_81H_GetReportRate(), QVariant(0));
           });
    QTest::newRow("report rate with device 1 selected")
        << Call([](BridgeFixture& f) {
               f.hid->swichCurDevice(1);
               f.view->ui_01H_SetReportRate(4);
           })
        << QStringList{}
        << Check([](BridgeFixture& f) {
               QCOMPARE(f.stored(0, "sensor/reportRate_Q4").toInt(), 4);
               QCOMPARE(f.view->ui_81H_GetReportRate(), QVariant(0));
           });
}

void TestBridge::deviceCalls()
{
    QFETCH(Call, call);
    QFETCH(QStringList, expected);
    QFETCH(Check, check);

    BridgeFixture f;
    call(f);
    f.waitForLink();
    QCOMPARE(received(), expected);
    check(f);
}

void TestBridge::readsFromTheProfile()
{
    BridgeFixture f;
    // Nothing stored yet.
    QCOMPARE(f.view->ui_88H_GetLEDType(), QVariantList{});
    QCOMPARE(f.view->ui_B0H_GetColor(), QVariantList{});
    QCOMPARE(f.view->ui_92H_GetUserPicture(0), repeated(0, 512));
    f.view->ui_12H_SetUserPicture(1, 255, repeated(3, 100)); // malformed
    QCOMPARE(f.view->ui_92H_GetUserPicture(1), repeated(0, 512));
    QCOMPARE(q3sim::trace().size(), size_t(0));

    // syncLed reads the keyboard into the profile: colours back on 0-255.
    QByteArray colours(64, '\0');
    for (int k = 0; k < 21; ++k)
        colours[k] = char(k == 0 ? 63 : k);
    f.hid->hid_30H_SetSevenColor(reinterpret_cast<uchar*>(colours.data()));
    f.hid->hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
    f.waitForLink();
    f.view->syncLed();
    QVariantList expected{252};
    for (int k = 1; k < 21; ++k)
        expected << k * 4;
    QCOMPARE(f.view->ui_B0H_GetColor(), expected);
    QCOMPARE(f.view->ui_88H_GetLEDType(), ints({1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(f.stored(0, "color/color").toList(), asStrings(expected));

    // A failed read leaves the profile alone.
    q3sim::setPlugged(false);
    f.view->syncLed();
    QCOMPARE(f.view->ui_B0H_GetColor(), expected);
    QCOMPARE(f.view->ui_88H_GetLEDType(), ints({1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(f.view->ui_82H_GetKeyboardMode(), QVariant(0));
    QCOMPARE(f.view->ui_84H_GetButtonSensitivity(), QVariant(0));
    QCOMPARE(f.view->ui_80H_GetFWVersion(), QString("unknown"));
}

void TestBridge::syncFW()
{
    BridgeFixture f(QByteArray("[common]\nkbLayoutType=2\nmaxMacro=16\nmaxProfile=3\n") + BridgeFixture::oneKeyLayout);
    QCOMPARE(f.view->ui_80H_GetHWMode(), QVariant(2));
    f.hid->hid_21H_SetCurrentProfile(1);
    f.waitForLink();
    q3sim::clearTrace();

    f.view->syncFW();
    QCOMPARE(f.view->ui_80H_GetHWMode(), QVariant(3));
    QCOMPARE(f.view->ui_A1H_GetCurrentProfile(), QVariant(1));
    QCOMPARE(received(), (QStringList{"F 00 80 00 00 00 00 55 aa 00", "F 00 a1 00 00 00 00 55 aa 00"}));
    QCOMPARE(f.view->usbCodeMap.value("Enter"), quint8(40));
    QCOMPARE(f.view->usbCodeMap.size(), 3);
    QCOMPARE(f.view->ui_80H_GetFWVersion(), QString("01.0A"));

    // Without a keyboard: layout 3 all the same, profile 0.
    q3sim::setPlugged(false);
    f.view->syncFW();
    QCOMPARE(f.view->ui_80H_GetHWMode(), QVariant(3));
    QCOMPARE(f.view->ui_A1H_GetCurrentProfile(), QVariant(0));
}

void TestBridge::syncFWIgnoresUnknownProfile()
{
    // The keyboard is on its third profile; the program keeps files for two.
    BridgeFixture f(QByteArray("[common]\nkbLayoutType=3\nmaxMacro=16\nmaxProfile=2\n") + BridgeFixture::oneKeyLayout);
    f.view->ui_21H_SetCurrentProfile(1);
    f.hid->hid_21H_SetCurrentProfile(2);
    f.waitForLink();
    f.view->syncFW();
    QCOMPARE(f.view->ui_A1H_GetCurrentProfile(), QVariant(1));
    f.view->ui_08H_SetLEDType(1, 1, 1, 1, 1, 1, 1);
    QVERIFY(f.stored(1, "color/ledType").isValid());
}

using Fault = std::function<void()>;
Q_DECLARE_METATYPE(Fault)

// What the keyboard did not take is not recorded as taken: the program stays
// on the keyboard's profile, stores nothing read back as another profile's,
// never invents option bytes, and says what failed and why.
void TestBridge::refusedWritesChangeNothing_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Call>("action");
    QTest::addColumn<QString>("failedAction"); // empty: nothing failed
    QTest::addColumn<int>("reason");
    QTest::addColumn<Check>("check");

    const Call switchTo1([](BridgeFixture& f) {
        f.view->ui_21H_SetCurrentProfile(1);
        f.view->syncLed();
    });
    QTest::newRow("profile switch refused")
        << Fault([] { q3sim::failCall("hid_send_feature_report", 1); }) << switchTo1 << "profile"
        << int(TransferFailure::Refused) << Check([](BridgeFixture& f) {
               QCOMPARE(f.view->ui_A1H_GetCurrentProfile().toInt(), 0);
               QCOMPARE(q3sim::currentProfile(), 0);
               // The read-back of the keyboard's profile went to its own file.
               QVERIFY(!f.stored(1, "color/ledType").isValid());
               QCOMPARE(f.stored(0, "color/ledType").toList().size(), 7);
           });
    QTest::newRow("profile switch, keyboard lost")
        << Fault([] { q3sim::failCall("hid_send_feature_report", 1); q3sim::setPlugged(false); })
        << Call([](BridgeFixture& f) {
               // Unplugged after the presence check: the link still knows its path.
               f.view->ui_21H_SetCurrentProfile(1);
           })
        << "profile" << int(TransferFailure::NoKeyboard) << Check([](BridgeFixture& f) {
               // Without a keyboard the program's own copy switches, for
               // editing, and the indicator says enough: no notice.
               QCOMPARE(f.view->ui_A1H_GetCurrentProfile().toInt(), 1);
               QVERIFY(!f.view->notices->noticeShown());
           });
    QTest::newRow("profile switch taken")
        << Fault([] {}) << switchTo1 << "" << 0 << Check([](BridgeFixture& f) {
               QCOMPARE(f.view->ui_A1H_GetCurrentProfile().toInt(), 1);
               QCOMPARE(q3sim::currentProfile(), 1);
               QCOMPARE(f.stored(1, "color/ledType").toList().size(), 7);
           });
    QTest::newRow("gaming mode without the option bytes")
        << Fault([] { q3sim::failCall("hid_get_feature_report", 1); })
        << Call([](BridgeFixture& f) { QVERIFY(!f.view->ui_02H_SetKeyboardMode(1)); })
        << "gamingMode" << int(TransferFailure::Refused) << Check([](BridgeFixture&) {
               const auto options = q3sim::keyboardState().options;
               QCOMPARE(int(options[0]), 0);
               QCOMPARE(int(options[1]), 0x11);
               QCOMPARE(int(options[2]), 0x22);
               for (const q3sim::TraceEntry& e : q3sim::trace())
                   QVERIFY(!(e.call == "hid_send_feature_report" && e.data.size() > 1 && e.data[1] == 0x02));
           });
    QTest::newRow("gaming mode taken")
        << Fault([] {}) << Call([](BridgeFixture& f) { QVERIFY(f.view->ui_02H_SetKeyboardMode(1)); })
        << "" << 0 << Check([](BridgeFixture&) {
               const auto options = q3sim::keyboardState().options;
               QCOMPARE(int(options[0]), 1);
               QCOMPARE(int(options[1]), 0x11);
           });
}

void TestBridge::refusedWritesChangeNothing()
{
    QFETCH(Fault, fault);
    QFETCH(Call, action);
    QFETCH(QString, failedAction);
    QFETCH(int, reason);
    QFETCH(Check, check);
    BridgeFixture f;
    f.hid->hid_02H_SetKeyboardoption(0, 0x11, 0x22);
    f.waitForLink();
    QSignalSpy finished(f.view.get(), &myQQuickView::deviceActionFinished);
    q3sim::clearTrace();
    fault();
    action(f);
    f.waitForLink();
    q3sim::failCall("hid_send_feature_report", 0);
    q3sim::failCall("hid_get_feature_report", 0);
    q3sim::setPlugged(true);
    QList<QList<QVariant>> failed;
    for (const QList<QVariant>& outcome : finished)
        if (!outcome.at(1).toBool())
            failed << outcome;
    if (failedAction.isEmpty()) {
        QCOMPARE(failed.size(), 0);
    } else {
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), failedAction);
        QCOMPARE(failed.at(0).at(3).toInt(), reason);
    }
    check(f);
}

// Every stored brightness survives an Apply that did not move the slider;
// a moved slider sends its own step of the 0-63 scale.
void TestBridge::untouchedBrightnessIsKept_data()
{
    QTest::addColumn<int>("stored");
    for (int b = 0; b <= 63; ++b)
        QTest::newRow(qPrintable(QString::number(b))) << b;
}

void TestBridge::untouchedBrightnessIsKept()
{
    QFETCH(int, stored);
    const int shown = DeviceConversions::brightnessPosition(stored);
    QCOMPARE(shown, qRound(stored * 7 / 63.0));
    QCOMPARE(DeviceConversions::brightnessToSend(shown, stored), stored);
    for (int position = 0; position < 8; ++position) {
        if (position != shown)
            QCOMPARE(DeviceConversions::brightnessToSend(position, stored), position * 9);
    }
    // Nothing stored: the position's own value.
    QCOMPARE(DeviceConversions::brightnessToSend(shown, -1), shown * 9);
}

void TestBridge::firmwareVersionText_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "unknown";
    QTest::newRow("0001") << 0x0001 << "00.01";
    QTest::newRow("010A") << 0x010A << "01.0A";
    QTest::newRow("FFFF") << 0xFFFF << "FF.FF";
}

void TestBridge::firmwareVersionText()
{
    QFETCH(int, version);
    QFETCH(QString, text);
    QCOMPARE(DeviceConversions::firmwareVersionText(quint16(version)), text);
}

void TestBridge::hardwareLimits_data()
{
    const QByteArray keys = BridgeFixture::oneKeyLayout;
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<int>("hwMode");
    QTest::addColumn<int>("maxMacro");
    QTest::addColumn<int>("maxProfile");
    QTest::newRow("in range") << "[common]\nkbLayoutType=3\nmaxMacro=254\nmaxProfile=9\n" + keys << true << 3 << 254 << 9;
    QTest::newRow("at the bounds") << "[common]\nmaxMacro=255\nmaxProfile=10\n" + keys << true << 0 << 255 << 10;
    QTest::newRow("beyond") << "[common]\nkbLayoutType=259\nmaxMacro=300\nmaxProfile=12\n" + keys << true << 3 << 255 << 10;
    QTest::newRow("keys of the stored layout only")
        << QByteArray("[common]\nkbLayoutType=2\nmaxMacro=1\nmaxProfile=1\n[2]\ntotal_HW=3\n") << true << 2 << 1 << 1;
    // Unusable: no counts at all, so that nothing is created or removed on their strength.
    QTest::newRow("empty file") << QByteArray("") << false << 0 << 0 << 0;
    QTest::newRow("no keys") << QByteArray("[common]\nkbLayoutType=3\nmaxMacro=32\nmaxProfile=3\n") << false << 3 << 0 << 0;
    QTest::newRow("maxMacro 0") << "[common]\nkbLayoutType=3\nmaxMacro=0\nmaxProfile=3\n" + keys << false << 3 << 0 << 0;
    QTest::newRow("maxMacro negative") << "[common]\nkbLayoutType=3\nmaxMacro=-4\nmaxProfile=3\n" + keys << false << 3 << 0 << 0;
    QTest::newRow("maxProfile missing") << "[common]\nkbLayoutType=3\nmaxMacro=32\n" + keys << false << 3 << 0 << 0;
    QTest::newRow("not numbers") << "[common]\nkbLayoutType=x\nmaxMacro=-4\nmaxProfile=many\n" + keys << false << 0 << 0 << 0;
}

void TestBridge::hardwareLimits()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, usable);
    QFETCH(int, hwMode);
    QFETCH(int, maxMacro);
    QFETCH(int, maxProfile);
    QTemporaryDir dir;
    BridgeFixture::write(dir.filePath("HWDef.bin"), ini);
    const HardwareLimits l = HardwareLimits::read(dir.filePath("HWDef.bin"));
    QCOMPARE(l.usable, usable);
    QCOMPARE(l.problem.isEmpty(), usable);
    QCOMPARE(int(l.hwMode), hwMode);
    QCOMPARE(int(l.maxMacro), maxMacro);
    QCOMPARE(int(l.maxProfile), maxProfile);

    for (const QString& unreadable : {dir.filePath("missing.bin"), dir.path()})
        QVERIFY(!HardwareLimits::read(unreadable).usable);
}

void TestBridge::sceneCallsAreQueued()
{
    BridgeFixture f;
    f.view->initUI();
    f.view->zzzQuarel();
    f.view->notifyKeyboard(true, 4);
    f.view->notifyMouse(false, 241, 10, 20);
    f.view->runUI();
    QCOMPARE(f.sceneCalls(), QStringList{});
    QTRY_COMPARE(f.sceneCalls(), (QStringList{"initUI", "zzzQuarel", "detectKeyboard true 4",
                                              "detectMouse false 241 10 20", "run"}));
}

void TestBridge::slotOrder()
{
    // The scene reaches the bridge by slot; the order is part of that interface.
    const QStringList expected{
        "syncFW", "syncLed", "initUI", "zzzQuarel", "runUI",
        "setEnableAudio", "playMedia_Index", "playMedia_Background", "clearAllMedia",
        "saveApConfig", "loadApConfig", "resetApconfig", "loadHWDef", "loadUsbStr",
        "loadUsbCode", "getIsSkinShow", "getMaxProfile", "loadProfile", "loadDefaultProfile",
        "saveProfile", "resetProfile", "loadMacroIniFromFile", "saveMacroIniToFile",
        "renameMacroIniFile", "getCustomFilePath", "chkLanguages", "getGlobalStrings",
        "initMacroIni", "createMacroIni", "deleteMacroIni", "getMacroIniNames", "saveMacroIni",
        "loadMacroIni", "loadMacroIniConfig", "setMacroIniConfig", "getKeydefine", "macroIncode",
        "ui_01H_SetReportRate", "ui_02H_SetKeyboardMode", "ui_04H_SetButtonSensitivity",
        "ui_08H_SetLEDType", "ui_0C0DH_SetKeyMatrix", "ui_10H_SetMacroKey",
        "ui_12H_SetUserPicture", "ui_13H_SetRecoveryData", "ui_21H_SetCurrentProfile",
        "ui_30H_SetColor", "ui_80H_GetFWVersion", "ui_80H_GetHWMode", "ui_81H_GetReportRate",
        "ui_82H_GetKeyboardMode", "ui_84H_GetButtonSensitivity", "ui_88H_GetLEDType",
        "ui_8C8DH_GetKeyMatrix", "ui_92H_GetUserPicture", "ui_A1H_GetCurrentProfile",
        "ui_B0H_GetColor"};
    QCOMPARE(expected.size(), 57);
    // Later additions come after the original slots.
    const QStringList added{"macroIncodeSize", "macroIncodeLimit", "brightnessPosition",
                            "brightnessToSend", "beginDeviceAction", "endDeviceAction",
                            "sendAssignedMacros", "compareWithKeyboard"};
    const QMetaObject& mo = myQQuickView::staticMetaObject;
    QStringList names;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QMetaMethod m = mo.method(i);
        if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Public)
            names << QString::fromLatin1(m.name());
    }
    QCOMPARE(names, expected + added);
}

QTEST_MAIN(TestBridge)
#include "tst_bridge.moc"
