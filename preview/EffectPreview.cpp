#include "preview/EffectPreview.h"

#include "preview/EffectTimings.h"

#include <QMetaMethod>
#include <QQuickWindow>
#include <QSGRectangleNode>

#include <algorithm>

namespace {

// A window that has not drawn the last published colours after this long is
// not waited for any more (it may be hidden).
constexpr int frameWatchdogMs = 100;

int toInt(const QVariant& v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? int(d) : 0;
}

}

EffectPreview::EffectPreview(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &EffectPreview::onTimer);
    m_pacing.setSingleShot(true);
    m_pacing.setTimerType(Qt::PreciseTimer);
    connect(&m_pacing, &QTimer::timeout, this, &EffectPreview::publishDue);
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &EffectPreview::frameDrawn);
    m_frameClock.start();
}

void EffectPreview::setEffectIndex(int effect)
{
    if (effect == m_engine.effectIndex())
        return;
    m_engine.setEffectIndex(effect);
    emit effectIndexChanged();
    markDirty();
}

void EffectPreview::setCurrentSlot(int slot)
{
    if (slot == m_engine.currentSlot())
        return;
    m_engine.setCurrentSlot(slot);
    emit currentSlotChanged();
    markDirty();
}

void EffectPreview::setBrightness(int level)
{
    if (level == m_engine.brightness())
        return;
    m_engine.setBrightness(level);
    emit brightnessChanged();
    markDirty();
}

void EffectPreview::setSpeed(int level)
{
    if (level == m_speed)
        return;
    m_speed = level;
    emit speedChanged();
    const int ms = EffectTimings::intervalMs(m_engine.runningEffect(), m_speed);
    if (ms != m_timer.interval()) {
        m_timer.setInterval(ms);
        restartSchedule();
        emit intervalChanged();
    }
}

void EffectPreview::setDirection(int direction)
{
    if (direction == m_engine.direction())
        return;
    m_engine.setDirection(direction);
    emit directionChanged();
}

void EffectPreview::setKeys(const QVariantList& geometry)
{
    QVector<PreviewKey> keys;
    for (int i = 0; i + 4 < geometry.size(); i += 5) {
        PreviewKey k;
        k.x = geometry[i].toDouble();
        k.y = geometry[i + 1].toDouble();
        k.width = geometry[i + 2].toDouble();
        k.height = geometry[i + 3].toDouble();
        k.matrix = toInt(geometry[i + 4]);
        // Matrix positions outside the firmware's range take part in no script.
        if (k.matrix < 0 || k.matrix > 255)
            k.matrix = -1;
        keys.append(k);
    }
    m_engine.setLayout(keys);
    emit layoutChanged();
    markDirty();
}

namespace {

QVariantList toList(const QVector<int>& v)
{
    QVariantList out;
    out.reserve(v.size());
    for (int x : v)
        out.append(x);
    return out;
}

}

QVariantList EffectPreview::posYIds() const
{
    return toList(m_engine.layout().posYId);
}

QVariantList EffectPreview::script02() const
{
    return toList(m_engine.layout().script02);
}

QVariantList EffectPreview::script05() const
{
    QVariantList out;
    for (const QString& row : m_engine.layout().script05)
        out.append(row);
    return out;
}

QVariantList EffectPreview::script06() const
{
    return toList(m_engine.layout().script06);
}

QVariantList EffectPreview::script0A() const
{
    return toList(m_engine.layout().script0A);
}

void EffectPreview::setSlotColours(const QVariantList& rgb)
{
    for (int s = 0; s < 7 && 3 * s + 2 < rgb.size(); ++s)
        m_engine.setSlotColour(s, toInt(rgb[3 * s]), toInt(rgb[3 * s + 1]), toInt(rgb[3 * s + 2]));
    markDirty();
}

void EffectPreview::setPicture(int n, const QVariantList& picture)
{
    QVector<int> values;
    values.reserve(picture.size());
    for (const QVariant& v : picture)
        values.append(toInt(v));
    m_engine.setPicture(n, values);
    if (m_engine.effectIndex() == 0x32 + n)
        markDirty();
}

void EffectPreview::start(int n)
{
    const bool wasRunning = m_timer.isActive();
    const int oldInterval = m_timer.interval();
    const int oldEffect = m_engine.runningEffect();
    m_timer.stop();
    m_engine.start(n);

    const int effect = m_engine.runningEffect();
    m_startPicture.clear();
    const PreviewLayout& layout = m_engine.layout();
    if (effect == 0x06 || effect == 0x0A) {
        m_startPicture = toList(effect == 0x06 ? layout.script06 : layout.script0A);
    } else if (effect == 0x04) {
        QVector<int> picture(3 * layout.matrixCount, 0);
        for (int i = 0; i < m_engine.keyCount(); ++i) {
            const int m = m_engine.key(i).matrix;
            if (m < 0)
                continue;
            const QRgb c = m_engine.slotColour(i % 7);
            picture[3 * m] = qRed(c);
            picture[3 * m + 1] = qGreen(c);
            picture[3 * m + 2] = qBlue(c);
        }
        m_startPicture = toList(picture);
    }

    m_timer.setInterval(EffectTimings::intervalMs(effect, m_speed));
    m_timer.start();
    restartSchedule();
    resetTickStats();
    if (!wasRunning || oldEffect != effect)
        emit runningChanged();
    if (oldInterval != m_timer.interval())
        emit intervalChanged();
    if (!m_startPicture.isEmpty())
        emit pictureChged(QVariant(m_startPicture));
    markDirty();
}

void EffectPreview::stop()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    emit runningChanged();
}

void EffectPreview::press(int matrix)
{
    m_engine.press(matrix);
    markDirty();
}

QColor EffectPreview::keyColor(int swId) const
{
    return QColor::fromRgba(m_engine.shownColour(swId));
}

QVariantList EffectPreview::capturedColors() const
{
    QVariantList out;
    for (int v : m_engine.totalColor())
        out.append(v);
    return out;
}

void EffectPreview::resetTickStats()
{
    m_statClock.start();
    m_statTicks = 0;
}

void EffectPreview::restartSchedule()
{
    m_clock.start();
    m_ticksDone = 0;
}

void EffectPreview::onTimer()
{
    const qint64 period = qint64(std::max(m_timer.interval(), 1)) * 1000000;
    const qint64 due = m_clock.nsecsElapsed() / period;
    qint64 todo = due - m_ticksDone;
    // After a long stall (a suspended machine, a blocked event loop) the
    // animation resumes instead of replaying more than a second of ticks.
    const qint64 maxBurst = std::max<qint64>(1, 1000000000 / period);
    if (todo > maxBurst) {
        m_ticksDone = due - maxBurst;
        todo = maxBurst;
    }
    if (todo <= 0)
        return;
    static const QMetaMethod tickedSignal = QMetaMethod::fromSignal(&EffectPreview::tmrTrigged);
    const bool notify = isSignalConnected(tickedSignal);
    for (qint64 i = 0; i < todo; ++i) {
        m_engine.tick();
        if (notify)
            emit tmrTrigged();
    }
    m_ticksDone += todo;
    m_statTicks += todo;
    markDirty();
}

void EffectPreview::setFramePeriod(int ms)
{
    ms = std::max(ms, 0);
    if (ms == m_framePeriod)
        return;
    m_framePeriod = ms;
    emit framePeriodChanged();
}

// Colours are published on a steady cadence of framePeriod, and only once
// the window has drawn the previous ones: the key items' own updates then ask
// the window for the one frame that shows them.
void EffectPreview::markDirty()
{
    m_dirty = true;
    if (!m_pacing.isActive() && !m_awaitingDraw)
        publishDue();
}

void EffectPreview::publishDue()
{
    if (!m_dirty || m_awaitingDraw)
        return;
    const qint64 now = m_frameClock.elapsed();
    const qint64 wait = m_nextFrameAt - now;
    if (wait > 0) {
        m_pacing.start(int(wait));
        return;
    }
    // After a pause the cadence starts again from now.
    m_nextFrameAt = (now - m_nextFrameAt > m_framePeriod) ? now + m_framePeriod : m_nextFrameAt + m_framePeriod;
    m_dirty = false;
    if (m_window) {
        m_awaitingDraw = true;
        m_watchdog.start(frameWatchdogMs);
    }
    ++m_frame;
    emit frameChanged();
    emit stateChanged();
    if (width() > 0 && height() > 0)
        update();
}

void EffectPreview::frameDrawn()
{
    if (!m_awaitingDraw)
        return;
    m_awaitingDraw = false;
    m_watchdog.stop();
    if (m_dirty && !m_pacing.isActive())
        publishDue();
}

// Over the area it covers (the page places it over the drawing) the preview
// draws an invisible rectangle that changes with every published frame. The
// software renderer then repaints that area as one rectangle instead of one
// fragment per changed legend, which costs far less.
QSGNode* EffectPreview::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    if (width() <= 0 || height() <= 0 || !window()) {
        delete old;
        return nullptr;
    }
    auto* node = static_cast<QSGRectangleNode*>(old);
    if (!node)
        node = window()->createRectangleNode();
    node->setRect(boundingRect());
    node->setColor(m_frame % 2 ? QColor(255, 255, 255, 0) : QColor(0, 0, 0, 0));
    return node;
}

void EffectPreview::itemChange(ItemChange change, const ItemChangeData& data)
{
    if (change == ItemSceneChange) {
        disconnect(m_windowConnection);
        m_window = data.window;
        if (m_window) {
            m_windowConnection = connect(m_window, &QQuickWindow::afterAnimating, this,
                                         &EffectPreview::frameDrawn, Qt::DirectConnection);
        }
    }
    QQuickItem::itemChange(change, data);
}
