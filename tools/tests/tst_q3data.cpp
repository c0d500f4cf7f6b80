// The data files that q3config ships under modules/, read the way the
// program reads them: layout and limits, key names, factory profile and
// settings, language files and sounds.
#include "LangCheck.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QRect>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <QtEndian>

namespace {

QString modulePath(const QString& relative)
{
    return QStringLiteral(Q3_MODULES_DIR "/") + relative;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Key {
    int x = 0, y = 0, type = 0;
    QString name;
    int matrix = -1;
    uint code = 0;
    QRect rect;
};

// Key drawings by key type: the image size the skins provide.
const QMap<int, QSize> keyTypeSizes{
    {1, {29, 29}}, {2, {37, 29}}, {3, {45, 29}}, {4, {52, 29}}, {5, {60, 29}},
    {6, {68, 29}}, {7, {83, 29}}, {8, {192, 29}}, {9, {29, 60}}};

// The drawing area that holds the keyboard on the lighting page, from the
// drawing's origin (the key definition page gives it at least as much room).
const QRect drawingArea(0, 0, 716, 221);

// Spotlight paths of the lighting preview, as matrix positions.
const QList<int> spotlightPath1{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 27, 43, 59, 74, 73, 57, 41};
const QList<int> spotlightPath2{115, 109, 100, 79, 95, 94, 91, 90, 89, 88, 72, 56, 40, 25, 26, 42, 58};

// HWDef.bin's group 3 as loadHWDef reads it. `utf8` selects the codec.
QList<Key> readKeys(bool utf8, QStringList* errors)
{
    QSettings ini(modulePath("setting/HWDef.bin"), QSettings::IniFormat);
    if (utf8)
        ini.setIniCodec("UTF-8");
    QList<Key> keys;
    const int total = ini.value("3/total_HW", 0).toInt();
    for (int i = 1; i <= total; ++i) {
        const QVariant v = ini.value(QString("3/%1").arg(i));
        const QStringList f = v.toStringList();
        if (v.type() != QVariant::StringList || f.size() != 6) {
            *errors << QString("3/%1 does not hold six values").arg(i);
            continue;
        }
        Key k;
        bool ok[6] = {false, false, false, true, false, false};
        k.x = f[0].toInt(&ok[0]);
        k.y = f[1].toInt(&ok[1]);
        k.type = f[2].toInt(&ok[2]);
        k.name = f[3];
        k.matrix = f[4].toInt(&ok[4]);
        k.code = f[5].toUInt(&ok[5]);
        if (!(ok[0] && ok[1] && ok[2] && ok[4] && ok[5]))
            *errors << QString("3/%1 has a value that is not a number").arg(i);
        k.rect = QRect(QPoint(k.x, k.y), keyTypeSizes.value(k.type));
        keys << k;
    }
    return keys;
}

QMap<int, Key> keysByMatrix(const QList<Key>& keys)
{
    QMap<int, Key> m;
    for (const Key& k : keys)
        m.insert(k.matrix, k);
    return m;
}

QStringList keyCodeList(const char* key)
{
    QSettings ini(modulePath("setting/KeyCodeDef.bin"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    return ini.value(key).toStringList();
}

QList<int> intList(const QVariant& v, bool* ok)
{
    QList<int> out;
    *ok = v.type() == QVariant::StringList;
    for (const QString& s : v.toStringList()) {
        bool good = false;
        out << s.toInt(&good);
        *ok = *ok && good;
    }
    return out;
}

QStringList shippedLanguageFiles()
{
    return QDir(modulePath("i18n")).entryList({"lang_*.ini"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

// The name the settings page lists a language code under.
QString displayName(const QString& code)
{
    const int language = code.left(3).toInt();
    const int country = code.mid(3, 3).toInt();
    QString name = QLocale::languageToString(QLocale::Language(language)).toUpper();
    if (country == 44)
        name += " (Simp)";
    else if (country == 208)
        name += " (Trad)";
    else if (country != 0)
        name += " (" + QLocale::countryToString(QLocale::Country(country)).toUpper() + ")";
    return name;
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT
private slots:
    void hardwareLimits();
    void keyEntries();
    void keyGeometry();
    void fixedPositions_data();
    void fixedPositions();
    void spotlightPaths_data();
    void spotlightPaths();
    void keyNames();
    void defaultCodesHaveNames();
    void factoryProfile();
    void settings_data();
    void settings();
    void defaultLanguageIsEnglish();
    void languageFiles_data();
    void languageFiles();
    void sounds_data();
    void sounds();
};

void TestShippedData::hardwareLimits()
{
    // Read once without a codec, as at the bridge's construction.
    QSettings ini(modulePath("setting/HWDef.bin"), QSettings::IniFormat);
    QCOMPARE(ini.value("common/kbLayoutType").toUInt(), 3u);
    const uint macros = ini.value("common/maxMacro").toUInt();
    QVERIFY2(macros >= 17 && macros <= 254, "the bridge resends slots 0-16 and caps the count at 255");
    const uint profiles = ini.value("common/maxProfile").toUInt();
    QVERIFY(profiles >= 1 && profiles <= 10);
}

void TestShippedData::keyEntries()
{
    const QByteArray raw = readAll(modulePath("setting/HWDef.bin"));
    for (char c : raw)
        QVERIFY2(uchar(c) < 0x80, "HWDef.bin is read with and without a codec: ASCII only");

    QStringList errors;
    const QList<Key> keys = readKeys(true, &errors);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
    QVERIFY(keys.size() >= 104);
    QSettings ini(modulePath("setting/HWDef.bin"), QSettings::IniFormat);
    QCOMPARE(ini.value("3/total_FW").toInt(), 128);

    QSet<int> positions;
    for (const Key& k : keys) {
        const QString what = QString("key %1 at %2").arg(k.name).arg(k.matrix);
        QVERIFY2(k.matrix >= 0 && k.matrix < 128, qPrintable(what));
        QVERIFY2(!positions.contains(k.matrix), qPrintable(what + " shares its position"));
        positions.insert(k.matrix);
        QVERIFY2(keyTypeSizes.contains(k.type), qPrintable(what + " has an unknown key type"));
        QVERIFY2(!k.name.isEmpty(), qPrintable(what + " has no legend"));
        QVERIFY2(k.code <= 0xFFFF, qPrintable(what));
    }
    QVERIFY2(!positions.contains(93), "position 93's code never reaches the keyboard");

    const QList<Key> plain = readKeys(false, &errors);
    QCOMPARE(plain.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(plain[i].name, keys[i].name);
}

void TestShippedData::keyGeometry()
{
    QStringList errors;
    const QList<Key> keys = readKeys(true, &errors);
    for (int i = 0; i < keys.size(); ++i) {
        QVERIFY2(drawingArea.contains(keys[i].rect), qPrintable(keys[i].name));
        for (int j = i + 1; j < keys.size(); ++j)
            QVERIFY2(!keys[i].rect.intersects(keys[j].rect),
                     qPrintable(QString("%1 (%2) overlaps %3 (%4)")
                                    .arg(keys[i].name).arg(keys[i].matrix).arg(keys[j].name).arg(keys[j].matrix)));
    }
}

void TestShippedData::fixedPositions_data()
{
    QTest::addColumn<int>("matrix");
    QTest::addColumn<uint>("code");
    QTest::newRow("Esc") << 0 << 0x29u;
    for (int f = 1; f <= 9; ++f)
        QTest::addRow("F%d", f) << f << uint(0x3A + f - 1);
    QTest::newRow("O") << 41 << 0x12u;
    QTest::newRow("P") << 42 << 0x13u;
    QTest::newRow("L") << 57 << 0x0Fu;
    QTest::newRow(";") << 58 << 0x33u;
    QTest::newRow("Fn: no key usage, nothing to reassign it to") << 89 << 0xF000u;
}

void TestShippedData::fixedPositions()
{
    QFETCH(int, matrix);
    QFETCH(uint, code);
    QStringList errors;
    const QMap<int, Key> byMatrix = keysByMatrix(readKeys(true, &errors));
    QVERIFY(byMatrix.contains(matrix));
    QCOMPARE(byMatrix[matrix].code, code);
}

// Each spotlight path starts in a corner of the drawing and moves from key
// to neighbouring key (at most two key widths between centres), ending on
// the keys around the ring's centre.
void TestShippedData::spotlightPaths_data()
{
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<bool>("fromTopLeft");
    QTest::newRow("from the top left") << spotlightPath1 << true;
    QTest::newRow("from the bottom right") << spotlightPath2 << false;
}

void TestShippedData::spotlightPaths()
{
    QFETCH(QList<int>, path);
    QFETCH(bool, fromTopLeft);
    QStringList errors;
    const QList<Key> keys = readKeys(true, &errors);
    const QMap<int, Key> byMatrix = keysByMatrix(keys);
    for (int m : path)
        QVERIFY2(byMatrix.contains(m), qPrintable(QString("no key at %1").arg(m)));

    const Key* corner = &keys.first();
    for (const Key& k : keys) {
        const QPoint c = k.rect.center(), best = corner->rect.center();
        if (fromTopLeft ? c.x() + c.y() < best.x() + best.y() : c.x() + c.y() > best.x() + best.y())
            corner = &k;
    }
    QCOMPARE(corner->matrix, path.first());

    for (int i = 1; i < path.size(); ++i) {
        const QPoint step = byMatrix[path[i]].rect.center() - byMatrix[path[i - 1]].rect.center();
        QVERIFY2(qAbs(step.x()) <= 62 && qAbs(step.y()) <= 62,
                 qPrintable(QString("%1 to %2 jumps").arg(path[i - 1]).arg(path[i])));
    }
    QVERIFY(QList<int>({41, 42, 57, 58}).contains(path.last()));
}

void TestShippedData::keyNames()
{
    const QStringList names = keyCodeList("common/usbStr");
    const QStringList codes = keyCodeList("common/usbCode");
    QCOMPARE(names.size(), codes.size());

    QSet<QString> seenNames;
    QSet<uint> seenCodes;
    for (int i = 0; i < names.size(); ++i) {
        const QString& n = names[i];
        QVERIFY2(!n.isEmpty() && n.trimmed() == n, qPrintable(QString("name %1: '%2'").arg(i).arg(n)));
        QVERIFY2(!n.endsWith("[Down]") && !n.endsWith("[Up]") && !n.endsWith("[Delay]"), qPrintable(n));
        QVERIFY2(!seenNames.contains(n), qPrintable("name twice: " + n));
        seenNames.insert(n);
        bool ok = false;
        const uint code = codes[i].toUInt(&ok, 10);   // the bridge converts in base 10
        QVERIFY2(ok && code < 256, qPrintable(n + " has code " + codes[i]));
        QVERIFY2(!seenCodes.contains(code), qPrintable(n));
        seenCodes.insert(code);
    }
    for (uint code = 0x04; code <= 0x65; ++code)
        QVERIFY2(seenCodes.contains(code), qPrintable(QString::number(code, 16)));
    for (uint code = 0xE0; code <= 0xE7; ++code)
        QVERIFY2(seenCodes.contains(code), qPrintable(QString::number(code, 16)));
}

void TestShippedData::defaultCodesHaveNames()
{
    QSet<uint> named;
    for (const QString& c : keyCodeList("common/usbCode"))
        named.insert(c.toUInt());
    QStringList errors;
    QSet<uint> seen;
    for (const Key& k : readKeys(true, &errors)) {
        QVERIFY2(!seen.contains(k.code), qPrintable(k.name + ": two keys with one default code"));
        seen.insert(k.code);
        if (k.code < 0x100)
            QVERIFY2(named.contains(k.code), qPrintable(k.name + " has no key name"));
    }
}

void TestShippedData::factoryProfile()
{
    QSettings ini(modulePath("setting/pD.bin"), QSettings::IniFormat);
    bool ok = false;
    const QList<int> led = intList(ini.value("color/ledType"), &ok);
    QVERIFY(ok);
    QCOMPARE(led.size(), 7);
    QVERIFY((led[0] >= 0 && led[0] <= 0x0B) || (led[0] >= 0x33 && led[0] <= 0x37));
    QVERIFY(led[1] >= 0 && led[1] <= 63);
    QVERIFY(led[2] >= 1 && led[2] <= 7);
    QVERIFY(led[3] == 0 || led[3] == 1);
    QVERIFY(led[4] >= 0 && led[4] <= 7);
    QVERIFY((led[5] & 0x1F) <= 3);

    const QList<int> colours = intList(ini.value("color/color"), &ok);
    QVERIFY(ok);
    QCOMPARE(colours.size(), 21);
    for (int c : colours)
        QVERIFY(c >= 0 && c <= 255);

    QStringList errors;
    const QMap<int, Key> byMatrix = keysByMatrix(readKeys(true, &errors));
    for (int i = 0; i < 128; ++i) {
        const QList<int> pair = intList(ini.value(QString("keydefine3/%1").arg(i)), &ok);
        QVERIFY2(ok && pair.size() == 2, qPrintable(QString("keydefine3/%1").arg(i)));
        const uint code = byMatrix.contains(i) ? byMatrix[i].code : 0;
        QCOMPARE(uint(pair[0]), code & 0xFF);
        QCOMPARE(uint(pair[1]), code >> 8);
    }
}

void TestShippedData::settings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    // A settings reset copies the factory file over the settings: it carries
    // the window title too, or the next start would have none.
    QTest::newRow("factory settings") << "apConfigD.bin" << "Q3 Keyboard Configuration";
    QTest::newRow("first-start settings") << "apConfig.bin" << "Q3 Keyboard Configuration";
}

void TestShippedData::settings()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QSettings ini(modulePath("setting/" + file), QSettings::IniFormat);
    QCOMPARE(ini.value("common/name").toString(), title);
    QCOMPARE(ini.value("common/total").toInt(), 32);

    QStringList v;
    for (int i = 0; i < 32; ++i) {
        const QVariant e = ini.value(QString("common/%1").arg(i));
        QVERIFY2(e.type() == QVariant::String, qPrintable(QString("common/%1").arg(i)));
        v << e.toString();
    }
    auto inRange = [&](int i, int low, int high) {
        bool ok = false;
        const int n = v[i].toInt(&ok);
        return ok && n >= low && n <= high;
    };
    QCOMPARE(v[0], QString("1"));
    QVERIFY(inRange(1, 1, 2));
    QVERIFY(inRange(2, 0, 1));
    QVERIFY(inRange(3, 0, 1));
    QVERIFY(inRange(4, 0, 99));
    QVERIFY(v[5] == "false" || v[5] == "true");
    QVERIFY(v[5] == "true" || v[6].isEmpty());
    QVERIFY(inRange(7, 0, 1));
    for (int i = 8; i <= 28; ++i)
        QVERIFY(inRange(i, 0, 255));
    QVERIFY(inRange(29, 0, 6));
    QVERIFY(inRange(30, 0, 7));
    QVERIFY(v[31].startsWith("https://"));

    if (file != "apConfigD.bin") {
        QSettings factory(modulePath("setting/apConfigD.bin"), QSettings::IniFormat);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(v[i], factory.value(QString("common/%1").arg(i)).toString());
    }
}

// Entry 4 of the settings is a position in the language list, which is
// sorted by display name: it must point at English with the files shipped.
void TestShippedData::defaultLanguageIsEnglish()
{
    QMap<QString, QString> byName;
    for (const QString& f : shippedLanguageFiles())
        byName.insert(displayName(f.mid(5, 6)), f.mid(5, 6));
    const int index = QSettings(modulePath("setting/apConfigD.bin"), QSettings::IniFormat)
                          .value("common/4").toInt();
    QVERIFY(index >= 0 && index < byName.size());
    QCOMPARE(byName.values().at(index), QString("031000"));
}

void TestShippedData::languageFiles_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = shippedLanguageFiles();
    QVERIFY(files.contains("lang_031000.ini"));
    QVERIFY(files.size() >= 3);
    for (const QString& f : files)
        QTest::newRow(qPrintable(f)) << f;
}

void TestShippedData::languageFiles()
{
    QFETCH(QString, file);
    QVERIFY(QRegularExpression("^lang_\\d{6}\\.ini$").match(file).hasMatch());
    const QString path = modulePath("i18n/" + file);
    const QString name = displayName(file.mid(5, 6));
    QVERIFY2(!name.startsWith(' ') && !name.isEmpty(), qPrintable(name));

    const langcheck::FileReport report = langcheck::inspect(path);
    QVERIFY2(report.problems.isEmpty(), qPrintable(report.problems.join("; ")));
    QVERIFY2(report.matches(), "run q3langcs --write on the file");

    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    QVERIFY(!ini.value("font/family").toString().isEmpty());
    QCOMPARE(ini.value("font/total").toInt(), 117);
    for (int i = 1; i <= 117; ++i)
        QVERIFY2(!ini.value(QString("strings/%1").arg(i)).toString().trimmed().isEmpty(),
                 qPrintable(QString("strings/%1").arg(i)));
    // 115 and 116 are followed by a bracket on screen.
    for (int i : {115, 116})
        QVERIFY(ini.value(QString("strings/%1").arg(i)).toString().endsWith(' '));
    for (int i = 0; i < 4; ++i) {
        const QVariant m = ini.value(QString("msg/%1").arg(i));
        QVERIFY2(m.type() == QVariant::String && !m.toString().isEmpty(), qPrintable(QString("msg/%1").arg(i)));
    }
}

void TestShippedData::sounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("maxBytes");
    QTest::newRow("background") << "00.mp3" << 200 * 1024;
    for (int i = 1; i <= 4; ++i)
        QTest::addRow("effect %d", i) << QString("0%1.wav").arg(i) << 100 * 1024;
}

void TestShippedData::sounds()
{
    QFETCH(QString, file);
    QFETCH(int, maxBytes);
    const QByteArray data = readAll(modulePath("media/" + file));
    QVERIFY(data.size() > 1000);
    QVERIFY(data.size() <= maxBytes);
    if (file.endsWith(".mp3")) {
        QVERIFY(data.startsWith("ID3") || (uchar(data[0]) == 0xFF && (uchar(data[1]) & 0xE0) == 0xE0));
        return;
    }
    QVERIFY(data.startsWith("RIFF") && data.mid(8, 4) == "WAVE" && data.mid(12, 4) == "fmt ");
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 20), quint16(1));   // PCM
    QCOMPARE(qFromLittleEndian<quint16>(data.constData() + 34), quint16(16));  // bits per sample
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_q3data.moc"
