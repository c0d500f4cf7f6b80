// The simulated keyboard's firmware, driven through hidapi exactly as the
// configuration program drives the keyboard: a 9-byte feature request, its
// 9-byte answer, 65-byte output reports carrying data to the keyboard and
// 64-byte input reports carrying data back, the command interface opened and
// closed around every report.

#include "Firmware.h"
#include "q3sim.h"

#include <hidapi.h>

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

using Bytes = std::vector<unsigned char>;
using State = q3sim::KeyboardState;
// What a row expects to change in the keyboard's state.
using Effect = std::function<void(State&)>;
// What a row expects to read back, given the keyboard's state.
using Expect = std::function<Bytes(const State&)>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Effect)
Q_DECLARE_METATYPE(Expect)

namespace {

using namespace std::chrono_literals;

const char* const CommandPath = "q3sim:04d9:a1cd:ff01";
const char* const EventPath = "q3sim:04d9:a1cd:ff02";

// Request bytes 1-8 of a command with the 55 AA 00 trailer.
Bytes req(unsigned char command, unsigned char p2 = 0, unsigned char p3 = 0, unsigned char p4 = 0,
          unsigned char p5 = 0)
{
    return {command, p2, p3, p4, p5, 0x55, 0xaa, 0x00};
}

// 64 bytes nobody else uses: data block n.
Bytes block(int n)
{
    Bytes bytes(64);
    for (int i = 0; i < 64; ++i)
        bytes[i] = static_cast<unsigned char>((n * 64 + i) * 7 + 3);
    return bytes;
}

Bytes blocks(int first, int count)
{
    Bytes bytes;
    for (int n = first; n < first + count; ++n) {
        const Bytes b = block(n);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    return bytes;
}

template <typename Container>
Bytes bytesOf(const Container& c, std::size_t offset = 0, std::size_t length = std::size_t(-1))
{
    const std::size_t end = std::min(c.size(), offset + std::min(length, c.size()));
    return Bytes(c.begin() + offset, c.begin() + end);
}

template <typename Container>
void put(Container& c, const Bytes& bytes, std::size_t offset = 0)
{
    std::copy(bytes.begin(), bytes.end(), c.begin() + offset);
}

QString hexText(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())).toHex(' ');
}

// --------------------------------------------------------------------- host

// One report over a freshly opened command interface, as the program does.
struct Host {
    static int request(const Bytes& bytes1to8)
    {
        Bytes report{0x00};
        report.insert(report.end(), bytes1to8.begin(), bytes1to8.end());
        hid_device* dev = hid_open_path(CommandPath);
        if (!dev)
            return -1;
        const int result = hid_send_feature_report(dev, report.data(), report.size());
        hid_close(dev);
        return result;
    }

    // The 9-byte answer; the buffer starts out as 00 EE EE ..., so bytes the
    // keyboard leaves out show.
    static int answer(Bytes& out)
    {
        out = Bytes(9, 0xee);
        out[0] = 0x00;
        hid_device* dev = hid_open_path(CommandPath);
        if (!dev)
            return -1;
        const int result = hid_get_feature_report(dev, out.data(), out.size());
        hid_close(dev);
        return result;
    }

    static int write(const Bytes& payload64, unsigned char reportId = 0x00)
    {
        Bytes report{reportId};
        report.insert(report.end(), payload64.begin(), payload64.end());
        hid_device* dev = hid_open_path(CommandPath);
        if (!dev)
            return -1;
        const int result = hid_write(dev, report.data(), report.size());
        hid_close(dev);
        return result;
    }

    // One input report into a 65-byte buffer; `out` gets what was delivered.
    static int read(Bytes& out, int milliseconds = 500)
    {
        out = Bytes(65, 0xee);
        hid_device* dev = hid_open_path(CommandPath);
        if (!dev)
            return -1;
        const int result = hid_read_timeout(dev, out.data(), out.size(), milliseconds);
        hid_close(dev);
        out.resize(result > 0 ? result : 0);
        return result;
    }
};

// A host session written as steps, one report each:
//   "req CC [P2 [P3 [P4 [P5]]]]"  request with the 55 AA 00 trailer (hex)
//   "raw B1 B2 .. B8"             request bytes 1-8 as given
//   "answer"                      the 9-byte answer
//   "write N"                     output report with data block N
//   "write N id I"                the same under report id I
//   "read"                        an input report
//   "sleep MS"
struct Session {
    std::vector<int> results;  // per step (sleep: 0)
    Bytes answer;              // the last answer
    Bytes data;                // every input report read, concatenated

    void run(const QStringList& steps)
    {
        for (const QString& step : steps) {
            const QStringList words = step.split(' ', Qt::SkipEmptyParts);
            const QString verb = words.value(0);
            Bytes args;
            for (int i = 1; i < words.size(); ++i)
                args.push_back(static_cast<unsigned char>(words[i].toUInt(nullptr, verb == "sleep" || verb == "write" ? 10 : 16)));
            int result = 0;
            if (verb == "req") {
                args.resize(5, 0);
                result = Host::request(req(args[0], args[1], args[2], args[3], args[4]));
            } else if (verb == "raw") {
                result = Host::request(args);
            } else if (verb == "answer") {
                result = Host::answer(answer);
            } else if (verb == "write") {
                result = Host::write(block(args.at(0)), words.size() == 4 ? args.at(2) : 0);
            } else if (verb == "read") {
                Bytes got;
                result = Host::read(got);
                data.insert(data.end(), got.begin(), got.end());
            } else if (verb == "sleep") {
                std::this_thread::sleep_for(std::chrono::milliseconds(words.value(1).toInt()));
            } else {
                qFatal("unknown step %s", qPrintable(step));
            }
            results.push_back(result);
        }
    }
};

// ------------------------------------------------------------------ fixture

unsigned char mix(int seed, std::size_t i)
{
    const unsigned v = static_cast<unsigned>(seed) * 2654435761u + static_cast<unsigned>(i) * 40503u;
    return static_cast<unsigned char>((v >> 13) ^ (v >> 3));
}

// Every byte a command reaches gets a value telling where it is, so that
// the wrong profile, half, picture, plane or slot shows; the single values
// differ from the factory ones.
void fillDistinct()
{
    q3sim::withFirmware([](q3sim::Firmware& firmware) {
        State& s = firmware.state();
        auto fill = [](auto& bytes, int seed) {
            for (std::size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = mix(seed, i);
        };
        for (std::size_t p = 0; p < s.profiles.size(); ++p) {
            q3sim::Profile& profile = s.profiles[p];
            const int seed = int(p) * 1000;
            fill(profile.ledType, seed + 1);
            fill(profile.colours, seed + 2);
            fill(profile.keyMatrix, seed + 3);
            for (int x = 0; x < q3sim::Profile::Pictures; ++x)
                for (int y = 0; y < q3sim::Profile::PicturePlanes; ++y)
                    fill(profile.pictures[x][y], seed + 10 + 4 * x + y);
        }
        for (int m = 0; m < State::MacroSlots; ++m)
            fill(s.macros[m], 100000 + m);
        s.firmwareVersion = {0x02, 0x31};
        s.layoutMode = 1;
        s.options = {0x11, 0x22, 0x33};
        s.sensitivity = 0x44;
    });
}

// The first thing two states differ in, or empty.
QString difference(const State& a, const State& b)
{
#define DIFF(field, name)                                                                          \
    if (bytesOf(a.field) != bytesOf(b.field))                                                      \
        return QString(name) + ": " + hexText(bytesOf(a.field)) + " != " + hexText(bytesOf(b.field));
#define DIFF_VALUE(field)                                                                          \
    if (a.field != b.field)                                                                        \
        return QString(#field ": %1 != %2").arg(int(a.field)).arg(int(b.field));

    DIFF_VALUE(profiles.size())
    DIFF_VALUE(currentProfile)
    DIFF(firmwareVersion, "firmware version")
    DIFF_VALUE(layoutMode)
    DIFF(options, "options")
    DIFF_VALUE(sensitivity)
    DIFF_VALUE(stopMacroRequests)
    DIFF_VALUE(bootLoaderRequests)
    DIFF(bootLoaderSignature, "boot loader signature")
    DIFF_VALUE(bootLoaderSignatureMatched)
    DIFF_VALUE(recoveryRequests)
    for (int m = 0; m < State::MacroSlots; ++m)
        DIFF(macros[m], QString("macro %1").arg(m))
    for (std::size_t p = 0; p < a.profiles.size(); ++p) {
        const QString profile = QString("profile %1 ").arg(p);
        DIFF(profiles[p].ledType, profile + "LED type")
        DIFF(profiles[p].colours, profile + "colours")
        DIFF(profiles[p].keyMatrix, profile + "key matrix")
        for (int x = 0; x < q3sim::Profile::Pictures; ++x)
            for (int y = 0; y < q3sim::Profile::PicturePlanes; ++y)
                DIFF(profiles[p].pictures[x][y], profile + QString("picture %1 plane %2").arg(x).arg(y))
    }
#undef DIFF
#undef DIFF_VALUE
    return a == b ? QString() : QString("operator== disagrees");
}

#define COMPARE_STATE(actual, expected)                                                            \
    do {                                                                                           \
        const QString diff = difference(actual, expected);                                         \
        QVERIFY2(diff.isEmpty(), qPrintable(diff));                                                \
    } while (0)

} // namespace

class TestQ3SimFirmware : public QObject {
    Q_OBJECT

private slots:
    void init();

    void getCommands_data();
    void getCommands();
    void setCommands_data();
    void setCommands();
    void refusedRequests_data();
    void refusedRequests();

    void factoryState();
    void profilesKeepTheirOwnSets();
    void profileCountIsConfigurable();

    void dataPhases_data();
    void dataPhases();

    void stalledDataPhaseTimesOut();
    void unplugMidTransfer_data();
    void unplugMidTransfer();
    void unplugKillsAHandleKeptOpen();
    void garbledDataReports_data();
    void garbledDataReports();

    void lightingReport_data();
    void lightingReport();

    void wireTime_data();
    void wireTime();

    void controlWhileTransferring();
};

void TestQ3SimFirmware::init()
{
    q3sim::reset();
}

// --------------------------------------------------------------- get commands

void TestQ3SimFirmware::getCommands_data()
{
    QTest::addColumn<int>("profile");    // current profile
    QTest::addColumn<Bytes>("request");  // bytes 1-8
    QTest::addColumn<Expect>("answer");  // answer bytes 1-8
    QTest::addColumn<Expect>("data");    // input reports, concatenated

    auto fixed = [](Bytes bytes) -> Expect { return [bytes](const State&) { return bytes; }; };
    auto echo = [](Bytes request) -> Expect { return [request](const State&) { return request; }; };
    const Expect none = [](const State&) { return Bytes{}; };

    QTest::newRow("80 version, layout mode") << 0 << req(0x80) << fixed({0x80, 0x02, 0x31, 0x02, 0, 0, 0, 0}) << none;
    QTest::newRow("82 options") << 0 << req(0x82) << fixed({0x82, 0x11, 0x22, 0x33, 0, 0, 0, 0}) << none;
    QTest::newRow("84 sensitivity") << 1 << req(0x84) << fixed({0x84, 0x44, 0, 0, 0, 0, 0, 0}) << none;
    for (int p : {0, 2}) {
        QTest::addRow("88 LED type, profile %d", p)
            << p << req(0x88) << Expect([p](const State& s) {
                   Bytes answer{0x88};
                   const Bytes led = bytesOf(s.profiles[p].ledType);
                   answer.insert(answer.end(), led.begin(), led.end());
                   return answer;
               })
            << none;
        QTest::addRow("A1 current profile %d", p)
            << p << req(0xa1) << fixed({0xa1, static_cast<unsigned char>(p), 0, 0, 0, 0, 0, 0}) << none;
    }
    QTest::newRow("8C keys 0-127, profile 1")
        << 1 << req(0x8c) << echo(req(0x8c))
        << Expect([](const State& s) { return bytesOf(s.profiles[1].keyMatrix, 0, 128); });
    QTest::newRow("8D keys 128-255, profile 1")
        << 1 << req(0x8d) << echo(req(0x8d))
        << Expect([](const State& s) { return bytesOf(s.profiles[1].keyMatrix, 128, 128); });
    QTest::newRow("8C keys 0-127, profile 2")
        << 2 << req(0x8c) << echo(req(0x8c))
        << Expect([](const State& s) { return bytesOf(s.profiles[2].keyMatrix, 0, 128); });
    for (int slot : {0, 1, 255})
        QTest::addRow("90 macro %d", slot)
            << 1 << req(0x90, 0, slot) << echo(req(0x90, 0, slot))
            << Expect([slot](const State& s) { return bytesOf(s.macros[slot]); });
    const struct { int profile, picture, plane; } pictures[] = {{0, 0, 0}, {1, 7, 1}, {2, 15, 3}, {2, 3, 2}};
    for (const auto& pic : pictures)
        QTest::addRow("92 picture %d plane %d, profile %d", pic.picture, pic.plane, pic.profile)
            << pic.profile << req(0x92, 0, pic.picture, pic.plane) << echo(req(0x92, 0, pic.picture, pic.plane))
            << Expect([pic](const State& s) { return bytesOf(s.profiles[pic.profile].pictures[pic.picture][pic.plane]); });
    QTest::newRow("B0 colours, profile 2")
        << 2 << req(0xb0) << echo(req(0xb0))
        << Expect([](const State& s) { return bytesOf(s.profiles[2].colours); });

    // Unknown codes and malformed requests: the echo and nothing else.
    QTest::newRow("unknown 81") << 0 << req(0x81, 1, 2) << echo(req(0x81, 1, 2)) << none;
    QTest::newRow("unknown C5, no trailer") << 0 << Bytes{0xc5, 1, 2, 3, 4, 5, 6, 7} << echo({0xc5, 1, 2, 3, 4, 5, 6, 7}) << none;
    QTest::newRow("8C without trailer") << 0 << Bytes{0x8c, 0, 0, 0, 0, 0, 0, 0} << echo({0x8c, 0, 0, 0, 0, 0, 0, 0}) << none;
    QTest::newRow("88 with a wrong trailer") << 0 << Bytes{0x88, 0, 0, 0, 0, 0x55, 0xaa, 0x01}
                                             << echo({0x88, 0, 0, 0, 0, 0x55, 0xaa, 0x01}) << none;
}

void TestQ3SimFirmware::getCommands()
{
    QFETCH(int, profile);
    QFETCH(Bytes, request);
    QFETCH(Expect, answer);
    QFETCH(Expect, data);

    fillDistinct();
    QVERIFY(q3sim::setCurrentProfile(profile));
    const State before = q3sim::keyboardState();

    QCOMPARE(Host::request(request), 9);
    Bytes got;
    QCOMPARE(Host::answer(got), 9);
    Bytes expectedAnswer{0x00};
    const Bytes tail = answer(before);
    expectedAnswer.insert(expectedAnswer.end(), tail.begin(), tail.end());
    QCOMPARE(hexText(got), hexText(expectedAnswer));

    const Bytes expectedData = data(before);
    Bytes received;
    for (std::size_t i = 0; i < expectedData.size() / 64; ++i) {
        Bytes report;
        QCOMPARE(Host::read(report), 64);
        received.insert(received.end(), report.begin(), report.end());
    }
    QCOMPARE(hexText(received), hexText(expectedData));
    Bytes extra;
    QCOMPARE(Host::read(extra, 0), 0);  // nothing more queued
    COMPARE_STATE(q3sim::keyboardState(), before);
}

// --------------------------------------------------------------- set commands

void TestQ3SimFirmware::setCommands_data()
{
    QTest::addColumn<int>("profile");    // current profile
    QTest::addColumn<Bytes>("request");  // bytes 1-8
    QTest::addColumn<int>("blocks");     // data blocks 0.. sent after the request
    QTest::addColumn<Effect>("effect");

    const Effect nothing = [](State&) {};
    QTest::newRow("02 options") << 0 << req(0x02, 0xa1, 0xb2, 0xc3) << 0
                                << Effect([](State& s) { s.options = {0xa1, 0xb2, 0xc3}; });
    QTest::newRow("04 sensitivity") << 0 << req(0x04, 0x07) << 0 << Effect([](State& s) { s.sensitivity = 0x07; });
    QTest::newRow("08 LED type, profile 1") << 1 << Bytes{0x08, 9, 8, 7, 6, 5, 4, 3} << 0
                                            << Effect([](State& s) { s.profiles[1].ledType = {9, 8, 7, 6, 5, 4, 3}; });
    QTest::newRow("09 stop macro") << 0 << req(0x09, 0xaa, 0xcc, 0xee) << 0
                                   << Effect([](State& s) { s.stopMacroRequests = 1; });
    QTest::newRow("0C keys 0-127, profile 2") << 2 << req(0x0c) << 2
                                              << Effect([](State& s) { put(s.profiles[2].keyMatrix, blocks(0, 2)); });
    QTest::newRow("0D keys 128-255, profile 1") << 1 << req(0x0d) << 2
                                                << Effect([](State& s) { put(s.profiles[1].keyMatrix, blocks(0, 2), 128); });
    QTest::newRow("0F boot loader") << 0 << Bytes{0x0f, 0x49, 0x53, 0x50, 0x51, 0x33, 0xa5, 0x5a} << 0
                                    << Effect([](State& s) {
                                           s.bootLoaderRequests = 1;
                                           s.bootLoaderSignature = {0x49, 0x53, 0x50, 0x51, 0x33, 0xa5, 0x5a};
                                           s.bootLoaderSignatureMatched = true;
                                       });
    QTest::newRow("0F boot loader, wrong signature") << 0 << Bytes{0x0f, 0x49, 0x53, 0x50, 0x51, 0x33, 0x5a, 0xa5} << 0
                                                     << Effect([](State& s) {
                                                            s.bootLoaderRequests = 1;
                                                            s.bootLoaderSignature = {0x49, 0x53, 0x50, 0x51, 0x33, 0x5a, 0xa5};
                                                        });
    for (int slot : {0, 200, 255})
        QTest::addRow("10 macro %d", slot) << 1 << req(0x10, 0, slot) << 2
                                           << Effect([slot](State& s) { put(s.macros[slot], blocks(0, 2)); });
    QTest::newRow("12 picture 15 plane 3, profile 1")
        << 1 << req(0x12, 0, 15, 3) << 2 << Effect([](State& s) { put(s.profiles[1].pictures[15][3], blocks(0, 2)); });
    QTest::newRow("12 picture 0 plane 2, profile 0")
        << 0 << req(0x12, 0, 0, 2) << 2 << Effect([](State& s) { put(s.profiles[0].pictures[0][2], blocks(0, 2)); });
    QTest::newRow("13 recovery") << 1 << req(0x13, 0xff, 0x1f) << 0 << Effect([](State& s) {
        for (std::size_t p = 0; p < s.profiles.size(); ++p)
            s.profiles[p] = State::factoryProfile(int(p));
        s.recoveryRequests = 1;
    });
    QTest::newRow("21 profile 2") << 0 << req(0x21, 2) << 0 << Effect([](State& s) { s.currentProfile = 2; });
    QTest::newRow("21 profile 0") << 1 << req(0x21, 0) << 0 << Effect([](State& s) { s.currentProfile = 0; });
    QTest::newRow("30 colours, profile 1") << 1 << req(0x30) << 1
                                           << Effect([](State& s) { put(s.profiles[1].colours, block(0)); });

    // Ignored: they change nothing, and data after them is no data.
    QTest::newRow("21 no such profile") << 0 << req(0x21, 3) << 0 << nothing;
    QTest::newRow("02 without trailer") << 0 << Bytes{0x02, 1, 2, 3, 0, 0, 0, 0} << 0 << nothing;
    QTest::newRow("0C without trailer") << 0 << Bytes{0x0c, 0, 0, 0, 0, 0x55, 0xaa, 0xff} << 2 << nothing;
    QTest::newRow("09 wrong bytes") << 0 << req(0x09, 0xaa, 0xcc, 0xef) << 0 << nothing;
    QTest::newRow("13 wrong bytes") << 0 << req(0x13, 0xff, 0x00) << 0 << nothing;
    QTest::newRow("unknown 05 with data") << 0 << req(0x05) << 2 << nothing;
}

void TestQ3SimFirmware::setCommands()
{
    QFETCH(int, profile);
    QFETCH(Bytes, request);
    QFETCH(int, blocks);
    QFETCH(Effect, effect);

    fillDistinct();
    QVERIFY(q3sim::setCurrentProfile(profile));
    State expected = q3sim::keyboardState();
    effect(expected);

    QCOMPARE(Host::request(request), 9);
    for (int n = 0; n < blocks; ++n)
        QCOMPARE(Host::write(block(n)), 65);
    COMPARE_STATE(q3sim::keyboardState(), expected);
    // A set queues nothing for the host to read.
    QCOMPARE(q3sim::queuedInputReports(q3sim::CommandInterface), std::size_t(0));
}

void TestQ3SimFirmware::refusedRequests_data()
{
    QTest::addColumn<Bytes>("request");
    QTest::newRow("12 picture 16") << req(0x12, 0, 16, 0);
    QTest::newRow("12 plane 4") << req(0x12, 0, 0, 4);
    QTest::newRow("92 picture 16") << req(0x92, 0, 16, 0);
    QTest::newRow("92 plane 255") << req(0x92, 0, 1, 255);
}

void TestQ3SimFirmware::refusedRequests()
{
    QFETCH(Bytes, request);
    fillDistinct();
    const State before = q3sim::keyboardState();
    QCOMPARE(Host::request(request), -1);
    QCOMPARE(Host::write(block(0)), 65);
    QCOMPARE(Host::write(block(1)), 65);
    COMPARE_STATE(q3sim::keyboardState(), before);
    QCOMPARE(q3sim::queuedInputReports(q3sim::CommandInterface), std::size_t(0));
}

// ------------------------------------------------------------ keyboard memory

void TestQ3SimFirmware::factoryState()
{
    Session session;
    session.run({"req 80", "answer"});
    QCOMPARE(hexText(session.answer), QString("00 80 01 0a 06 00 00 00 00"));
    session.run({"req 82", "answer"});
    QCOMPARE(hexText(session.answer), QString("00 82 00 01 00 00 00 00 00"));
    session.run({"req a1", "answer"});
    QCOMPARE(hexText(session.answer), QString("00 a1 00 00 00 00 00 00 00"));

    const State s = q3sim::keyboardState();
    QCOMPARE(int(s.profiles.size()), 3);
    for (int slot = 0; slot < State::MacroSlots; ++slot)
        QVERIFY(s.macroEmpty(slot));
    QSet<QString> ledTypes;
    for (int p = 0; p < 3; ++p) {
        const q3sim::Profile& profile = s.profiles[p];
        ledTypes << hexText(bytesOf(profile.ledType));
        // Seven different colours on the 0-63 scale, nothing past them.
        QSet<QString> colours;
        for (int k = 0; k < 7; ++k)
            colours << hexText(bytesOf(profile.colours, 3 * k, 3));
        QCOMPARE(colours.size(), 7);
        QVERIFY(std::all_of(profile.colours.begin(), profile.colours.begin() + 21, [](int c) { return c <= 63; }));
        QVERIFY(std::all_of(profile.colours.begin() + 21, profile.colours.end(), [](int c) { return c == 0; }));
        // Ordinary keys (high byte 0) but Fn (F000H), Esc first.
        QSet<int> usages;
        for (int i = 0; i < 128; ++i) {
            const unsigned short entry = profile.keyEntry(i);
            QVERIFY2(entry >> 8 == 0 || entry == 0xF000, qPrintable(QString("profile %1 position %2").arg(p).arg(i)));
            if (entry)
                usages << entry;
        }
        QCOMPARE(profile.keyEntry(0), static_cast<unsigned short>(0x29));
        QVERIFY2(usages.size() >= 100, qPrintable(QString::number(usages.size())));
    }
    QCOMPARE(ledTypes.size(), 3);
    QVERIFY(s.profiles[0] != s.profiles[1] && s.profiles[1] != s.profiles[2]);
    COMPARE_STATE(s, State::factory());
}

void TestQ3SimFirmware::profilesKeepTheirOwnSets()
{
    // Each profile gets its own LED type, colours, keys and picture through
    // the host's commands, selected with 21H ...
    auto led = [](int p) { return Bytes{0x08, Bytes::value_type(p + 1), 2, 3, 4, 5, 6, Bytes::value_type(0x70 + p)}; };
    for (int p = 0; p < 3; ++p) {
        Session session;
        session.run({QString("req 21 %1").arg(p)});
        QCOMPARE(Host::request(led(p)), 9);
        session.run({"req 30", QString("write %1").arg(10 * p),
                     "req 0c", QString("write %1").arg(10 * p + 1), QString("write %1").arg(10 * p + 2),
                     "req 0d", QString("write %1").arg(10 * p + 3), QString("write %1").arg(10 * p + 4),
                     "req 12 00 05 02", QString("write %1").arg(10 * p + 5), QString("write %1").arg(10 * p + 6)});
        QVERIFY(std::all_of(session.results.begin(), session.results.end(), [](int r) { return r > 0; }));
    }
    // ... and shows it again when selected, whatever was selected before.
    for (int p : {1, 0, 2, 1}) {
        Session session;
        session.run({QString("req 21 %1").arg(p), "req a1", "answer"});
        QCOMPARE(int(session.answer.at(2)), p);
        session.run({"req 88", "answer"});
        Bytes expectedLed = led(p);
        expectedLed[0] = 0x88;
        QCOMPARE(hexText(Bytes(session.answer.begin() + 1, session.answer.end())), hexText(expectedLed));
        session.data.clear();
        session.run({"req b0", "read", "req 8c", "read", "read", "req 8d", "read", "read",
                     "req 92 00 05 02", "read", "read"});
        QCOMPARE(hexText(session.data), hexText(blocks(10 * p, 7)));
        // The picture is the only one set: its neighbours stay empty.
        session.data.clear();
        session.run({"req 92 00 05 01", "read", "read", "req 92 00 04 02", "read", "read"});
        QCOMPARE(session.data, Bytes(256, 0));
    }
}

void TestQ3SimFirmware::profileCountIsConfigurable()
{
    q3sim::setProfileCount(5);
    Session session;
    session.run({"req 21 04", "req a1", "answer"});
    QCOMPARE(int(session.answer.at(2)), 4);
    session.run({"req 88", "answer"});
    QCOMPARE(hexText(Bytes(session.answer.begin() + 2, session.answer.end())),
             hexText(bytesOf(State::factoryProfile(4).ledType)));

    // Fewer profiles: the current one is gone, so profile 0 is current;
    // 21H cannot select the missing ones.
    q3sim::setProfileCount(2);
    QCOMPARE(q3sim::currentProfile(), 0);
    session.run({"req 21 02", "req a1", "answer"});
    QCOMPARE(int(session.answer.at(2)), 0);
    QVERIFY(!q3sim::setCurrentProfile(2));
    QVERIFY(q3sim::setCurrentProfile(1));

    QVERIFY_EXCEPTION_THROWN(q3sim::setProfileCount(0), std::invalid_argument);
    QVERIFY_EXCEPTION_THROWN(q3sim::setProfileCount(State::MaxProfiles + 1), std::invalid_argument);
    QCOMPARE(int(q3sim::keyboardState().profiles.size()), 2);

    q3sim::reset();
    QCOMPARE(int(q3sim::keyboardState().profiles.size()), 3);
}

// ---------------------------------------------------------------- data phases

void TestQ3SimFirmware::dataPhases_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<Expect>("data");     // every input report the steps read
    QTest::addColumn<Effect>("effect");
    QTest::addColumn<int>("leftQueued");  // input reports still queued after the steps

    const Effect nothing = [](State&) {};
    const Expect noData = [](const State&) { return Bytes{}; };
    auto keys = [](int profile, int offset) {
        return Expect([=](const State& s) { return bytesOf(s.profiles[profile].keyMatrix, offset, 128); });
    };

    QTest::newRow("set: one report is not enough") << QStringList{"req 0c", "write 0"} << noData << nothing << 0;
    QTest::newRow("set: two reports make the payload")
        << QStringList{"req 0c", "write 0", "write 1"} << noData
        << Effect([](State& s) { put(s.profiles[0].keyMatrix, blocks(0, 2)); }) << 0;
    QTest::newRow("set: a third report is no data")
        << QStringList{"req 0d", "write 0", "write 1", "write 2"} << noData
        << Effect([](State& s) { put(s.profiles[0].keyMatrix, blocks(0, 2), 128); }) << 0;
    QTest::newRow("set: answer read between the reports")
        << QStringList{"req 10 00 09", "write 0", "answer", "write 1"} << noData
        << Effect([](State& s) { put(s.macros[9], blocks(0, 2)); }) << 0;
    QTest::newRow("set: 64-byte payload in one report")
        << QStringList{"req 30", "write 4", "write 5"} << noData
        << Effect([](State& s) { put(s.profiles[0].colours, block(4)); }) << 0;
    QTest::newRow("set abandoned by a set")
        << QStringList{"req 0c", "write 0", "req 21 01", "write 1", "write 2"} << noData
        << Effect([](State& s) { s.currentProfile = 1; }) << 0;
    QTest::newRow("set abandoned by a get")
        << QStringList{"req 0c", "write 0", "req 80", "answer", "write 1", "write 2"} << noData << nothing << 0;
    QTest::newRow("set: a report under another id is no data")
        << QStringList{"req 0c", "write 0 id 1", "write 1", "write 2"} << noData
        << Effect([](State& s) { put(s.profiles[0].keyMatrix, blocks(1, 2)); }) << 0;
    QTest::newRow("set restarted: only the new payload counts")
        << QStringList{"req 0c", "write 0", "req 0c", "write 1", "write 2"} << noData
        << Effect([](State& s) { put(s.profiles[0].keyMatrix, blocks(1, 2)); }) << 0;

    QTest::newRow("get: two reports, in order") << QStringList{"req 8c", "answer", "read", "read"} << keys(0, 0) << nothing << 0;
    QTest::newRow("get: data without asking for the answer") << QStringList{"req 8d", "read", "read"} << keys(0, 128) << nothing << 0;
    QTest::newRow("get: stale second half discarded")
        << QStringList{"req 8c", "read", "req 8d", "read", "read"}
        << Expect([](const State& s) {
               Bytes b = bytesOf(s.profiles[0].keyMatrix, 0, 64);
               const Bytes second = bytesOf(s.profiles[0].keyMatrix, 128, 128);
               b.insert(b.end(), second.begin(), second.end());
               return b;
           })
        << nothing << 0;
    QTest::newRow("get never read, then a get without data")
        << QStringList{"req 90 00 01", "req 80", "answer"} << noData << nothing << 0;
    QTest::newRow("get never read, then a set")
        << QStringList{"req b0", "req 04 09"} << noData << Effect([](State& s) { s.sensitivity = 9; }) << 0;
    QTest::newRow("get left unread") << QStringList{"req 92 00 01 01"} << noData << nothing << 2;
}

void TestQ3SimFirmware::dataPhases()
{
    QFETCH(QStringList, steps);
    QFETCH(Expect, data);
    QFETCH(Effect, effect);
    QFETCH(int, leftQueued);

    fillDistinct();
    State expected = q3sim::keyboardState();
    const Bytes expectedData = data(expected);
    effect(expected);

    Session session;
    session.run(steps);
    for (int i = 0; i < steps.size(); ++i)
        QVERIFY2(session.results[i] > 0, qPrintable(steps[i]));
    QCOMPARE(hexText(session.data), hexText(expectedData));
    COMPARE_STATE(q3sim::keyboardState(), expected);
    QCOMPARE(int(q3sim::queuedInputReports(q3sim::CommandInterface)), leftQueued);
}

// --------------------------------------------------------------------- faults

void TestQ3SimFirmware::stalledDataPhaseTimesOut()
{
    q3sim::stallDataPhase(true);
    Session session;
    session.run({"req 8c", "answer"});
    QCOMPARE(hexText(session.answer), QString("00 8c 00 00 00 00 55 aa 00"));

    hid_device* dev = hid_open_path(CommandPath);
    QVERIFY(dev);
    unsigned char buf[65];
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(hid_read_timeout(dev, buf, sizeof buf, 150), 0);
    QVERIFY2(timer.elapsed() >= 140, qPrintable(QString::number(timer.elapsed())));
    hid_close(dev);
    QCOMPARE(q3sim::lastTransferMicros(0x8c), -1LL);

    // Gets without data and sets are not affected; lifting the stall brings the data back.
    session.run({"req 84", "answer"});
    QCOMPARE(int(session.answer.at(2)), 0x02);
    q3sim::stallDataPhase(false);
    session.run({"req 8c", "read", "read"});
    QCOMPARE(hexText(session.data), hexText(bytesOf(q3sim::keyboardState().profiles[0].keyMatrix, 0, 128)));
}

void TestQ3SimFirmware::unplugMidTransfer_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("after");   // unplugAfterReports
    QTest::addColumn<int>("failing"); // first step that fails; the later ones fail too

    QTest::newRow("set, after the request") << QStringList{"req 0c", "write 0", "write 1"} << 1 << 1;
    QTest::newRow("set, between its data reports") << QStringList{"req 0c", "write 0", "write 1"} << 2 << 2;
    QTest::newRow("get, after the answer") << QStringList{"req 8c", "answer", "read", "read"} << 2 << 2;
    QTest::newRow("get, between its data reports") << QStringList{"req 8c", "answer", "read", "read"} << 3 << 3;
    QTest::newRow("two transfers, in the second") << QStringList{"req 21 01", "req 88", "answer", "req 80"} << 3 << 3;
}

void TestQ3SimFirmware::unplugMidTransfer()
{
    QFETCH(QStringList, steps);
    QFETCH(int, after);
    QFETCH(int, failing);

    const State before = q3sim::keyboardState();
    q3sim::unplugAfterReports(after);
    Session session;
    session.run(steps);
    for (int i = 0; i < steps.size(); ++i) {
        if (i < failing)
            QVERIFY2(session.results[i] > 0, qPrintable(steps[i]));
        else
            QVERIFY2(session.results[i] == -1, qPrintable(steps[i]));
    }
    QVERIFY(!q3sim::isPlugged());

    // Plugged in again: what was complete stays, the cut transfer left no
    // trace, and the keyboard works.
    q3sim::setPlugged(true);
    QCOMPARE(q3sim::queuedInputReports(q3sim::CommandInterface), std::size_t(0));
    State expected = before;
    if (steps.first() == "req 21 01")
        expected.currentProfile = 1;
    COMPARE_STATE(q3sim::keyboardState(), expected);
    Session again;
    again.run({"req 8d", "read", "read"});
    QCOMPARE(again.data.size(), std::size_t(128));
}

void TestQ3SimFirmware::unplugKillsAHandleKeptOpen()
{
    hid_device* dev = hid_open_path(CommandPath);
    QVERIFY(dev);
    q3sim::unplugAfterReports(2);
    const Bytes request{0x00, 0x0c, 0, 0, 0, 0, 0x55, 0xaa, 0x00};
    Bytes report{0x00};
    const Bytes data = block(0);
    report.insert(report.end(), data.begin(), data.end());
    QCOMPARE(hid_send_feature_report(dev, request.data(), request.size()), 9);
    QCOMPARE(hid_write(dev, report.data(), report.size()), 65);
    QCOMPARE(hid_write(dev, report.data(), report.size()), -1);
    QVERIFY(QString::fromWCharArray(hid_error(dev)) != "Success");
    hid_close(dev);
    QVERIFY(!q3sim::isPlugged());
}

void TestQ3SimFirmware::garbledDataReports_data()
{
    QTest::addColumn<QList<Bytes>>("replacements");
    QTest::addColumn<QList<int>>("reads");  // hid_read_timeout results, in order (0: timed out)
    QTest::addColumn<bool>("timed");        // the transfer is recorded as complete

    QTest::newRow("short first report") << QList<Bytes>{{0x01, 0x02}} << QList<int>{2, 64, 0} << true;
    QTest::newRow("garbage, longer than a report") << QList<Bytes>{Bytes(80, 0xa5)} << QList<int>{65, 64, 0} << true;
    QTest::newRow("both replaced") << QList<Bytes>{{0x09}, Bytes(64, 0xff)} << QList<int>{1, 64, 0} << true;
    QTest::newRow("first report lost") << QList<Bytes>{{}} << QList<int>{64, 0} << false;
}

void TestQ3SimFirmware::garbledDataReports()
{
    QFETCH(QList<Bytes>, replacements);
    QFETCH(QList<int>, reads);
    QFETCH(bool, timed);

    for (const Bytes& bytes : replacements)
        q3sim::replaceNextDataReport(bytes);
    const Bytes keys = bytesOf(q3sim::keyboardState().profiles[0].keyMatrix, 0, 128);
    QCOMPARE(Host::request(req(0x8c)), 9);

    // What arrives: the replacements in place of the data reports they
    // replace, the data reports nobody replaced, nothing else.
    QList<Bytes> expected;
    int report = 0;
    for (const Bytes& bytes : replacements) {
        if (!bytes.empty())
            expected << Bytes(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 65));
        ++report;
    }
    for (; report < 2; ++report)
        expected << Bytes(keys.begin() + 64 * report, keys.begin() + 64 * report + 64);
    for (int i = 0; i < reads.size(); ++i) {
        Bytes got;
        QCOMPARE(Host::read(got, reads[i] ? 500 : 50), reads[i]);
        if (reads[i])
            QCOMPARE(hexText(got), hexText(expected.value(i)));
    }
    QCOMPARE(q3sim::lastTransferMicros(0x8c) >= 0, timed);

    // Only the next data reports were affected.
    Session session;
    session.run({"req 8c", "read", "read"});
    QCOMPARE(hexText(session.data), hexText(keys));
}

// ------------------------------------------------------------------- lighting

void TestQ3SimFirmware::lightingReport_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("eventShown");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<bool>("reported");

    QTest::newRow("profile 0") << true << true << 0 << true << true;
    QTest::newRow("profile 2") << true << true << 2 << true << true;
    QTest::newRow("event interface hidden") << true << false << 1 << true << false;
    QTest::newRow("unplugged") << false << true << 0 << false << false;
}

void TestQ3SimFirmware::lightingReport()
{
    QFETCH(bool, plugged);
    QFETCH(bool, eventShown);
    QFETCH(int, profile);
    QFETCH(bool, changes);
    QFETCH(bool, reported);

    QVERIFY(q3sim::setCurrentProfile(profile));
    q3sim::setInterfaces(true, eventShown);
    q3sim::setPlugged(plugged);
    hid_device* event = eventShown && plugged ? hid_open_path(EventPath) : nullptr;
    State expected = q3sim::keyboardState();
    if (changes)
        expected.profiles[profile].ledType = {0x07, 0x03, 0x02, 0x01, 0x06, 0x01, 0x00};

    QCOMPARE(q3sim::sendLightingReport(0x07, 0x03, 0x02, 0x01, 0x06, 0x01, 0x00), changes);
    COMPARE_STATE(q3sim::keyboardState(), expected);
    // Nothing on the command interface, the report on the event interface.
    QCOMPARE(q3sim::queuedInputReports(q3sim::CommandInterface), std::size_t(0));
    if (event) {
        unsigned char buf[65];
        const int result = hid_read_timeout(event, buf, sizeof buf, reported ? 500 : 0);
        QCOMPARE(result, reported ? 12 : 0);
        if (reported)
            QCOMPARE(hexText(Bytes(buf, buf + 12)), QString("00 00 00 00 07 03 02 01 06 01 00 00"));
        hid_close(event);
    }
    QCOMPARE(q3sim::queuedInputReports(q3sim::EventInterface), std::size_t(0));
    if (!plugged)
        return;
    // The host reads the new LED type back.
    Session session;
    session.run({"req 88", "answer"});
    QCOMPARE(hexText(session.answer), QString("00 88 07 03 02 01 06 01 00"));
}

// ------------------------------------------------------------------ wire time

void TestQ3SimFirmware::wireTime_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("payload");
    QTest::addColumn<int>("reports");
    QTest::addColumn<int>("minMicros");

    QTest::newRow("set 128 bytes") << QStringList{"req 0c", "sleep 30", "write 0", "write 1"} << 0x0c << 128 << 3 << 30000;
    QTest::newRow("get 128 bytes") << QStringList{"req 8d", "answer", "read", "sleep 30", "read"} << 0x8d << 128 << 4 << 30000;
    QTest::newRow("get 64 bytes, answer last") << QStringList{"req b0", "read", "sleep 30", "answer"} << 0xb0 << 64 << 2 << 0;
    QTest::newRow("get without data") << QStringList{"req 80", "sleep 30", "answer"} << 0x80 << 0 << 2 << 30000;
    QTest::newRow("set without data") << QStringList{"req 21 01", "sleep 30"} << 0x21 << 0 << 1 << 0;
    QTest::newRow("abandoned set not timed") << QStringList{"req 0c", "write 0", "req 84", "sleep 30", "answer"}
                                             << 0x84 << 0 << 2 << 30000;
}

void TestQ3SimFirmware::wireTime()
{
    QFETCH(QStringList, steps);
    QFETCH(int, command);
    QFETCH(int, payload);
    QFETCH(int, reports);
    QFETCH(int, minMicros);

    QCOMPARE(q3sim::lastTransferMicros(), -1LL);
    QElapsedTimer timer;
    timer.start();
    Session session;
    session.run(steps);
    const qint64 elapsedMicros = timer.nsecsElapsed() / 1000;

    const std::vector<q3sim::TransferTiming> timings = q3sim::transferTimings();
    QCOMPARE(int(timings.size()), 1);
    const q3sim::TransferTiming& t = timings.back();
    QCOMPARE(int(t.command), command);
    QCOMPARE(int(t.payloadBytes), payload);
    QCOMPARE(t.reports, reports);
    QVERIFY2(t.micros >= minMicros && t.micros <= elapsedMicros, qPrintable(QString::number(t.micros)));
    QCOMPARE(q3sim::lastTransferMicros(), t.micros);
    QCOMPARE(q3sim::lastTransferMicros(static_cast<unsigned char>(command)), t.micros);
    // Rows with minMicros 0 sleep after their last report: it is not counted.
    if (minMicros == 0)
        QVERIFY2(t.micros + 30000 <= elapsedMicros, qPrintable(QString("%1 of %2").arg(t.micros).arg(elapsedMicros)));
}

// ------------------------------------------------------------------- threads

void TestQ3SimFirmware::controlWhileTransferring()
{
    // The host's transfers on one thread, the keyboard's own keys and state
    // reads on another: every transfer still completes intact.
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    auto control = std::async(std::launch::async, [&] {
        while (!done) {
            q3sim::sendLightingReport(1, 2, 3, 4, 5, 6, static_cast<unsigned char>(rounds));
            const State s = q3sim::keyboardState();
            if (s.profiles.size() != 3)
                return false;
            ++rounds;
        }
        return true;
    });
    QElapsedTimer started;
    started.start();
    while (rounds == 0 && started.elapsed() < 5000)
        std::this_thread::yield();
    for (int i = 0; i < 100; ++i) {
        Session session;
        session.run({"req 0c", QString("write %1").arg(2 * i), QString("write %1").arg(2 * i + 1),
                     "req 8c", "read", "read"});
        QCOMPARE(hexText(session.data), hexText(blocks(2 * i, 2)));
    }
    done = true;
    QVERIFY(control.get());
    QVERIFY(rounds > 0);
}

QTEST_APPLESS_MAIN(TestQ3SimFirmware)
#include "tst_q3sim_firmware.moc"
