#include "KeyboardEntry.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTest>
#include <QTimer>

#include <functional>
#include <thread>

using Call = std::function<void(Hid_Thread&)>;
using Query = std::function<QString(Hid_Thread&)>;
Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(Query)

namespace {

QStringList messages;

void collectMessages(QtMsgType, const QMessageLogContext&, const QString& text)
{
    messages.append(text);
}

QString hex(const unsigned char* data, int size)
{
    return QByteArray(reinterpret_cast<const char*>(data), size).toHex(' ');
}

QString hex(const std::vector<unsigned char>& data)
{
    return hex(data.data(), int(data.size()));
}

std::vector<unsigned char> pattern(int size, int seed)
{
    std::vector<unsigned char> v(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        v[size_t(i)] = uchar(seed + i * 7);
    return v;
}

// What the keyboard received, in order, as "F <hex>" (feature request) and
// "W <hex>" (output report) lines.
QStringList received()
{
    QStringList out;
    for (const q3sim::TraceEntry& e : q3sim::trace()) {
        if (e.call == "hid_send_feature_report")
            out << "F " + hex(e.data);
        else if (e.call == "hid_write")
            out << "W " + hex(e.data);
    }
    return out;
}


const std::vector<unsigned char> payloadA = pattern(128, 1);
const std::vector<unsigned char> payloadB = pattern(128, 100);

QString dataReport(const std::vector<unsigned char>& payload, int offset)
{
    return "W 00 " + hex(payload.data() + offset, 64);
}

}

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void setCommands_data();
    void setCommands();
    void getCommands_data();
    void getCommands();
    void firmwareVersion();
    void backToBackSetsAreSerialised();
    void waitingCommandRunsWhenLinkIsFreed();
    void waitingCommandIsWokenByTheHandOver();
    void heldLinkDropsSetCommand_data();
    void heldLinkDropsSetCommand();
    void heldLinkDropsGetCommand();
    void unverifiedStringsStopEverything();
    void absentKeyboard();
    void failedCallsGiveTheLinkBack_data();
    void failedCallsGiveTheLinkBack();
    void reportLengthNotDividingThePayload();
    void zeroReportLengthFails();
    void destructionWaitsForTransfer();

private:
    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(hid->linkIdle(), 3000); }
    Hid_Thread* hid = nullptr;
};

void TestCommands::initTestCase()
{
    qRegisterMetaType<Call>();
    qRegisterMetaType<Query>();
}

void TestCommands::init()
{
    q3sim::reset();
    hid = new Hid_Thread;
    hid->refreshDevices({keyboardEntry()});
    q3sim::clearTrace();
    messages.clear();
}

void TestCommands::cleanup()
{
    delete hid;
    hid = nullptr;
    qInstallMessageHandler(nullptr);
    QLoggingCategory::setFilterRules(QString());
}

void TestCommands::setCommands_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QStringList>("expected");

    const auto p = [](const std::vector<unsigned char>& v) { return const_cast<uchar*>(v.data()); };
    const QString trailer = "55 aa 00";

    QTest::newRow("02H") << Call([](Hid_Thread& h) { h.hid_02H_SetKeyboardoption(1, 2, 3); })
                         << QStringList{"F 00 02 01 02 03 00 " + trailer};
    QTest::newRow("04H") << Call([](Hid_Thread& h) { h.hid_04H_SetButtonSensitivity(9); })
                         << QStringList{"F 00 04 09 00 00 00 " + trailer};
    QTest::newRow("08H") << Call([](Hid_Thread& h) { h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7); })
                         << QStringList{"F 00 08 01 02 03 04 05 06 07"};
    QTest::newRow("09H") << Call([](Hid_Thread& h) { h.hid_09H_StopMacroSending(); })
                         << QStringList{"F 00 09 aa cc ee 00 " + trailer};
    QTest::newRow("0CH") << Call([p](Hid_Thread& h) { h.hid_0CH_SetKeyMatrix_1(p(payloadA)); })
                         << QStringList{"F 00 0c 00 00 00 00 " + trailer,
                                        dataReport(payloadA, 0), dataReport(payloadA, 64)};
    QTest::newRow("0DH") << Call([p](Hid_Thread& h) { h.hid_0DH_SetKeyMatrix_2(p(payloadB)); })
                         << QStringList{"F 00 0d 00 00 00 00 " + trailer,
                                        dataReport(payloadB, 0), dataReport(payloadB, 64)};
    QTest::newRow("0FH") << Call([](Hid_Thread& h) { h.hid_0FH_SetISPBootLoader(); })
                         << QStringList{"F 00 0f 49 53 50 51 33 a5 5a"};
    QTest::newRow("10H") << Call([p](Hid_Thread& h) { h.hid_10H_SetMacroKey(5, p(payloadA)); })
                         << QStringList{"F 00 10 00 05 00 00 " + trailer,
                                        dataReport(payloadA, 0), dataReport(payloadA, 64)};
    QTest::newRow("12H") << Call([p](Hid_Thread& h) { h.hid_12H_SetUserPicture(3, 1, p(payloadB)); })
                         << QStringList{"F 00 12 00 03 01 00 " + trailer,
                                        dataReport(payloadB, 0), dataReport(payloadB, 64)};
    QTest::newRow("13H") << Call([](Hid_Thread& h) { h.hid_13H_SetRecoveryData(); })
                         << QStringList{"F 00 13 ff 1f 00 00 " + trailer};
    QTest::newRow("21H") << Call([](Hid_Thread& h) { h.hid_21H_SetCurrentProfile(2); })
                         << QStringList{"F 00 21 02 00 00 00 " + trailer};
    QTest::newRow("30H") << Call([p](Hid_Thread& h) { h.hid_30H_SetSevenColor(p(payloadA)); })
                         << QStringList{"F 00 30 00 00 00 00 " + trailer, dataReport(payloadA, 0)};
}

void TestCommands::setCommands()
{
    QFETCH(Call, call);
    QFETCH(QStringList, expected);

    call(*hid);
    waitIdle();
    QCOMPARE(received(), expected);
    // The interface is opened twice for the request and once per data report,
    // and closed again after the transfer.
    QCOMPARE(q3sim::countCalls("hid_open_path"), 2 + expected.size() - 1);
    QCOMPARE(q3sim::openHandleCount(q3sim::interfacePath(q3sim::CommandInterface)), 0);
}

// Each row stores something with a set command, then reads it back; the
// result is the get slot's outputs as text.
void TestCommands::getCommands_data()
{
    QTest::addColumn<Call>("store");
    QTest::addColumn<Query>("query");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("reads");
    QTest::addColumn<QString>("result");

    const auto p = [](const std::vector<unsigned char>& v) { return const_cast<uchar*>(v.data()); };
    const auto readBack = [](std::function<void(Hid_Thread&, uchar*)> get, int size) {
        return Query([get, size](Hid_Thread& h) {
            std::vector<unsigned char> buf(size_t(size), 0xEE);
            get(h, buf.data());
            return hex(buf);
        });
    };

    QTest::newRow("82H") << Call([](Hid_Thread& h) { h.hid_02H_SetKeyboardoption(7, 8, 9); })
                         << Query([](Hid_Thread& h) {
                                uchar a = 0, b = 0, c = 0;
                                h.hid_82H_GetKeyboardoption(a, b, c);
                                return hex(std::vector<unsigned char>{a, b, c});
                            })
                         << "00 82 00 00 00 00 55 aa 00" << 0 << "07 08 09";
    QTest::newRow("84H") << Call([](Hid_Thread& h) { h.hid_04H_SetButtonSensitivity(5); })
                         << Query([](Hid_Thread& h) {
                                uchar s = 0;
                                h.hid_84H_GetButtonSensitivity(s);
                                return QString::number(s);
                            })
                         << "00 84 00 00 00 00 55 aa 00" << 0 << "5";
    QTest::newRow("88H") << Call([](Hid_Thread& h) { h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7); })
                         << Query([](Hid_Thread& h) {
                                uchar v[7] = {};
                                const bool ok = h.hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
                                return hex(v, 7) + (ok ? " ok" : " failed");
                            })
                         << "00 88 00 00 00 00 55 aa 00" << 0 << "01 02 03 04 05 06 07 ok";
    QTest::newRow("8CH") << Call([p](Hid_Thread& h) { h.hid_0CH_SetKeyMatrix_1(p(payloadA)); })
                         << readBack([](Hid_Thread& h, uchar* b) { h.hid_8CH_GetKeyMatrix_1(b); }, 128)
                         << "00 8c 00 00 00 00 55 aa 00" << 2 << hex(payloadA);
    QTest::newRow("8DH") << Call([p](Hid_Thread& h) { h.hid_0DH_SetKeyMatrix_2(p(payloadB)); })
                         << readBack([](Hid_Thread& h, uchar* b) { h.hid_8DH_GetKeyMatrix_2(b); }, 128)
                         << "00 8d 00 00 00 00 55 aa 00" << 2 << hex(payloadB);
    QTest::newRow("90H") << Call([p](Hid_Thread& h) { h.hid_10H_SetMacroKey(4, p(payloadB)); })
                         << readBack([](Hid_Thread& h, uchar* b) { h.hid_90H_GetMacroKey(4, b); }, 128)
                         << "00 90 00 04 00 00 55 aa 00" << 2 << hex(payloadB);
    QTest::newRow("92H") << Call([p](Hid_Thread& h) { h.hid_12H_SetUserPicture(2, 3, p(payloadA)); })
                         << readBack([](Hid_Thread& h, uchar* b) { h.hid_92H_GetUserPicture(2, 3, b); }, 128)
                         << "00 92 00 02 03 00 55 aa 00" << 2 << hex(payloadA);
    QTest::newRow("A1H") << Call([](Hid_Thread& h) { h.hid_21H_SetCurrentProfile(2); })
                         << Query([](Hid_Thread& h) {
                                uchar profile = 9;
                                h.hid_A1H_GetCurrentProfile(profile);
                                return QString::number(profile);
                            })
                         << "00 a1 00 00 00 00 55 aa 00" << 0 << "2";
    std::vector<unsigned char> colours(64, 0);
    for (int i = 0; i < 21; ++i)
        colours[size_t(i)] = uchar(i * 3);
    QTest::newRow("B0H") << Call([colours](Hid_Thread& h) {
                                auto c = colours;
                                h.hid_30H_SetSevenColor(c.data());
                            })
                         << Query([](Hid_Thread& h) {
                                std::vector<unsigned char> buf(64, 0xEE);
                                const bool ok = h.hid_B0H_GetSevenColor(buf.data());
                                return hex(buf.data(), 21) + (ok ? " ok" : " failed");
                            })
                         << "00 b0 00 00 00 00 55 aa 00" << 1 << hex(colours.data(), 21) + " ok";
}

void TestCommands::getCommands()
{
    QFETCH(Call, store);
    QFETCH(Query, query);
    QFETCH(QString, request);
    QFETCH(int, reads);
    QFETCH(QString, result);

    store(*hid);
    waitIdle();
    q3sim::clearTrace();

    QCOMPARE(query(*hid), result);
    QVERIFY(hid->linkIdle());
    QCOMPARE(received(), QStringList{"F " + request});
    QCOMPARE(q3sim::countCalls("hid_get_feature_report"), 1);
    int dataReads = 0;
    for (const q3sim::TraceEntry& e : q3sim::trace()) {
        if (e.call == "hid_read_timeout" || e.call == "hid_read") {
            ++dataReads;
            QCOMPARE(e.data.size(), size_t(64));
        }
    }
    QCOMPARE(dataReads, reads);
    QCOMPARE(q3sim::openHandleCount(q3sim::interfacePath(q3sim::CommandInterface)), 0);
}

void TestCommands::firmwareVersion()
{
    ushort version = 0;
    uchar mode = 0;
    hid->hid_80H_GetFWVersion(version, mode);
    QCOMPARE(received(), QStringList{"F 00 80 00 00 00 00 55 aa 00"});
    QCOMPARE(version, ushort(0x010A));
    QCOMPARE(mode, uchar(3));
}

void TestCommands::backToBackSetsAreSerialised()
{
    auto a = payloadA;
    auto b = payloadB;
    hid->hid_0CH_SetKeyMatrix_1(a.data());
    hid->hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
    hid->hid_0DH_SetKeyMatrix_2(b.data());
    waitIdle();
    QCOMPARE(received(), (QStringList{
        "F 00 0c 00 00 00 00 55 aa 00", dataReport(payloadA, 0), dataReport(payloadA, 64),
        "F 00 08 01 02 03 04 05 06 07",
        "F 00 0d 00 00 00 00 55 aa 00", dataReport(payloadB, 0), dataReport(payloadB, 64)}));
}

void TestCommands::waitingCommandRunsWhenLinkIsFreed()
{
    hid->takeLink();
    QTimer::singleShot(150, [this] { hid->handBackLink(); });
    QElapsedTimer t;
    t.start();
    uchar sens = 0;
    hid->hid_04H_SetButtonSensitivity(6);
    QVERIFY(t.elapsed() >= 140);
    hid->hid_84H_GetButtonSensitivity(sens);
    QCOMPARE(sens, uchar(6));
}

// A command queued behind a transfer goes when the transfer's worker hands
// the link back, not at its next poll: with polls far apart, the queued
// command still goes without one of them running out.
void TestCommands::waitingCommandIsWokenByTheHandOver()
{
    hid->setIdlePollMs(30000);
    std::vector<unsigned char> matrix(128, 0x11);
    hid->hid_0CH_SetKeyMatrix_1(matrix.data());
    QVERIFY(!hid->linkIdle());
    hid->hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
    QCOMPARE(hid->lastIdleTimeouts(), 0);
    waitIdle();
    const auto calls = received();
    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls.last(), QString("F 00 08 01 02 03 04 05 06 07"));

    // Handed back from another thread while the command waits.
    hid->takeLink();
    std::thread giver([this] {
        while (!hid->commandWaiting())
            std::this_thread::yield();
        hid->handBackLink();
    });
    QVERIFY(hid->waitIdle());
    giver.join();
    QCOMPARE(hid->lastIdleTimeouts(), 0);
    QVERIFY(!hid->linkIdle());
}

void TestCommands::heldLinkDropsSetCommand_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QString>("message");
    static std::vector<unsigned char> buf(128, 1);
    uchar* b = buf.data();
    QTest::newRow("02H") << Call([](Hid_Thread& h) { h.hid_02H_SetKeyboardoption(1, 2, 3); }) << "cmd Failed 02";
    QTest::newRow("04H") << Call([](Hid_Thread& h) { h.hid_04H_SetButtonSensitivity(1); }) << "cmd Failed 04";
    QTest::newRow("08H") << Call([](Hid_Thread& h) { h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7); }) << "cmd Failed 08";
    QTest::newRow("09H") << Call([](Hid_Thread& h) { h.hid_09H_StopMacroSending(); }) << "cmd Failed 09";
    QTest::newRow("0CH") << Call([b](Hid_Thread& h) { h.hid_0CH_SetKeyMatrix_1(b); }) << "cmd Failed 0C";
    QTest::newRow("0DH") << Call([b](Hid_Thread& h) { h.hid_0DH_SetKeyMatrix_2(b); }) << "cmd Failed 0D";
    QTest::newRow("0FH") << Call([](Hid_Thread& h) { h.hid_0FH_SetISPBootLoader(); }) << "cmd Failed 0F";
    QTest::newRow("10H") << Call([b](Hid_Thread& h) { h.hid_10H_SetMacroKey(1, b); }) << "cmd Failed 10";
    QTest::newRow("12H") << Call([b](Hid_Thread& h) { h.hid_12H_SetUserPicture(1, 1, b); }) << "cmd Failed 12";
    QTest::newRow("13H") << Call([](Hid_Thread& h) { h.hid_13H_SetRecoveryData(); }) << "cmd Failed 13";
    QTest::newRow("21H") << Call([](Hid_Thread& h) { h.hid_21H_SetCurrentProfile(1); }) << "cmd Failed 21";
    QTest::newRow("30H") << Call([b](Hid_Thread& h) { h.hid_30H_SetSevenColor(b); }) << "cmd Failed 30";
}

void TestCommands::heldLinkDropsSetCommand()
{
    QFETCH(Call, call);
    QFETCH(QString, message);

    hid->takeLink();
    QLoggingCategory::setFilterRules("q3config.device.debug=true");
    qInstallMessageHandler(collectMessages);
    QElapsedTimer t;
    t.start();
    call(*hid);
    const qint64 waited = t.elapsed();
    qInstallMessageHandler(nullptr);

    // The debug line, then the one warning with the command and the reason.
    const QString code = message.mid(QString("cmd Failed ").size());
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0), message);
    QVERIFY2(messages.at(1).startsWith("command " + code + "H failed (request " + code + " ")
                 && messages.at(1).endsWith(": the keyboard did not answer"),
             qPrintable(messages.at(1)));
    QVERIFY2(waited >= 255 * 8, qPrintable(QString::number(waited)));
    QCOMPARE(q3sim::trace().size(), size_t(0));
    QVERIFY(!hid->linkIdle());
}

void TestCommands::heldLinkDropsGetCommand()
{
    hid->takeLink();
    ushort version = 0x1234;
    uchar mode = 7, sens = 42, profile = 3, v[7] = {1, 2, 3, 4, 5, 6, 7};
    std::vector<unsigned char> colours(64, 0x5A);

    QLoggingCategory::setFilterRules("q3config.device.debug=true");
    qInstallMessageHandler(collectMessages);
    hid->hid_80H_GetFWVersion(version, mode);
    hid->hid_84H_GetButtonSensitivity(sens);
    hid->hid_A1H_GetCurrentProfile(profile);
    const bool led = hid->hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    const bool seven = hid->hid_B0H_GetSevenColor(colours.data());
    qInstallMessageHandler(nullptr);

    QCOMPARE(messages, QStringList({"cmd Failed", "cmd Failed", "cmd Failed", "cmd Failed", "cmd Failed"}));
    QCOMPARE(version, ushort(0x1234));
    QCOMPARE(mode, uchar(7));
    QCOMPARE(sens, uchar(42));
    QCOMPARE(profile, uchar(3));
    QCOMPARE(hex(v, 7), QString("01 02 03 04 05 06 07"));
    QVERIFY(!led);
    QVERIFY(!seven);
    QCOMPARE(colours, std::vector<unsigned char>(64, 0x5A));
    QCOMPARE(q3sim::trace().size(), size_t(0));
}

void TestCommands::unverifiedStringsStopEverything()
{
    hid->setStringsVerified(false);
    qInstallMessageHandler(collectMessages);

    auto buf = payloadA;
    hid->hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
    hid->hid_0CH_SetKeyMatrix_1(buf.data());
    waitIdle();

    ushort version = 0x1234;
    uchar mode = 7, sens = 42, profile = 3;
    hid->hid_80H_GetFWVersion(version, mode);
    hid->hid_84H_GetButtonSensitivity(sens);
    hid->hid_A1H_GetCurrentProfile(profile);
    std::vector<unsigned char> keys(128, 0x11);
    hid->hid_8CH_GetKeyMatrix_1(keys.data());
    qInstallMessageHandler(nullptr);

    QCOMPARE(q3sim::trace().size(), size_t(0));
    QVERIFY(messages.isEmpty());
    QCOMPARE(version, ushort(0x1234));
    QCOMPARE(mode, uchar(7));
    QCOMPARE(sens, uchar(42));
    QCOMPARE(profile, uchar(0));
    QCOMPARE(keys, std::vector<unsigned char>(128, 0x11));
    QVERIFY(hid->linkIdle());
}

void TestCommands::absentKeyboard()
{
    q3sim::setPlugged(false);
    hid->refreshDevices({keyboardEntry()});
    q3sim::clearTrace();

    ushort version = 0x1234;
    uchar mode = 7, sens = 42, profile = 3, v[7] = {1, 2, 3, 4, 5, 6, 7};
    hid->hid_80H_GetFWVersion(version, mode);
    hid->hid_84H_GetButtonSensitivity(sens);
    hid->hid_A1H_GetCurrentProfile(profile);
    QVERIFY(!hid->hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
    hid->hid_21H_SetCurrentProfile(1);
    waitIdle();

    QCOMPARE(version, ushort(0x1234));
    QCOMPARE(mode, uchar(7));
    QCOMPARE(sens, uchar(42));
    QCOMPARE(profile, uchar(0));
    QCOMPARE(hex(v, 7), QString("01 02 03 04 05 06 07"));
    // The empty path stops every transfer before hidapi.
    QCOMPARE(q3sim::trace().size(), size_t(0));
}

// A failing hidapi call anywhere in a transfer ends it and hands the link
// back; the next command works.
void TestCommands::failedCallsGiveTheLinkBack_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("request") << "hid_send_feature_report";
    QTest::newRow("answer") << "hid_get_feature_report";
    QTest::newRow("data read") << "hid_read_timeout";
    QTest::newRow("open") << "open";
}

void TestCommands::failedCallsGiveTheLinkBack()
{
    QFETCH(QString, failing);

    if (failing == "open")
        q3sim::failOpens(1);
    else
        q3sim::failCall(failing.toStdString(), 1);
    std::vector<unsigned char> keys(128, 0x11);
    hid->hid_8CH_GetKeyMatrix_1(keys.data());
    auto buf = payloadA;
    hid->hid_0CH_SetKeyMatrix_1(buf.data());
    waitIdle();

    QVERIFY(hid->linkIdle());
    QCOMPARE(q3sim::openHandleCount(q3sim::interfacePath(q3sim::CommandInterface)), 0);
    if (failing == "open") {
        // A failed open counts the keyboard as gone until the next refresh.
        QCOMPARE(q3sim::countCalls("hid_write"), 0);
        hid->refreshDevices({keyboardEntry()});
    } else {
        QCOMPARE(q3sim::countCalls("hid_write"), 2);
    }

    uchar sens = 0;
    hid->hid_04H_SetButtonSensitivity(3);
    hid->hid_84H_GetButtonSensitivity(sens);
    QCOMPARE(sens, uchar(3));
}

void TestCommands::reportLengthNotDividingThePayload()
{
    hid->refreshDevices({keyboardEntry(100)});
    q3sim::clearTrace();
    auto buf = payloadA;
    hid->hid_12H_SetUserPicture(0, 0, buf.data());
    waitIdle();

    const QStringList got = received();
    QCOMPARE(got.size(), 3);
    QCOMPARE(got[1], "W 00 " + hex(payloadA.data(), 100));
    // The last report carries the remaining 28 bytes and zeros after them.
    std::vector<unsigned char> tail(payloadA.begin() + 100, payloadA.end());
    tail.resize(100, 0);
    QCOMPARE(got[2], "W 00 " + hex(tail));
}

void TestCommands::zeroReportLengthFails()
{
    hid->refreshDevices({keyboardEntry(0)});
    q3sim::clearTrace();
    auto buf = payloadA;
    hid->hid_0CH_SetKeyMatrix_1(buf.data());
    waitIdle();
    std::vector<unsigned char> keys(128, 0x11);
    hid->hid_8CH_GetKeyMatrix_1(keys.data());
    QVERIFY(hid->linkIdle());
    QCOMPARE(q3sim::countCalls("hid_write"), 0);
    QCOMPARE(q3sim::countCalls("hid_read_timeout") + q3sim::countCalls("hid_read"), 0);
}

void TestCommands::destructionWaitsForTransfer()
{
    auto buf = payloadA;
    hid->hid_0CH_SetKeyMatrix_1(buf.data());
    delete hid;
    hid = nullptr;
    QCOMPARE(q3sim::countCalls("hid_write"), 2);
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
