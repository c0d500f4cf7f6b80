#include "KeyboardEntry.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

#include <hidapi.h>

#include <QTest>

namespace {


QString simPath(q3sim::Interface which)
{
    return QString::fromStdString(q3sim::interfacePath(which));
}

}

class TestDiscovery : public QObject
{
    Q_OBJECT
private slots:
    void init() { q3sim::reset(); }

    void shippedCatalogueFindsBothInterfaces();
    void presence_data();
    void presence();
    void laterMatchReplacesEarlier();
    void entriesPastTheFirstStayEmpty();
    void emptyCatalogue();
    void refreshKeepsCurrentDevice();
    void failedOpenEmptiesPathUntilRefresh();
    void openClosesPreviousHandle();
    void indexBeyondListIsRefused();
};

void TestDiscovery::shippedCatalogueFindsBothInterfaces()
{
    Hid_Thread hid;
    hid.refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
    QCOMPARE(hid.deviceCount(), 1);
    const HidDevice d = hid.device(0);
    QCOMPARE(d.path, simPath(q3sim::CommandInterface));
    QCOMPARE(d.path2, simPath(q3sim::EventInterface));
    QCOMPARE(d.reportLength, quint32(64));
    QCOMPARE(q3sim::countCalls("hid_free_enumeration"), 1);
}

// Both interfaces are required: with only one of them on the bus the record
// stays empty.
void TestDiscovery::presence_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("command");
    QTest::addColumn<bool>("event");
    QTest::addColumn<bool>("found");

    QTest::newRow("both") << true << true << true << true;
    QTest::newRow("only command interface") << true << true << false << false;
    QTest::newRow("only event interface") << true << false << true << false;
    QTest::newRow("neither") << true << false << false << false;
    QTest::newRow("unplugged") << false << true << true << false;
}

void TestDiscovery::presence()
{
    QFETCH(bool, plugged);
    QFETCH(bool, command);
    QFETCH(bool, event);
    QFETCH(bool, found);

    q3sim::setInterfaces(command, event);
    q3sim::setPlugged(plugged);
    // Unrelated devices on the bus never count.
    q3sim::addExtraDevice(0x046d, 0xc52b, 0xff01, 1);
    q3sim::addExtraDevice(0x04d9, 0xa1cd, 0x0001, 6);

    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    const HidDevice d = hid.device(0);
    QCOMPARE(d.path.isEmpty(), !found);
    QCOMPARE(d.path2.isEmpty(), !found);
    QCOMPARE(d.reportLength, found ? quint32(64) : quint32(0));
}

void TestDiscovery::laterMatchReplacesEarlier()
{
    const QString laterCommand =
        QString::fromStdString(q3sim::addExtraDevice(0x04d9, 0xa1cd, 0xff01, 1));
    const QString laterEvent =
        QString::fromStdString(q3sim::addExtraDevice(0x04d9, 0xa1cd, 0xff02, 1));

    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    QCOMPARE(hid.device(0).path, laterCommand);
    QCOMPARE(hid.device(0).path2, laterEvent);
}

void TestDiscovery::entriesPastTheFirstStayEmpty()
{
    // The second entry describes the same keyboard, which is attached.
    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry(), keyboardEntry()});
    QCOMPARE(hid.deviceCount(), 2);
    QVERIFY(!hid.device(0).path.isEmpty());
    QVERIFY(hid.device(1).path.isEmpty());
    QVERIFY(hid.device(1).path2.isEmpty());
    QCOMPARE(q3sim::countCalls("hid_enumerate"), 1);
}

void TestDiscovery::emptyCatalogue()
{
    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    hid.refreshDevices({});
    QCOMPARE(hid.deviceCount(), 0);
    QCOMPARE(q3sim::countCalls("hid_enumerate"), 1);
    QVERIFY(!hid.openDevice(0));
}

void TestDiscovery::refreshKeepsCurrentDevice()
{
    Hid_Thread hid;
    hid.swichCurDevice(3);
    hid.refreshDevices({keyboardEntry()});
    QCOMPARE(hid.currentDevice(), 3u);
}

void TestDiscovery::failedOpenEmptiesPathUntilRefresh()
{
    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    q3sim::failOpens(1);

    QVERIFY(!hid.openDevice(0));
    QVERIFY(hid.device(0).path.isEmpty());
    QVERIFY(!hid.device(0).path2.isEmpty()); // the other interface is untouched

    // The next open fails at the emptiness test without reaching hidapi.
    q3sim::clearTrace();
    QVERIFY(!hid.openDevice(0));
    QCOMPARE(q3sim::countCalls("hid_open_path"), 0);

    hid.refreshDevices({keyboardEntry()});
    hid_device* h = hid.openDevice(0);
    QVERIFY(h);
    hid.closeDevice();
}

void TestDiscovery::openClosesPreviousHandle()
{
    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    QVERIFY(hid.openDevice(0));
    QVERIFY(hid.openDevice(0));
    QVERIFY(hid.openDevice2(0));
    QCOMPARE(q3sim::countCalls("hid_close"), 1);
    // Reads on an opened interface block.
    QCOMPARE(q3sim::countCalls("hid_set_nonblocking"), 3);
    hid.closeDevice();
    hid.closeDevice();
    hid.closeDevice2();
    QCOMPARE(q3sim::countCalls("hid_close"), 3);
}

void TestDiscovery::indexBeyondListIsRefused()
{
    Hid_Thread hid;
    hid.refreshDevices({keyboardEntry()});
    q3sim::clearTrace();
    QVERIFY(!hid.openDevice(1));
    QVERIFY(!hid.openDevice2(7));
    QVERIFY(hid.device(1).path.isEmpty());
    QCOMPARE(q3sim::trace().size(), size_t(0));
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
