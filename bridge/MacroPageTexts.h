#pragma once

#include <QObject>
#include <QString>

// The macro page's own texts beyond the checked string list, from the
// "macropage" group of a language file, English where the file has none.
// Published to the scene as ui_View.macroTexts; a change of language
// changes them.
class MacroPageTexts : public QObject
{
    Q_OBJECT
    // Caption of the switch that records the pauses between key events.
    Q_PROPERTY(QString recordDelays READ recordDelays NOTIFY changed)
public:
    explicit MacroPageTexts(QObject* parent = nullptr);

    // The language of "lang_<code>.ini" in languageFolder over English; an
    // unsafe code or a missing file gives English.
    void setLanguage(const QString& languageFolder, const QString& code);

    QString recordDelays() const { return recordDelaysText; }

signals:
    void changed();

private:
    QString recordDelaysText;
};
