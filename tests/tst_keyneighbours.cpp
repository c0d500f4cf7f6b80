// Moving through a drawing of keys with the arrow keys (KeyNeighbours): the
// neighbour in each direction on a small staggered drawing, and lists that
// are short, hold no numbers or no keys, or a direction that is none --
// never a key that is not there.

#include "bridge/KeyNeighbours.h"

#include <QTest>

#include <limits>

namespace {

// Three rows of a staggered keyboard, 29 x 29 keys on a 31 px grid:
//   0 [Q]  1 [W]  2 [E]
//     3 [A]  4 [S]
//   5 [  wide Shift  ]  6 [Z]
// and a key without area (7) where nothing may be chosen.
QVariantList drawing()
{
    return {0, 0, 29, 29,   31, 0, 29, 29,   62, 0, 29, 29,
            8, 31, 29, 29,  39, 31, 29, 29,
            0, 62, 60, 29,  62, 62, 29, 29,
            100, 31, 0, 0};
}

}

class TestKeyNeighbours : public QObject
{
    Q_OBJECT

private slots:
    void nearest_data()
    {
        QTest::addColumn<QVariantList>("rects");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("expected");

        const QVariantList d = drawing();
        QTest::newRow("right in the row") << d << 0 << 1 << 0 << 1;
        QTest::newRow("left in the row") << d << 2 << -1 << 0 << 1;
        QTest::newRow("down: the key most under it") << d << 1 << 0 << 1 << 4;
        QTest::newRow("up: the key most over it") << d << 3 << 0 << -1 << 0;
        QTest::newRow("down onto the wide key") << d << 4 << 0 << 1 << 5;
        QTest::newRow("right past the row's end: none, stays") << d << 4 << 1 << 0 << 4;
        QTest::newRow("up from the top row: stays") << d << 1 << 0 << -1 << 1;
        QTest::newRow("right of the wide key in its row") << d << 5 << 1 << 0 << 6;
        QTest::newRow("from a key without area: none") << d << 7 << 1 << 0 << -1;
        QTest::newRow("from beyond the list") << d << 8 << 1 << 0 << -1;
        QTest::newRow("from a negative index") << d << -1 << 1 << 0 << -1;
        QTest::newRow("diagonal is no direction") << d << 0 << 1 << 1 << -1;
        QTest::newRow("no direction") << d << 0 << 0 << 0 << -1;
        QTest::newRow("empty list") << QVariantList() << 0 << 1 << 0 << -1;
        QTest::newRow("list cut short") << QVariantList{0, 0, 29} << 0 << 1 << 0 << -1;
        QTest::newRow("text that is no number")
            << QVariantList{0, 0, 29, 29, "x", 0, 29, 29} << 0 << 1 << 0 << 0;
        QTest::newRow("infinite size")
            << QVariantList{0, 0, 29, 29, 31, 0, std::numeric_limits<double>::infinity(), 29} << 0 << 1 << 0 << 0;
        QTest::newRow("huge index") << d << std::numeric_limits<int>::max() << 1 << 0 << -1;
    }

    void nearest()
    {
        QFETCH(QVariantList, rects);
        QFETCH(int, from);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, expected);
        QCOMPARE(KeyNeighbours::nearest(rects, from, dx, dy), expected);
    }

    void first_data()
    {
        QTest::addColumn<QVariantList>("rects");
        QTest::addColumn<int>("expected");
        QTest::newRow("top-left key") << drawing() << 0;
        // A key a little lower but further left is of the same row.
        QTest::newRow("same row, further left") << QVariantList{40, 0, 29, 29, 0, 2, 29, 29} << 1;
        QTest::newRow("placeholders first") << QVariantList{0, 0, 0, 0, 50, 50, 29, 29} << 1;
        QTest::newRow("no keys") << QVariantList{0, 0, 0, 0} << -1;
        QTest::newRow("empty") << QVariantList() << -1;
    }

    void first()
    {
        QFETCH(QVariantList, rects);
        QFETCH(int, expected);
        QCOMPARE(KeyNeighbours::first(rects), expected);
    }
};

QTEST_MAIN(TestKeyNeighbours)
#include "tst_keyneighbours.moc"
