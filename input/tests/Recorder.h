#pragma once

// Receives the capture's reports as text, in arrival order: "04+" for the
// press of usage 04H, "04-" for its release, "F0+@12,34" for a button press
// at (12, 34).

#include <QString>
#include <QStringList>

struct Recorder
{
    QStringList reports;

    QString text() const { return reports.join(' '); }
    void clear() { reports.clear(); }

    static QString hex(unsigned char value)
    {
        return QString::number(value, 16).rightJustified(2, '0').toUpper();
    }

    static void onKey(unsigned char usage, unsigned char isDown, void* context)
    {
        static_cast<Recorder*>(context)->reports << hex(usage) + (isDown ? '+' : '-');
    }

    static void onButton(unsigned char code, unsigned char isDown, int x, int y, void* context)
    {
        static_cast<Recorder*>(context)->reports
                << QString("%1%2@%3,%4").arg(hex(code)).arg(isDown ? '+' : '-').arg(x).arg(y);
    }
};
