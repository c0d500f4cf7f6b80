#include "app/StorageNotice.h"

WindowNotice::Texts StorageNotice::texts(const QString& languageFolder, const QString& code,
                                         const QString& folder)
{
    Texts t = textsOf(languageFolder, code, "storageTitle", "storageText",
                      "Changes cannot be saved",
                      "The program cannot write in \"%1\" (the folder is read-only or the disk is "
                      "full). Changes made now are not kept after the program closes. Free some "
                      "space or make the folder writable, then make the change again.");
    t.text = t.text.arg(folder);
    return t;
}

StorageNotice::StorageNotice(const Texts& texts, QWidget* window)
    : WindowNotice(texts, window, "storageNotice", Place::Middle)
{
}
