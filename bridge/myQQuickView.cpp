#include "bridge/myQQuickView.h"

#include "bridge/SceneCall.h"

#include <QQuickItem>

myQQuickView::myQQuickView(QWidget* parent)
    : QQuickWidget(parent)
{
    // The window is translucent; the scene draws its own background.
    setClearColor(Qt::transparent);
    setAttribute(Qt::WA_TranslucentBackground);
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::queueSceneCall(const char* function, const QVariantList& args)
{
    callScene(rootObject(), function, args, Qt::QueuedConnection);
}

void myQQuickView::initUI()
{
    queueSceneCall("initUI");
}

void myQQuickView::zzzQuarel()
{
    queueSceneCall("zzzQuarel");
}

void myQQuickView::runUI()
{
    queueSceneCall("run");
}
