#pragma once

#include <QString>

class QWidget;

// File dialogs and message boxes the bridge shows. Tests install their own
// answers; the program uses the toolkit's dialogs.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter);
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter);
    virtual void warning(const QString& title, const QString& text);

    static UserDialogs& instance();
    // Replaces the dialogs (nullptr restores the toolkit's); not owned.
    static void install(UserDialogs* dialogs);
};
