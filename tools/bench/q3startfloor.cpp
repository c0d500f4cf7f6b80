// The floor of the program's start-up and idle figures: a bare frameless,
// translucent Qt Quick widget window of the program's size showing one
// rectangle, with the scene renderer the program picks. It reports its first
// frame as the program does (Q3_REPORT_FIRST_FRAME) and then idles until it
// is closed. scripts/bench.sh runs it beside the program.

#include "app/StartupEnvironment.h"
#include "bridge/FirstFrameReport.h"

#include <QApplication>
#include <QQuickWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    StartupEnvironment::chooseSceneRenderer();

    QQuickWidget view;
    view.setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    view.setAttribute(Qt::WA_TranslucentBackground);
    view.setClearColor(Qt::transparent);
    view.setResizeMode(QQuickWidget::SizeRootObjectToView);
    view.resize(1000, 600);
    view.setSource(QUrl("qrc:/startfloor/StartFloor.qml"));
    FirstFrameReport::watch(&view);
    view.show();
    return app.exec();
}
