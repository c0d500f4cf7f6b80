#pragma once

#include "app/WindowNotice.h"

// The note the window shows when the keyboard is connected but this user
// may not open it: what is wrong and what to do, until the user closes it.
class AccessNotice : public WindowNotice
{
    Q_OBJECT
public:
    // "notice/accessTitle", "notice/accessText"; English where the file has none.
    static Texts texts(const QString& languageFolder, const QString& code);

    AccessNotice(const Texts& texts, QWidget* window);
};
