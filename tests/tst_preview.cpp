// The lighting preview's engine without a scene: the scripts built from the
// key layout, and the colours the keys show at chosen ticks of every effect.

#include "bridge/HardwareDefinition.h"
#include "preview/EffectEngine.h"
#include "preview/EffectPreview.h"
#include "preview/EffectTimings.h"
#include "preview/PreviewLayout.h"

#include <QtTest>

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb yellow = qRgb(255, 255, 0);
const QRgb blue = qRgb(0, 0, 255);
const QRgb cyan = qRgb(0, 255, 255);
const QRgb white = qRgb(255, 255, 255);
const QRgb slotRgb[7] = {red, green, yellow, blue, cyan, qRgb(255, 0, 255), white};

QRgb withAlpha(QRgb c, int a)
{
    return qRgba(qRed(c), qGreen(c), qBlue(c), a);
}

QString text(QRgb c)
{
    return QString("(%1, %2, %3, %4)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)).arg(qAlpha(c));
}

PreviewKey key(double x, double y, int matrix, double w = 29, double h = 29)
{
    PreviewKey k;
    k.x = x, k.y = y, k.width = w, k.height = h, k.matrix = matrix;
    return k;
}

// Three rows: three keys, two keys, one key; created out of screen order.
//   row 0:  m0 (x 0)   m1 (x 31)   m2 (x 62)
//   row 1:  m16 (x 0)  m17 (x 31)
//   row 2:  m32 (x 0)
// Creation order: m1, m0, m2, m17, m16, m32.
QVector<PreviewKey> smallLayout()
{
    return {key(31, 0, 1), key(0, 0, 0), key(62, 0, 2), key(31, 31, 17), key(0, 31, 16), key(0, 62, 32)};
}

enum SmallKey { M1, M0, M2, M17, M16, M32 };

// Key sizes of the skins' key pictures by key type.
QSizeF keySize(int type)
{
    static const int widths[10] = {0, 29, 37, 45, 52, 60, 68, 83, 192, 29};
    if (type < 0 || type > 9)
        return {};
    return QSizeF(widths[type], type == 0 ? 0 : type == 9 ? 60 : 29);
}

QVector<PreviewKey> shippedLayout()
{
    const QVariantList hw = HardwareDefinition::load(QString(Q3_SOURCE_MODULES) + "/setting/HWDef.bin", 3);
    QVector<PreviewKey> keys;
    const int count = hw.value(0).toInt();
    for (int i = 0; i < count; ++i) {
        const int base = 2 + 6 * i;
        const QSizeF size = keySize(hw[base + 2].toInt());
        keys.append(key(hw[base].toInt(), hw[base + 1].toInt(), hw[base + 4].toInt(), size.width(),
                        size.height()));
    }
    return keys;
}

void startOn(EffectEngine& e, int effect, int slot = 0, int level = 7)
{
    e.setEffectIndex(effect);
    e.setCurrentSlot(slot);
    e.setBrightness(level);
    e.start(effect);
}

void ticks(EffectEngine& e, int n)
{
    for (int i = 0; i < n; ++i)
        e.tick();
}

QVector<QRgb> allColours(const EffectEngine& e)
{
    QVector<QRgb> out;
    for (int i = 0; i < e.keyCount(); ++i)
        out.append(e.shownColour(i));
    return out;
}

} // namespace

class tst_preview : public QObject
{
    Q_OBJECT

private slots:
    void rows();
    void rowsOfTheShippedLayout();
    void wavePictures_data();
    void wavePictures();
    void wavePicturesOfOneColumn();
    void intervals_data();
    void intervals();
    void staticLoopsEveryInterval();
    void breathing_data();
    void breathing();
    void waveSweepsRows_data();
    void waveSweepsRows();
    void inductionDarken();
    void marquee_data();
    void marquee();
    void rippleBeams_data();
    void rippleBeams();
    void colourShift_data();
    void colourShift();
    void neon_data();
    void neon();
    void marqueeColourfulIsSeedable();
    void rainingRings();
    void spotlightCycle();
    void pictures();
    void hiddenPageFreezes();
    void unknownKeyIgnoredByEveryEffect_data();
    void unknownKeyIgnoredByEveryEffect();
    void emptyLayout();
    void previewItemTakesBadInput();
    void previewItemStartPictures();
};

void tst_preview::rows()
{
    const PreviewLayout l = PreviewLayout::build(smallLayout());
    QCOMPARE(l.posYId, (QVector<int>{0, 0, 0, 1, 1, 2}));
    // Even rows left to right, odd rows right to left.
    QCOMPARE(l.script02, (QVector<int>{0, 1, 2, -1, 17, 16, -1, 32, -1}));
    QCOMPARE(l.script05, (QStringList{"002001000", "017016", "032"}));
    QCOMPARE(PreviewLayout::splitRow("017016"), (QVector<int>{17, 16}));

    // A key sitting lower by less than half the previous key's height stays
    // in its row; a tall key's centre decides by the key before it.
    QVector<PreviewKey> keys = {key(0, 0, 0), key(31, 14, 1), key(62, 0, 2), key(0, 31, 16)};
    PreviewLayout staggered = PreviewLayout::build(keys);
    QCOMPARE(staggered.posYId, (QVector<int>{0, 0, 0, 1}));
    // Centre 29.5 > 14.5 + 14.5: m1 starts row 1, and m16 (45.5 > 29.5 +
    // 14.5) row 2.
    keys[1].y = 15;
    staggered = PreviewLayout::build(keys);
    QCOMPARE(staggered.posYId, (QVector<int>{0, 1, 0, 2}));
    QCOMPARE(staggered.script02, (QVector<int>{0, 2, -1, 1, -1, 16, -1}));
    QCOMPARE(staggered.script05, (QStringList{"002000", "001", "016"}));
}

void tst_preview::rowsOfTheShippedLayout()
{
    const QVector<PreviewKey> keys = shippedLayout();
    QCOMPARE(keys.size(), 104);
    const PreviewLayout l = PreviewLayout::build(keys);
    QCOMPARE(l.script05.size(), 6);
    QCOMPARE(l.script02.count(-1), 6);
    QCOMPARE(l.script02.size(), 104 + 6);
    for (int row : l.posYId)
        QVERIFY(row >= 0 && row < 6);
    // The top row runs Esc, F1 ... Pause left to right.
    QCOMPARE(l.script02.mid(0, 3), (QVector<int>{0, 1, 2}));
    QCOMPARE(l.script05[0].left(6), QString("015014"));
    // Every key of the spotlight's spirals is drawn.
    EffectEngine e;
    e.setLayout(keys);
    for (int i = 0; i < EffectEngine::spiralLength; ++i) {
        QVERIFY2(e.keyAtMatrix(EffectEngine::script0B1[i]) >= 0, qPrintable(QString::number(i)));
        QVERIFY2(e.keyAtMatrix(EffectEngine::script0B2[i]) >= 0, qPrintable(QString::number(i)));
    }
}

void tst_preview::wavePictures_data()
{
    QTest::addColumn<int>("matrix");
    QTest::addColumn<QVector<int>>("wave06");
    QTest::addColumn<QVector<int>>("wave0A");
    // Centres 14, 44 (from 14.5 and 44.5 px), 59, 74: range 60.
    QTest::newRow("left end") << 0 << QVector<int>{255, 0, 0} << QVector<int>{255, 0, 0};
    QTest::newRow("halfway") << 1 << QVector<int>{0, 127, 127} << QVector<int>{0, 0, 255};
    QTest::newRow("three quarters") << 2 << QVector<int>{63, 0, 191} << QVector<int>{0, 255, 0};
    QTest::newRow("right end") << 3 << QVector<int>{255, 0, 0} << QVector<int>{255, 0, 0};
    QTest::newRow("no key") << 4 << QVector<int>{0, 0, 0} << QVector<int>{0, 0, 0};
}

void tst_preview::wavePictures()
{
    QFETCH(int, matrix);
    QFETCH(QVector<int>, wave06);
    QFETCH(QVector<int>, wave0A);
    const PreviewLayout l = PreviewLayout::build(
        {key(0, 0, 0), key(30, 0, 1), key(45, 0, 2), key(60, 0, 3)});
    QCOMPARE(l.x0, 14);
    QCOMPARE(l.xEnd, 74);
    QCOMPARE(l.script06.mid(3 * matrix, 3), wave06);
    QCOMPARE(l.script0A.mid(3 * matrix, 3), wave0A);
}

void tst_preview::wavePicturesOfOneColumn()
{
    const PreviewLayout l = PreviewLayout::build({key(0, 0, 0), key(0, 31, 16)});
    QCOMPARE(l.script06, QVector<int>(3 * 128, 0));
    QCOMPARE(l.script0A, QVector<int>(3 * 128, 0));
}

void tst_preview::intervals_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("interval");
    QTest::newRow("00H slowest") << 0x00 << 7 << 2400;
    QTest::newRow("06H fastest") << 0x06 << 1 << 7;
    QTest::newRow("0AH fastest") << 0x0A << 1 << 7;
    QTest::newRow("08H level 3") << 0x08 << 3 << 50;
    QTest::newRow("0BH level 5") << 0x0B << 5 << 30;
    QTest::newRow("picture uses 00H") << 0x35 << 1 << 600;
    QTest::newRow("none uses 00H") << -1 << 4 << 1500;
    QTest::newRow("speed 0 clamped") << 0x03 << 0 << 22;
    QTest::newRow("speed 8 clamped") << 0x03 << 8 << 220;

    // Every effect at every speed level, 1 (fastest) to 7.
    static const int table[12][7] = {
        {600, 900, 1200, 1500, 1800, 2100, 2400}, // 00H
        {16, 48, 64, 96, 112, 144, 160},          // 01H
        {10, 15, 20, 25, 30, 35, 40},             // 02H
        {22, 66, 88, 132, 154, 198, 220},         // 03H
        {15, 30, 45, 60, 75, 90, 105},            // 04H
        {10, 20, 25, 35, 40, 50, 55},             // 05H
        {7, 21, 28, 42, 49, 63, 70},              // 06H
        {15, 20, 25, 30, 35, 40, 45},             // 07H
        {30, 40, 50, 60, 70, 80, 90},             // 08H
        {10, 20, 25, 35, 40, 50, 55},             // 09H
        {7, 21, 28, 42, 49, 63, 70},              // 0AH
        {10, 15, 20, 25, 30, 35, 40},             // 0BH
    };
    for (int effect = 0x00; effect <= 0x0B; ++effect) {
        for (int level = 1; level <= 7; ++level)
            QTest::newRow(qPrintable(QString::asprintf("%02XH at speed %d", effect, level)))
                << effect << level << table[effect][level - 1];
    }
}

void tst_preview::intervals()
{
    QFETCH(int, effect);
    QFETCH(int, speed);
    QFETCH(int, interval);
    QCOMPARE(EffectTimings::intervalMs(effect, speed), interval);

    // The preview item's timer runs at that interval once the effect starts
    // at that speed, and when the speed changes while it runs.
    EffectPreview started;
    started.setKeys({0, 0, 29, 29, 0, 31, 0, 29, 29, 1});
    started.setSpeed(speed);
    started.start(effect);
    QVERIFY(started.running());
    QCOMPARE(started.interval(), interval);

    EffectPreview retimed;
    retimed.setKeys({0, 0, 29, 29, 0, 31, 0, 29, 29, 1});
    retimed.setSpeed(speed == 4 ? 5 : 4);
    retimed.start(effect);
    retimed.setSpeed(speed);
    QVERIFY(retimed.running());
    QCOMPARE(retimed.interval(), interval);
}

void tst_preview::staticLoopsEveryInterval()
{
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x00, 7, 3);
    // Brightness level 3: key alpha 45 + 90.
    for (int t = 0; t < 9; ++t) {
        QCOMPARE(text(e.shownColour(M0)), text(withAlpha(slotRgb[t % 7], 135)));
        QCOMPARE(e.shownColour(M32), e.shownColour(M0));
        e.tick();
    }
    // Any slot outside 0..6 cycles; a fixed slot does not move.
    startOn(e, 0x00, 9, 0);
    QVERIFY(e.isSurround());
    e.tick();
    QCOMPARE(text(e.shownColour(M0)), text(withAlpha(green, 0)));
    startOn(e, 0x00, 4, 7);
    ticks(e, 5);
    QCOMPARE(text(e.shownColour(M2)), text(withAlpha(cyan, 255)));
}

void tst_preview::breathing_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("start is dark") << 1 << 7 << 0 << withAlpha(green, 0);
    QTest::newRow("rising") << 1 << 7 << 10 << withAlpha(green, 50);
    QTest::newRow("peak") << 1 << 7 << 51 << withAlpha(green, 255);
    QTest::newRow("falling") << 1 << 7 << 60 << withAlpha(green, 210);
    QTest::newRow("level 3") << 1 << 3 << 10 << withAlpha(green, 21);
    QTest::newRow("last of the breath") << 7 << 7 << 101 << withAlpha(red, 5);
    QTest::newRow("loop: second breath") << 7 << 7 << 102 << withAlpha(green, 0);
    QTest::newRow("loop: third breath") << 7 << 7 << 230 << withAlpha(yellow, 130);
    QTest::newRow("fixed slot stays") << 1 << 7 << 230 << withAlpha(green, 130);
}

void tst_preview::breathing()
{
    QFETCH(int, slot);
    QFETCH(int, level);
    QFETCH(int, tickCount);
    QFETCH(QRgb, colour);
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x01, slot, level);
    ticks(e, tickCount);
    QCOMPARE(text(e.shownColour(M17)), text(colour));
}

void tst_preview::waveSweepsRows_data()
{
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<int>("swId");
    QTest::addColumn<QRgb>("colour");
    // LOOP: the colour changes at every row boundary. Fade by 20 at level 7:
    // 13 per tick.
    QTest::newRow("before the first tick") << 0 << int(M0) << withAlpha(white, 0);
    QTest::newRow("first key") << 1 << int(M0) << withAlpha(red, 255);
    QTest::newRow("first key fading") << 3 << int(M0) << withAlpha(red, 229);
    QTest::newRow("row 0 end") << 3 << int(M2) << withAlpha(red, 255);
    QTest::newRow("row 1 right to left") << 4 << int(M17) << withAlpha(green, 255);
    QTest::newRow("row 1 end") << 5 << int(M16) << withAlpha(green, 255);
    QTest::newRow("row 1 end not yet") << 4 << int(M16) << withAlpha(white, 0);
    QTest::newRow("one-key row") << 6 << int(M32) << withAlpha(yellow, 255);
    QTest::newRow("second sweep") << 7 << int(M0) << withAlpha(blue, 255);
    QTest::newRow("fading") << 9 << int(M17) << withAlpha(green, 190);
    QTest::newRow("lit again") << 10 << int(M17) << withAlpha(cyan, 255);
}

void tst_preview::waveSweepsRows()
{
    QFETCH(int, tickCount);
    QFETCH(int, swId);
    QFETCH(QRgb, colour);
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x02, 7);
    ticks(e, tickCount);
    QCOMPARE(text(e.shownColour(swId)), text(colour));
}

void tst_preview::inductionDarken()
{
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x03, 7, 5);
    QCOMPARE(qAlpha(e.shownColour(M0)), 0);
    // Level 5: a pressed key takes 182 (not the key alpha 195), fades by
    // round(195 / 30) = 7 per tick; with LOOP each press takes the next slot.
    e.press(0);
    e.press(17);
    QCOMPARE(text(e.shownColour(M0)), text(withAlpha(red, 182)));
    QCOMPARE(text(e.shownColour(M17)), text(withAlpha(green, 182)));
    ticks(e, 2);
    QCOMPARE(text(e.shownColour(M0)), text(withAlpha(red, 168)));
    ticks(e, 30);
    QCOMPARE(qAlpha(e.shownColour(M0)), 0);
    e.setCurrentSlot(3);
    e.press(32);
    QCOMPARE(text(e.shownColour(M32)), text(withAlpha(blue, 182)));
    QCOMPARE(e.loopIndex(), 2);
}

void tst_preview::marquee_data()
{
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<int>("swId");
    QTest::addColumn<QRgb>("colour");
    // Key swId starts on slot swId mod 7 and blends into the next over 5 ticks.
    QTest::newRow("start picture") << 0 << int(M0) << withAlpha(green, 255);
    QTest::newRow("first tick") << 1 << int(M1) << withAlpha(red, 255);
    QTest::newRow("two fifths") << 3 << int(M1) << qRgb(153, 102, 0);
    QTest::newRow("next slot") << 6 << int(M1) << withAlpha(green, 255);
    QTest::newRow("key 5 wraps to slot 0") << 11 << int(M32) << qRgb(255, 0, 0);
    QTest::newRow("cycle of 35") << 36 << int(M2) << withAlpha(yellow, 255);
}

void tst_preview::marquee()
{
    QFETCH(int, tickCount);
    QFETCH(int, swId);
    QFETCH(QRgb, colour);
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x04);
    ticks(e, tickCount);
    QCOMPARE(text(e.shownColour(swId)), text(colour));
    // Slot edits after the start do not reach the running marquee.
    e.setSlotColour(0, 1, 2, 3);
    e.tick();
    QCOMPARE(e.totalColor()[0], 255);
}

void tst_preview::rippleBeams_data()
{
    QTest::addColumn<QVector<int>>("presses");
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<QVector<int>>("litAlphas"); // by creation index
    QTest::addColumn<int>("beamsLeft");
    const int a = 255;
    // Middle key of row 0: both directions, one key a tick, then dark.
    QTest::newRow("middle: centre") << QVector<int>{1} << 1 << QVector<int>{a, 0, 0, 0, 0, 0} << 1;
    QTest::newRow("middle: both ways") << QVector<int>{1} << 2 << QVector<int>{a, a, a, 0, 0, 0} << 1;
    QTest::newRow("middle: ends dark") << QVector<int>{1} << 3 << QVector<int>{0, 0, 0, 0, 0, 0} << 0;
    // Row end: one beam runs across the row.
    QTest::newRow("row end: centre") << QVector<int>{2} << 1 << QVector<int>{0, 0, a, 0, 0, 0} << 1;
    QTest::newRow("row end: one beam") << QVector<int>{2} << 2 << QVector<int>{a, 0, a, 0, 0, 0} << 1;
    QTest::newRow("row end: across") << QVector<int>{2} << 3 << QVector<int>{a, a, a, 0, 0, 0} << 1;
    QTest::newRow("row end: ends dark") << QVector<int>{2} << 4 << QVector<int>{0, 0, 0, 0, 0, 0} << 0;
    // One-key row: the record ends on its second tick.
    QTest::newRow("one key: first tick") << QVector<int>{32} << 1 << QVector<int>{0, 0, 0, 0, 0, a} << 1;
    QTest::newRow("one key: second tick") << QVector<int>{32} << 2 << QVector<int>{0, 0, 0, 0, 0, 0} << 0;
    // The first record to end clears them all; the other's keys stay lit.
    QTest::newRow("two beams") << QVector<int>{32, 16} << 2 << QVector<int>{0, 0, 0, 0, a, 0} << 0;
    QTest::newRow("not a drawn key") << QVector<int>{93} << 1 << QVector<int>{0, 0, 0, 0, 0, 0} << 0;
}

void tst_preview::rippleBeams()
{
    QFETCH(QVector<int>, presses);
    QFETCH(int, tickCount);
    QFETCH(QVector<int>, litAlphas);
    QFETCH(int, beamsLeft);
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x05, 2);
    for (int m : presses)
        e.press(m);
    ticks(e, tickCount);
    for (int i = 0; i < litAlphas.size(); ++i) {
        QCOMPARE(qAlpha(e.shownColour(i)), litAlphas[i]);
        if (litAlphas[i])
            QCOMPARE(text(e.shownColour(i)), text(withAlpha(yellow, 255)));
    }
    QCOMPARE(e.beams().size(), beamsLeft);
}

void tst_preview::colourShift_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<QRgb>("colour"); // of the left end key (starts red)
    QTest::newRow("06H right, 1 tick") << 0x06 << 1 << 1 << qRgb(239, 0, 16);
    QTest::newRow("06H right, 2 ticks") << 0x06 << 1 << 2 << qRgb(223, 0, 32);
    QTest::newRow("06H left, 1 tick") << 0x06 << 2 << 1 << qRgb(239, 16, 0);
    QTest::newRow("06H left (4), 1 tick") << 0x06 << 4 << 1 << qRgb(239, 16, 0);
    QTest::newRow("0AH right, 16 ticks") << 0x0A << 3 << 16 << qRgb(0, 0, 255);
    QTest::newRow("0AH right, 17 ticks") << 0x0A << 3 << 17 << qRgb(0, 16, 239);
    QTest::newRow("0AH left, 17 ticks") << 0x0A << 2 << 17 << qRgb(0, 239, 16);
}

void tst_preview::colourShift()
{
    QFETCH(int, effect);
    QFETCH(int, direction);
    QFETCH(int, tickCount);
    QFETCH(QRgb, colour);
    EffectEngine e;
    e.setLayout({key(0, 0, 0), key(30, 0, 1), key(60, 0, 2)});
    e.setDirection(direction);
    startOn(e, effect, 0, 6);
    QCOMPARE(text(e.shownColour(0)), text(withAlpha(red, 225)));
    ticks(e, tickCount);
    QCOMPARE(text(e.shownColour(0)), text(withAlpha(colour, 225)));
}

void tst_preview::neon_data()
{
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("start") << 0 << qRgb(255, 0, 0);
    QTest::newRow("count 10") << 10 << qRgb(225, 0, 30);
    QTest::newRow("count 85") << 85 << qRgb(0, 0, 255);
    QTest::newRow("count 100") << 100 << qRgb(0, 45, 210);
    QTest::newRow("count 200") << 200 << qRgb(90, 165, 0);
    QTest::newRow("count 254") << 254 << qRgb(252, 3, 0);
    QTest::newRow("wraps at 255") << 255 << qRgb(255, 0, 0);
}

void tst_preview::neon()
{
    QFETCH(int, tickCount);
    QFETCH(QRgb, colour);
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x07, 7, 7);
    ticks(e, tickCount);
    QCOMPARE(text(e.shownColour(M16)), text(colour));
}

void tst_preview::marqueeColourfulIsSeedable()
{
    EffectEngine a;
    EffectEngine b;
    a.setLayout(smallLayout());
    b.setLayout(smallLayout());
    a.setRandomSeed(7);
    b.setRandomSeed(7);
    startOn(a, 0x08, 7);
    startOn(b, 0x08, 7);
    QVector<int> lit(6, 0);
    for (int t = 0; t < 300; ++t) {
        const QVector<QRgb> before = allColours(a);
        a.tick();
        b.tick();
        QCOMPARE(allColours(a), allColours(b));
        // Exactly one key is lit at full key alpha, in the loop's colour of
        // that tick; the others fade by round(255 / 60) = 4.
        int litNow = -1;
        for (int i = 0; i < 6; ++i) {
            if (qAlpha(a.shownColour(i)) == 255) {
                QVERIFY(litNow < 0 || qAlpha(before[i]) == 255);
                litNow = i;
            } else {
                QCOMPARE(qAlpha(a.shownColour(i)), std::max(qAlpha(before[i]) - 4, 0));
            }
        }
        QVERIFY(litNow >= 0);
        ++lit[litNow];
        QCOMPARE(a.loopIndex(), (t + 1) % 7);
    }
    // The last created key is never picked; every other one is.
    QCOMPARE(lit[5], 0);
    for (int i = 0; i < 5; ++i)
        QVERIFY(lit[i] > 0);
}

void tst_preview::rainingRings()
{
    // Keys on a line, 30 px apart (centres 14.5, 44.5, ... 254.5).
    QVector<PreviewKey> keys;
    for (int i = 0; i < 9; ++i)
        keys.append(key(30 * i, 0, i));
    EffectEngine e;
    e.setLayout(keys);
    startOn(e, 0x09, 3);
    e.press(0);
    e.press(4);
    e.press(8);
    QCOMPARE(e.loopCircleIndex(), 0);
    e.tick(); // keys see radius 0, rings grow to 15
    QCOMPARE(text(e.shownColour(0)), text(withAlpha(blue, 255)));
    QCOMPARE(text(e.shownColour(4)), text(withAlpha(blue, 255)));
    QCOMPARE(qAlpha(e.shownColour(1)), 0);
    e.tick(); // radius 15 still covers the centre; nothing at 30 px
    QCOMPARE(qAlpha(e.shownColour(0)), 255);
    QCOMPARE(qAlpha(e.shownColour(1)), 0);
    e.tick(); // radius 30: the neighbours 30 px away light, the centre fades
    QCOMPARE(qAlpha(e.shownColour(0)), 229); // fade by round(255 / 10) = 26
    QCOMPARE(qAlpha(e.shownColour(1)), 255);
    QCOMPARE(qAlpha(e.shownColour(3)), 255);
    QCOMPARE(qAlpha(e.shownColour(2)), 0);
    QCOMPARE(e.rings09()[1].r, 45);

    // A fourth press restarts the oldest ring at the new key.
    e.press(2);
    QCOMPARE(e.loopCircleIndex(), 1);
    QVERIFY(e.rings09()[0].isEnable);
    QCOMPARE(e.rings09()[0].x0, 74.5);
    QCOMPARE(e.rings09()[0].r, 0);
    QCOMPARE(e.rings09()[2].x0, 254.5);
    e.tick();
    QCOMPARE(qAlpha(e.shownColour(2)), 255);

    // A ring is gone once past 700 px.
    ticks(e, 60);
    QVERIFY(!e.rings09()[0].isEnable);
    QCOMPARE(e.rings09()[0].x0, 0.0);

    // LOOP: each key a ring lights takes the next slot.
    startOn(e, 0x09, 7);
    e.press(4);
    e.tick();
    e.tick();
    e.tick();
    QCOMPARE(text(e.shownColour(4)), text(withAlpha(green, 229)));
    QCOMPARE(text(e.shownColour(3)), text(withAlpha(yellow, 255)));
    QCOMPARE(text(e.shownColour(5)), text(withAlpha(blue, 255)));
    QCOMPARE(e.loopIndex(), 4);
}

void tst_preview::spotlightCycle()
{
    const QVector<PreviewKey> keys = shippedLayout();
    EffectEngine e;
    e.setLayout(keys);
    startOn(e, 0x0B, 7);
    // The ring's centre is the rounded mean of the four keys ending the spirals.
    double sx = 0, sy = 0;
    for (int m : {57, 41, 42, 58}) {
        sx += keys[e.keyAtMatrix(m)].centreX();
        sy += keys[e.keyAtMatrix(m)].centreY();
    }
    QCOMPARE(e.ring0B().x0, std::floor(sx / 4 + 0.5));
    QCOMPARE(e.ring0B().y0, std::floor(sy / 4 + 0.5));
    QVERIFY(e.ring0B().isEnable);
    // LOOP: the spirals take the next slot every tick.
    for (int c = 0; c < EffectEngine::spiralLength; ++c) {
        e.tick();
        for (int m : {EffectEngine::script0B1[c], EffectEngine::script0B2[c]})
            QCOMPARE(text(e.shownColour(e.keyAtMatrix(m))), text(withAlpha(slotRgb[c % 7], 255)));
    }

    startOn(e, 0x0B, 2);
    for (int cycle = 0; cycle < 2; ++cycle) {
        for (int c = 0; c < 45; ++c) {
            QCOMPARE(e.count(), c);
            e.tick();
            if (c < EffectEngine::spiralLength) {
                for (int m : {EffectEngine::script0B1[c], EffectEngine::script0B2[c]})
                    QCOMPARE(text(e.shownColour(e.keyAtMatrix(m))), text(withAlpha(yellow, 255)));
                QCOMPARE(e.ring0B().r, 0);
            } else if (c < 44) {
                QCOMPARE(e.ring0B().r, 15 * (c - 16));
            } else {
                QCOMPARE(e.ring0B().r, 0);
            }
            QCOMPARE(e.loopIndex(), (45 * cycle + c + 1) % 7);
        }
    }
    // On the ring ticks the keys near the centre light up: fade by 7 gives
    // 36 a tick, so a spiral key is dark 8 ticks after it was lit.
    startOn(e, 0x0B, 0);
    ticks(e, 18); // counts 0..16 spirals, 17: ring of radius 0
    const int corner = e.keyAtMatrix(0);
    QCOMPARE(qAlpha(e.shownColour(corner)), 0);
    ticks(e, 2); // the keys see radius 30: keys 15..30 px from the centre light
    int lit = 0;
    for (int i = 0; i < e.keyCount(); ++i) {
        const double d = std::hypot(keys[i].centreX() - e.ring0B().x0, keys[i].centreY() - e.ring0B().y0);
        if (d >= 15 && d <= 30) {
            QCOMPARE(text(e.shownColour(i)), text(withAlpha(red, 255)));
            ++lit;
        }
    }
    QVERIFY(lit > 0);
}

void tst_preview::pictures()
{
    EffectEngine e;
    e.setLayout(smallLayout());
    QVector<int> picture(512, 0);
    picture[4 * 17] = 0x10;
    picture[4 * 17 + 1] = 10;
    picture[4 * 17 + 2] = 20;
    picture[4 * 17 + 3] = 30;
    e.setPicture(3, picture);
    e.setPicture(2, QVector<int>(7, 99)); // short: reads nothing past its end
    e.setEffectIndex(0x35);
    e.setBrightness(1);
    e.start(0x35);
    QCOMPARE(e.runningEffect(), 0x00);
    QCOMPARE(text(e.shownColour(M17)), text(qRgba(10, 20, 30, 75)));
    QCOMPARE(text(e.shownColour(M0)), text(qRgba(0, 0, 0, 75)));
    e.setEffectIndex(0x34);
    QCOMPARE(text(e.shownColour(M17)), text(qRgba(0, 0, 0, 75)));
    // No effect chosen, or an unknown one: dark.
    for (int none : {-1, 0x32, 0x0C, 0x38}) {
        e.setEffectIndex(none);
        QCOMPARE(e.shownColour(M17), QRgb(0));
    }
    QCOMPARE(e.shownColour(-1), QRgb(0));
    QCOMPARE(e.shownColour(6), QRgb(0));
}

// play(-1) (page hidden) runs the static routine: the shown effect keeps its
// registers as they were and only the loop moves on.
void tst_preview::hiddenPageFreezes()
{
    EffectEngine e;
    e.setLayout(smallLayout());
    startOn(e, 0x0A, 7);
    ticks(e, 5);
    const QVector<QRgb> frozen = allColours(e);
    e.start(-1);
    QCOMPARE(e.runningEffect(), 0x00);
    ticks(e, 20);
    QCOMPARE(allColours(e), frozen);
    QCOMPARE(e.loopIndex(), 20 % 7);
    // Starting it again lays its start picture down again.
    e.start(0x0A);
    QCOMPARE(e.shownColour(M0), withAlpha(red, 255));
}

void tst_preview::unknownKeyIgnoredByEveryEffect_data()
{
    QTest::addColumn<int>("effect");
    for (int effect : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x33})
        QTest::newRow(qPrintable(QString::asprintf("%02XH", effect))) << effect;
}

void tst_preview::unknownKeyIgnoredByEveryEffect()
{
    QFETCH(int, effect);
    EffectEngine a;
    EffectEngine b;
    for (EffectEngine* e : {&a, &b}) {
        e->setLayout(smallLayout());
        e->setRandomSeed(1);
        startOn(*e, effect, 7);
        e->tick();
    }
    // Positions without a drawn key, and no position at all.
    for (int m : {-1, 3, 93, 127, 128, 100000})
        a.press(m);
    for (int t = 0; t < 12; ++t) {
        QCOMPARE(allColours(a), allColours(b));
        QCOMPARE(a.loopIndex(), b.loopIndex());
        a.tick();
        b.tick();
    }
    QCOMPARE(a.beams().size(), 0);
    QCOMPARE(a.loopCircleIndex(), 0);
}

void tst_preview::emptyLayout()
{
    // Keys without a usable matrix position are in no script.
    EffectEngine odd;
    odd.setLayout({key(0, 0, -1), key(31, 0, 1 << 30), key(62, 0, 4)});
    QCOMPARE(odd.layout().script02, (QVector<int>{4, -1}));
    QCOMPARE(odd.layout().script05, QStringList{"004"});
    QCOMPARE(odd.layout().matrixCount, 128);
    QCOMPARE(odd.keyAtMatrix(4), 2);
    startOn(odd, 0x02, 0);
    ticks(odd, 3);
    // The sweep is the one key, lit on every tick; the others stay dark.
    QCOMPARE(qAlpha(odd.shownColour(2)), 255);
    QCOMPARE(qAlpha(odd.shownColour(0)), 0);
    QCOMPARE(qAlpha(odd.shownColour(1)), 0);


    EffectEngine e;
    e.setLayout({});
    for (int effect = 0; effect <= 0x0B; ++effect) {
        startOn(e, effect, 7);
        e.press(0);
        ticks(e, 50);
        QCOMPARE(e.shownColour(0), QRgb(0));
    }
}

// What the scene hands the preview item may be short, oddly typed or out of
// range: it is read as far as it goes and never indexed past its end.
void tst_preview::previewItemTakesBadInput()
{
    EffectPreview p;
    // Two whole keys and a partial third; a matrix position beyond the
    // firmware's range takes part in nothing.
    p.setKeys({0, 0, 29, 29, 5, 31, "0", "29", 29.0, 999, 62, 0});
    QCOMPARE(p.keyCount(), 2);
    QCOMPARE(p.engine().keyAtMatrix(5), 0);
    QCOMPARE(p.engine().key(1).matrix, -1);
    QCOMPARE(p.script05(), (QVariantList{"005"}));
    p.setSlotColours({1, 2, 3, "x", 300, -4}); // slot 1 partly, slot 2 missing
    QCOMPARE(p.engine().slotColour(0), qRgb(1, 2, 3));
    QCOMPARE(p.engine().slotColour(1), qRgb(0, 255, 0));
    p.setPicture(0, {1, 2, 3});
    p.setPicture(9, {1, 2, 3});
    p.setPicture(1, {QVariant(), "a"});
    p.setProperty("effectIndex", 0x33);
    QCOMPARE(p.keyColor(0), QColor(0, 0, 0, 255));
    for (int effect : {0x03, 0x05, 0x09}) {
        p.setProperty("effectIndex", effect);
        p.start(effect);
        for (int m : {-1000, -1, 93, 255, 256, 1 << 30})
            p.press(m);
        p.press(5);
    }
    QCOMPARE(p.loopCircleIndex(), 1);
    QCOMPARE(p.keyColor(-1), QColor(0, 0, 0, 0));
    QCOMPARE(p.keyColor(2), QColor(0, 0, 0, 0));
    p.setKeys({});
    QCOMPARE(p.keyCount(), 0);
    p.start(0x0B);
    QCOMPARE(p.keyColor(0), QColor(0, 0, 0, 0));
}

// The start routines that spread a picture over the keys hand it to the
// scene (R, G, B per matrix position); the static and picture effects run on
// the static timer.
void tst_preview::previewItemStartPictures()
{
    EffectPreview p;
    QSignalSpy pictures(&p, &EffectPreview::pictureChged);
    p.setKeys({0, 0, 29, 29, 2, 31, 0, 29, 29, 0});
    p.setSlotColours({10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42, 50, 51, 52, 60, 61, 62, 70, 71, 72});
    p.setSpeed(1);

    p.start(0x04);
    QCOMPARE(pictures.count(), 1);
    const QVariantList marquee = pictures.takeFirst().at(0).toList();
    QCOMPARE(marquee.size(), 3 * 128);
    QCOMPARE(marquee.mid(6, 3), (QVariantList{10, 11, 12})); // key 0 at matrix 2: slot 0
    QCOMPARE(marquee.mid(0, 3), (QVariantList{20, 21, 22})); // key 1 at matrix 0: slot 1
    QCOMPARE(p.capturedColors().mid(18, 3), (QVariantList{70, 71, 72}));
    QCOMPARE(p.interval(), 15);
    QVERIFY(p.running());

    p.start(0x0A);
    QCOMPARE(pictures.count(), 1);
    QCOMPARE(pictures.takeFirst().at(0).toList(), p.script0A());
    QCOMPARE(p.interval(), 7);

    for (int n : {0x00, -1, 0x33, 0x37, 0x0C}) {
        p.start(n);
        QCOMPARE(p.runningEffect(), 0x00);
        QCOMPARE(p.interval(), 600);
    }
    QCOMPARE(pictures.count(), 0);
    p.stop();
    QVERIFY(!p.running());
}

QTEST_MAIN(tst_preview)

#include "tst_preview.moc"
