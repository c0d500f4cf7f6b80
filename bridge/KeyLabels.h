#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class KeyCodeTable;

// What a key of the key definition drawing says it does when its assignment
// is not its default, and the key box's texts for taking a key from the
// keyboard. Published to the scene as ui_View.keyLabels; the keys bind to
// labelOf and follow revision.
//
// The texts come from the "keyLabels" group of a language file (outside its
// checked strings), English where the file has none:
//   off            a key switched off ("OFF")
//   macro          a macro key, %1 the bound macro's name ("M: %1")
//   macroSlot      a macro key whose slot no macro is bound to, %1 the slot
//   media_<code>   a media or application key, <code> 4 upper-case hex
//                  digits ("media_30E9" = "Vol +")
//   waiting, captureHint, boxHint   the key box's texts
//   spokenName     what a screen reader says for a key, %1 the key, %2 what
//                  it does ("%1: %2")
//   spokenMacro    a macro key in spokenName, %1 the macro ("Macro %1")
class KeyLabels : public QObject
{
    Q_OBJECT
    // Changes whenever any label may have changed: the language, the key
    // names, the macro library.
    Q_PROPERTY(int revision READ revision NOTIFY labelsChanged)
    // The key box while it waits for a key, and the hints beside it.
    Q_PROPERTY(QString waitingText READ waitingText NOTIFY labelsChanged)
    Q_PROPERTY(QString captureHint READ captureHint NOTIFY labelsChanged)
    Q_PROPERTY(QString boxHint READ boxHint NOTIFY labelsChanged)
public:
    // The name of the macro bound to a slot, empty when none is.
    using MacroNames = std::function<QString(int slot)>;

    // names may be null (keys then get no key names); so may macroNames.
    explicit KeyLabels(const KeyCodeTable* names, MacroNames macroNames, QObject* parent = nullptr);

    // The media and application codes the key definition page offers, in
    // its list order.
    static const QList<int>& mediaCodes();

    // The language of "lang_<code>.ini" in languageFolder over English.
    void setLanguage(const QString& languageFolder, const QString& code);
    // A macro was bound, renamed, removed or replaced.
    void macrosChanged();

    int revision() const { return counter; }
    QString waitingText() const { return texts.value("waiting"); }
    QString captureHint() const { return texts.value("captureHint"); }
    QString boxHint() const { return texts.value("boxHint"); }

    // The label of a key assigned code whose default is defaultCode: empty
    // when the two are equal; "OFF" for 0; the short name of an ordinary key
    // (KeyCodeTable::shortNameOf); "M: <name>" for a macro key (of a name
    // the library made, "Macro. 006", only the number: "M: 006"); the short
    // name of a media key. A code this cannot name shows as "0x" and four
    // hex digits, so a changed key never looks unchanged.
    Q_INVOKABLE QString labelOf(int code, int defaultCode) const;
    // What a screen reader says for the drawn key with legend `legend` and
    // default code defaultCode that is assigned code: the key's name (the
    // key name of its default code, its legend when it has none), then
    // what it does -- the key name of an ordinary key, "OFF", "Macro <name>" (of a name the library made only the number),
    // the label of a media key -- as spokenName puts them together ("Caps
    // Lock: Left Ctrl"). A key that does what it always did says its own
    // name twice ("A: A").
    Q_INVOKABLE QString spokenNameOf(int code, int defaultCode, const QString& legend) const;
    // Every media label, in list order (for the fit check of the drawing).
    Q_INVOKABLE QStringList mediaLabels() const;

signals:
    void labelsChanged();

private:
    void changed();

    const KeyCodeTable* names;
    MacroNames macroNames;
    QHash<QString, QString> texts;
    int counter = 0;
};
