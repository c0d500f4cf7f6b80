#pragma once

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The key code tables: key names and the key codes they stand for, from the
// key code definition file's parallel lists "common/usbStr" and
// "common/usbCode", and the drawn keys' matrix positions and default codes,
// from the hardware definition list. Every code of the lists goes through
// parseCode, so the scene's lookups and the macro encoder's table read the
// same text the same way.
//
// The bridge keeps one, read from the file, for the macro encoder and
// publishes it to the scene as ui_View.keyCodes together with the key
// assignment codec (KeyAssignment) and the macro action tags, so that the
// scene keeps no copy of either. The scene's key code strings
// (KeyCodeString.qml) get a table of their own from newTable() and only
// forward to it.
class KeyCodeTable : public QObject
{
    Q_OBJECT
    // The lookups as maps, keys as text: name → code, code → name,
    // matrix position → default code, default code → matrix position.
    Q_PROPERTY(QVariantMap str2keycode READ str2keycode NOTIFY namesChanged)
    Q_PROPERTY(QVariantMap keycode2str READ keycode2str NOTIFY namesChanged)
    Q_PROPERTY(QVariantMap matrix2keycode READ matrix2keycode NOTIFY keysChanged)
    Q_PROPERTY(QVariantMap keycode2matrix READ keycode2matrix NOTIFY keysChanged)
    // The 10-character tags that end a macro action after its key name or
    // delay (MacroEncoder's).
    Q_PROPERTY(QString downTag READ downTag CONSTANT)
    Q_PROPERTY(QString upTag READ upTag CONSTANT)
    Q_PROPERTY(QString delayTag READ delayTag CONSTANT)
public:
    explicit KeyCodeTable(QObject* parent = nullptr);

    // The file's two lists as stored (empty when missing).
    static QVariantList names(const QString& keyCodeDefFile);
    static QVariantList codes(const QString& keyCodeDefFile);
    // The macro encoder's table of the file (macroCodes()).
    static QMap<QString, quint8> build(const QString& keyCodeDefFile);
    // Why the file gives no key names, or empty when it does.
    static QString problem(const QString& keyCodeDefFile);

    // A code or position as the lists hold it: a whole number, or text that
    // is decimal (an optional sign, digits) or hexadecimal with a 0x or 0X
    // prefix, blanks around it ignored. Anything else is no code.
    struct Code
    {
        bool ok = false;
        bool decimal = false;
        qint64 value = 0;
    };
    static Code parseCode(const QVariant& value);

    // The file's lists, as setNames takes them.
    void load(const QString& keyCodeDefFile);
    // Pairs names and codes up to the shorter list. A pair whose code is no
    // code, or whose name is missing, is left out of the lookups; when a
    // name or a code occurs twice, the later pair wins.
    void setNames(const QVariantList& names, const QVariantList& codes);
    // From a hardware definition list ([keys, positions, then x, y, key type,
    // legend, matrix position, default code per key]); keys beyond the end
    // of the list are not read, and a key whose position or code is no code
    // is left out. The later of two keys with the same position or default
    // code wins.
    void setKeys(const QVariantList& hw);

    // The macro encoder's table: name → low byte of its code, read in
    // decimal only: a code that is not an unsigned decimal number (0x text,
    // no number at all) gives 0, and so does its name. Every pair up to the
    // shorter list counts, the later one of a name winning.
    QMap<QString, quint8> macroCodes() const { return encoderCodes; }

    // The scene's lookups; an invalid QVariant (undefined in the scene) for
    // a name, code or position that is not in the table or is no code.
    Q_INVOKABLE QVariant codeOfName(const QVariant& name) const;
    Q_INVOKABLE QVariant nameOfCode(const QVariant& code) const;
    Q_INVOKABLE QVariant matrixOfCode(const QVariant& code) const;
    Q_INVOKABLE QVariant codeOfMatrix(const QVariant& matrix) const;
    // A short name of a code for a key's legend: the legend of the drawn key
    // whose default code it is, when no other drawn key carries that legend
    // ("Caps"); otherwise its key name with a leading "Left " or "Right "
    // cut to "L " or "R " ("L Ctrl", "Num 1"); empty for a code with
    // neither.
    Q_INVOKABLE QString shortNameOf(int code) const;
    // The names always; the matrix positions only when hw is a list that is
    // not empty. What is no list counts as an empty one.
    Q_INVOKABLE void rebuild(const QVariant& hw, const QVariant& names, const QVariant& codes);
    // An empty table the scene owns.
    Q_INVOKABLE QObject* newTable() const;

    // The key assignment codec for the scene (KeyAssignment).
    // "key", "media", "macro", or "" for a kind the pages do not offer.
    Q_INVOKABLE QString kindOf(int code) const;
    Q_INVOKABLE int usageOf(int code) const;
    Q_INVOKABLE int slotOf(int code) const;
    Q_INVOKABLE bool isUsage(int code) const;
    Q_INVOKABLE int macroKey(int slot, int repeat) const;
    // The code of a profile's two values.
    Q_INVOKABLE int keyCodeOf(int low, int high) const;
    // The key matrix as the bridge's ui_0C0DH_SetKeyMatrix takes it: low
    // byte, high byte of every code in order. Codes are cut to whole 32-bit
    // numbers as the scene's integer operators cut them; entries that are
    // no number give 0.
    Q_INVOKABLE QVariantList bytesOf(const QVariantList& codes) const;

    QVariantMap str2keycode() const;
    QVariantMap keycode2str() const;
    QVariantMap matrix2keycode() const;
    QVariantMap keycode2matrix() const;
    QString downTag() const;
    QString upTag() const;
    QString delayTag() const;

signals:
    void namesChanged();
    void keysChanged();

private:
    QMap<QString, qint64> codeByName;
    QMap<qint64, QString> nameByCode;
    QMap<qint64, qint64> codeByMatrix;
    QMap<qint64, qint64> matrixByCode;
    // Drawn legends by default code; legends that more than one key carries.
    QMap<qint64, QString> legendByCode;
    QSet<QString> sharedLegends;
    QMap<QString, quint8> encoderCodes;
};
