#include "bridge/KeyLabels.h"

#include "bridge/KeyAssignment.h"
#include "bridge/KeyCodeTable.h"
#include "bridge/LanguageFiles.h"
#include "storage/DataFileCheck.h"

#include <QRegularExpression>
#include <QSettings>

namespace {

const char* const english[][2] = {
    {"off", "OFF"},
    {"macro", "M: %1"},
    {"macroSlot", "M: #%1"},
    {"media_30B5", "Next"},
    {"media_30B6", "Prev"},
    {"media_30B7", "Stop"},
    {"media_30CD", "Play"},
    {"media_30E2", "Mute"},
    {"media_30E9", "Vol +"},
    {"media_30EA", "Vol -"},
    {"media_3183", "Media"},
    {"media_318A", "Mail"},
    {"media_3192", "Calc"},
    {"media_3194", "My PC"},
    {"media_3221", "Search"},
    {"media_3223", "W Home"},
    {"media_3224", "W Back"},
    {"media_3225", "W Fwd"},
    {"media_3226", "W Stop"},
    {"media_3227", "Reload"},
    {"media_322A", "Favs"},
    {"waiting", "PRESS"},
    {"captureHint", "Press the key it should send. Click anywhere else to stop."},
    {"spokenName", "%1: %2"},
    {"spokenMacro", "Macro %1"},
    {"boxHint", "Click, then press a key to assign it, or drag a key of the keyboard here. "
                "The click switches the selected key off."},
};

const QString mediaPrefix = QStringLiteral("media_");

// A name the library made ("Macro. 006") is told by its number.
QString shortMacroName(const QString& name)
{
    static const QRegularExpression generated("^Macro\\. (\\d+)$");
    const QRegularExpressionMatch match = generated.match(name);
    return match.hasMatch() ? match.captured(1) : name;
}

QString hex4(int code)
{
    return QString("%1").arg(code & 0xFFFF, 4, 16, QChar('0')).toUpper();
}

}

KeyLabels::KeyLabels(const KeyCodeTable* names, MacroNames macroNames, QObject* parent)
    : QObject(parent)
    , names(names)
    , macroNames(std::move(macroNames))
{
    for (const auto& entry : english)
        texts.insert(QString::fromLatin1(entry[0]), QString::fromUtf8(entry[1]));
    if (names) {
        connect(names, &KeyCodeTable::namesChanged, this, &KeyLabels::changed);
        connect(names, &KeyCodeTable::keysChanged, this, &KeyLabels::changed);
    }
}

const QList<int>& KeyLabels::mediaCodes()
{
    static const QList<int> codes = {0x30B5, 0x30B6, 0x30B7, 0x30CD, 0x30E2, 0x30E9, 0x30EA, 0x3183, 0x318A,
                                     0x3192, 0x3194, 0x3221, 0x3223, 0x3224, 0x3225, 0x3226, 0x3227, 0x322A};
    return codes;
}

void KeyLabels::setLanguage(const QString& languageFolder, const QString& code)
{
    for (const auto& entry : english)
        texts.insert(QString::fromLatin1(entry[0]), QString::fromUtf8(entry[1]));
    if (LanguageFiles::isSafeCode(code)) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)), QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            const QString translated = ini.value("keyLabels/" + it.key()).toString().trimmed();
            if (!translated.isEmpty())
                it.value() = translated;
        }
    }
    changed();
}

void KeyLabels::macrosChanged()
{
    changed();
}

void KeyLabels::changed()
{
    ++counter;
    emit labelsChanged();
}

QString KeyLabels::labelOf(int code, int defaultCode) const
{
    if (code == defaultCode)
        return {};
    if (code == 0)
        return texts.value("off");
    QString label;
    switch (KeyAssignment::kindOf(code)) {
    case KeyAssignment::ordinaryKind:
        if (KeyAssignment::isUsage(code) && names)
            label = names->shortNameOf(code);
        break;
    case KeyAssignment::mediaKind:
        label = texts.value(mediaPrefix + hex4(code));
        break;
    case KeyAssignment::macroKind: {
        const int slot = KeyAssignment::slotOf(code);
        const QString name = shortMacroName(macroNames ? macroNames(slot) : QString());
        label = name.isEmpty() ? texts.value("macroSlot").arg(slot) : texts.value("macro").arg(name);
        break;
    }
    default:
        break;
    }
    return label.isEmpty() ? "0x" + hex4(code) : label;
}

QString KeyLabels::spokenNameOf(int code, int defaultCode, const QString& legend) const
{
    auto nameOf = [this](int c) {
        if (!names || KeyAssignment::kindOf(c) != KeyAssignment::ordinaryKind || !KeyAssignment::isUsage(c))
            return QString();
        return names->nameOfCode(c).toString();
    };
    QString key = nameOf(defaultCode);
    if (key.isEmpty())
        key = legend.trimmed();
    QString does;
    if (code == 0) {
        does = texts.value("off");
    } else if (KeyAssignment::kindOf(code) == KeyAssignment::macroKind) {
        const int slot = KeyAssignment::slotOf(code);
        const QString name = shortMacroName(macroNames ? macroNames(slot) : QString());
        does = texts.value("spokenMacro").arg(name.isEmpty() ? QString::number(slot) : name);
    } else {
        does = nameOf(code);
        if (does.isEmpty())
            does = labelOf(code, ~code);
    }
    // Arguments in one go: a name with "%1" in it stays as it is.
    return texts.value("spokenName").arg(key, does);
}

QStringList KeyLabels::mediaLabels() const
{
    QStringList labels;
    for (const int code : mediaCodes())
        labels << texts.value(mediaPrefix + hex4(code));
    return labels;
}
