#include "app/StartupEnvironment.h"
#include "app/Widget.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    StartupEnvironment::makeExecutableDirectoryCurrent(QCoreApplication::applicationFilePath());
    StartupEnvironment::chooseSceneRenderer();
    StartupEnvironment::ensureThreadPool();

    int result = 0;
    {
        Widget window;
        window.checkDevice();
        window.showNormal();
        window.startScene();
        result = app.exec();
    }
    // The window controller was scheduled for deletion after the loop ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
