// The key code tables and the key assignment codec, from both sides: the
// bridge's KeyCodeTable (and the macro encoder's map built from the same
// file) and the scene's key code strings (KeyCodeString.qml), which reach
// the same object through ui_View.keyCodes. Every row of a table is asked
// of both.

#include "bridge/KeyAssignment.h"
#include "bridge/KeyCodeTable.h"
#include "bridge/MacroEncoder.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Warnings, the scene's above all, fail the test that raised them.
QStringList warnings;
void recordWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings << message;
}

const QString shippedFile = QStringLiteral(Q3_SOURCE_DIR "/modules/setting/KeyCodeDef.bin");

// A lookup's answer as text; "undefined" for no answer.
QString shown(const QVariant& value)
{
    if (!value.isValid())
        return "undefined";
    if (value.userType() == QMetaType::QString)
        return '"' + value.toString() + '"';
    return value.toString();
}

}

// Stands in for the bridge as the scene sees it.
class SceneBridge : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* keyCodes READ keyCodesObject CONSTANT)
public:
    KeyCodeTable table;
    QObject* keyCodesObject() { return &table; }
};

class TestKeyCodes : public QObject
{
    Q_OBJECT

private:
    SceneBridge bridge;
    QQmlEngine engine;
    std::unique_ptr<QObject> keyCodeString;
    QTemporaryDir dir;
    int files = 0;

    QString fileOf(const QByteArray& ini)
    {
        if (ini.isEmpty())
            return shippedFile;
        // A file of its own per row: the settings reader keeps what it read
        // of a path while the file's size and time look unchanged.
        const QString path = dir.filePath(QString("KeyCodeDef%1.bin").arg(++files));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(ini) != ini.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QVariant scene(const char* function, const QVariant& argument)
    {
        QVariant result;
        if (!QMetaObject::invokeMethod(keyCodeString.get(), function, Q_RETURN_ARG(QVariant, result),
                                       Q_ARG(QVariant, argument)))
            qFatal("KeyCodeString has no %s", function);
        return result;
    }

    void sceneInit(const QVariantList& hw, const QVariantList& names, const QVariantList& codes)
    {
        QMetaObject::invokeMethod(keyCodeString.get(), "initUI", Q_ARG(QVariant, hw), Q_ARG(QVariant, names),
                                  Q_ARG(QVariant, codes));
    }

    // An expression of the scene, its value as JSON text.
    QString sceneValue(const QString& expression)
    {
        QQmlExpression e(engine.rootContext(), nullptr, "JSON.stringify(" + expression + ")");
        const QVariant value = e.evaluate();
        if (e.hasError())
            return "error: " + e.error().toString();
        return value.toString();
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(recordWarnings);
        QVERIFY(dir.isValid());
        engine.rootContext()->setContextProperty("ui_View", &bridge);
        QQmlComponent component(&engine, QUrl("qrc:/modules/qml/Q3/KeyCodeString.qml"));
        keyCodeString.reset(component.create());
        QVERIFY2(keyCodeString, qPrintable(component.errorString()));
        // Before the frame's initUI the scene's tables know nothing.
        QCOMPARE(shown(scene("keycodeTostr", 4)), QString("undefined"));
        QCOMPARE(shown(scene("strTokeycode", "A")), QString("undefined"));
    }

    void cleanup()
    {
        const QStringList raised = warnings;
        warnings.clear();
        QVERIFY2(raised.isEmpty(), qPrintable(raised.join('\n')));
    }

    // names: name → the code the scene's tables give; codes: code as asked →
    // the name; encoder: name → the byte the macro encoder takes, -1 when the
    // name is not in its table at all.
    void table_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QVariantMap>("names");
        QTest::addColumn<QVariantMap>("codes");
        QTest::addColumn<QVariantMap>("encoder");

        QTest::newRow("shipped file")
            << QByteArray()
            << QVariantMap{{"A", 4}, {"Enter", 40}, {"Right Win", 231}, {"\\", 49}, {"Fn", QVariant()}}
            << QVariantMap{{"4", "A"}, {"0x29", "Esc"}, {"224", "Left Ctrl"}, {"0", QVariant()}, {"61440", QVariant()}}
            << QVariantMap{{"A", 4}, {"Right Win", 231}, {"Fn", -1}};
        QTest::newRow("0x codes: the scene reads them, the encoder takes 0")
            << QByteArray("[common]\nusbStr=A, B, C\nusbCode=4, 0x05, 0X1f\n")
            << QVariantMap{{"A", 4}, {"B", 5}, {"C", 31}}
            << QVariantMap{{"5", "B"}, {"0x05", "B"}, {"31", "C"}, {"0x1F", "C"}}
            << QVariantMap{{"A", 4}, {"B", 0}, {"C", 0}};
        QTest::newRow("a name twice: the later pair wins")
            << QByteArray("[common]\nusbStr=A, B, A\nusbCode=4, 5, 30\n")
            << QVariantMap{{"A", 30}, {"B", 5}}
            << QVariantMap{{"4", "A"}, {"30", "A"}}
            << QVariantMap{{"A", 30}};
        QTest::newRow("a name twice, the later in 0x: the encoder's 0 wins")
            << QByteArray("[common]\nusbStr=A, A\nusbCode=4, 0x07\n")
            << QVariantMap{{"A", 7}}
            << QVariantMap{{"7", "A"}}
            << QVariantMap{{"A", 0}};
        QTest::newRow("a code twice: the later name wins")
            << QByteArray("[common]\nusbStr=X, Y\nusbCode=7, 0x07\n")
            << QVariantMap{{"X", 7}, {"Y", 7}}
            << QVariantMap{{"7", "Y"}}
            << QVariantMap{{"X", 7}, {"Y", 0}};
        QTest::newRow("junk codes: left out by the scene, 0 for the encoder")
            << QByteArray("[common]\nusbStr=A, B, C, D, E\nusbCode=x4, 5, 4.0, 1e2, \"\"\n")
            << QVariantMap{{"A", QVariant()}, {"B", 5}, {"C", QVariant()}, {"D", QVariant()}, {"E", QVariant()}}
            << QVariantMap{{"5", "B"}, {"x4", QVariant()}, {"4", QVariant()}, {"abc", QVariant()}}
            << QVariantMap{{"A", 0}, {"B", 5}, {"C", 0}, {"D", 0}, {"E", 0}};
        QTest::newRow("signs, blanks and codes beyond a byte")
            << QByteArray("[common]\nusbStr=A, B, C, D\nusbCode=-1, +6, \" 7 \", 300\n")
            << QVariantMap{{"A", -1}, {"B", 6}, {"C", 7}, {"D", 300}}
            << QVariantMap{{"-1", "A"}, {"6", "B"}, {" 7", "C"}, {"300", "D"}, {"44", QVariant()}}
            << QVariantMap{{"A", 0}, {"B", 6}, {"C", 7}, {"D", 44}};
        QTest::newRow("more names than codes")
            << QByteArray("[common]\nusbStr=A, B, C\nusbCode=4, 5\n")
            << QVariantMap{{"A", 4}, {"B", 5}, {"C", QVariant()}}
            << QVariantMap{{"6", QVariant()}}
            << QVariantMap{{"B", 5}, {"C", -1}};
        QTest::newRow("more codes than names")
            << QByteArray("[common]\nusbStr=A, B\nusbCode=4, 5, 6\n")
            << QVariantMap{{"A", 4}, {"B", 5}}
            << QVariantMap{{"5", "B"}, {"6", QVariant()}}
            << QVariantMap{{"B", 5}};
        QTest::newRow("no codes at all")
            << QByteArray("[common]\nusbStr=A, B\n")
            << QVariantMap{{"A", QVariant()}, {"", QVariant()}, {"constructor", QVariant()}}
            << QVariantMap{{"4", QVariant()}}
            << QVariantMap{{"A", -1}};
    }

    void table()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QVariantMap, names);
        QFETCH(QVariantMap, codes);
        QFETCH(QVariantMap, encoder);
        const QString file = fileOf(ini);

        KeyCodeTable own;
        own.load(file);
        sceneInit({}, KeyCodeTable::names(file), KeyCodeTable::codes(file));
        for (auto it = names.constBegin(); it != names.constEnd(); ++it) {
            const QString name = it.key();
            QCOMPARE(shown(own.codeOfName(name)), shown(it.value()));
            QCOMPARE(shown(scene("strTokeycode", name)), shown(it.value()));
        }
        for (auto it = codes.constBegin(); it != codes.constEnd(); ++it) {
            const QString code = it.key();
            QCOMPARE(shown(own.nameOfCode(code)), shown(it.value()));
            QCOMPARE(shown(scene("keycodeTostr", code)), shown(it.value()));
            // A code asked as a number gives what its text gives.
            const KeyCodeTable::Code number = KeyCodeTable::parseCode(code);
            if (number.ok)
                QCOMPARE(shown(scene("keycodeTostr", number.value)), shown(it.value()));
        }

        const QMap<QString, quint8> built = KeyCodeTable::build(file);
        QCOMPARE(own.macroCodes(), built);
        for (auto it = encoder.constBegin(); it != encoder.constEnd(); ++it) {
            const int expected = it.value().toInt();
            QCOMPARE(built.contains(it.key()), expected >= 0);
            if (expected >= 0)
                QCOMPARE(int(built.value(it.key())), expected);
        }
    }

    // Every pair of the shipped file: the scene, the bridge's table and the
    // macro encoder agree on its code, and its code names it again.
    void shippedFileAgrees()
    {
        const QVariantList names = KeyCodeTable::names(shippedFile);
        const QVariantList codes = KeyCodeTable::codes(shippedFile);
        QVERIFY(names.size() > 100);
        QCOMPARE(names.size(), codes.size());
        KeyCodeTable own;
        own.load(shippedFile);
        const QMap<QString, quint8> encoder = KeyCodeTable::build(shippedFile);
        QCOMPARE(encoder.size(), names.size());
        sceneInit({}, names, codes);
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names.at(i).toString();
            bool ok = false;
            const int code = codes.at(i).toString().toInt(&ok, 10);
            QVERIFY2(ok && code > 0 && code < 0x100, qPrintable(name));
            QCOMPARE(own.codeOfName(name).toInt(), code);
            QCOMPARE(scene("strTokeycode", name).toInt(), code);
            QCOMPARE(int(encoder.value(name)), code);
            QCOMPARE(scene("keycodeTostr", code).toString(), name);
        }
    }

    // The matrix tables follow a hardware definition, and stay when the
    // frame has none to give (an empty list, or none at all).
    void matrixTables()
    {
        const QVariantList hw{3, 8, 0, 0, 1, "A", 2, 4, 31, 0, 1, "B", "0x05", "5", 62, 0, 1, "A2", 7, 4};
        sceneInit(hw, {}, {});
        KeyCodeTable own;
        own.rebuild(hw, {}, {});
        const QList<QPair<int, QString>> toMatrix{{4, "7"}, {5, "5"}, {6, "undefined"}};
        for (const auto& [code, matrix] : toMatrix) {
            QCOMPARE(shown(own.matrixOfCode(code)), matrix);
            QCOMPARE(shown(scene("keycodeTomatrix", code)), matrix);
        }
        QCOMPARE(shown(scene("matrixTokeycode", 2)), QString("4"));
        QCOMPARE(shown(scene("matrixTokeycode", 3)), QString("undefined"));

        QMetaObject::invokeMethod(keyCodeString.get(), "initUI", Q_ARG(QVariant, QVariant()),
                                  Q_ARG(QVariant, QVariantList{"A"}), Q_ARG(QVariant, QVariantList{4}));
        sceneInit({}, {"A"}, {4});
        QCOMPARE(shown(scene("keycodeTomatrix", 5)), QString("5"));
        QCOMPARE(shown(scene("keycodeTostr", 4)), QString("\"A\""));
    }

    // The three offered kinds and one that is not offered: built and taken
    // apart the same way by the bridge and by the scene (which hands the
    // profile's two values over as text).
    void assignment_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("field");   // usage of a key, slot of a macro
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");

        QTest::newRow("key switched off") << 0x0000 << "key" << 0 << 0 << 0x00 << 0x00;
        QTest::newRow("ordinary key A") << 0x0004 << "key" << 4 << 0 << 0x04 << 0x00;
        QTest::newRow("ordinary key, stray bits") << 0x0104 << "key" << 4 << 1 << 0x04 << 0x01;
        QTest::newRow("media: next track") << 0x30B5 << "media" << 0xB5 << 0 << 0xB5 << 0x30;
        QTest::newRow("media: WWW favourites") << 0x322A << "media" << 0x2A << 2 << 0x2A << 0x32;
        QTest::newRow("macro: slot 5, repeat 1") << 0x4105 << "macro" << 5 << 1 << 0x05 << 0x41;
        QTest::newRow("macro: slot 255, repeat 15") << 0x4FFF << "macro" << 255 << 15 << 0xFF << 0x4F;
        QTest::newRow("macro: slot 0, repeat 0") << 0x4000 << "macro" << 0 << 0 << 0x00 << 0x40;
        QTest::newRow("Fn: not offered") << 0xF000 << "" << 0 << 0 << 0x00 << 0xF0;
    }

    void assignment()
    {
        QFETCH(int, code);
        QFETCH(QString, kind);
        QFETCH(int, field);
        QFETCH(int, repeat);
        QFETCH(int, low);
        QFETCH(int, high);

        QCOMPARE(KeyAssignment::fromBytes(low, high), code);
        QCOMPARE(KeyAssignment::lowByte(code), low);
        QCOMPARE(KeyAssignment::highByte(code), high);
        QCOMPARE(KeyAssignment::isMacro(code), kind == "macro");
        QCOMPARE(KeyAssignment::isUsage(code), kind == "key" && code < 0x100);

        QCOMPARE(sceneValue(QString("ui_View.keyCodes.kindOf(%1)").arg(code)), '"' + kind + '"');
        QCOMPARE(sceneValue(QString("ui_View.keyCodes.keyCodeOf(\"%1\", \"%2\")").arg(low).arg(high)),
                 QString::number(code));
        QCOMPARE(sceneValue(QString("ui_View.keyCodes.bytesOf([%1])").arg(code)),
                 QString("[%1,%2]").arg(low).arg(high));
        if (kind == "key") {
            QCOMPARE(KeyAssignment::usageOf(code), field);
            QCOMPARE(sceneValue(QString("ui_View.keyCodes.usageOf(%1)").arg(code)), QString::number(field));
        }
        if (kind == "macro") {
            QCOMPARE(KeyAssignment::slotOf(code), field);
            QCOMPARE(KeyAssignment::repeatOf(code), repeat);
            QCOMPARE(KeyAssignment::macroKey(field, repeat), code);
            QCOMPARE(sceneValue(QString("ui_View.keyCodes.slotOf(%1)").arg(code)), QString::number(field));
            QCOMPARE(sceneValue(QString("ui_View.keyCodes.macroKey(%1, %2)").arg(field).arg(repeat)),
                     QString::number(code));
        }
    }

    // What the scene hands over is cut as its own integer operators cut it.
    void sceneValues_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("value");

        QTest::newRow("profile values beyond a byte") << "keyCodeOf(300, -1)" << "65324";
        QTest::newRow("profile values in 0x text") << "keyCodeOf(\"0x05\", \"0x41\")" << "16645";
        QTest::newRow("profile values that are no numbers") << "keyCodeOf(\"x\", undefined)" << "0";
        QTest::newRow("slot and repeat beyond their fields") << "macroKey(261, 17)" << "16645";
        QTest::newRow("matrix of odd codes") << "bytesOf([0x4105, -1, 65540, 2.9, NaN, \"x\"])"
                                             << "[5,65,255,255,4,0,2,0,0,0,0,0]";
        QTest::newRow("empty matrix") << "bytesOf([])" << "[]";
        QTest::newRow("last plain usage") << "isUsage(255)" << "true";
        QTest::newRow("first code past the usages") << "isUsage(256)" << "false";
        QTest::newRow("negative code") << "isUsage(-1)" << "false";
    }

    void sceneValues()
    {
        QFETCH(QString, expression);
        QFETCH(QString, value);
        QCOMPARE(sceneValue("ui_View.keyCodes." + expression), value);
    }

    // Actions the scene writes with the published tags are the ones the
    // encoder sends.
    void tagsReachTheEncoder()
    {
        const QString script = "[\"A\" + ui_View.keyCodes.downTag, \"A\" + ui_View.keyCodes.upTag, "
                               "\"100\" + ui_View.keyCodes.delayTag]";
        QQmlExpression e(engine.rootContext(), nullptr, script);
        const QStringList actions = e.evaluate().toStringList();
        QVERIFY2(!e.hasError(), qPrintable(e.error().toString()));
        QCOMPARE(actions.size(), 3);
        const QList<uchar> encoded = MacroEncoder::encode(actions, KeyCodeTable::build(shippedFile));
        QCOMPARE(encoded, (QList<uchar>{0x00, 0x01, 0x01, 0x04, 0x81, 0x04, 0x7F, 0x00, 0x00, 0x0A, 0x00, 0x00}));
    }
};

QTEST_MAIN(TestKeyCodes)
#include "tst_keycodes.moc"
