#pragma once

#include "preview/EffectEngine.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPointer>
#include <QQuickItem>
#include <QTimer>
#include <QVariantList>

class QQuickWindow;

// The lighting preview as the scene sees it: runs the engine's ticks at the
// running effect's interval on a precise timer (catching up ticks the event
// loop delivered late, so the animation keeps its rate when frames are slow),
// and hands the scene the newest key colours at most once per drawn frame and
// at most every framePeriod ms: `frame` changes then, and keyColor(swId)
// gives each key's colour.
class EffectPreview : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(int effectIndex READ effectIndex WRITE setEffectIndex NOTIFY effectIndexChanged)
    Q_PROPERTY(int currentSlot READ currentSlot WRITE setCurrentSlot NOTIFY currentSlotChanged)
    Q_PROPERTY(int brightness READ brightness WRITE setBrightness NOTIFY brightnessChanged)
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(int direction READ direction WRITE setDirection NOTIFY directionChanged)
    Q_PROPERTY(int frame READ frame NOTIFY frameChanged)
    Q_PROPERTY(int interval READ interval NOTIFY intervalChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
    Q_PROPERTY(int runningEffect READ runningEffect NOTIFY runningChanged)
    // Published with the frame (read live they are always current).
    Q_PROPERTY(int count READ count NOTIFY stateChanged)
    Q_PROPERTY(int loopIndex READ loopIndex NOTIFY stateChanged)
    Q_PROPERTY(int loopCircleIndex READ loopCircleIndex NOTIFY stateChanged)
    Q_PROPERTY(bool isSurround READ isSurround NOTIFY currentSlotChanged)
    Q_PROPERTY(int keyCount READ keyCount NOTIFY layoutChanged)
    // Shortest time in milliseconds between two published frames (33: the
    // scene redraws the keys at most 30 times a second).
    Q_PROPERTY(int framePeriod READ framePeriod WRITE setFramePeriod NOTIFY framePeriodChanged)

public:
    static constexpr int defaultFramePeriod = 33;

    explicit EffectPreview(QQuickItem* parent = nullptr);

    int effectIndex() const { return m_engine.effectIndex(); }
    void setEffectIndex(int effect);
    int currentSlot() const { return m_engine.currentSlot(); }
    void setCurrentSlot(int slot);
    int brightness() const { return m_engine.brightness(); }
    void setBrightness(int level);
    int speed() const { return m_speed; }
    void setSpeed(int level);
    int direction() const { return m_engine.direction(); }
    void setDirection(int direction);
    int frame() const { return m_frame; }
    int interval() const { return m_timer.interval(); }
    bool running() const { return m_timer.isActive(); }
    int runningEffect() const { return m_engine.runningEffect(); }
    int count() const { return m_engine.count(); }
    int loopIndex() const { return m_engine.loopIndex(); }
    int loopCircleIndex() const { return m_engine.loopCircleIndex(); }
    bool isSurround() const { return m_engine.isSurround(); }
    int keyCount() const { return m_engine.keyCount(); }
    int framePeriod() const { return m_framePeriod; }
    void setFramePeriod(int ms);

    // Key geometry: x, y, width, height, matrix position per key, in
    // creation order. Builds the scripts.
    Q_INVOKABLE void setKeys(const QVariantList& geometry);
    Q_INVOKABLE QVariantList posYIds() const;
    Q_INVOKABLE QVariantList script02() const;
    Q_INVOKABLE QVariantList script05() const;
    Q_INVOKABLE QVariantList script06() const;
    Q_INVOKABLE QVariantList script0A() const;
    Q_INVOKABLE int scriptX0() const { return m_engine.layout().x0; }
    Q_INVOKABLE int scriptXEnd() const { return m_engine.layout().xEnd; }

    // 21 values: R, G, B of the seven colour slots.
    Q_INVOKABLE void setSlotColours(const QVariantList& rgb);
    // User picture n (1..5): mode, R, G, B per matrix position.
    Q_INVOKABLE void setPicture(int n, const QVariantList& picture);
    Q_INVOKABLE void setRandomSeed(uint seed) { m_engine.setRandomSeed(seed); }

    // Stops the running timer, runs effect n's start routine (00H's for
    // anything but 01H..0BH) and starts its timer.
    Q_INVOKABLE void start(int n);
    Q_INVOKABLE void stop();
    // A key pressed at a matrix position.
    Q_INVOKABLE void press(int matrix);
    Q_INVOKABLE QColor keyColor(int swId) const;
    // The picture the last start routine spread over the keys (R, G, B per
    // matrix position), empty when it set none.
    Q_INVOKABLE QVariantList startPicture() const { return m_startPicture; }
    Q_INVOKABLE QVariantList capturedColors() const;

    // Ticks run and milliseconds elapsed since the last start() or
    // resetTickStats().
    Q_INVOKABLE double ticksRun() const { return double(m_statTicks); }
    Q_INVOKABLE double msSinceStats() const { return m_statClock.isValid() ? m_statClock.nsecsElapsed() / 1e6 : 0; }
    Q_INVOKABLE void resetTickStats();

    const EffectEngine& engine() const { return m_engine; }

signals:
    void effectIndexChanged();
    void currentSlotChanged();
    void brightnessChanged();
    void speedChanged();
    void directionChanged();
    void frameChanged();
    void intervalChanged();
    void runningChanged();
    void stateChanged();
    void layoutChanged();
    void framePeriodChanged();
    // One tick ran (emitted only while something listens).
    void tmrTrigged();
    // start() ran a start routine that spreads a picture over the keys
    // (R, G, B per matrix position).
    void pictureChged(const QVariant& picture);

protected:
    void itemChange(ItemChange change, const ItemChangeData& data) override;
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;

private:
    void onTimer();
    void restartSchedule();
    void markDirty();
    void publishDue();
    void frameDrawn();

    EffectEngine m_engine;
    int m_speed = 4;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_ticksDone = 0;
    QElapsedTimer m_statClock;
    qint64 m_statTicks = 0;

    int m_frame = 0;
    bool m_dirty = false;
    bool m_awaitingDraw = false;
    int m_framePeriod = defaultFramePeriod;
    QElapsedTimer m_frameClock;
    qint64 m_nextFrameAt = 0;
    QTimer m_pacing;
    QTimer m_watchdog;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowConnection;
    QVariantList m_startPicture;
};
