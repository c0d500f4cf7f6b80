#include "app/DisplayGuard.h"
#include "app/AppLog.h"

#include <QByteArray>
#include <QDebug>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {
struct HeldMessage
{
    QtMsgType type;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
QVector<HeldMessage> held;

void guardHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtFatalMsg) {
        held.append({type, text});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        std::fputs("q3config: no display could be opened (DISPLAY is not set)\n", stderr);
    else
        std::fprintf(stderr, "q3config: no display could be opened (DISPLAY=%s)\n", display.constData());
    std::fflush(stderr);
    std::_Exit(1);
}
}

DisplayGuard::DisplayGuard()
{
    held.clear();
    previousHandler = qInstallMessageHandler(guardHandler);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previousHandler);
    const QVector<HeldMessage> messages = held;
    held.clear();
    for (const HeldMessage& m : messages) {
        switch (m.type) {
        case QtDebugMsg: qCDebug(q3app).noquote() << m.text; break;
        case QtInfoMsg: qCInfo(q3app).noquote() << m.text; break;
        default: qCWarning(q3app).noquote() << m.text; break;
        }
    }
}
