#pragma once

// A working directory with the setting files the bridge reads, a device link
// on the simulated keyboard and a view that has the scene probe loaded.

#include "bridge/myQQuickView.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

struct BridgeFixture
{
    QTemporaryDir dir;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<myQQuickView> view;

    // One drawn key: enough for a definition whose limits are usable.
    static constexpr const char* oneKeyLayout = "[3]\ntotal_HW=1\ntotal_FW=128\n1=0, 0, 1, A, 0, 4\n";

    explicit BridgeFixture(const QByteArray& hwDef = QByteArray("[common]\nkbLayoutType=3\nmaxMacro=16\nmaxProfile=3\n")
                                                     + oneKeyLayout)
    {
        QDir(dir.path()).mkpath("modules/setting");
        QDir::setCurrent(dir.path());
        write("modules/setting/HWDef.bin", hwDef);
        write("modules/setting/KeyCodeDef.bin",
              "[common]\nusbStr=A, B, Enter\nusbCode=4, 5, 40\n");
        q3sim::reset();
        hid = std::make_unique<Hid_Thread>();
        hid->refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
        view = std::make_unique<myQQuickView>();
        view->setLink(hid.get());
        view->setSource(QUrl("qrc:/tests/qml/SceneProbe.qml"));
        hid->setLightingReportHandler([this](const QVariantList& l) { view->storeLightingReport(l); });
        q3sim::clearTrace();
    }

    ~BridgeFixture()
    {
        hid->stopListener();
        view.reset();
        hid.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    static void write(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
    }

    // What profile n (0-based) holds on disk under key.
    QVariant stored(int profile, const QString& key)
    {
        view->profiles.flush(profile);
        QSettings file(QString("modules/setting/p%1.bin").arg(profile + 1), QSettings::IniFormat);
        return file.value(key);
    }

    QStringList sceneCalls() const
    {
        return view->rootObject()->property("calls").toStringList();
    }

    void waitForLink()
    {
        for (int i = 0; i < 400 && !hid->linkIdle(); ++i)
            QTest::qWait(5);
    }
};
