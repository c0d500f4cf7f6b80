#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/DisplayGuard.h"
#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/FirstFrameReport.h"
#include "bridge/myQQuickView.h"
#include "input/GlobalInputHook.h"
#include "input/InputHookPlatform.h"
#include "input/WindowKeyFallback.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    if (const int status = CommandLine::runWithoutWindow(argc, argv); status >= 0)
        return status;

    std::unique_ptr<QApplication> application;
    {
        DisplayGuard guard;
        application = std::make_unique<QApplication>(argc, argv);
    }
    QApplication& app = *application;
    QGuiApplication::setDesktopFileName(Q3_APP_ID);
    if (!CommandLine::acceptRemaining(QCoreApplication::arguments()))
        return 2;
    DataFolder::prepare(QCoreApplication::applicationFilePath());
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
        WindowKeyFallback windowKeys;
        if (WindowKeyFallback::needed(InputHookPlatform::installed(), QGuiApplication::platformName()))
            windowKeys.attach(window.windowHandle());
        FirstFrameReport::watch(window.controller->view);
        window.startScene();
        result = app.exec();
        inputHook.uninstallHooks();
    }
    // The window controller was scheduled for deletion after the loop ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
