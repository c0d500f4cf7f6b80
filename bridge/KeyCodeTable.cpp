#include "bridge/KeyCodeTable.h"

#include "bridge/KeyAssignment.h"
#include "bridge/MacroEncoder.h"
#include "storage/DataFileCheck.h"

#include <QRegularExpression>
#include <QSettings>

#include <cmath>
#include <limits>

namespace {

QVariantList readList(const QString& file, const char* key)
{
    QSettings ini(DataFileCheck::parsable(file), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    return ini.value(key).toList();
}

bool isNumber(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A missing entry, or null or undefined handed over by the scene.
bool isMissing(const QVariant& value)
{
    return !value.isValid() || value.userType() == QMetaType::Nullptr;
}

// A number as the scene's integer operators take it: truncated, wrapped to
// 32 bits; NaN, infinities and anything but a number give 0.
int scriptInt(const QVariant& value)
{
    if (!isNumber(value))
        return 0;
    const double d = value.toDouble();
    if (!std::isfinite(d))
        return 0;
    const double wrapped = std::fmod(std::trunc(d), 4294967296.0);
    return int(quint32(qint64(wrapped < 0 ? wrapped + 4294967296.0 : wrapped)));
}

QVariant numberOrNothing(const QMap<qint64, qint64>& map, const KeyCodeTable::Code& key)
{
    const auto it = map.constFind(key.value);
    return key.ok && it != map.constEnd() ? QVariant(it.value()) : QVariant();
}

template<typename Value>
QVariantMap textKeyed(const QMap<qint64, Value>& map)
{
    QVariantMap result;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        result.insert(QString::number(it.key()), it.value());
    return result;
}

}

KeyCodeTable::KeyCodeTable(QObject* parent)
    : QObject(parent)
{
}

QVariantList KeyCodeTable::names(const QString& keyCodeDefFile)
{
    return readList(keyCodeDefFile, "common/usbStr");
}

QVariantList KeyCodeTable::codes(const QString& keyCodeDefFile)
{
    return readList(keyCodeDefFile, "common/usbCode");
}

QMap<QString, quint8> KeyCodeTable::build(const QString& keyCodeDefFile)
{
    KeyCodeTable table;
    table.load(keyCodeDefFile);
    return table.macroCodes();
}

QString KeyCodeTable::problem(const QString& keyCodeDefFile)
{
    const QString unreadable = DataFileCheck::unreadable(keyCodeDefFile);
    if (!unreadable.isEmpty())
        return unreadable;
    if (names(keyCodeDefFile).isEmpty() || codes(keyCodeDefFile).isEmpty())
        return "it names no keys";
    return {};
}

KeyCodeTable::Code KeyCodeTable::parseCode(const QVariant& value)
{
    Code code;
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        code.value = value.toLongLong(&code.ok);
        code.decimal = code.ok;
        return code;
    case QMetaType::ULongLong:
        code.ok = value.toULongLong() <= quint64(std::numeric_limits<qint64>::max());
        code.value = qint64(value.toULongLong());
        code.decimal = code.ok;
        return code;
    case QMetaType::Double:
    case QMetaType::Float: {
        // Whole numbers only, and only those a 64-bit integer holds.
        const double d = value.toDouble();
        code.ok = std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < 9223372036854775808.0;
        code.value = code.ok ? qint64(d) : 0;
        code.decimal = code.ok;
        return code;
    }
    default:
        break;
    }
    if (isMissing(value) || !value.canConvert<QString>())
        return code;
    static const QRegularExpression hex("^0[xX]([0-9a-fA-F]+)$");
    static const QRegularExpression decimal("^[+-]?[0-9]+$");
    const QString text = value.toString().trimmed();
    const QRegularExpressionMatch hexMatch = hex.match(text);
    if (hexMatch.hasMatch()) {
        code.value = hexMatch.captured(1).toLongLong(&code.ok, 16);
    } else if (decimal.match(text).hasMatch()) {
        code.value = text.toLongLong(&code.ok, 10);
        code.decimal = code.ok;
    }
    return code;
}

void KeyCodeTable::load(const QString& keyCodeDefFile)
{
    setNames(names(keyCodeDefFile), codes(keyCodeDefFile));
}

void KeyCodeTable::setNames(const QVariantList& names, const QVariantList& codes)
{
    codeByName.clear();
    nameByCode.clear();
    encoderCodes.clear();
    const int count = qMin(names.size(), codes.size());
    for (int i = 0; i < count; ++i) {
        const QString name = names.at(i).toString();
        const Code code = parseCode(codes.at(i));
        const bool byte = code.ok && code.decimal && code.value >= 0
                          && code.value <= std::numeric_limits<quint32>::max();
        encoderCodes[name] = byte ? quint8(code.value & 0xFF) : 0;
        if (!code.ok || isMissing(names.at(i)))
            continue;
        codeByName[name] = code.value;
        nameByCode[code.value] = name;
    }
    emit namesChanged();
}

void KeyCodeTable::setKeys(const QVariantList& hw)
{
    codeByMatrix.clear();
    matrixByCode.clear();
    legendByCode.clear();
    sharedLegends.clear();
    QSet<QString> seenLegends;
    const Code declared = parseCode(hw.value(0));
    const qint64 fitting = (qint64(hw.size()) - 2) / 6;
    const qint64 keys = qMin(declared.ok ? declared.value : 0, fitting);
    for (qint64 k = 0; k < keys; ++k) {
        const Code matrix = parseCode(hw.at(int(6 + 6 * k)));
        const Code code = parseCode(hw.at(int(7 + 6 * k)));
        if (!matrix.ok || !code.ok)
            continue;
        codeByMatrix[matrix.value] = code.value;
        matrixByCode[code.value] = matrix.value;
        const QVariant legend = hw.at(int(5 + 6 * k));
        const QString text = isMissing(legend) ? QString() : legend.toString().trimmed();
        if (text.isEmpty())
            continue;
        if (seenLegends.contains(text))
            sharedLegends.insert(text);
        seenLegends.insert(text);
        legendByCode[code.value] = text;
    }
    emit keysChanged();
}

QVariant KeyCodeTable::codeOfName(const QVariant& name) const
{
    if (isMissing(name))
        return {};
    const auto it = codeByName.constFind(name.toString());
    return it != codeByName.constEnd() ? QVariant(it.value()) : QVariant();
}

QVariant KeyCodeTable::nameOfCode(const QVariant& code) const
{
    const Code key = parseCode(code);
    const auto it = nameByCode.constFind(key.value);
    return key.ok && it != nameByCode.constEnd() ? QVariant(it.value()) : QVariant();
}

QVariant KeyCodeTable::matrixOfCode(const QVariant& code) const
{
    return numberOrNothing(matrixByCode, parseCode(code));
}

QVariant KeyCodeTable::codeOfMatrix(const QVariant& matrix) const
{
    return numberOrNothing(codeByMatrix, parseCode(matrix));
}

QString KeyCodeTable::shortNameOf(int code) const
{
    const QString legend = legendByCode.value(code);
    if (!legend.isEmpty() && !sharedLegends.contains(legend))
        return legend;
    QString name = nameByCode.value(code);
    static const QRegularExpression side("^(Left|Right) (?=\\S)");
    const QRegularExpressionMatch match = side.match(name);
    if (match.hasMatch())
        name.replace(0, match.capturedLength(), match.captured(1).left(1) + ' ');
    return name;
}

void KeyCodeTable::rebuild(const QVariant& hw, const QVariant& names, const QVariant& codes)
{
    setNames(names.toList(), codes.toList());
    const QVariantList keys = hw.toList();
    if (!keys.isEmpty())
        setKeys(keys);
}

QObject* KeyCodeTable::newTable() const
{
    // Without a parent: the scene's engine owns it.
    return new KeyCodeTable;
}

QString KeyCodeTable::kindOf(int code) const
{
    switch (KeyAssignment::kindOf(code)) {
    case KeyAssignment::ordinaryKind:
        return "key";
    case KeyAssignment::mediaKind:
        return "media";
    case KeyAssignment::macroKind:
        return "macro";
    default:
        return {};
    }
}

int KeyCodeTable::usageOf(int code) const
{
    return KeyAssignment::usageOf(code);
}

int KeyCodeTable::slotOf(int code) const
{
    return KeyAssignment::slotOf(code);
}

bool KeyCodeTable::isUsage(int code) const
{
    return KeyAssignment::isUsage(code);
}

int KeyCodeTable::macroKey(int slot, int repeat) const
{
    return KeyAssignment::macroKey(slot, repeat);
}

int KeyCodeTable::keyCodeOf(int low, int high) const
{
    return KeyAssignment::fromBytes(low, high);
}

QVariantList KeyCodeTable::bytesOf(const QVariantList& codes) const
{
    QVariantList bytes;
    bytes.reserve(2 * codes.size());
    for (const QVariant& code : codes) {
        const int value = scriptInt(code);
        bytes << KeyAssignment::lowByte(value) << KeyAssignment::highByte(value);
    }
    return bytes;
}

QVariantMap KeyCodeTable::str2keycode() const
{
    QVariantMap result;
    for (auto it = codeByName.constBegin(); it != codeByName.constEnd(); ++it)
        result.insert(it.key(), it.value());
    return result;
}

QVariantMap KeyCodeTable::keycode2str() const
{
    return textKeyed(nameByCode);
}

QVariantMap KeyCodeTable::matrix2keycode() const
{
    return textKeyed(codeByMatrix);
}

QVariantMap KeyCodeTable::keycode2matrix() const
{
    return textKeyed(matrixByCode);
}

QString KeyCodeTable::downTag() const
{
    return MacroEncoder::downTag;
}

QString KeyCodeTable::upTag() const
{
    return MacroEncoder::upTag;
}

QString KeyCodeTable::delayTag() const
{
    return MacroEncoder::delayTag;
}
