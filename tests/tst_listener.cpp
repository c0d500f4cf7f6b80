#include "BridgeFixture.h"

#include "app/StartupEnvironment.h"

#include <QSignalSpy>
#include <QLoggingCategory>
#include <QTest>

namespace {
QStringList messages;
void collectMessages(QtMsgType, const QMessageLogContext&, const QString& text)
{
    messages.append(text);
}

std::vector<unsigned char> reportBytes(int size)
{
    std::vector<unsigned char> r(size_t(size), 0);
    for (int i = 4; i <= 10 && i < size; ++i)
        r[size_t(i)] = uchar(i - 3);
    return r;
}
}

class TestListener : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { StartupEnvironment::ensureThreadPool(); }
    void init()
    {
        messages.clear();
        // The listener's "Device removed" is a debug line of the device category.
        QLoggingCategory::setFilterRules("q3config.device.debug=true");
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void lightingReport_data();
    void lightingReport();
    void reportGoesToTheCurrentProfile();
    void unplugEndsTheTask();
    void switchingWaitsForTheOldTask();
    void absentEventInterface();
    void stopListenerIsIdempotent();
    void failingReadsDoNotSpin();
};

void TestListener::lightingReport_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("taken");
    QTest::newRow("64-byte report") << 64 << true;
    QTest::newRow("exactly 12 bytes") << 12 << true;
    QTest::newRow("11 bytes") << 11 << false;
    QTest::newRow("one byte") << 1 << false;
}

void TestListener::lightingReport()
{
    QFETCH(int, size);
    QFETCH(bool, taken);
    BridgeFixture f;
    f.hid->swichCurDevice(0);
    q3sim::pushInputReport(q3sim::EventInterface, reportBytes(size));

    if (taken) {
        QTRY_COMPARE(f.stored(0, "color/ledType").toList(),
                     (QVariantList{"1", "2", "3", "4", "5", "6", "7"}));
        QTRY_COMPARE(f.sceneCalls(), QStringList{"zzzQuarel"});
    } else {
        QTRY_COMPARE(q3sim::queuedInputReports(q3sim::EventInterface), size_t(0));
        QTest::qWait(100);
        QVERIFY(!f.stored(0, "color/ledType").isValid());
    }
    QTest::qWait(600);
    QCOMPARE(f.sceneCalls(), taken ? QStringList{"zzzQuarel"} : QStringList{});
    QVERIFY(f.hid->isListening());
}

void TestListener::reportGoesToTheCurrentProfile()
{
    BridgeFixture f;
    f.view->ui_21H_SetCurrentProfile(2);
    f.waitForLink();
    f.hid->swichCurDevice(0);
    q3sim::pushInputReport(q3sim::EventInterface, reportBytes(12));
    QTRY_VERIFY(f.stored(2, "color/ledType").isValid());
    QVERIFY(!f.stored(0, "color/ledType").isValid());
}

void TestListener::unplugEndsTheTask()
{
    BridgeFixture f;
    qInstallMessageHandler(collectMessages);
    f.hid->swichCurDevice(0);
    QTest::qWait(50);
    q3sim::setPlugged(false);

    QTRY_VERIFY_WITH_TIMEOUT(f.hid->listenerRun().isFinished(), 2000);
    QVERIFY(!f.hid->isListening());
    QTest::qWait(600);
    QCOMPARE(messages, QStringList{"Device removed"});
    QVERIFY(f.hid->device(0).path2.isEmpty());
    // The command interface is left for the next transfer to find out.
    QVERIFY(!f.hid->device(0).path.isEmpty());
    QCOMPARE(f.sceneCalls(), QStringList{});
}

void TestListener::switchingWaitsForTheOldTask()
{
    BridgeFixture f;
    f.hid->swichCurDevice(0);
    QTest::qWait(100); // the task is inside its 500 ms read
    QFuture<void> old = f.hid->listenerRun();
    QVERIFY(!old.isFinished());

    f.hid->swichCurDevice(0);
    QVERIFY(old.isFinished());
    QVERIFY(f.hid->isListening());
    QVERIFY(!f.hid->listenerRun().isFinished());

    // The new task works.
    q3sim::pushInputReport(q3sim::EventInterface, reportBytes(12));
    QTRY_COMPARE(f.sceneCalls(), QStringList{"zzzQuarel"});
}

void TestListener::absentEventInterface()
{
    q3sim::reset();
    q3sim::setInterfaces(true, true);
    BridgeFixture f;
    // Discovery found both, then the event interface went away unnoticed.
    q3sim::setInterfaces(true, false);
    f.hid->stopListener();
    qInstallMessageHandler(collectMessages);
    q3sim::clearTrace();

    f.hid->refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini")); // paths now empty
    f.hid->swichCurDevice(0);
    QTRY_VERIFY(f.hid->listenerRun().isFinished());
    QVERIFY(f.hid->isListening()); // cleared only by the next stop or start
    QCOMPARE(q3sim::countCalls("hid_open_path"), 0);
    QVERIFY(messages.isEmpty());
}

void TestListener::stopListenerIsIdempotent()
{
    BridgeFixture f;
    f.hid->stopListener();
    f.hid->swichCurDevice(0);
    f.hid->stopListener();
    QVERIFY(f.hid->listenerRun().isFinished());
    f.hid->stopListener();
    QVERIFY(!f.hid->isListening());
}

void TestListener::failingReadsDoNotSpin()
{
    BridgeFixture f;
    f.hid->swichCurDevice(0);
    q3sim::failCall("hid_read_timeout", -1);
    q3sim::clearTrace();
    QTest::qWait(1500);
    // A failed read counts as a time-out of 500 ms: three or four passes, not thousands.
    const int reads = q3sim::countCalls("hid_read_timeout");
    QVERIFY2(reads >= 1 && reads <= 5, qPrintable(QString::number(reads)));
    QVERIFY(f.hid->isListening());

    // Once reads work again, so does the listener.
    q3sim::failCall("hid_read_timeout", 0);
    q3sim::pushInputReport(q3sim::EventInterface, reportBytes(12));
    QTRY_COMPARE(f.sceneCalls(), QStringList{"zzzQuarel"});
}

QTEST_MAIN(TestListener)
#include "tst_listener.moc"
