#pragma once

// Published to the scene tests as "keyboardProbe": what the simulated
// keyboard holds and what the program sent to it, in forms a QML test can
// compare, and the keyboard's own lighting key.

#include "bridge/myQQuickView.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

#include <QObject>
#include <QStringList>
#include <QVariantList>

class KeyboardProbe : public QObject
{
    Q_OBJECT
public:
    Hid_Thread* hid = nullptr;
    myQQuickView* view = nullptr;

    // True while no transfer runs (the link's idle flag).
    Q_INVOKABLE bool idle() const { return hid == nullptr || hid->linkIdle(); }

    Q_INVOKABLE int currentProfile() const { return q3sim::currentProfile(); }

    // The seven LED type bytes of the keyboard's current profile.
    Q_INVOKABLE QVariantList ledType() const
    {
        const auto state = q3sim::keyboardState();
        QVariantList list;
        for (unsigned char b : state.current().ledType)
            list << int(b);
        return list;
    }

    // The 21 bytes of the current profile's colour table (0-63).
    Q_INVOKABLE QVariantList colours() const
    {
        const auto state = q3sim::keyboardState();
        QVariantList list;
        for (int k = 0; k < 21; ++k)
            list << int(state.current().colours[size_t(k)]);
        return list;
    }

    // Plane `plane` (0-3) of picture `index` of the current profile.
    Q_INVOKABLE QVariantList picturePlane(int index, int plane) const
    {
        QVariantList list;
        if (index < 0 || index >= q3sim::Profile::Pictures || plane < 0 || plane >= q3sim::Profile::PicturePlanes)
            return list;
        const auto state = q3sim::keyboardState();
        for (unsigned char b : state.current().pictures[size_t(index)][size_t(plane)])
            list << int(b);
        return list;
    }

    // Every feature request sent since the last clearTrace(), as hex text
    // ("00 08 35 3f ...").
    Q_INVOKABLE QStringList featureRequests() const
    {
        QStringList list;
        for (const q3sim::TraceEntry& e : q3sim::trace()) {
            if (e.call != "hid_send_feature_report")
                continue;
            QStringList bytes;
            for (unsigned char b : e.data)
                bytes << QString("%1").arg(int(b), 2, 16, QChar('0'));
            list << bytes.join(' ');
        }
        return list;
    }

    // The command codes of those requests, in order.
    Q_INVOKABLE QVariantList commands() const
    {
        QVariantList list;
        for (const q3sim::TraceEntry& e : q3sim::trace()) {
            if (e.call == "hid_send_feature_report" && e.data.size() > 1)
                list << int(e.data[1]);
        }
        return list;
    }

    Q_INVOKABLE void clearTrace() { q3sim::clearTrace(); }

    // The user changed the lighting with the keyboard's Fn keys.
    Q_INVOKABLE bool pressLightingKeys(int type, int brightness, int speed, int direction, int color,
                                       int bl0, int bl1)
    {
        return q3sim::sendLightingReport(uchar(type), uchar(brightness), uchar(speed), uchar(direction),
                                         uchar(color), uchar(bl0), uchar(bl1));
    }

    // Runs the event listener as the program does: a lighting report is
    // stored in the current profile by the bridge.
    Q_INVOKABLE void listen(bool on)
    {
        if (!hid || !view)
            return;
        if (on) {
            myQQuickView* bridge = view;
            hid->setLightingReportHandler([bridge](const QVariantList& ledType) {
                bridge->storeLightingReport(ledType);
            });
            hid->startListener(0);
        } else {
            hid->stopListener();
            hid->setLightingReportHandler(nullptr);
        }
    }

    Q_INVOKABLE bool runCommand(const QString& line)
    {
        return q3sim::runControlCommand(line.toStdString());
    }

    // The keyboard as after power-on, every fault cleared, found again by
    // the link as the presence check would.
    Q_INVOKABLE void powerOn()
    {
        q3sim::reset();
        if (hid)
            hid->refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
    }

    // Faults off and the keyboard found again, its memory kept.
    Q_INVOKABLE void clearFaults()
    {
        for (const char* line : {"fail-call hid_send_feature_report 0", "fail-call hid_write 0",
                                 "deny-open off", "stall-data off", "unplug-after 0", "plug"})
            q3sim::runControlCommand(line);
        if (hid)
            hid->refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
    }
};
