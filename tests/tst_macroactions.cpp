#include "BridgeFixture.h"

#include "app/StartupEnvironment.h"
#include "bridge/MacroActionsModel.h"
#include "bridge/MacroEncoder.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QString down(const QString& key) { return key + MacroEncoder::downTag; }
QString up(const QString& key) { return key + MacroEncoder::upTag; }
QString delay(const QString& ms) { return ms + MacroEncoder::delayTag; }

// The fixture's macros are bound to slots 0, 1, …: every save reaches the
// keyboard. "Macro. 001" is the one under edit, "Macro. 002" the other one.
const QString edited = "Macro. 001";
const QString other = "Macro. 002";

// How many macros reached the keyboard since the trace was cleared.
int macrosSent()
{
    int sent = 0;
    for (const q3sim::TraceEntry& e : q3sim::trace())
        if (e.call == "hid_send_feature_report" && e.data.size() > 1 && e.data[1] == 0x10)
            ++sent;
    return sent;
}

// The bridge with its key names read, and a model on it.
struct ModelFixture
{
    BridgeFixture bridge;
    MacroActionsModel model;

    ModelFixture()
    {
        bridge.view->syncFW();
        model.setView(bridge.view.get());
    }

    myQQuickView& view() { return *bridge.view; }

    // Stores `actions` in macro `name` and opens it; the trace starts empty.
    void open(const QString& name, const QStringList& actions)
    {
        QVERIFY(view().saveMacroIni(name, actions).toBool());
        bridge.waitForLink();
        model.load(name);
        q3sim::clearTrace();
    }

    int sent()
    {
        bridge.waitForLink();
        return macrosSent();
    }
};

}

class TestMacroActions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { StartupEnvironment::ensureThreadPool(); }

    void edits_data();
    void edits();
    void roles_data();
    void roles();
    void recording_data();
    void recording();
    void recordingNeedsANamedMacro();
    void byteCount_data();
    void byteCount();
    void failedSaveEmptiesTheList_data();
    void failedSaveEmptiesTheList();
    void renamedMacroKeepsSaving();
    void badInputChangesNothing();
    void recordedDelays_data();
    void recordedDelays();
    void ownClockMeasuresGaps();
    void undoRedo_data();
    void undoRedo();
    void historyKeepsItsDepth();
};

// Steps as the page makes them, one per entry: "cut <row>", "copy <row>",
// "paste <before>", "remove <row>", "key <before> <name>", "delay <before>
// <ms>", or "load other" (the page selects the other macro). A row of -1 is
// no selection. `selected` is what the page selects after the last step: the
// row the step returned, or for copy and load the row it had.
void TestMacroActions::edits_data()
{
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("unlimited");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("saves");

    const QStringList abb{down("A"), up("A"), down("B")};

    // The clipboard.
    QTest::newRow("cut pastes once")
        << abb << QStringList{"cut 0", "paste 1", "paste 1"}
        << QStringList{up("A"), down("A"), down("B")} << QString() << false << 1 << 2;
    QTest::newRow("copy pastes again and again, before the selected action")
        << abb << QStringList{"copy 2", "paste 2", "paste 3", "paste 4"}
        << QStringList{down("A"), up("A"), down("B"), down("B"), down("B"), down("B")}
        << down("B") << true << 5 << 3;
    QTest::newRow("paste without a selected action appends")
        << abb << QStringList{"copy 0", "paste -1"} << abb + QStringList{down("A")} << down("A")
        << true << -1 << 1;
    QTest::newRow("paste with an empty clipboard does nothing")
        << abb << QStringList{"paste 1", "paste -1"} << abb << QString() << false << -1 << 0;
    QTest::newRow("a cut replaces a copy and its unlimited use")
        << abb << QStringList{"copy 0", "cut 2", "paste 0", "paste 0"}
        << QStringList{down("B"), down("A"), up("A")} << QString() << false << 0 << 2;
    QTest::newRow("a copy replaces a cut")
        << abb << QStringList{"cut 0", "copy 1", "paste 0", "paste 0"}
        << QStringList{down("B"), down("B"), up("A"), down("B")} << down("B") << true << 1 << 3;
    QTest::newRow("cut or copy of no action keeps the clipboard")
        << abb << QStringList{"copy 1", "cut -1", "copy 7", "cut 3"} << abb << up("A") << true << -1
        << 0;
    QTest::newRow("the clipboard outlives a change of macro")
        << abb << QStringList{"cut 1", "load other", "paste -1"} << QStringList{up("A")}
        << QString() << false << -1 << 2;
    QTest::newRow("a pasted text is stored as it was cut")
        << QStringList{"Odd   [Tag]", "x"} << QStringList{"cut 0", "paste 0"}
        << QStringList{"Odd   [Tag]", "x"} << QString() << false << 1 << 2;

    // Insertion.
    QTest::newRow("a key goes before the selected action")
        << QStringList{down("1"), up("1"), delay("500"), down("2")} << QStringList{"key 2 Space"}
        << QStringList{down("1"), up("1"), down("Space"), up("Space"), delay("500"), down("2")}
        << QString() << false << 4 << 1;
    QTest::newRow("a key without a selected action goes to the end")
        << abb << QStringList{"key -1 B"} << abb + QStringList{down("B"), up("B")} << QString()
        << false << -1 << 1;
    QTest::newRow("a key before no row goes to the end")
        << abb << QStringList{"key 3 B"} << abb + QStringList{down("B"), up("B")} << QString()
        << false << -1 << 1;
    QTest::newRow("a key without a name is not inserted")
        << abb << QStringList{"key 1"} << abb << QString() << false << 1 << 0;
    QTest::newRow("a delay before the selected action")
        << abb << QStringList{"delay 0 250"} << QStringList{delay("250")} + abb << QString() << false
        << 1 << 1;
    QTest::newRow("a delay below 10 ms is raised")
        << QStringList{} << QStringList{"delay -1 5", "delay -1 -3"}
        << QStringList{delay("10"), delay("10")} << QString() << false << -1 << 2;
    QTest::newRow("a delay above 65535 ms is lowered")
        << QStringList{} << QStringList{"delay -1 70000"} << QStringList{delay("65535")} << QString()
        << false << -1 << 1;

    // Removal.
    QTest::newRow("removal selects the action that took the place")
        << abb << QStringList{"remove 1"} << QStringList{down("A"), down("B")} << QString() << false
        << 1 << 1;
    QTest::newRow("removal of the last action selects the new last")
        << abb << QStringList{"remove 2"} << QStringList{down("A"), up("A")} << QString() << false
        << 1 << 1;
    QTest::newRow("removal of the only action selects nothing")
        << QStringList{down("A")} << QStringList{"remove 0"} << QStringList{} << QString() << false
        << -1 << 1;
    QTest::newRow("removal of no row does nothing")
        << abb << QStringList{"remove -1", "remove 3"} << abb << QString() << false << -1 << 0;
}

// After every step the macro's file holds the list and the byte count is
// that of the list; every change reaches the keyboard once.
void TestMacroActions::edits()
{
    QFETCH(QStringList, start);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, texts);
    QFETCH(QString, clipboard);
    QFETCH(bool, unlimited);
    QFETCH(int, selected);
    QFETCH(int, saves);

    ModelFixture f;
    QVERIFY(f.view().saveMacroIni(other, {}).toBool());
    f.open(edited, start);
    QCOMPARE(f.model.texts(), start);

    int result = -1;
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        const QString verb = words.value(0);
        const int row = words.value(1).toInt();
        if (verb == "cut")
            result = f.model.cut(row);
        else if (verb == "copy")
            f.model.copy(result = row);
        else if (verb == "paste")
            result = f.model.paste(row);
        else if (verb == "remove")
            result = f.model.remove(row);
        else if (verb == "key")
            result = f.model.insertKey(row, words.value(2));
        else if (verb == "delay")
            result = f.model.insertDelay(row, words.value(2).toInt());
        else if (verb == "load")
            f.model.load(other);
        else
            QFAIL(qPrintable("unknown step " + step));
        QCOMPARE(f.view().loadMacroIni(f.model.macroName()), f.model.texts());
        QCOMPARE(f.model.byteCount(), f.view().macroIncodeSize(f.model.texts()));
        QCOMPARE(f.model.count(), f.model.texts().size());
    }
    QCOMPARE(f.model.texts(), texts);
    QCOMPARE(f.model.clipboard(), clipboard);
    QCOMPARE(f.model.unlimitedCopy(), unlimited);
    QCOMPARE(result, selected);
    QCOMPARE(f.sent(), saves);
}

void TestMacroActions::roles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("textX");
    QTest::addColumn<QString>("textR");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("delay");

    QTest::newRow("press") << down("A") << "A" << MacroEncoder::downTag << "A"
                           << int(MacroActionsModel::KeyDown) << 0;
    QTest::newRow("release") << up("Enter") << "Enter" << MacroEncoder::upTag << "Enter"
                             << int(MacroActionsModel::KeyUp) << 0;
    QTest::newRow("delay") << delay("250") << "250" << MacroEncoder::delayTag << ""
                           << int(MacroActionsModel::Delay) << 250;
    QTest::newRow("delay that is no number") << delay("x") << "x" << MacroEncoder::delayTag << ""
                                             << int(MacroActionsModel::Delay) << 0;
    QTest::newRow("another field") << "A   [Other]" << "A" << "   [Other]" << ""
                                   << int(MacroActionsModel::Unknown) << 0;
    QTest::newRow("ten characters or fewer are all field")
        << "[Down]" << "" << "[Down]" << "" << int(MacroActionsModel::Unknown) << 0;
}

void TestMacroActions::roles()
{
    QFETCH(QString, text);
    QFETCH(QString, textX);
    QFETCH(QString, textR);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, delay);

    ModelFixture f;
    f.open(edited, {down("B"), text});
    const QVariantMap row = f.model.get(1);
    QCOMPARE(row.value("textX").toString(), textX);
    QCOMPARE(row.value("textR").toString(), textR);
    QCOMPARE(row.value("name").toString(), name);
    QCOMPARE(row.value("kind").toInt(), kind);
    QCOMPARE(row.value("delay").toInt(), delay);
    // The roles a view binds give the same.
    const QHash<int, QByteArray> roles = f.model.roleNames();
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        QCOMPARE(f.model.data(f.model.index(1), it.key()), row.value(it.value()));
    QCOMPARE(f.model.texts(), (QStringList{down("B"), text}));
}

// Key events as "+name" (press) and "-name" (release); "+" is a key
// without a name, "+?" one whose name is undefined.
void TestMacroActions::recording_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("recorded");

    QTest::newRow("presses and releases in event order")
        << QStringList{"+A", "+Enter", "-A", "-Enter"}
        << QStringList{down("A"), down("Enter"), up("A"), up("Enter")};
    QTest::newRow("keys without a name are left out")
        << QStringList{"+", "+A", "-?", "-A", "+?"} << QStringList{down("A"), up("A")};
    QTest::newRow("keys the encoder does not know are kept")
        << QStringList{"+Nope", "-Nope"} << QStringList{down("Nope"), up("Nope")};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}

void TestMacroActions::recording()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, recorded);

    ModelFixture f;
    const QStringList before{down("B"), up("B")};
    f.open(edited, before);
    QSignalSpy recordingChanged(&f.model, &MacroActionsModel::recordingChanged);

    QVERIFY(f.model.startRecording());
    QVERIFY(f.model.recording());
    QCOMPARE(f.model.count(), 0);
    QCOMPARE(f.model.byteCount(), 4);
    for (const QString& event : events) {
        const QString key = event.mid(1);
        f.model.recordKey(event.startsWith('+'), key == "?" ? QVariant() : QVariant(key));
        // The list and its size follow each event; the file waits for the stop.
        QCOMPARE(f.model.byteCount(), f.view().macroIncodeSize(f.model.texts()));
        QCOMPARE(f.view().loadMacroIni(edited), before);
    }
    QCOMPARE(f.model.texts(), recorded);
    QCOMPARE(f.sent(), 0);

    f.model.stopRecording();
    QVERIFY(!f.model.recording());
    QCOMPARE(recordingChanged.count(), 2);
    QCOMPARE(f.view().loadMacroIni(edited), recorded);
    QCOMPARE(f.sent(), 1);
    // Events after the stop are not recorded; a second stop saves nothing.
    f.model.recordKey(true, "A");
    f.model.stopRecording();
    QCOMPARE(f.model.texts(), recorded);
    QCOMPARE(f.sent(), 1);
}

void TestMacroActions::recordingNeedsANamedMacro()
{
    ModelFixture f;
    // No macro open.
    QVERIFY(!f.model.startRecording());
    f.model.recordKey(true, "A");
    QCOMPARE(f.model.count(), 0);

    // A macro without a name: the list empties, no recording starts.
    f.model.load(QString());
    QVERIFY(f.model.hasMacro());
    QVERIFY(!f.model.startRecording());
    QVERIFY(!f.model.recording());

    // A second start while recording keeps what was recorded.
    f.open(edited, {down("B")});
    QVERIFY(f.model.startRecording());
    f.model.recordKey(true, "A");
    QVERIFY(!f.model.startRecording());
    QCOMPARE(f.model.texts(), QStringList{down("A")});
    QCOMPARE(f.sent(), 0);
}

void TestMacroActions::byteCount_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("bytes");

    QTest::newRow("empty") << QStringList{} << 4;
    QTest::newRow("press and release") << QStringList{down("A"), up("A")} << 8;
    QTest::newRow("unknown keys are not sent") << QStringList{down("Nope"), up("Nope")} << 4;
    QTest::newRow("delays") << QStringList{delay("100"), delay("0")} << 8;
}

void TestMacroActions::byteCount()
{
    QFETCH(QStringList, stored);
    QFETCH(int, bytes);

    ModelFixture f;
    QCOMPARE(f.model.byteCount(), 0);
    QCOMPARE(f.model.byteLimit(), 128);
    QSignalSpy changed(&f.model, &MacroActionsModel::byteCountChanged);
    f.open(edited, stored);
    QCOMPARE(f.model.byteCount(), bytes);
    QCOMPARE(changed.count(), 1);
    f.model.unload();
    QCOMPARE(f.model.byteCount(), 0);
}

// The macro's file vanished under the model: the change is refused and the
// list empties; nothing reaches the keyboard and no file is made.
void TestMacroActions::failedSaveEmptiesTheList_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("insert") << "insert";
    QTest::newRow("remove") << "remove";
    QTest::newRow("paste") << "paste";
    QTest::newRow("stop recording") << "record";
}

void TestMacroActions::failedSaveEmptiesTheList()
{
    QFETCH(QString, step);

    ModelFixture f;
    const QString name = f.view().createMacroIni().toString();
    f.open(name, {down("A"), up("A")});
    f.model.copy(0);
    if (step == "record") {
        QVERIFY(f.model.startRecording());
        f.model.recordKey(true, "B");
    }
    QVERIFY(f.view().deleteMacroIni(name).toBool());

    int selected = 0;
    if (step == "insert")
        selected = f.model.insertKey(1, "B");
    else if (step == "remove")
        selected = f.model.remove(0);
    else if (step == "paste")
        selected = f.model.paste(1);
    else
        f.model.stopRecording();
    QCOMPARE(f.model.count(), 0);
    QCOMPARE(selected, step == "record" ? 0 : -1);
    QCOMPARE(f.model.byteCount(), 4);
    QVERIFY(!f.view().getMacroIniNames().contains(name + ".bin"));
    QCOMPARE(f.sent(), 0);
}

void TestMacroActions::renamedMacroKeepsSaving()
{
    ModelFixture f;
    f.open(edited, {down("A")});
    QSignalSpy changed(&f.model, &MacroActionsModel::macroChanged);
    f.view().renameMacroIniFile(edited, "Renamed");
    // Another macro's rename is not this one's.
    f.model.followRename(other, "Elsewhere");
    QCOMPARE(f.model.macroName(), edited);
    f.model.followRename(edited, "Renamed");
    QCOMPARE(f.model.macroName(), QString("Renamed"));
    QCOMPARE(changed.count(), 1);
    f.model.insertKey(-1, "B");
    QCOMPARE(f.model.count(), 3);
    QCOMPARE(f.view().loadMacroIni("Renamed"), (QStringList{down("A"), down("B"), up("B")}));
    QCOMPARE(f.sent(), 1);
}

// What the scene may pass besides what the page passes.
void TestMacroActions::badInputChangesNothing()
{
    ModelFixture f;
    f.open(edited, {down("A")});
    QCOMPARE(f.model.get(-1), QVariantMap());
    QCOMPARE(f.model.get(1), QVariantMap());
    QCOMPARE(f.model.data(f.model.index(5), MacroActionsModel::TextXRole), QVariant());
    QCOMPARE(f.model.data(f.model.index(0), Qt::DisplayRole), QVariant());
    f.model.insertKey(0, QVariant());
    f.model.insertKey(0, QString());
    f.model.recordKey(true, "A");
    QCOMPARE(f.model.texts(), QStringList{down("A")});
    QCOMPARE(f.sent(), 0);

    // A macro the library does not hold opens empty and takes no changes.
    f.model.load("../outside");
    QCOMPARE(f.model.count(), 0);
    QCOMPARE(f.model.insertKey(-1, "A"), -1);
    QCOMPARE(f.model.count(), 0);

    // Anything but the bridge is no view: the open macro closes and none opens.
    f.model.load(edited);
    QObject stranger;
    f.model.setView(&stranger);
    QVERIFY(!f.model.view());
    QVERIFY(!f.model.hasMacro());
    QCOMPARE(f.model.count(), 0);
    f.model.load(edited);
    QVERIFY(!f.model.hasMacro());
    QCOMPARE(f.model.insertDelay(-1, 100), -1);
    QCOMPARE(f.model.byteCount(), 0);
    QCOMPARE(f.view().loadMacroIni(edited), QStringList{down("A")});
}

// Timed key events as "+name@ms" (press) and "-name@ms" (release); "+@ms"
// is a key without a name.
void TestMacroActions::recordedDelays_data()
{
    QTest::addColumn<bool>("withDelays");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("recorded");

    const QStringList typed{"+A@1000", "-A@1120", "+B@1500", "-B@1505"};
    QTest::newRow("gaps become delays, gaps under 10 ms do not")
        << true << typed
        << QStringList{down("A"), delay("120"), up("A"), delay("380"), down("B"), up("B")};
    QTest::newRow("switched off: keys only")
        << false << typed << QStringList{down("A"), up("A"), down("B"), up("B")};
    QTest::newRow("9 ms is left out, 10 ms kept")
        << true << QStringList{"+A@0", "-A@9", "+B@19"}
        << QStringList{down("A"), up("A"), delay("10"), down("B")};
    QTest::newRow("65535 ms kept, longer cut to it")
        << true << QStringList{"+A@0", "-A@65535", "+B@200000"}
        << QStringList{down("A"), delay("65535"), up("A"), delay("65535"), down("B")};
    QTest::newRow("a key without a name neither records nor restarts the gap")
        << true << QStringList{"+A@0", "+@50", "-A@100"}
        << QStringList{down("A"), delay("100"), up("A")};
    QTest::newRow("a clock that runs back gives no delay")
        << true << QStringList{"+A@500", "-A@200", "+B@260"}
        << QStringList{down("A"), up("A"), delay("60"), down("B")};
    QTest::newRow("no delay before the first key")
        << true << QStringList{"+A@90000"} << QStringList{down("A")};
}

// The list and its byte count follow each event; the stop saves the delays
// with the keys, as one step that undo takes back.
void TestMacroActions::recordedDelays()
{
    QFETCH(bool, withDelays);
    QFETCH(QStringList, events);
    QFETCH(QStringList, recorded);

    ModelFixture f;
    const QStringList before{down("B"), up("B")};
    f.open(edited, before);
    QSignalSpy switched(&f.model, &MacroActionsModel::recordDelaysChanged);
    f.model.setRecordDelays(withDelays);
    QCOMPARE(switched.count(), withDelays ? 1 : 0);
    QVERIFY(f.model.startRecording());
    for (const QString& event : events) {
        const int at = event.indexOf('@');
        const QString key = event.mid(1, at - 1);
        f.model.recordKey(event.startsWith('+'), key, event.mid(at + 1).toLongLong());
        QCOMPARE(f.model.byteCount(), f.view().macroIncodeSize(f.model.texts()));
        // Undo waits for the recording to end.
        QVERIFY(!f.model.canUndo());
        QCOMPARE(f.model.undo(), -1);
    }
    QCOMPARE(f.model.texts(), recorded);
    f.model.stopRecording();
    QCOMPARE(f.view().loadMacroIni(edited), recorded);
    QCOMPARE(f.model.recordDelays(), withDelays);

    QVERIFY(f.model.canUndo());
    f.model.undo();
    QCOMPARE(f.view().loadMacroIni(edited), before);
    QCOMPARE(f.sent(), 2);
}

// Without a time from the caller the model's monotonic clock measures.
void TestMacroActions::ownClockMeasuresGaps()
{
    ModelFixture f;
    f.open(edited, {});
    f.model.setRecordDelays(true);
    QVERIFY(f.model.startRecording());
    f.model.recordKey(true, "A");
    QTest::qWait(40);
    f.model.recordKey(false, "A");
    QTest::qWait(40);
    // A stamp that is no number counts as none.
    f.model.recordKey(true, "B", QStringLiteral("soon"));
    f.model.stopRecording();
    const QStringList texts = f.model.texts();
    QCOMPARE(texts.size(), 5);
    QCOMPARE(texts.at(0), down("A"));
    QCOMPARE(texts.at(2), up("A"));
    QCOMPARE(texts.at(4), down("B"));
    for (int row : {1, 3}) {
        // The clock counts whole milliseconds: 40 ms may read as 39.
        const int ms = f.model.get(row).value("delay").toInt();
        QVERIFY2(ms >= 39 && ms <= MacroActionsModel::maxDelayMs, qPrintable(texts.at(row)));
    }
}

// Steps as in edits(), and "undo", "redo", "record <key>" (a recording of
// the key's press and release), "load back" (the page selects the edited
// macro again) and "vanish" (the macro's file is deleted). After every
// step the file holds the list.
void TestMacroActions::undoRedo_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("canUndo");
    QTest::addColumn<bool>("canRedo");
    QTest::addColumn<int>("saves");

    const QStringList abb{down("A"), up("A"), down("B")};

    QTest::newRow("undo and redo an insertion")
        << QStringList{"key 1 C", "undo", "redo"}
        << QStringList{down("A"), down("C"), up("C"), up("A"), down("B")} << 1 << true << false << 3;
    QTest::newRow("undo takes back every kind of change, in turn")
        << QStringList{"delay 0 250", "cut 1", "paste -1", "remove 0", "undo", "undo", "undo", "undo"}
        << abb << 0 << false << true << 8;
    QTest::newRow("redo takes them again")
        << QStringList{"delay 0 250", "cut 1", "remove 0", "undo", "undo", "undo", "redo", "redo",
                       "redo"}
        << QStringList{up("A"), down("B")} << 0 << true << false << 9;
    QTest::newRow("undo of the first change selects the first row that differs")
        << QStringList{"remove 2", "undo"} << abb << 2 << false << true << 2;
    QTest::newRow("a new change drops what was taken back")
        << QStringList{"remove 0", "undo", "remove 2", "redo"} << QStringList{down("A"), up("A")}
        << -1 << true << false << 3;
    QTest::newRow("undo of a recording brings back the list before it")
        << QStringList{"record C", "undo"} << abb << 0 << false << true << 2;
    QTest::newRow("nothing to take back or again")
        << QStringList{"undo", "redo"} << abb << -1 << false << false << 0;
    QTest::newRow("copy changes nothing to take back")
        << QStringList{"copy 0", "undo"} << abb << -1 << false << false << 0;
    QTest::newRow("another macro starts its own history")
        << QStringList{"remove 0", "load other", "undo", "load back", "undo"}
        << QStringList{up("A"), down("B")} << -1 << false << false << 1;
    QTest::newRow("a file that vanished empties the list and its history")
        << QStringList{"remove 0", "vanish", "undo"} << QStringList{} << -1 << false << false << 1;
}

void TestMacroActions::undoRedo()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, texts);
    QFETCH(int, selected);
    QFETCH(bool, canUndo);
    QFETCH(bool, canRedo);
    QFETCH(int, saves);

    ModelFixture f;
    QVERIFY(f.view().saveMacroIni(other, {}).toBool());
    const QString name = edited;
    f.open(name, {down("A"), up("A"), down("B")});
    QVERIFY(!f.model.canUndo());
    QSignalSpy history(&f.model, &MacroActionsModel::historyChanged);

    int result = -1;
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        const QString verb = words.value(0);
        const int row = words.value(1).toInt();
        if (verb == "undo")
            result = f.model.undo();
        else if (verb == "redo")
            result = f.model.redo();
        else if (verb == "cut")
            result = f.model.cut(row);
        else if (verb == "copy")
            f.model.copy(result = row);
        else if (verb == "paste")
            result = f.model.paste(row);
        else if (verb == "remove")
            result = f.model.remove(row);
        else if (verb == "key")
            result = f.model.insertKey(row, words.value(2));
        else if (verb == "delay")
            result = f.model.insertDelay(row, words.value(2).toInt());
        else if (verb == "record") {
            QVERIFY(f.model.startRecording());
            f.model.recordKey(true, words.value(1), 0);
            f.model.recordKey(false, words.value(1), 50);
            f.model.stopRecording();
            result = -1;
        } else if (verb == "load")
            f.model.load(words.value(1) == "back" ? name : other);
        else if (verb == "vanish")
            QVERIFY(f.view().deleteMacroIni(name).toBool());
        else
            QFAIL(qPrintable("unknown step " + step));
        if (verb != "vanish")
            QCOMPARE(f.view().loadMacroIni(f.model.macroName()), f.model.texts());
        QCOMPARE(f.model.byteCount(), f.view().macroIncodeSize(f.model.texts()));
    }
    QCOMPARE(f.model.texts(), texts);
    QCOMPARE(result, selected);
    QCOMPARE(f.model.canUndo(), canUndo);
    QCOMPARE(f.model.canRedo(), canRedo);
    QCOMPARE(history.isEmpty(), saves == 0);
    // Every change, undo and redo reached the keyboard once.
    QCOMPARE(f.sent(), saves);
}

// Only the last historyDepth changes can be taken back. The macro is bound
// to no slot: its saves stay in the file.
void TestMacroActions::historyKeepsItsDepth()
{
    ModelFixture f;
    const QString unbound = f.view().createMacroIni().toString();
    f.open(unbound, {});
    const int changes = MacroActionsModel::historyDepth + 5;
    for (int i = 0; i < changes; ++i)
        f.model.insertDelay(-1, 10 + i);
    int undone = 0;
    while (f.model.canUndo() && undone <= changes) {
        f.model.undo();
        ++undone;
    }
    QCOMPARE(undone, MacroActionsModel::historyDepth);
    QCOMPARE(f.model.count(), 5);
    QCOMPARE(f.view().loadMacroIni(unbound), f.model.texts());
}

QTEST_MAIN(TestMacroActions)
#include "tst_macroactions.moc"
