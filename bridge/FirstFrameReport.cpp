#include "bridge/FirstFrameReport.h"

#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>

#include <chrono>
#include <cstdio>

namespace FirstFrameReport {

void watch(QQuickWidget* view)
{
    if (!view || !qEnvironmentVariableIsSet("Q3_REPORT_FIRST_FRAME"))
        return;
    auto* connection = new QMetaObject::Connection;
    *connection = QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, view, [view, connection]() {
        QQuickItem* root = view->rootObject();
        if (!root || !root->isVisible())
            return;
        QObject::disconnect(*connection);
        delete connection;
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(stderr, "first_frame_epoch_us=%lld\n",
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
        std::fflush(stderr);
    }, Qt::DirectConnection);
}

}
