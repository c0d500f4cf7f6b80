#pragma once

#include <QVariantList>
#include <Qt>

class QObject;

// Calls a function of the scene's root object by name. QML functions take
// their arguments as QVariant; up to five are passed. Returns false when the
// root is missing or has no such function; nothing else is reported.
bool callScene(QObject* root, const char* function, const QVariantList& args,
               Qt::ConnectionType type);
