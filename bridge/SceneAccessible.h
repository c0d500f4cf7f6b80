#pragma once

#include <QAccessibleWidget>

class QQuickWidget;

// What a screen reader finds in the scene view. Qt 5's QQuickWidget shows
// its scene in an offscreen QQuickWindow that no accessibility tree reaches:
// the view would be one unnamed surface. This interface gives the view the
// children of that window's interface (the accessible items of the scene:
// buttons, check boxes, lists, ... with their roles, names and states), so
// the tree from the top-level window goes down to every named item.
class SceneAccessible : public QAccessibleWidget
{
public:
    explicit SceneAccessible(QQuickWidget* view);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Installs (once) the factory that gives every scene view of the class
    // named this interface.
    static void installFactory(const char* viewClassName);

private:
    // The scene window's interface, or null before the view has a scene.
    QAccessibleInterface* scene() const;
};
