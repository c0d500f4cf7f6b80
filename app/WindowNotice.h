#pragma once

#include <QFrame>

class QLabel;

// A note over the window's scene: a title, a text and a close button, in
// the language in use. It never takes the keyboard focus and stays until
// the user closes it or its owner does.
class WindowNotice : public QFrame
{
    Q_OBJECT
public:
    struct Texts
    {
        QString title;
        QString text;
        QString fontFamily;
    };

    // The texts under "notice/<titleKey>" and "notice/<textKey>" of language
    // file "lang_<code>.ini" in languageFolder; the English ones given when
    // the file has none or the code is not a plain language code.
    static Texts textsOf(const QString& languageFolder, const QString& code, const char* titleKey,
                         const char* textKey, const QString& englishTitle, const QString& englishText);

    // Shown at once, centred at the top of window.
    WindowNotice(const Texts& texts, QWidget* window, const QString& name);

    QString title() const;
    QString text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* titleLabel = nullptr;
    QLabel* textLabel = nullptr;
};
