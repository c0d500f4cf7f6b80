#include "app/DisplayGuard.h"

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
    QByteArray category;
};

QtMessageHandler previousHandler = nullptr;
QVector<HeldMessage> held;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        held.append({type, text, QByteArray(context.category ? context.category : "default")});
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
        // Each message goes on under the category it was written in.
        const QMessageLogger logger(nullptr, 0, nullptr, m.category.constData());
        switch (m.type) {
        case QtDebugMsg: logger.debug().noquote() << m.text; break;
        case QtInfoMsg: logger.info().noquote() << m.text; break;
        default: logger.warning().noquote() << m.text; break;
        }
    }
}
