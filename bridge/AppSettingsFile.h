#pragma once

#include <QString>
#include <QVariantList>

class QObject;
class QSettings;

// The program's settings list in the settings file: "common/total" entries
// stored under "common/0", "common/1", … as the scene gave them.
namespace AppSettingsFile {

// Bound on "common/total", so a damaged file cannot make a huge list.
constexpr int maxEntries = 1024;

// The settings object for the file at `path`. A file holding a value the
// settings reader must not be given is not read: the object starts empty and
// has no file name, so that nothing is written through it either.
QSettings* open(const QString& path, QObject* parent = nullptr);

QVariantList load(const QSettings& settings);
// Why a settings file cannot be used as the program's settings list, or
// empty when it can.
QString problem(const QString& path);
// Writes the list to the file; false when the file could not be written whole.
bool save(QSettings& settings, const QVariantList& entries);

// Skins are the subfolders of the image folder; the choice is offered only
// when there is more than one.
bool hasSkinChoice(const QString& imageFolder);

}
