// The keyboard beside the program: the entry shift undone, the comparison of
// keys, GAMING MODE and macro slots, and taking the keyboard's side into the
// profile file and the macro library.

#include "bridge/KeyboardAdoption.h"
#include "bridge/KeyboardDifferences.h"
#include "bridge/MacroEncoder.h"
#include "bridge/MacroLibrary.h"
#include "bridge/ProfileStore.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace KeyboardDifferences;

namespace {

const QMap<QString, quint8> table{{"A", 4}, {"B", 5}, {"H", 11}, {"I", 12}};

QVector<int> plainCodes()
{
    QVector<int> codes(positions);
    for (int i = 0; i < positions; ++i)
        codes[i] = 0x100 + i;
    return codes;
}

QByteArray payload(const QStringList& actions)
{
    return MacroEncoder::deviceBuffer(MacroEncoder::encode(actions, table));
}

const QStringList hi{"H    [Down]", "H      [Up]", "I    [Down]", "I      [Up]"};
const QStringList ab{"A    [Down]", "A      [Up]", "50   [Delay]", "B    [Down]", "B      [Up]"};

}

class tst_KeyboardSync : public QObject
{
    Q_OBJECT

private slots:
    void shiftIsUndone();
    void differences_data();
    void differences();
    void slotsOfBothSides();
    void adoption_data();
    void adoption();
    void adoptedKeysAndMode();
    void slotNameTaken();
};

// Keyboard 61, 77 and 93 hold profile 45, 61 and 77; profile 93 is not held,
// so it comes from the program and is never compared.
void tst_KeyboardSync::shiftIsUndone()
{
    const QVector<int> codes = plainCodes();
    const QByteArray held = keyboardMatrixOf(codes);
    const QVector<int> onKeyboard = codesOf(held);
    QCOMPARE(onKeyboard.at(45), 0x100 + 45);
    QCOMPARE(onKeyboard.at(61), 0x100 + 45);
    QCOMPARE(onKeyboard.at(77), 0x100 + 61);
    QCOMPARE(onKeyboard.at(93), 0x100 + 77);
    QCOMPARE(onKeyboard.at(94), 0x100 + 94);

    QCOMPARE(profileCodesFromKeyboard(held, codes), codes);
    QVector<int> own = codes;
    own[93] = 0x7777;
    QCOMPARE(profileCodesFromKeyboard(held, own).at(93), 0x7777);

    Program program;
    program.codes = codes;
    Keyboard keyboard;
    keyboard.matrixKnown = true;
    keyboard.matrix = held;
    program.codes[93] = 0x0004;  // not held: no difference
    QVERIFY(!compare(program, keyboard, table).keys);
    program.codes[61] = 0x0004;  // held at keyboard 77
    QVERIFY(compare(program, keyboard, table).keys);
}

void tst_KeyboardSync::differences_data()
{
    QTest::addColumn<int>("programMode");
    QTest::addColumn<int>("keyboardMode");
    QTest::addColumn<QStringList>("programMacro");  // slot 3's bound file; "-" for none
    QTest::addColumn<QByteArray>("keyboardMacro");
    QTest::addColumn<bool>("modeDiffers");
    QTest::addColumn<bool>("macroDiffers");

    const QStringList none{"-"};
    const QByteArray zero(128, '\0');
    QTest::newRow("agree") << 1 << 1 << hi << payload(hi) << false << false;
    QTest::newRow("mode off on the keyboard") << 1 << 0 << hi << payload(hi) << true << false;
    QTest::newRow("any non-zero mode is on") << 1 << 7 << hi << payload(hi) << false << false;
    QTest::newRow("no expectation") << -1 << 0 << hi << payload(hi) << false << false;
    QTest::newRow("slot empty") << 1 << 1 << hi << zero << false << true;
    QTest::newRow("slot holds another macro") << 1 << 1 << hi << payload(ab) << false << true;
    QTest::newRow("blank file, empty slot") << 1 << 1 << QStringList() << zero << false << false;
    QTest::newRow("no file, empty slot") << 1 << 1 << none << zero << false << false;
    QTest::newRow("no file, slot holds a macro") << 1 << 1 << none << payload(hi) << false << true;
    QByteArray trailing = payload(hi);
    trailing[100] = char(0x55);  // after the end marker: not part of the macro
    QTest::newRow("bytes after the end") << 1 << 1 << hi << trailing << false << false;
    QByteArray foreign = payload(hi);
    foreign[3] = char(0x44);  // a pair the encoder never writes
    QTest::newRow("undecodable slot") << 1 << 1 << hi << foreign << false << true;
}

void tst_KeyboardSync::differences()
{
    QFETCH(int, programMode);
    QFETCH(int, keyboardMode);
    QFETCH(QStringList, programMacro);
    QFETCH(QByteArray, keyboardMacro);
    QFETCH(bool, modeDiffers);
    QFETCH(bool, macroDiffers);

    Program program;
    program.codes = plainCodes();
    program.codes[1] = 0x4103;
    program.gamingMode = programMode;
    if (programMacro != QStringList{"-"})
        program.macros.insert(3, payload(programMacro));
    Keyboard keyboard;
    keyboard.matrixKnown = true;
    keyboard.matrix = keyboardMatrixOf(program.codes);
    keyboard.modeKnown = true;
    keyboard.mode = keyboardMode;
    keyboard.macros.insert(3, keyboardMacro);

    Found found = compare(program, keyboard, table);
    QVERIFY(!found.keys);
    QCOMPARE(found.gamingMode, modeDiffers);
    QCOMPARE(found.macroSlots, macroDiffers ? QList<int>{3} : QList<int>{});
    QCOMPARE(found.any(), modeDiffers || macroDiffers);

    // What could not be read is not compared; a macro too long to send
    // cannot be on the keyboard either way.
    keyboard.modeKnown = false;
    program.unsendable.insert(3);
    found = compare(program, keyboard, table);
    QVERIFY(!found.any());
}

void tst_KeyboardSync::slotsOfBothSides()
{
    Program program;
    program.codes = plainCodes();
    program.codes[1] = 0x4105;
    program.codes[2] = 0x4105;
    program.codes[3] = 0x4014;  // slot 20: beyond the keyboard's 16
    QVector<int> other = plainCodes();
    other[7] = 0x4202;
    QCOMPARE(slotsToRead(program, keyboardMatrixOf(other), 16), (QList<int>{2, 5}));
    QCOMPARE(repeatModeOf(other, 2), 2);
    QCOMPARE(repeatModeOf(other, 5), -1);
}

// An adopted slot, by what the keyboard holds and what the library holds.
void tst_KeyboardSync::adoption_data()
{
    QTest::addColumn<QByteArray>("keyboardMacro");
    QTest::addColumn<bool>("unboundTwin");        // an unbound file sends the same
    QTest::addColumn<QString>("boundAfter");      // the file bound to slot 3 after
    QTest::addColumn<QStringList>("boundActions");

    QTest::newRow("empty slot unbinds") << QByteArray(128, '\0') << false << QString() << QStringList();
    QTest::newRow("new macro becomes a file") << payload(ab) << false << QString("Slot 3") << ab;
    QTest::newRow("an unbound twin is bound") << payload(ab) << true << QString("Twin") << ab;
}

void tst_KeyboardSync::adoption()
{
    QFETCH(QByteArray, keyboardMacro);
    QFETCH(bool, unboundTwin);
    QFETCH(QString, boundAfter);
    QFETCH(QStringList, boundActions);

    QTemporaryDir dir;
    MacroLibrary library(dir.path() + "/macro");
    library.reconcile(4);
    const QString mine = library.nameBoundTo(3);
    QCOMPARE(library.save(mine, hi), 3);
    if (unboundTwin) {
        QCOMPARE(library.createNamed("Twin"), QString("Twin"));
        library.save("Twin", {"A    [Down]", "A      [Up]", "55   [Delay]", "B    [Down]", "B      [Up]"});
    }
    ProfileStore profiles;
    profiles.open(1, dir.path());

    Keyboard keyboard;
    keyboard.macros.insert(3, keyboardMacro);
    Found found;
    found.macroSlots = {3};
    KeyboardAdoption::Target target{&profiles, "keydefine3/", &library, table, 0};
    const KeyboardAdoption::Result result = KeyboardAdoption::adopt(keyboard, found, plainCodes(), target);
    QVERIFY2(result.ok, qPrintable(result.problems.join("; ")));

    QCOMPARE(library.nameBoundTo(3), boundAfter);
    if (!boundAfter.isEmpty()) {
        QVERIFY(sameMacro(payload(library.load(boundAfter)), keyboardMacro, table));
        if (boundAfter == "Slot 3")
            QCOMPARE(library.load(boundAfter), boundActions);
    }
    // The user's own macro is never lost: kept, unbound.
    QCOMPARE(library.load(mine), hi);
    QCOMPARE(library.loadConfig(mine).value(0).toInt(), -1);
    QCOMPARE(result.newMacros, boundAfter == "Slot 3" ? QStringList{"Slot 3"} : QStringList());
}

void tst_KeyboardSync::adoptedKeysAndMode()
{
    QTemporaryDir dir;
    MacroLibrary library(dir.path() + "/macro");
    ProfileStore profiles;
    profiles.open(1, dir.path());
    QVector<int> own = plainCodes();
    own[93] = 0x29;
    QVector<int> theirs = plainCodes();
    theirs[45] = 0xE0;
    theirs[77] = 0x4001;

    Keyboard keyboard;
    keyboard.matrixKnown = true;
    keyboard.matrix = keyboardMatrixOf(theirs);
    keyboard.modeKnown = true;
    keyboard.mode = 0;
    Found found;
    found.keys = true;
    found.gamingMode = true;
    KeyboardAdoption::Target target{&profiles, "keydefine3/", &library, table, 0};
    QVERIFY(KeyboardAdoption::adopt(keyboard, found, own, target).ok);

    QSettings file(dir.path() + "/p1.bin", QSettings::IniFormat);
    QCOMPARE(file.value("keydefine3/45").toStringList(), (QStringList{"224", "0"}));
    QCOMPARE(file.value("keydefine3/77").toStringList(), (QStringList{"1", "64"}));
    QCOMPARE(file.value("keydefine3/93").toStringList(), (QStringList{"41", "0"}));
    QCOMPARE(file.value(KeyboardAdoption::gamingModeKey).toInt(), 0);
}

void tst_KeyboardSync::slotNameTaken()
{
    QTemporaryDir dir;
    MacroLibrary library(dir.path());
    QCOMPARE(library.createNamed("Slot 3"), QString("Slot 3"));
    QCOMPARE(library.createNamed("Slot 3"), QString("Slot 3 (2)"));
    QCOMPARE(library.createNamed("../x"), QString());
}

QTEST_GUILESS_MAIN(tst_KeyboardSync)
#include "tst_keyboardsync.moc"
