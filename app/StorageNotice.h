#pragma once

#include "app/WindowNotice.h"

// The note the window shows when the program's own files cannot be written
// (a read-only or full data folder): which folder, and that changes will
// not be kept. Shown once per folder and run, until the user closes it.
class StorageNotice : public WindowNotice
{
    Q_OBJECT
public:
    // "notice/storageTitle", "notice/storageText" with the folder for "%1";
    // English where the file has none.
    static Texts texts(const QString& languageFolder, const QString& code, const QString& folder);

    StorageNotice(const Texts& texts, QWidget* window);
};
