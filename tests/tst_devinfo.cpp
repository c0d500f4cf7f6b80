#include "device/DevInfo.h"

#include <QTemporaryDir>
#include <QTest>

class TestDevInfo : public QObject
{
    Q_OBJECT
private slots:
    void shippedCatalogue();
    void parse_data();
    void parse();
};

void TestDevInfo::shippedCatalogue()
{
    const QList<DevInfo> c = DevInfoCatalogue::read(":/DevInfo.ini");
    QCOMPARE(c.size(), 1);
    QCOMPARE(c[0].vid, quint16(0x04d9));
    QCOMPARE(c[0].pid, quint16(0xa1cd));
    QCOMPARE(c[0].usagePage, quint16(0xff01));
    QCOMPARE(c[0].usage, quint16(1));
    QCOMPARE(c[0].usagePage2, quint16(0xff02));
    QCOMPARE(c[0].usage2, quint16(1));
    QCOMPARE(c[0].reportLength, quint32(64));
}

// Each row: the INI text, the expected entry count, and for entry 0 (and 1
// when present) "vid pid usagePage usage usagePage2 usage2 reportLength".
void TestDevInfo::parse_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("hex ids, decimal length")
        << QByteArray("[common]\ntotal=1\n[0]\nvid=04d9\npid=a1cd\nusagePage=ff01\nusage=0001\n"
                      "usagePage2=ff02\nusage2=0001\nreportLength=64\n")
        << 1 << QStringList{"4d9 a1cd ff01 1 ff02 1 64"};
    QTest::newRow("digits only are still hexadecimal")
        << QByteArray("[common]\ntotal=1\n[0]\nvid=10\npid=0100\nreportLength=10\n")
        << 1 << QStringList{"10 100 0 0 0 0 10"};
    QTest::newRow("missing keys read as 0")
        << QByteArray("[common]\ntotal=1\n[0]\nvid=04d9\n")
        << 1 << QStringList{"4d9 0 0 0 0 0 0"};
    QTest::newRow("unparsable values read as 0")
        << QByteArray("[common]\ntotal=1\n[0]\nvid=zz\npid=-\nreportLength=abc\n")
        << 1 << QStringList{"0 0 0 0 0 0 0"};
    QTest::newRow("total 0")
        << QByteArray("[common]\ntotal=0\n[0]\nvid=04d9\n") << 0 << QStringList{};
    QTest::newRow("no total")
        << QByteArray("[0]\nvid=04d9\n") << 0 << QStringList{};
    QTest::newRow("total 2, group numbers decimal")
        << QByteArray("[common]\ntotal=2\n[0]\nvid=1\n[1]\nvid=2\npid=ffff\nreportLength=32\n[10]\nvid=3\n")
        << 2 << QStringList{"1 0 0 0 0 0 0", "2 ffff 0 0 0 0 32"};
    QTest::newRow("total beyond the groups")
        << QByteArray("[common]\ntotal=3\n[0]\nvid=1\n")
        << 3 << QStringList{"1 0 0 0 0 0 0", "0 0 0 0 0 0 0", "0 0 0 0 0 0 0"};
    QTest::newRow("negative total")
        << QByteArray("[common]\ntotal=-5\n") << 0 << QStringList{};
    QTest::newRow("huge total is bounded")
        << QByteArray("[common]\ntotal=2000000000\n") << DevInfoCatalogue::maxEntries
        << QStringList{"0 0 0 0 0 0 0"};
}

void TestDevInfo::parse()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, count);
    QFETCH(QStringList, entries);

    QTemporaryDir dir;
    const QString path = dir.filePath("DevInfo.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();

    const QList<DevInfo> c = DevInfoCatalogue::read(path);
    QCOMPARE(c.size(), count);
    for (int i = 0; i < entries.size(); ++i) {
        const DevInfo& d = c.at(i);
        const QString got = QString("%1 %2 %3 %4 %5 %6 %7")
                                .arg(d.vid, 0, 16).arg(d.pid, 0, 16)
                                .arg(d.usagePage, 0, 16).arg(d.usage, 0, 16)
                                .arg(d.usagePage2, 0, 16).arg(d.usage2, 0, 16)
                                .arg(d.reportLength);
        QCOMPARE(got, entries.at(i));
    }
}

QTEST_GUILESS_MAIN(TestDevInfo)
#include "tst_devinfo.moc"
