#include "app/DisplayGuard.h"
#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/myQQuickView.h"
#include "input/GlobalInputHook.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    std::unique_ptr<QApplication> application;
    {
        DisplayGuard guard;
        application = std::make_unique<QApplication>(argc, argv);
    }
    QApplication& app = *application;
    StartupEnvironment::makeExecutableDirectoryCurrent(QCoreApplication::applicationFilePath());
    StartupEnvironment::chooseSceneRenderer();
    StartupEnvironment::ensureThreadPool();

    int result = 0;
    {
        Widget window;
        window.checkDevice();
        GlobalInputHook inputHook(window.controller->view->hwMode == 0);
        inputHook.setKeyboardCallback(&Widget::keyboardHookCallback, &window);
        inputHook.setMouseCallback(&Widget::mouseHookCallback, &window);
        window.showNormal();
        window.startScene();
        result = app.exec();
        inputHook.uninstallHooks();
    }
    // The window controller was scheduled for deletion after the loop ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
