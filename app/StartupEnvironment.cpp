#include "app/StartupEnvironment.h"

#include <QDir>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QString>
#include <QThreadPool>

void StartupEnvironment::makeExecutableDirectoryCurrent(const QString& applicationFilePath)
{
    const int slash = applicationFilePath.lastIndexOf('/');
    if (slash > 0)
        QDir::setCurrent(applicationFilePath.left(slash));
    else if (slash == 0)
        QDir::setCurrent("/");
}

void StartupEnvironment::chooseSceneRenderer()
{
    // Someone already chose (QT_QUICK_BACKEND or an earlier call).
    if (!QQuickWindow::sceneGraphBackend().isEmpty())
        return;

    bool openGlWorks = false;
    QOpenGLContext context;
    if (context.create()) {
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        openGlWorks = surface.isValid() && context.makeCurrent(&surface);
        if (openGlWorks)
            context.doneCurrent();
    }
    if (!openGlWorks)
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

void StartupEnvironment::ensureThreadPool()
{
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->maxThreadCount() < 2)
        pool->setMaxThreadCount(2);
}
