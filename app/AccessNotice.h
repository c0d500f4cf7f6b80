#pragma once

#include <QFrame>

class QLabel;

// The note the window shows when the keyboard is connected but this user
// may not open it: what is wrong and what to do, in the language in use,
// until the user closes it.
class AccessNotice : public QFrame
{
    Q_OBJECT
public:
    struct Texts
    {
        QString title;
        QString text;
        QString fontFamily;
    };

    // The texts of language file "lang_<code>.ini" in languageFolder
    // ("notice/accessTitle", "notice/accessText"); English where the file
    // has none.
    static Texts texts(const QString& languageFolder, const QString& code);

    // A notice over the top of window, shown at once.
    AccessNotice(const Texts& texts, QWidget* window);

    QString title() const;
    QString text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* titleLabel = nullptr;
    QLabel* textLabel = nullptr;
};
