#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// The scene's help texts (the tooltips of the icon buttons, the hint beside
// controls that wait for GAMING MODE, captions the checked string lists do
// not have) and the words the macro action list shows for its stored tags,
// from the "hints" group of a language file (outside its checked strings),
// English where the file has none. Published to the scene as ui_View.hints;
// the scene binds to `texts` by key ("tip_record", "hint_gamingMode", …).
class SceneTexts : public QObject
{
    Q_OBJECT
    // key -> text in the language in use.
    Q_PROPERTY(QVariantMap texts READ texts NOTIFY changed)
    // The code of the language in use ("" for English built in).
    Q_PROPERTY(QString language READ language NOTIFY changed)
public:
    explicit SceneTexts(QObject* parent = nullptr);

    QVariantMap texts() const { return current; }
    QString language() const { return code; }
    QString value(const QString& key) const { return current.value(key).toString(); }

    // The language of "lang_<code>.ini" in languageFolder over English; an
    // unsafe code or a missing file gives English.
    void setLanguage(const QString& languageFolder, const QString& languageCode);

    // The word the action list shows for a stored action tag ("    [Down]",
    // "      [Up]", "   [Delay]"); any other text comes back unchanged. The
    // stored tag itself is never changed.
    Q_INVOKABLE QString actionWord(const QString& tag) const;

    // English, the keys every language file may translate.
    static QVariantMap english();

signals:
    void changed();

private:
    QVariantMap current;
    QString code;
};
