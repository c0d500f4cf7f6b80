#include "app/Ui_Controler.h"

#include "app/Widget.h"
#include "bridge/BridgeTypes.h"
#include "bridge/myQQuickView.h"
#include "bridge/SceneCall.h"
#include "preview/PreviewTypes.h"
#include "storage/DataFileCheck.h"
#include "storage/DataPaths.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QUrl>
#include <QWidget>

Ui_Controler::Ui_Controler(QObject* parent)
    : QObject(parent)
{
}

void Ui_Controler::setupWindow(QWidget* w)
{
    if (w->objectName().isEmpty())
        w->setObjectName("Widget");
    window = w;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    window->setStyleSheet("background:transparent;");

    registerPreviewTypes();
    registerBridgeTypes();
    view = new myQQuickView(window);
    view->setObjectName("ui_View");
    // The scene is loaded before the context properties exist; it only
    // uses them from functions that run later.
    view->setSource(QUrl("qrc:modules/qml/main.qml"));

    QQmlContext* ctx = view->rootContext();
    ctx->setContextProperty("ui_View", view);
    auto* owner = qobject_cast<Widget*>(window);
    ctx->setContextProperty("hid", owner ? static_cast<QObject*>(&owner->hid) : nullptr);
    ctx->setContextProperty("ui_Ctl", this);

    window->resize(view->geometry().width(), view->geometry().height());
    // The keys typed into the window go to the scene.
    view->setFocus(Qt::OtherFocusReason);
    applyWindowTitle();
}

void Ui_Controler::applyWindowTitle()
{
    QSettings ini(DataFileCheck::parsable(DataPaths::appSettings()), QSettings::IniFormat);
    window->setWindowTitle(ini.value("common/name", QString()).toString());
}

void Ui_Controler::onMinimize()
{
    if (window)
        window->close();
}

void Ui_Controler::onXChanged(int x)
{
    if (window)
        window->move(window->x() + x, window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (window)
        window->move(window->x(), window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (view)
        callScene(view->rootObject(), "setProtectUI", {QVariant(int(busyTime))},
                  Qt::DirectConnection);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
