#include "bridge/SceneAccessible.h"

#include <QQuickWidget>
#include <QQuickWindow>

namespace {

QByteArray& viewClass()
{
    static QByteArray name;
    return name;
}

QAccessibleInterface* sceneViewFactory(const QString& className, QObject* object)
{
    if (viewClass().isEmpty() || className != QLatin1String(viewClass()))
        return nullptr;
    auto* view = qobject_cast<QQuickWidget*>(object);
    return view ? new SceneAccessible(view) : nullptr;
}

}

SceneAccessible::SceneAccessible(QQuickWidget* view)
    : QAccessibleWidget(view, QAccessible::Client)
{
}

void SceneAccessible::installFactory(const char* viewClassName)
{
    if (!viewClass().isEmpty())
        return;
    viewClass() = viewClassName;
    QAccessible::installFactory(sceneViewFactory);
}

QAccessibleInterface* SceneAccessible::scene() const
{
    auto* view = qobject_cast<QQuickWidget*>(widget());
    QQuickWindow* window = view ? view->quickWindow() : nullptr;
    return window ? QAccessible::queryAccessibleInterface(window) : nullptr;
}

int SceneAccessible::childCount() const
{
    QAccessibleInterface* s = scene();
    return s ? s->childCount() : 0;
}

QAccessibleInterface* SceneAccessible::child(int index) const
{
    QAccessibleInterface* s = scene();
    if (!s || index < 0 || index >= s->childCount())
        return nullptr;
    return s->child(index);
}

int SceneAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    QAccessibleInterface* s = scene();
    return s && child ? s->indexOfChild(child) : -1;
}

QAccessibleInterface* SceneAccessible::childAt(int x, int y) const
{
    QAccessibleInterface* s = scene();
    return s ? s->childAt(x, y) : nullptr;
}

QAccessibleInterface* SceneAccessible::focusChild() const
{
    QAccessibleInterface* s = scene();
    return s ? s->focusChild() : nullptr;
}
