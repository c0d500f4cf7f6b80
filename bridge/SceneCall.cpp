#include "bridge/SceneCall.h"

#include <QMetaObject>
#include <QObject>
#include <QVariant>

bool callScene(QObject* root, const char* function, const QVariantList& args,
               Qt::ConnectionType type)
{
    if (!root || args.size() > 5)
        return false;
    QVariant a[5];
    for (int i = 0; i < args.size(); ++i)
        a[i] = args.at(i);
    QGenericArgument g[5];
    for (int i = 0; i < args.size(); ++i)
        g[i] = Q_ARG(QVariant, a[i]);
    return QMetaObject::invokeMethod(root, function, type, g[0], g[1], g[2], g[3], g[4]);
}
