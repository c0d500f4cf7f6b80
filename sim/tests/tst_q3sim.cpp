// The simulated keyboard, driven through hidapi's API in-process (this test
// links q3sim in place of hidapi) and through q3sim's control functions.

#include "Firmware.h"
#include "q3sim.h"

#include <hidapi.h>
#include <libudev.h>

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

using Bytes = std::vector<unsigned char>;
using Action = std::function<void()>;
using Check = std::function<bool()>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Check)

namespace {

using namespace std::chrono_literals;

struct Closer {
    void operator()(hid_device* dev) const { hid_close(dev); }
};
using Handle = std::unique_ptr<hid_device, Closer>;

const std::string CommandPath = "q3sim:04d9:a1cd:ff01";
const std::string EventPath = "q3sim:04d9:a1cd:ff02";

Handle openDevice(const std::string& path)
{
    return Handle(hid_open_path(path.c_str()));
}

QStringList enumeratedPaths(unsigned short vid, unsigned short pid, bool* wasNull = nullptr)
{
    hid_device_info* list = hid_enumerate(vid, pid);
    if (wasNull)
        *wasNull = list == nullptr;
    QStringList paths;
    for (hid_device_info* d = list; d; d = d->next)
        paths << QString::fromStdString(d->path);
    hid_free_enumeration(list);
    return paths;
}

Bytes sequence(int length, unsigned char first = 0)
{
    Bytes bytes(length);
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>(first + i);
    return bytes;
}

// Reads one report into `out` (resized to what was delivered); returns hidapi's result.
int readReport(hid_device* dev, Bytes& out, int milliseconds, std::size_t capacity = 128)
{
    out.assign(capacity, 0xee);
    const int result = hid_read_timeout(dev, out.data(), out.size(), milliseconds);
    out.resize(result > 0 ? result : 0);
    return result;
}

std::string errorText(hid_device* dev)
{
    const wchar_t* text = hid_error(dev);
    return text ? QString::fromWCharArray(text).toStdString() : std::string("(null)");
}

// Every call a program makes on an open handle, as (name, call) returning
// hidapi's result (pointer results as 0 / -1). Each succeeds on a live
// command-interface handle with nothing queued (hid_set_nonblocking comes
// first so that hid_read does not wait).
std::vector<std::pair<const char*, std::function<int(hid_device*)>>> handleCalls()
{
    return {
        {"hid_set_nonblocking", [](hid_device* d) { return hid_set_nonblocking(d, 1); }},
        {"hid_write", [](hid_device* d) { Bytes b = sequence(65); return hid_write(d, b.data(), b.size()); }},
        {"hid_read", [](hid_device* d) { unsigned char b[65]; return hid_read(d, b, sizeof b); }},
        {"hid_read_timeout", [](hid_device* d) { unsigned char b[65]; return hid_read_timeout(d, b, sizeof b, 0); }},
        {"hid_send_feature_report", [](hid_device* d) { Bytes b = sequence(9); return hid_send_feature_report(d, b.data(), b.size()); }},
        {"hid_get_feature_report", [](hid_device* d) { unsigned char b[9] = {0}; return hid_get_feature_report(d, b, sizeof b); }},
        {"hid_get_product_string", [](hid_device* d) { wchar_t s[32]; return hid_get_product_string(d, s, 32); }},
        {"hid_get_manufacturer_string", [](hid_device* d) { wchar_t s[32]; return hid_get_manufacturer_string(d, s, 32); }},
        {"hid_get_serial_number_string", [](hid_device* d) { wchar_t s[32]; return hid_get_serial_number_string(d, s, 32); }},
        {"hid_get_device_info", [](hid_device* d) { return hid_get_device_info(d) ? 0 : -1; }},
    };
}

} // namespace

class TestQ3Sim : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // Enumeration
    void enumerate_data();
    void enumerate();
    void enumerationDescribesTheKeyboard();
    void extraDevicesHaveTheirOwnPaths();

    // Opening
    void openPath_data();
    void openPath();
    void openByIds_data();
    void openByIds();
    void openFaults_data();
    void openFaults();
    void closeToleratesNullAndUnknownHandles();

    // Unplugging and hidden interfaces
    void goneHandleFailsEveryCall_data();
    void goneHandleFailsEveryCall();
    void blockedReadWakesUp_data();
    void blockedReadWakesUp();

    // Input reports
    void inputReportsQueuePerInterface();
    void readCopiesAtMostTheBufferLength();
    void unplugLosesQueuedReports();
    void readTimeouts_data();
    void readTimeouts();
    void blockedReaderDoesNotHoldUpOtherThreads();

    // Injected call failures
    void failCall_data();
    void failCall();
    void faultsAreCountedPerFunction();
    void failCallRejectsNamesThatCannotFail();

    // Firmware
    void featureReportEcho_data();
    void featureReportEcho();
    void featureReportsOnlyOnTheCommandInterface();
    void outputReportsReachTheFirmware();
    void firmwareInputReportsReachReaders();

    // Strings, errors, trace
    void deviceStrings_data();
    void deviceStrings();
    void errorsDescribeTheLastCall();
    void traceRecordsEachCall();
    void traceSurvivesConcurrentCallers();

    // Device-change notifications
    void udevMonitorSeesHidrawChanges_data();
    void udevMonitorSeesHidrawChanges();

    // Control commands
    void controlCommands_data();
    void controlCommands();
    void deniedOpens();
    void keyboardControlCommands_data();
    void keyboardControlCommands();

private:
    QTemporaryDir m_runtimeDir;
};

void TestQ3Sim::initTestCase()
{
    // Linked in directly, without Q3SIM_SOCKET and not preloaded, the
    // library serves no control socket, not even at the default path.
    QVERIFY(m_runtimeDir.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtimeDir.path()));
    qunsetenv("Q3SIM_SOCKET");
    qunsetenv("LD_PRELOAD");
    QCOMPARE(hid_init(), 0);  // serving would start with the first hidapi call
    QCOMPARE(QDir(m_runtimeDir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList());
}

void TestQ3Sim::init()
{
    q3sim::reset();
}

// ---------------------------------------------------------------- enumeration

void TestQ3Sim::enumerate_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("command");
    QTest::addColumn<bool>("event");
    QTest::addColumn<bool>("extras");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    // "cmd" / "evt": the keyboard's interfaces; the rest name the extras
    // added (in this order) when `extras` is set.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("keyboard ids") << true << true << true << true << 0x04d9 << 0xa1cd
                                  << QStringList{"cmd", "evt", "twin"};
    QTest::newRow("any device") << true << true << true << true << 0 << 0
                                << QStringList{"cmd", "evt", "sameVendor", "otherVendor", "twin"};
    QTest::newRow("vendor only") << true << true << true << true << 0x04d9 << 0
                                 << QStringList{"cmd", "evt", "sameVendor", "twin"};
    QTest::newRow("product only") << true << true << true << true << 0 << 0xa1cd
                                  << QStringList{"cmd", "evt", "otherVendor", "twin"};
    QTest::newRow("command interface only") << true << true << false << false << 0x04d9 << 0xa1cd
                                            << QStringList{"cmd"};
    QTest::newRow("event interface only") << true << false << true << false << 0x04d9 << 0xa1cd
                                          << QStringList{"evt"};
    QTest::newRow("no interface shown") << true << false << false << false << 0x04d9 << 0xa1cd
                                        << QStringList{};
    QTest::newRow("unplugged") << false << true << true << false << 0x04d9 << 0xa1cd << QStringList{};
    QTest::newRow("unplugged keeps extras") << false << true << true << true << 0 << 0
                                            << QStringList{"sameVendor", "otherVendor", "twin"};
    QTest::newRow("unrelated ids") << true << true << true << true << 0x1111 << 0x2222 << QStringList{};
}

void TestQ3Sim::enumerate()
{
    QFETCH(bool, plugged);
    QFETCH(bool, command);
    QFETCH(bool, event);
    QFETCH(bool, extras);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QStringList, expected);

    QMap<QString, QString> paths{{"cmd", QString::fromStdString(CommandPath)},
                                 {"evt", QString::fromStdString(EventPath)}};
    if (extras) {
        paths["sameVendor"] = QString::fromStdString(q3sim::addExtraDevice(0x04d9, 0xa1ce, 0xff01, 1));
        paths["otherVendor"] = QString::fromStdString(q3sim::addExtraDevice(0x1234, 0xa1cd, 0xff01, 1));
        paths["twin"] = QString::fromStdString(q3sim::addExtraDevice(0x04d9, 0xa1cd, 0x0001, 6));
    }
    q3sim::setInterfaces(command, event);
    q3sim::setPlugged(plugged);

    QStringList expectedPaths;
    for (const QString& name : expected)
        expectedPaths << paths.value(name);
    bool wasNull = false;
    QCOMPARE(enumeratedPaths(vid, pid, &wasNull), expectedPaths);
    QCOMPARE(wasNull, expected.isEmpty());
}

void TestQ3Sim::enumerationDescribesTheKeyboard()
{
    hid_device_info* list = hid_enumerate(0x04d9, 0xa1cd);
    QVERIFY(list && list->next && !list->next->next);

    const struct {
        hid_device_info* info;
        unsigned short usagePage;
        int interfaceNumber;
    } expected[] = {{list, 0xff01, 1}, {list->next, 0xff02, 2}};
    for (const auto& e : expected) {
        QCOMPARE(int(e.info->vendor_id), 0x04d9);
        QCOMPARE(int(e.info->product_id), 0xa1cd);
        QCOMPARE(e.info->usage_page, e.usagePage);
        QCOMPARE(int(e.info->usage), 1);
        QCOMPARE(e.info->interface_number, e.interfaceNumber);
        QCOMPARE(QString::fromWCharArray(e.info->product_string), QString("Q3-KEYBOARD"));
        QCOMPARE(QString::fromWCharArray(e.info->manufacturer_string), QString("Q3 simulation"));
        QVERIFY(e.info->serial_number);
        QCOMPARE(QString::fromWCharArray(e.info->serial_number), QString());
        QCOMPARE(int(e.info->release_number), 0x0100);
        QCOMPARE(e.info->bus_type, HID_API_BUS_USB);
    }
    QCOMPARE(std::string(list->path), q3sim::interfacePath(q3sim::CommandInterface));
    QCOMPARE(std::string(list->next->path), q3sim::interfacePath(q3sim::EventInterface));
    hid_free_enumeration(list);
}

void TestQ3Sim::extraDevicesHaveTheirOwnPaths()
{
    const std::string first = q3sim::addExtraDevice(0x04d9, 0xa1cd, 0xff01, 1);
    const std::string second = q3sim::addExtraDevice(0x04d9, 0xa1cd, 0xff01, 1);
    QVERIFY(first != second);
    QVERIFY(first != CommandPath && second != CommandPath);

    for (const std::string& path : {first, second}) {
        Handle dev = openDevice(path);
        QVERIFY(dev);
        hid_device_info* info = hid_get_device_info(dev.get());
        QVERIFY(info);
        QCOMPARE(std::string(info->path), path);
        QCOMPARE(int(info->usage_page), 0xff01);
    }
    // A look-alike with the keyboard's ids and usage page is still not the keyboard.
    q3sim::pushInputReport(q3sim::CommandInterface, {1, 2});
    Handle extra = openDevice(first);
    Bytes got;
    QCOMPARE(readReport(extra.get(), got, 0), 0);
}

// -------------------------------------------------------------------- opening

void TestQ3Sim::openPath_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("command");
    QTest::addColumn<bool>("event");
    QTest::addColumn<QString>("target");  // "cmd", "evt", "extra" or a literal path
    QTest::addColumn<bool>("opens");

    QTest::newRow("command interface") << true << true << true << "cmd" << true;
    QTest::newRow("event interface") << true << true << true << "evt" << true;
    QTest::newRow("extra device") << true << true << true << "extra" << true;
    QTest::newRow("hidden command interface") << true << false << true << "cmd" << false;
    QTest::newRow("hidden event interface") << true << true << false << "evt" << false;
    QTest::newRow("unplugged keyboard") << false << true << true << "cmd" << false;
    QTest::newRow("extra while keyboard unplugged") << false << true << true << "extra" << true;
    QTest::newRow("unknown path") << true << true << true << "q3sim:04d9:a1cd:ff03" << false;
    QTest::newRow("hidraw node") << true << true << true << "/dev/hidraw0" << false;
    QTest::newRow("empty path") << true << true << true << "" << false;
}

void TestQ3Sim::openPath()
{
    QFETCH(bool, plugged);
    QFETCH(bool, command);
    QFETCH(bool, event);
    QFETCH(QString, target);
    QFETCH(bool, opens);

    const std::string extra = q3sim::addExtraDevice(0x1234, 0x5678, 0x0001, 2);
    q3sim::setInterfaces(command, event);
    q3sim::setPlugged(plugged);
    const std::string path = target == "cmd" ? CommandPath
        : target == "evt"                    ? EventPath
        : target == "extra"                  ? extra
                                             : target.toStdString();

    Handle dev = openDevice(path);
    QCOMPARE(bool(dev), opens);
    if (!opens) {
        QVERIFY(errorText(nullptr) != "Success");
        return;
    }
    QCOMPARE(q3sim::openHandleCount(path), 1);
    dev.reset();
    QCOMPARE(q3sim::openHandleCount(path), 0);
}

void TestQ3Sim::openByIds_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("command");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QString>("serial");  // null: no serial given
    QTest::addColumn<QString>("expected"); // "cmd", "evt", "extra" or "" (open fails)

    QTest::newRow("keyboard ids") << true << true << 0x04d9 << 0xa1cd << QString() << "cmd";
    QTest::newRow("command interface hidden") << true << false << 0x04d9 << 0xa1cd << QString() << "evt";
    QTest::newRow("any ids") << true << true << 0 << 0 << QString() << "cmd";
    QTest::newRow("matching empty serial") << true << true << 0x04d9 << 0xa1cd << QString("") << "cmd";
    QTest::newRow("other serial") << true << true << 0x04d9 << 0xa1cd << QString("123") << "";
    QTest::newRow("extra by its ids") << true << true << 0x1234 << 0x5678 << QString() << "extra";
    QTest::newRow("unplugged") << false << true << 0x04d9 << 0xa1cd << QString() << "";
    QTest::newRow("unplugged, any ids") << false << true << 0 << 0 << QString() << "extra";
}

void TestQ3Sim::openByIds()
{
    QFETCH(bool, plugged);
    QFETCH(bool, command);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QString, serial);
    QFETCH(QString, expected);

    const std::string extra = q3sim::addExtraDevice(0x1234, 0x5678, 0x0001, 2);
    q3sim::setInterfaces(command, true);
    q3sim::setPlugged(plugged);

    const std::wstring wideSerial = serial.toStdWString();
    Handle dev(hid_open(vid, pid, serial.isNull() ? nullptr : wideSerial.c_str()));
    if (expected.isEmpty()) {
        QVERIFY(!dev);
        return;
    }
    QVERIFY(dev);
    const std::string expectedPath = expected == "cmd" ? CommandPath : expected == "evt" ? EventPath : extra;
    QCOMPARE(std::string(hid_get_device_info(dev.get())->path), expectedPath);
}

void TestQ3Sim::openFaults_data()
{
    QTest::addColumn<int>("count");
    // One character per step: 'p' hid_open_path(command interface),
    // 'i' hid_open(keyboard ids), 'u' hid_open_path(unknown path),
    // 'c' failOpens(0).
    QTest::addColumn<QString>("steps");
    // Per step: '+' opened, '-' failed, '.' no open attempted.
    QTest::addColumn<QString>("outcome");

    QTest::newRow("next open") << 1 << "pp" << "-+";
    QTest::newRow("next two, either open call") << 2 << "ipp" << "--+";
    QTest::newRow("absent device keeps the fault armed") << 1 << "upp" << "--+";
    QTest::newRow("every open until cleared") << -1 << "pipipcp" << "-----.+";
    QTest::newRow("zero arms nothing") << 0 << "p" << "+";
}

void TestQ3Sim::openFaults()
{
    QFETCH(int, count);
    QFETCH(QString, steps);
    QFETCH(QString, outcome);

    q3sim::failOpens(count);
    QString got;
    for (QChar step : steps) {
        hid_device* dev = nullptr;
        switch (step.toLatin1()) {
        case 'p': dev = hid_open_path(CommandPath.c_str()); break;
        case 'i': dev = hid_open(0x04d9, 0xa1cd, nullptr); break;
        case 'u': dev = hid_open_path("q3sim:nothing"); break;
        case 'c': q3sim::failOpens(0); got += '.'; continue;
        }
        got += dev ? '+' : '-';
        hid_close(dev);
    }
    QCOMPARE(got, outcome);
    QCOMPARE(q3sim::openHandleCount(CommandPath), 0);
}

void TestQ3Sim::closeToleratesNullAndUnknownHandles()
{
    hid_close(nullptr);
    hid_device* dev = hid_open_path(CommandPath.c_str());
    QVERIFY(dev);
    hid_close(dev);
    hid_close(dev);  // a second close must not free twice
    QCOMPARE(q3sim::openHandleCount(CommandPath), 0);
    const auto entries = q3sim::trace();
    QCOMPARE(entries.back().call, std::string("hid_close"));
    QCOMPARE(entries.back().result, -1);
}

// ------------------------------------------------- unplugging, hidden interfaces

void TestQ3Sim::goneHandleFailsEveryCall_data()
{
    QTest::addColumn<QString>("target");  // "cmd" or "extra"
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("gone");
    QTest::addColumn<bool>("reopens");

    QTest::newRow("unplugged") << "cmd" << "unplug" << true << false;
    QTest::newRow("unplugged and plugged again") << "cmd" << "unplug,plug" << true << true;
    QTest::newRow("interface hidden") << "cmd" << "hide" << true << false;
    QTest::newRow("interface hidden and shown again") << "cmd" << "hide,show" << true << true;
    QTest::newRow("reset") << "cmd" << "reset" << true << true;
    QTest::newRow("other interface hidden") << "cmd" << "hide-event" << false << true;
    QTest::newRow("extra device, keyboard unplugged") << "extra" << "unplug" << false << true;
}

void TestQ3Sim::goneHandleFailsEveryCall()
{
    QFETCH(QString, target);
    QFETCH(QString, what);
    QFETCH(bool, gone);
    QFETCH(bool, reopens);

    const std::string path = target == "cmd" ? CommandPath : q3sim::addExtraDevice(0x1234, 0x5678, 1, 2);
    Handle dev = openDevice(path);
    QVERIFY(dev);
    QCOMPARE(hid_set_nonblocking(dev.get(), 1), 0);
    for (const QString& step : what.split(',')) {
        if (step == "unplug") q3sim::setPlugged(false);
        else if (step == "plug") q3sim::setPlugged(true);
        else if (step == "hide") q3sim::setInterfaces(false, true);
        else if (step == "show") q3sim::setInterfaces(true, true);
        else if (step == "hide-event") q3sim::setInterfaces(true, false);
        else if (step == "reset") q3sim::reset();
        else QFAIL("unknown step");
    }

    for (const auto& [name, call] : handleCalls()) {
        if (target == "extra" && std::string(name) == "hid_get_feature_report")
            continue;  // extras never answer feature reports
        const int result = call(dev.get());
        if (gone) {
            QVERIFY2(result == -1, name);
            QVERIFY2(errorText(dev.get()) != "Success", name);
        } else {
            QVERIFY2(result != -1, name);
        }
    }
    Handle again = openDevice(path);
    QCOMPARE(bool(again), reopens);
    dev.reset();  // closing a dead handle is fine
    again.reset();
    QCOMPARE(q3sim::openHandleCount(path), 0);
}

void TestQ3Sim::blockedReadWakesUp_data()
{
    QTest::addColumn<QString>("read");   // "hid_read" (blocking) or hid_read_timeout's timeout
    QTest::addColumn<QString>("cause");

    QTest::newRow("hid_read, unplug") << "hid_read" << "unplug";
    QTest::newRow("timeout -1, unplug") << "-1" << "unplug";
    QTest::newRow("timeout 20 s, unplug") << "20000" << "unplug";
    QTest::newRow("timeout -1, interface hidden") << "-1" << "hide";
    QTest::newRow("hid_read, handle closed") << "hid_read" << "close";
}

void TestQ3Sim::blockedReadWakesUp()
{
    QFETCH(QString, read);
    QFETCH(QString, cause);

    hid_device* dev = hid_open_path(EventPath.c_str());
    QVERIFY(dev);
    auto reader = std::async(std::launch::async, [dev, read] {
        unsigned char buf[64];
        if (read == "hid_read")
            return hid_read(dev, buf, sizeof buf);
        return hid_read_timeout(dev, buf, sizeof buf, read.toInt());
    });
    QVERIFY2(reader.wait_for(150ms) == std::future_status::timeout, "the read did not block");

    QElapsedTimer timer;
    timer.start();
    if (cause == "unplug")
        q3sim::setPlugged(false);
    else if (cause == "hide")
        q3sim::setInterfaces(true, false);
    else
        hid_close(dev);
    QVERIFY2(reader.wait_for(2s) == std::future_status::ready, "the blocked read was not woken up");
    QCOMPARE(reader.get(), -1);
    QVERIFY(timer.elapsed() < 1000);
    if (cause != "close")
        hid_close(dev);
}

// -------------------------------------------------------------- input reports

void TestQ3Sim::inputReportsQueuePerInterface()
{
    q3sim::pushInputReport(q3sim::EventInterface, {0x01, 0x10});
    q3sim::pushInputReport(q3sim::EventInterface, {0x02, 0x20, 0x21});
    q3sim::pushInputReport(q3sim::CommandInterface, {0x03});
    QCOMPARE(q3sim::queuedInputReports(q3sim::EventInterface), std::size_t(2));
    QCOMPARE(q3sim::queuedInputReports(q3sim::CommandInterface), std::size_t(1));

    Handle event = openDevice(EventPath);
    Handle command = openDevice(CommandPath);
    Bytes got;
    QCOMPARE(readReport(event.get(), got, 0), 2);
    QCOMPARE(got, (Bytes{0x01, 0x10}));
    QCOMPARE(readReport(event.get(), got, 0), 3);
    QCOMPARE(got, (Bytes{0x02, 0x20, 0x21}));
    QCOMPARE(readReport(event.get(), got, 0), 0);
    QCOMPARE(readReport(command.get(), got, 0), 1);
    QCOMPARE(got, (Bytes{0x03}));
    QCOMPARE(readReport(command.get(), got, 0), 0);
}

void TestQ3Sim::readCopiesAtMostTheBufferLength()
{
    const Bytes report = sequence(65, 0x40);
    q3sim::pushInputReport(q3sim::EventInterface, report);
    q3sim::pushInputReport(q3sim::EventInterface, {0x99});
    Handle dev = openDevice(EventPath);

    unsigned char buf[16];
    std::fill(std::begin(buf), std::end(buf), 0xee);
    QCOMPARE(hid_read_timeout(dev.get(), buf, 8, 0), 8);
    QCOMPARE(Bytes(buf, buf + 8), Bytes(report.begin(), report.begin() + 8));
    QCOMPARE(int(buf[8]), 0xee);  // nothing written past the length given
    // The rest of a truncated report is dropped, as hidraw does.
    QCOMPARE(hid_read_timeout(dev.get(), buf, sizeof buf, 0), 1);
    QCOMPARE(int(buf[0]), 0x99);
}

void TestQ3Sim::unplugLosesQueuedReports()
{
    q3sim::pushInputReport(q3sim::EventInterface, {0x01});
    q3sim::setPlugged(false);
    q3sim::pushInputReport(q3sim::EventInterface, {0x02});  // nobody there to send it
    q3sim::setPlugged(true);
    QCOMPARE(q3sim::queuedInputReports(q3sim::EventInterface), std::size_t(0));
    Handle dev = openDevice(EventPath);
    Bytes got;
    QCOMPARE(readReport(dev.get(), got, 0), 0);
}

void TestQ3Sim::readTimeouts_data()
{
    QTest::addColumn<bool>("nonblocking");
    QTest::addColumn<int>("timeout");  // -2: hid_read
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    QTest::newRow("timeout 0") << false << 0 << 0 << 100;
    QTest::newRow("timeout 150 ms") << false << 150 << 145 << 1500;
    QTest::newRow("nonblocking hid_read") << true << -2 << 0 << 100;
    QTest::newRow("nonblocking mode, timeout 150 ms") << true << 150 << 145 << 1500;
}

void TestQ3Sim::readTimeouts()
{
    QFETCH(bool, nonblocking);
    QFETCH(int, timeout);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    Handle dev = openDevice(EventPath);
    QCOMPARE(hid_set_nonblocking(dev.get(), nonblocking), 0);
    unsigned char buf[64];
    QElapsedTimer timer;
    timer.start();
    const int result = timeout == -2 ? hid_read(dev.get(), buf, sizeof buf)
                                     : hid_read_timeout(dev.get(), buf, sizeof buf, timeout);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(result, 0);
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TestQ3Sim::blockedReaderDoesNotHoldUpOtherThreads()
{
    // hid_read_timeout(-1) waits even in nonblocking mode; meanwhile another
    // thread talks to the command interface.
    Handle event = openDevice(EventPath);
    Handle command = openDevice(CommandPath);
    hid_set_nonblocking(event.get(), 1);
    auto reader = std::async(std::launch::async, [dev = event.get()] {
        Bytes got;
        const int result = readReport(dev, got, -1);
        return std::make_pair(result, got);
    });
    QVERIFY(reader.wait_for(100ms) == std::future_status::timeout);

    auto talker = std::async(std::launch::async, [dev = command.get()] {
        const Bytes request{0x00, 0x21, 0, 0, 0, 0, 0, 0, 0};
        unsigned char answer[9] = {0};
        return hid_send_feature_report(dev, request.data(), request.size()) == 9
            && hid_get_feature_report(dev, answer, sizeof answer) == 9 && answer[1] == 0x21;
    });
    QVERIFY2(talker.wait_for(2s) == std::future_status::ready, "feature reports waited for the reader");
    QVERIFY(talker.get());
    QVERIFY(reader.wait_for(0ms) == std::future_status::timeout);

    q3sim::pushInputReport(q3sim::EventInterface, {0x05, 0x06});
    QVERIFY(reader.wait_for(2s) == std::future_status::ready);
    const auto [result, got] = reader.get();
    QCOMPARE(result, 2);
    QCOMPARE(got, (Bytes{0x05, 0x06}));
}

// ----------------------------------------------------------- injected failures

void TestQ3Sim::failCall_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("count");

    for (const char* call : {"hid_write", "hid_read", "hid_read_timeout", "hid_send_feature_report",
                             "hid_get_feature_report", "hid_set_nonblocking", "hid_get_product_string",
                             "hid_get_device_info"})
        QTest::newRow(call) << call << 2;
    QTest::newRow("hid_send_feature_report until cleared") << "hid_send_feature_report" << -1;
    QTest::newRow("hid_read_timeout until cleared") << "hid_read_timeout" << -1;
}

void TestQ3Sim::failCall()
{
    QFETCH(QString, call);
    QFETCH(int, count);

    Handle dev = openDevice(CommandPath);
    hid_set_nonblocking(dev.get(), 1);
    std::function<int(hid_device*)> run;
    for (auto& [name, fn] : handleCalls())
        if (call == name)
            run = fn;
    QVERIFY(run);

    q3sim::failCall(call.toStdString(), count);
    const int failures = count > 0 ? count : 5;
    for (int i = 0; i < failures; ++i) {
        QCOMPARE(run(dev.get()), -1);
        QVERIFY(errorText(dev.get()) != "Success");
    }
    if (count < 0)
        q3sim::failCall(call.toStdString(), 0);
    QVERIFY(run(dev.get()) != -1);
    QCOMPARE(errorText(dev.get()), std::string("Success"));

    // The failed calls reached the trace as failures; the handle is still usable.
    int failed = 0;
    for (const auto& entry : q3sim::trace())
        if (entry.call == call.toStdString() && entry.result == -1)
            ++failed;
    QCOMPARE(failed, failures);
}

void TestQ3Sim::faultsAreCountedPerFunction()
{
    Handle dev = openDevice(EventPath);
    hid_set_nonblocking(dev.get(), 1);
    unsigned char buf[8];
    q3sim::failCall("hid_read", 1);
    QCOMPARE(hid_read_timeout(dev.get(), buf, sizeof buf, 0), 0);  // a different function
    QCOMPARE(hid_read(dev.get(), buf, sizeof buf), -1);
    QCOMPARE(hid_read(dev.get(), buf, sizeof buf), 0);

    // A fault is spent only on a call that would have succeeded.
    q3sim::failCall("hid_enumerate", 1);
    q3sim::failCall("hid_write", 1);
    q3sim::setPlugged(false);
    const Bytes out = sequence(65);
    QCOMPARE(hid_write(dev.get(), out.data(), out.size()), -1);  // dead handle, fault kept
    q3sim::setPlugged(true);
    bool wasNull = false;
    QCOMPARE(enumeratedPaths(0x04d9, 0xa1cd, &wasNull), QStringList());
    QVERIFY(wasNull);
    QCOMPARE(enumeratedPaths(0x04d9, 0xa1cd).size(), 2);
    Handle command = openDevice(CommandPath);
    QCOMPARE(hid_write(command.get(), out.data(), out.size()), -1);
    QCOMPARE(hid_write(command.get(), out.data(), out.size()), 65);
}

void TestQ3Sim::failCallRejectsNamesThatCannotFail()
{
    for (const char* call : {"hid_wirte", "hid_close", "hid_error", "hid_free_enumeration", ""})
        QVERIFY_EXCEPTION_THROWN(q3sim::failCall(call, 1), std::invalid_argument);
}

// ------------------------------------------------------------------- firmware

void TestQ3Sim::featureReportEcho_data()
{
    QTest::addColumn<Bytes>("request");   // empty: nothing sent before asking
    QTest::addColumn<int>("reportId");    // byte 0 of the buffer passed to hid_get_feature_report
    QTest::addColumn<int>("length");
    QTest::addColumn<Bytes>("answer");    // what hid_get_feature_report delivers (and returns the size of)

    const Bytes request{0x00, 0x05, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("echo") << request << 0 << 9 << request;
    QTest::newRow("report id from the caller")
        << request << 3 << 9 << Bytes{0x03, 0x05, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("short buffer") << request << 0 << 4 << Bytes{0x00, 0x05, 1, 2};
    QTest::newRow("long buffer") << request << 0 << 65 << request;
    QTest::newRow("latest request wins")
        << Bytes{0x00, 0x31, 9, 9, 0, 0, 0, 0, 0} << 0 << 9 << Bytes{0x00, 0x31, 9, 9, 0, 0, 0, 0, 0};
    QTest::newRow("nothing sent") << Bytes{} << 0 << 9 << Bytes(9, 0);
}

void TestQ3Sim::featureReportEcho()
{
    QFETCH(Bytes, request);
    QFETCH(int, reportId);
    QFETCH(int, length);
    QFETCH(Bytes, answer);

    Handle dev = openDevice(CommandPath);
    if (!request.empty()) {
        const Bytes earlier{0x00, 0x77, 0x77, 0, 0, 0, 0, 0, 0};
        QCOMPARE(hid_send_feature_report(dev.get(), earlier.data(), earlier.size()), 9);
        QCOMPARE(hid_send_feature_report(dev.get(), request.data(), request.size()), int(request.size()));
        QCOMPARE(q3sim::lastFeatureRequest(), request);
    }
    Bytes buf(length, 0xee);
    buf[0] = static_cast<unsigned char>(reportId);
    QCOMPARE(hid_get_feature_report(dev.get(), buf.data(), buf.size()), int(answer.size()));
    buf.resize(answer.size());
    QCOMPARE(buf, answer);
}

void TestQ3Sim::featureReportsOnlyOnTheCommandInterface()
{
    Handle event = openDevice(EventPath);
    const Bytes request{0x00, 0x05, 0, 0, 0, 0, 0, 0, 0};
    unsigned char buf[9] = {0};
    QCOMPARE(hid_send_feature_report(event.get(), request.data(), request.size()), -1);
    QCOMPARE(hid_get_feature_report(event.get(), buf, sizeof buf), -1);
    QVERIFY(errorText(event.get()) != "Success");
    QCOMPARE(q3sim::lastFeatureRequest(), Bytes{});
}

void TestQ3Sim::outputReportsReachTheFirmware()
{
    Handle dev = openDevice(CommandPath);
    const Bytes first = sequence(65, 0);
    const Bytes second = sequence(65, 100);
    QCOMPARE(hid_write(dev.get(), first.data(), first.size()), 65);
    QCOMPARE(hid_write(dev.get(), second.data(), second.size()), 65);
    QCOMPARE(q3sim::outputReports(), (std::vector<Bytes>{first, second}));

    // Writes to an extra device never reach the keyboard.
    Handle extra = openDevice(q3sim::addExtraDevice(0x1234, 0x5678, 1, 2));
    QCOMPARE(hid_write(extra.get(), first.data(), first.size()), 65);
    QCOMPARE(q3sim::outputReports().size(), std::size_t(2));

    q3sim::reset();
    QCOMPARE(q3sim::outputReports(), std::vector<Bytes>{});
}

void TestQ3Sim::firmwareInputReportsReachReaders()
{
    Handle dev = openDevice(CommandPath);
    auto reader = std::async(std::launch::async, [d = dev.get()] {
        Bytes got;
        readReport(d, got, 2000);
        return got;
    });
    QVERIFY(reader.wait_for(50ms) == std::future_status::timeout);
    q3sim::withFirmware([](q3sim::Firmware& firmware) {
        firmware.pushInputReport(q3sim::CommandInterface, {0x00, 0xaa, 0xbb});
        firmware.pushInputReport(q3sim::EventInterface, {0x01});
    });
    QVERIFY(reader.wait_for(2s) == std::future_status::ready);
    QCOMPARE(reader.get(), (Bytes{0x00, 0xaa, 0xbb}));
    QCOMPARE(q3sim::queuedInputReports(q3sim::EventInterface), std::size_t(1));
}

// ----------------------------------------------------- strings, errors, trace

void TestQ3Sim::deviceStrings_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("maxlen");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("expected");

    QTest::newRow("product") << "product" << 64 << 0 << "Q3-KEYBOARD";
    QTest::newRow("product, truncated") << "product" << 3 << 0 << "Q3";
    QTest::newRow("product, exact fit") << "product" << 12 << 0 << "Q3-KEYBOARD";
    QTest::newRow("manufacturer") << "manufacturer" << 64 << 0 << "Q3 simulation";
    QTest::newRow("serial") << "serial" << 64 << 0 << "";
    QTest::newRow("no room") << "product" << 0 << -1 << "untouched";
    QTest::newRow("indexed string") << "indexed" << 64 << -1 << "untouched";
}

void TestQ3Sim::deviceStrings()
{
    QFETCH(QString, which);
    QFETCH(int, maxlen);
    QFETCH(int, result);
    QFETCH(QString, expected);

    Handle dev = openDevice(CommandPath);
    wchar_t buf[64];
    std::fill(std::begin(buf), std::end(buf), L'#');
    buf[63] = L'\0';
    const QString untouched = QString::fromWCharArray(buf);
    int got = 0;
    if (which == "product")
        got = hid_get_product_string(dev.get(), buf, maxlen);
    else if (which == "manufacturer")
        got = hid_get_manufacturer_string(dev.get(), buf, maxlen);
    else if (which == "serial")
        got = hid_get_serial_number_string(dev.get(), buf, maxlen);
    else
        got = hid_get_indexed_string(dev.get(), 1, buf, maxlen);
    QCOMPARE(got, result);
    QCOMPARE(QString::fromWCharArray(buf), expected == "untouched" ? untouched : expected);
}

void TestQ3Sim::errorsDescribeTheLastCall()
{
    QCOMPARE(errorText(nullptr), std::string("Success"));
    QVERIFY(!hid_open_path("q3sim:nothing"));
    const std::string openError = errorText(nullptr);
    QVERIFY(openError != "Success" && !openError.empty());
    QCOMPARE(enumeratedPaths(0x04d9, 0xa1cd).size(), 2);
    QCOMPARE(errorText(nullptr), std::string("Success"));

    Handle dev = openDevice(CommandPath);
    QCOMPARE(errorText(dev.get()), std::string("Success"));
    q3sim::setPlugged(false);
    unsigned char buf[9] = {0};
    QCOMPARE(hid_get_feature_report(dev.get(), buf, sizeof buf), -1);
    const wchar_t* first = hid_error(dev.get());
    QVERIFY(QString::fromWCharArray(first) != "Success");
    // The text stays valid (it is static) after further calls.
    hid_get_feature_report(dev.get(), buf, sizeof buf);
    QCOMPARE(QString::fromWCharArray(first), QString::fromWCharArray(hid_error(dev.get())));
}

void TestQ3Sim::traceRecordsEachCall()
{
    Handle command = openDevice(CommandPath);
    Handle event = openDevice(EventPath);
    q3sim::clearTrace();

    const Bytes request{0x00, 0x05, 1, 2, 3, 4, 5, 6, 7};
    hid_send_feature_report(command.get(), request.data(), request.size());
    unsigned char answer[9] = {0x00};
    hid_get_feature_report(command.get(), answer, sizeof answer);
    const Bytes output = sequence(65, 0x80);
    hid_write(command.get(), output.data(), output.size());
    q3sim::pushInputReport(q3sim::EventInterface, {0x01, 0x02, 0x03});
    Bytes got;
    readReport(event.get(), got, 0);
    readReport(event.get(), got, 0);
    q3sim::setPlugged(false);
    readReport(event.get(), got, 0);
    q3sim::setPlugged(true);
    hid_free_enumeration(hid_enumerate(0x04d9, 0));
    event.reset();

    struct Expected {
        std::string call;
        std::string path;
        Bytes data;
        int result;
    };
    const std::vector<Expected> expected{
        {"hid_send_feature_report", CommandPath, request, 9},
        {"hid_get_feature_report", CommandPath, request, 9},
        {"hid_write", CommandPath, output, 65},
        {"hid_read_timeout", EventPath, {0x01, 0x02, 0x03}, 3},
        {"hid_read_timeout", EventPath, {}, 0},
        {"hid_read_timeout", EventPath, {}, -1},
        {"hid_enumerate", "", {}, 2},
        {"hid_free_enumeration", "", {}, 0},
        {"hid_close", EventPath, {}, 0},
    };
    const auto entries = q3sim::trace();
    QCOMPARE(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QByteArray where = QByteArray::number(int(i)) + ": " + q3sim::toString(entries[i]).c_str();
        QVERIFY2(entries[i].call == expected[i].call, where);
        QVERIFY2(entries[i].path == expected[i].path, where);
        QVERIFY2(entries[i].data == expected[i].data, where);
        QVERIFY2(entries[i].result == expected[i].result, where);
    }
    QCOMPARE(q3sim::countCalls("hid_read_timeout"), 3);
    QCOMPARE(q3sim::toString(entries[0]),
             "hid_send_feature_report " + CommandPath + " [00 05 01 02 03 04 05 06 07] -> 9");
    QCOMPARE(entries[3].args, std::string("length=128 timeout=0"));
    QCOMPARE(entries[6].args, "vid=04d9 pid=0000 devices=" + CommandPath + "," + EventPath);
}

void TestQ3Sim::traceSurvivesConcurrentCallers()
{
    constexpr int Threads = 4;
    constexpr int Calls = 250;
    std::atomic<bool> stop{false};
    auto reader = std::async(std::launch::async, [&] {
        Handle dev = openDevice(EventPath);
        Bytes got;
        int reports = 0;
        while (!stop || q3sim::queuedInputReports(q3sim::EventInterface))
            if (readReport(dev.get(), got, 5) > 0)
                ++reports;
        return reports;
    });
    std::vector<std::future<int>> senders;
    for (int t = 0; t < Threads; ++t)
        senders.push_back(std::async(std::launch::async, [t] {
            Handle dev = openDevice(CommandPath);
            int ok = 0;
            for (int i = 0; i < Calls; ++i) {
                const Bytes request{0x00, static_cast<unsigned char>(t), static_cast<unsigned char>(i)};
                ok += hid_send_feature_report(dev.get(), request.data(), request.size()) == 3;
                q3sim::pushInputReport(q3sim::EventInterface, {static_cast<unsigned char>(t)});
            }
            return ok;
        }));
    for (auto& sender : senders)
        QCOMPARE(sender.get(), Calls);
    stop = true;
    QCOMPARE(reader.get(), Threads * Calls);
    QCOMPARE(q3sim::countCalls("hid_send_feature_report"), Threads * Calls);
}

// ------------------------------------------------------------ control commands

void TestQ3Sim::controlCommands_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("accepted");     // result of the last line (the others must be accepted)
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("command");
    QTest::addColumn<bool>("event");
    QTest::addColumn<int>("queuedOn");      // -1: no report queued anywhere
    QTest::addColumn<Bytes>("report");
    QTest::addColumn<int>("failingOpens");  // consecutive opens that fail (at most 4 tried)

    const Bytes report{0x01, 0x02, 0xff};
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("unplug") << QStringList{"unplug"} << true << false << true << true << -1 << Bytes{} << 0;
    row("plug") << QStringList{"unplug", "plug"} << true << true << true << true << -1 << Bytes{} << 0;
    row("interfaces command") << QStringList{"interfaces command"} << true << true << true << false << -1 << Bytes{} << 0;
    row("interfaces event") << QStringList{"interfaces event"} << true << true << false << true << -1 << Bytes{} << 0;
    row("interfaces none") << QStringList{"interfaces none"} << true << true << false << false << -1 << Bytes{} << 0;
    row("interfaces both") << QStringList{"interfaces none", "interfaces both"} << true << true << true << true << -1 << Bytes{} << 0;
    row("report, spaced hex") << QStringList{"report 01 02 ff"} << true << true << true << true << int(q3sim::EventInterface) << report << 0;
    row("report, packed hex") << QStringList{"report 0102FF"} << true << true << true << true << int(q3sim::EventInterface) << report << 0;
    row("report, 0x and commas") << QStringList{"report 0x01,0x02,0xff"} << true << true << true << true << int(q3sim::EventInterface) << report << 0;
    row("report, single digits") << QStringList{"report 1 2 ff"} << true << true << true << true << int(q3sim::EventInterface) << report << 0;
    row("command-report") << QStringList{"command-report 01 02 ff"} << true << true << true << true << int(q3sim::CommandInterface) << report << 0;
    row("fail-open 2") << QStringList{"fail-open 2"} << true << true << true << true << -1 << Bytes{} << 2;
    row("fail-open -1") << QStringList{"fail-open -1"} << true << true << true << true << -1 << Bytes{} << 4;
    row("fail-open 0 clears") << QStringList{"fail-open -1", "fail-open 0"} << true << true << true << true << -1 << Bytes{} << 0;
    row("fail-call") << QStringList{"fail-call hid_open_path 3"} << true << true << true << true << -1 << Bytes{} << 3;
    row("reset") << QStringList{"unplug", "interfaces none", "fail-open -1", "reset"} << true << true << true << true << -1 << Bytes{} << 0;
    row("comment and blank line") << QStringList{"# unplug", "  "} << true << true << true << true << -1 << Bytes{} << 0;
    row("trailing carriage return") << QStringList{"unplug\r"} << true << false << true << true << -1 << Bytes{} << 0;

    row("unknown verb") << QStringList{"jump"} << false << true << true << true << -1 << Bytes{} << 0;
    row("unknown interfaces") << QStringList{"interfaces keyboard"} << false << true << true << true << -1 << Bytes{} << 0;
    row("plug with an argument") << QStringList{"unplug", "plug now"} << false << false << true << true << -1 << Bytes{} << 0;
    row("report without bytes") << QStringList{"report"} << false << true << true << true << -1 << Bytes{} << 0;
    row("report, bad hex") << QStringList{"report 01 0g"} << false << true << true << true << -1 << Bytes{} << 0;
    row("report, odd digits") << QStringList{"report 012"} << false << true << true << true << -1 << Bytes{} << 0;
    row("fail-open, not a number") << QStringList{"fail-open many"} << false << true << true << true << -1 << Bytes{} << 0;
    row("fail-call, unknown call") << QStringList{"fail-call hid_close 1"} << false << true << true << true << -1 << Bytes{} << 0;
}

void TestQ3Sim::controlCommands()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, accepted);
    QFETCH(bool, plugged);
    QFETCH(bool, command);
    QFETCH(bool, event);
    QFETCH(int, queuedOn);
    QFETCH(Bytes, report);
    QFETCH(int, failingOpens);

    for (int i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        QCOMPARE(q3sim::runControlCommand(lines[i].toStdString()), last ? accepted : true);
    }
    QCOMPARE(q3sim::isPlugged(), plugged);
    QCOMPARE(q3sim::isInterfaceShown(q3sim::CommandInterface), command);
    QCOMPARE(q3sim::isInterfaceShown(q3sim::EventInterface), event);
    for (auto which : {q3sim::CommandInterface, q3sim::EventInterface}) {
        const std::size_t queued = q3sim::queuedInputReports(which);
        QCOMPARE(queued, std::size_t(which == queuedOn ? 1 : 0));
        if (queued) {
            Handle dev = openDevice(q3sim::interfacePath(which));
            Bytes got;
            readReport(dev.get(), got, 0);
            QCOMPARE(got, report);
        }
    }
    if (!plugged)
        return;
    const std::string extra = q3sim::addExtraDevice(0x1234, 0x5678, 1, 2);
    int failed = 0;
    while (failed < 4) {
        Handle dev = openDevice(extra);
        if (dev)
            break;
        ++failed;
    }
    QCOMPARE(failed, failingOpens);
}

// Nodes without access rights: the keyboard is still listed, but its
// interfaces refuse to open the way hidraw does, and only the keyboard's.
void TestQ3Sim::deniedOpens()
{
    const std::string extra = q3sim::addExtraDevice(0x1234, 0x5678, 1, 2);
    QVERIFY(q3sim::runControlCommand("deny-open on"));
    QCOMPARE(enumeratedPaths(0x04d9, 0xa1cd).size(), 2);
    for (auto which : {q3sim::CommandInterface, q3sim::EventInterface}) {
        errno = 0;
        QVERIFY(!openDevice(q3sim::interfacePath(which)));
        QCOMPARE(errno, EACCES);
        const std::wstring error = hid_error(nullptr);
        QVERIFY(error.find(L"Permission denied") != std::wstring::npos);
        const std::string path = q3sim::interfacePath(which);
        QVERIFY(error.find(std::wstring(path.begin(), path.end())) != std::wstring::npos);
    }
    QVERIFY(openDevice(extra));
    std::string state;
    QVERIFY(q3sim::runControlCommand("state", state));
    QVERIFY(QString::fromStdString(state).contains("opens denied"));

    QVERIFY(q3sim::runControlCommand("deny-open off"));
    QVERIFY(openDevice(q3sim::interfacePath(q3sim::CommandInterface)));
    q3sim::denyOpens(true);
    QVERIFY(!q3sim::runControlCommand("deny-open maybe"));
    q3sim::reset();
    QVERIFY(openDevice(q3sim::interfacePath(q3sim::EventInterface)));
}

void TestQ3Sim::keyboardControlCommands_data()
{
    QTest::addColumn<Action>("setup");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("accepted");  // the last line's result (the others must be accepted)
    QTest::addColumn<QString>("reply");  // regular expression for the last line's reply
    QTest::addColumn<Check>("check");    // the effect, afterwards

    const Action none = [] {};
    const Check nothing = [] { return true; };
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    auto led = [](std::array<unsigned char, 7> bytes) {
        return Check([bytes] {
            return q3sim::keyboardState().current().ledType == bytes
                && q3sim::queuedInputReports(q3sim::EventInterface) == 1;
        });
    };
    // One 8CH request from the host: how many data reports it queued.
    auto dataReports = [] {
        Handle dev = openDevice(CommandPath);
        const Bytes request{0x00, 0x8c, 0, 0, 0, 0, 0x55, 0xaa, 0x00};
        hid_send_feature_report(dev.get(), request.data(), request.size());
        return q3sim::queuedInputReports(q3sim::CommandInterface);
    };
    const Action aTransfer = [] {
        Handle dev = openDevice(CommandPath);
        const Bytes request{0x00, 0x80, 0, 0, 0, 0, 0x55, 0xaa, 0x00};
        unsigned char answer[9] = {0};
        hid_send_feature_report(dev.get(), request.data(), request.size());
        hid_get_feature_report(dev.get(), answer, sizeof answer);
    };

    row("lighting") << none << QStringList{"lighting 1 2 3 4 5 6 7"} << true << "^$" << led({1, 2, 3, 4, 5, 6, 7});
    row("lighting in hex") << none << QStringList{"profile 1", "lighting 0x10 0xff 0 0 0 0 0x01"} << true << "^$"
                           << led({0x10, 0xff, 0, 0, 0, 0, 1});
    row("profile") << none << QStringList{"profile 2"} << true << "^$" << Check([] { return q3sim::currentProfile() == 2; });
    row("stall-data on") << none << QStringList{"stall-data on"} << true << "^$" << Check([=] { return dataReports() == 0; });
    row("stall-data off") << none << QStringList{"stall-data on", "stall-data off"} << true << "^$"
                          << Check([=] { return dataReports() == 2; });
    row("unplug-after") << none << QStringList{"unplug-after 1"} << true << "^$" << Check([=] {
        return q3sim::isPlugged() && dataReports() == 0 && !q3sim::isPlugged();
    });
    row("replace-data") << none << QStringList{"replace-data 01 02"} << true << "^$" << Check([=] {
        Handle dev = openDevice(CommandPath);
        const Bytes request{0x00, 0x8c, 0, 0, 0, 0, 0x55, 0xaa, 0x00};
        hid_send_feature_report(dev.get(), request.data(), request.size());
        Bytes got;
        return readReport(dev.get(), got, 0) == 2 && got == Bytes{0x01, 0x02};
    });
    row("replace-data, lost") << none << QStringList{"replace-data"} << true << "^$" << Check([=] { return dataReports() == 1; });
    row("state") << none << QStringList{"profile 1", "state"} << true
                 << "^plugged: yes\n[\\s\\S]*current profile: 1 of 3\n[\\s\\S]*profile 1 \\(current\\):\n" << nothing;
    row("state with macros") << Action([] {
        q3sim::withFirmware([](q3sim::Firmware& f) { f.state().macros[7][1] = 0xab; });
    }) << QStringList{"state --macros --pictures"} << true
       << "\nmacros in use: 7\n[\\s\\S]*\n  picture 0 plane 0:\n[\\s\\S]*\nmacro 7:\n    00 ab 00 00" << nothing;
    row("trace N") << aTransfer << QStringList{"trace 1"} << true
                   << "^hid_close q3sim:04d9:a1cd:ff01 -> 0\n$" << nothing;
    row("clear-trace") << aTransfer << QStringList{"clear-trace"} << true << "^$"
                       << Check([] { return q3sim::trace().empty(); });
    row("timings") << aTransfer << QStringList{"timings"} << true << "^80H 0 bytes, 2 reports, \\d+ us\n$" << nothing;
    row("help") << none << QStringList{"help"} << true << "\nlighting <type>[\\s\\S]*\ntimings \\[N\\]\n" << nothing;

    row("lighting, six bytes") << none << QStringList{"lighting 1 2 3 4 5 6"} << false << "^usage: lighting" << nothing;
    row("lighting, 256") << none << QStringList{"lighting 1 2 3 4 5 6 256"} << false << "^usage: lighting" << nothing;
    row("lighting, unplugged") << none << QStringList{"unplug", "lighting 1 2 3 4 5 6 7"} << false << "unplugged"
                               << Check([] { return q3sim::keyboardState().current().ledType == q3sim::KeyboardState::factoryProfile(0).ledType; });
    row("profile out of range") << none << QStringList{"profile 3"} << false << "^no profile 3"
                                << Check([] { return q3sim::currentProfile() == 0; });
    row("profile, not a number") << none << QStringList{"profile one"} << false << "^usage: profile" << nothing;
    row("stall-data, neither on nor off") << none << QStringList{"stall-data yes"} << false << "^usage" << nothing;
    row("unplug-after, negative") << none << QStringList{"unplug-after -1"} << false << "^usage" << nothing;
    row("replace-data, bad hex") << none << QStringList{"replace-data 0g"} << false << "^usage" << nothing;
    row("state, unknown option") << none << QStringList{"state --all"} << false << "^usage: state" << nothing;
    row("trace, not a number") << none << QStringList{"trace all"} << false << "^usage: trace" << nothing;
    row("unknown") << none << QStringList{"fly"} << false << "^unknown command 'fly'" << nothing;
}

void TestQ3Sim::keyboardControlCommands()
{
    QFETCH(Action, setup);
    QFETCH(QStringList, lines);
    QFETCH(bool, accepted);
    QFETCH(QString, reply);
    QFETCH(Check, check);

    setup();
    std::string text;
    for (int i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        QCOMPARE(q3sim::runControlCommand(lines[i].toStdString(), text), last ? accepted : true);
    }
    const QString got = QString::fromStdString(text);
    QVERIFY2(QRegularExpression(reply).match(got).hasMatch(), qPrintable(got));
    QVERIFY(check());
}

QTEST_APPLESS_MAIN(TestQ3Sim)
void TestQ3Sim::udevMonitorSeesHidrawChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("seen");  // action node, in order
    QTest::newRow("unplug") << "unplug" << QStringList{"remove hidraw0", "remove hidraw1"};
    QTest::newRow("unplug, plug") << "unplug,plug"
                                  << QStringList{"remove hidraw0", "remove hidraw1", "add hidraw0", "add hidraw1"};
    QTest::newRow("event interface hidden") << "interfaces command" << QStringList{"remove hidraw1"};
    QTest::newRow("unplug twice") << "unplug,unplug" << QStringList{"remove hidraw0", "remove hidraw1"};
    QTest::newRow("plug while plugged") << "plug" << QStringList{};
}

void TestQ3Sim::udevMonitorSeesHidrawChanges()
{
    QFETCH(QString, change);
    QFETCH(QStringList, seen);
    udev* context = udev_new();
    QVERIFY(context);
    udev_monitor* hidraw = udev_monitor_new_from_netlink(context, "udev");
    udev_monitor* input = udev_monitor_new_from_netlink(context, "udev");
    QVERIFY(hidraw && input);
    QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(hidraw, "hidraw", nullptr), 0);
    QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(input, "input", nullptr), 0);
    QCOMPARE(udev_monitor_enable_receiving(hidraw), 0);
    QCOMPARE(udev_monitor_enable_receiving(input), 0);
    QVERIFY(udev_monitor_get_fd(hidraw) >= 0);

    for (const QString& command : change.split(','))
        QVERIFY2(q3sim::runControlCommand(command.toStdString()), qPrintable(command));

    QStringList got;
    while (udev_device* d = udev_monitor_receive_device(hidraw)) {
        QCOMPARE(QString(udev_device_get_subsystem(d)), QString("hidraw"));
        QCOMPARE(QString(udev_device_get_devnode(d)), "/dev/" + QString(udev_device_get_sysname(d)));
        got << QString("%1 %2").arg(udev_device_get_action(d), udev_device_get_sysname(d));
        udev_device_unref(d);
    }
    QCOMPARE(got, seen);
    QVERIFY(!udev_monitor_receive_device(input));  // another subsystem hears nothing

    udev_monitor_unref(input);
    udev_monitor_unref(hidraw);
    udev_unref(context);
    // A monitor that is gone is not written to.
    q3sim::setPlugged(false);
    q3sim::setPlugged(true);
}

#include "tst_q3sim.moc"
