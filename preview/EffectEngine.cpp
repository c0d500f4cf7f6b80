#include "preview/EffectEngine.h"

#include "preview/EffectTimings.h"

#include <algorithm>
#include <cmath>

namespace {

int roundHalfUp(double v)
{
    return int(std::floor(v + 0.5));
}

int positiveMod(int v, int n)
{
    return ((v % n) + n) % n;
}

int clamp255(int v)
{
    return std::clamp(v, 0, 255);
}

// Spotlight ring centre: the keys that end both spirals.
const int spotlightCentreKeys[4] = {57, 41, 42, 58};

} // namespace

const int EffectEngine::script0B1[spiralLength] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 27, 43, 59, 74, 73, 57, 41};
const int EffectEngine::script0B2[spiralLength] = {115, 109, 100, 79, 95, 94, 91, 90, 89,
                                                   88, 72, 56, 40, 25, 26, 42, 58};

EffectEngine::EffectEngine()
    : m_slots{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 255),
              qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(255, 255, 255)}
    , m_random(std::random_device{}())
{
}

void EffectEngine::setLayout(const QVector<PreviewKey>& keys, int matrixCount)
{
    m_keys = keys;
    m_layout = PreviewLayout::build(keys, matrixCount);
    m_regs = QVector<Registers>(keys.size());
    m_matrixToKey.fill(-1, m_layout.matrixCount);
    for (int i = 0; i < keys.size(); ++i) {
        if (keys[i].matrix >= 0)
            m_matrixToKey[keys[i].matrix] = i;
    }
    m_beams.clear();
}

int EffectEngine::keyAtMatrix(int matrix) const
{
    return (matrix >= 0 && matrix < m_matrixToKey.size()) ? m_matrixToKey[matrix] : -1;
}

void EffectEngine::setSlotColour(int slot, int r, int g, int b)
{
    if (slot >= 0 && slot < 7)
        m_slots[size_t(slot)] = qRgb(clamp255(r), clamp255(g), clamp255(b));
}

QRgb EffectEngine::slotColour(int slot) const
{
    return m_slots[size_t(positiveMod(slot, 7))];
}

void EffectEngine::setPicture(int n, const QVector<int>& picture)
{
    if (n >= 1 && n <= 5)
        m_pictures[size_t(n - 1)] = picture;
}

int EffectEngine::keyAlpha(int level)
{
    level = std::clamp(level, 0, 7);
    return level == 0 ? 0 : 45 + roundHalfUp(210.0 * level / 7);
}

int EffectEngine::pressAlpha(int level)
{
    return roundHalfUp(255.0 * std::clamp(level, 0, 7) / 7);
}

QRgb EffectEngine::lightColour() const
{
    return isSurround() ? m_slots[size_t(m_loopIndex)] : slotColour(m_currentSlot);
}

void EffectEngine::lightKey(int swId, QRgb colour, int alpha)
{
    Registers& reg = m_regs[swId];
    reg.r = qRed(colour);
    reg.g = qGreen(colour);
    reg.b = qBlue(colour);
    reg.alpha = alpha;
}

void EffectEngine::lightMatrix(int matrix, int alpha)
{
    const int swId = keyAtMatrix(matrix);
    if (swId >= 0)
        lightKey(swId, lightColour(), alpha);
}

void EffectEngine::fade(Registers& reg, int divisor) const
{
    if (reg.alpha != 0)
        reg.alpha = std::max(reg.alpha - roundHalfUp(double(keyAlpha(m_brightness)) / divisor), 0);
}

void EffectEngine::darkenAll()
{
    for (Registers& reg : m_regs)
        reg.alpha = 0;
}

void EffectEngine::applyPicture(const QVector<int>& rgbPerMatrix)
{
    for (int i = 0; i < m_keys.size(); ++i) {
        const int m = m_keys[i].matrix;
        if (m < 0 || 3 * m + 2 >= rgbPerMatrix.size())
            continue;
        m_regs[i].r = rgbPerMatrix[3 * m];
        m_regs[i].g = rgbPerMatrix[3 * m + 1];
        m_regs[i].b = rgbPerMatrix[3 * m + 2];
    }
}

void EffectEngine::start(int effect)
{
    m_running = EffectTimings::timerEffect(effect);
    switch (m_running) {
    case 0x00:
    case 0x01:
    case 0x02:
    case 0x05:
        m_loopIndex = 0;
        m_count = 0;
        if (m_running == 0x02 || m_running == 0x05)
            darkenAll();
        if (m_running == 0x05)
            m_beams.clear();
        break;
    case 0x03:
    case 0x08:
        m_loopIndex = 0;
        darkenAll();
        break;
    case 0x04: {
        m_count = 0;
        for (int s = 0; s < 7; ++s) {
            m_totalColor[size_t(3 * s)] = qRed(m_slots[size_t(s)]);
            m_totalColor[size_t(3 * s + 1)] = qGreen(m_slots[size_t(s)]);
            m_totalColor[size_t(3 * s + 2)] = qBlue(m_slots[size_t(s)]);
        }
        for (int i = 0; i < m_keys.size(); ++i) {
            const QRgb c = m_slots[size_t(i % 7)];
            m_regs[i].r = qRed(c);
            m_regs[i].g = qGreen(c);
            m_regs[i].b = qBlue(c);
        }
        break;
    }
    case 0x06:
        applyPicture(m_layout.script06);
        break;
    case 0x07:
        m_count = 0;
        break;
    case 0x09:
        m_loopIndex = 0;
        m_count = 0;
        m_rings09 = {};
        m_loopCircleIndex = 0;
        darkenAll();
        break;
    case 0x0A:
        applyPicture(m_layout.script0A);
        break;
    case 0x0B: {
        m_loopIndex = 0;
        m_count = 0;
        darkenAll();
        double sx = 0, sy = 0;
        int n = 0;
        for (int m : spotlightCentreKeys) {
            const int swId = keyAtMatrix(m);
            if (swId < 0)
                continue;
            sx += m_keys[swId].centreX();
            sy += m_keys[swId].centreY();
            ++n;
        }
        m_ring0B = Ring{true, n ? double(roundHalfUp(sx / n)) : 0.0,
                        n ? double(roundHalfUp(sy / n)) : 0.0, 0};
        break;
    }
    }
}

void EffectEngine::shift(Registers& reg) const
{
    constexpr int s = 16;
    const bool left = m_direction == 2 || m_direction == 4;
    int& r = reg.r;
    int& g = reg.g;
    int& b = reg.b;
    if (!left) {
        if (r == 255 || (r != 0 && b != 0)) {
            r -= s, b += s;
        } else if (g == 255 || (g != 0 && r != 0)) {
            g -= s, r += s;
        } else {
            b -= s, g += s;
        }
    } else {
        if (r == 255 || (r != 0 && g != 0)) {
            r -= s, g += s;
        } else if (g == 255 || (g != 0 && b != 0)) {
            g -= s, b += s;
        } else {
            b -= s, r += s;
        }
    }
    r = clamp255(r);
    g = clamp255(g);
    b = clamp255(b);
}

void EffectEngine::ringTest(int swId, const Ring& ring)
{
    const PreviewKey& k = m_keys[swId];
    const double d = std::hypot(k.centreX() - ring.x0, k.centreY() - ring.y0);
    if (d > ring.r || d < std::max(ring.r - 15, 0))
        return;
    if (isSurround()) {
        lightKey(swId, m_slots[size_t(m_loopIndex)], keyAlpha(m_brightness));
        advanceLoop();
    } else {
        lightKey(swId, slotColour(m_currentSlot), keyAlpha(m_brightness));
    }
}

void EffectEngine::keyRules()
{
    const int n = m_keys.size();
    switch (m_running) {
    case 0x02: {
        const QVector<int>& script = m_layout.script02;
        const int target = (m_count >= 0 && m_count < script.size()) ? script[m_count] : -1;
        const int alpha = keyAlpha(m_brightness);
        for (int i = 0; i < n; ++i) {
            fade(m_regs[i], 20);
            if (target >= 0 && m_keys[i].matrix == target)
                lightKey(i, lightColour(), alpha);
        }
        break;
    }
    case 0x03:
        for (Registers& reg : m_regs)
            fade(reg, 30);
        break;
    case 0x04: {
        const int step = m_count / 5;
        const int d = m_count % 5;
        for (int i = 0; i < n; ++i) {
            const int c = (i % 7 + step) % 7;
            const int next = (c + 1) % 7;
            m_regs[i].r = (m_totalColor[size_t(3 * c)] * (5 - d) + m_totalColor[size_t(3 * next)] * d) / 5;
            m_regs[i].g = (m_totalColor[size_t(3 * c + 1)] * (5 - d) + m_totalColor[size_t(3 * next + 1)] * d) / 5;
            m_regs[i].b = (m_totalColor[size_t(3 * c + 2)] * (5 - d) + m_totalColor[size_t(3 * next + 2)] * d) / 5;
        }
        break;
    }
    case 0x06:
    case 0x0A:
        for (Registers& reg : m_regs)
            shift(reg);
        break;
    case 0x08:
        for (Registers& reg : m_regs)
            fade(reg, 60);
        break;
    case 0x09:
        for (int i = 0; i < n; ++i) {
            fade(m_regs[i], 10);
            for (const Ring& ring : m_rings09) {
                if (ring.isEnable)
                    ringTest(i, ring);
            }
        }
        break;
    case 0x0B: {
        const int alpha = keyAlpha(m_brightness);
        for (int i = 0; i < n; ++i) {
            fade(m_regs[i], 7);
            if (m_count < spiralLength) {
                const int m = m_keys[i].matrix;
                if (m >= 0 && (m == script0B1[m_count] || m == script0B2[m_count]))
                    lightKey(i, lightColour(), alpha);
            } else if (m_ring0B.isEnable) {
                ringTest(i, m_ring0B);
            }
        }
        break;
    }
    }
}

void EffectEngine::beamTick()
{
    const int alpha = pressAlpha(m_brightness);
    for (int b = 0; b < m_beams.size(); ++b) {
        Beam& beam = m_beams[b];
        if (beam.isEnable) {
            lightMatrix(beam.centerKey, alpha);
            beam.isEnable = false;
        } else {
            if (beam.counter < beam.arrayLeft.size())
                lightMatrix(beam.arrayLeft[beam.counter], alpha);
            if (beam.counter < beam.arrayRight.size())
                lightMatrix(beam.arrayRight[beam.counter], alpha);
            if (isSurround())
                advanceLoop();
        }
        if (beam.counter >= beam.arrayLeft.size() && beam.counter >= beam.arrayRight.size()) {
            auto dark = [this](int matrix) {
                const int swId = keyAtMatrix(matrix);
                if (swId >= 0)
                    m_regs[swId].alpha = 0;
            };
            dark(beam.centerKey);
            for (int m : beam.arrayLeft)
                dark(m);
            for (int m : beam.arrayRight)
                dark(m);
            m_beams.clear();
            return;
        }
        ++beam.counter;
    }
}

void EffectEngine::controllerTick()
{
    switch (m_running) {
    case 0x00:
        if (isSurround())
            advanceLoop();
        break;
    case 0x01:
        m_count = (m_count + 1) % 102;
        if (m_count == 0 && isSurround())
            advanceLoop();
        break;
    case 0x02: {
        const QVector<int>& script = m_layout.script02;
        const int len = script.size();
        if (len == 0)
            break;
        m_count = positiveMod(m_count + 1, len);
        for (int guard = 0; guard < len && script[m_count] == -1; ++guard) {
            if (isSurround())
                advanceLoop();
            m_count = (m_count + 1) % len;
        }
        break;
    }
    case 0x04:
        m_count = (m_count + 1) % 35;
        break;
    case 0x05:
        beamTick();
        break;
    case 0x07:
        m_count = (m_count + 1) % 255;
        break;
    case 0x08: {
        const int k = m_keys.size();
        if (k == 0)
            break;
        const double u = std::generate_canonical<double, 32>(m_random);
        const int swId = std::clamp(int(std::floor(u * (k - 1))), 0, k - 1);
        lightKey(swId, lightColour(), keyAlpha(m_brightness));
        if (isSurround())
            advanceLoop();
        break;
    }
    case 0x09:
        for (Ring& ring : m_rings09) {
            if (!ring.isEnable)
                continue;
            ring.r += 15;
            if (ring.r > 700)
                ring = Ring{};
        }
        break;
    case 0x0B:
        if (m_ring0B.isEnable) {
            if (m_count >= 44)
                m_ring0B.r = 0;
            else if (m_count >= spiralLength)
                m_ring0B.r += 15;
        }
        m_count = (m_count + 1) % 45;
        advanceLoop();
        break;
    }
}

void EffectEngine::tick()
{
    const EffectTimings::TickParts parts = EffectTimings::tickParts(m_running);
    if (parts & EffectTimings::KeysOnly)
        keyRules();
    if (parts & EffectTimings::ControllerOnly)
        controllerTick();
}

void EffectEngine::press(int matrix)
{
    const int swId = keyAtMatrix(matrix);
    if (swId < 0)
        return;
    switch (m_effectIndex) {
    case 0x03:
        if (isSurround()) {
            lightKey(swId, m_slots[size_t(m_loopIndex)], pressAlpha(m_brightness));
            advanceLoop();
        } else {
            lightKey(swId, slotColour(m_currentSlot), pressAlpha(m_brightness));
        }
        break;
    case 0x05: {
        const int row = m_layout.posYId.value(swId, -1);
        if (row < 0 || row >= m_layout.script05.size())
            break;
        const QVector<int> entries = PreviewLayout::splitRow(m_layout.script05[row]);
        const int i = entries.indexOf(matrix);
        if (i < 0)
            break;
        Beam beam;
        beam.centerKey = matrix;
        for (int j = i; j >= 0; --j)
            beam.arrayLeft.append(entries[j]);
        for (int j = i; j < entries.size(); ++j)
            beam.arrayRight.append(entries[j]);
        m_beams.append(beam);
        break;
    }
    case 0x09: {
        Ring& ring = m_rings09[size_t(m_loopCircleIndex)];
        ring = Ring{true, m_keys[swId].centreX(), m_keys[swId].centreY(), 0};
        m_loopCircleIndex = (m_loopCircleIndex + 1) % 3;
        break;
    }
    }
}

QRgb EffectEngine::shownColour(int swId) const
{
    if (swId < 0 || swId >= m_keys.size())
        return 0;
    const Registers& reg = m_regs[swId];
    const int level = std::clamp(m_brightness, 0, 7);
    const int bindA = keyAlpha(level);
    auto withAlpha = [](QRgb c, int a) { return qRgba(qRed(c), qGreen(c), qBlue(c), clamp255(a)); };
    switch (m_effectIndex) {
    case 0x00:
        return withAlpha(lightColour(), bindA);
    case 0x01: {
        const int phase = m_count < 51 ? m_count : 102 - m_count;
        return withAlpha(lightColour(), roundHalfUp(phase * 5.0 * level / 7));
    }
    case 0x02:
    case 0x03:
    case 0x05:
    case 0x08:
    case 0x09:
    case 0x0B:
        return qRgba(clamp255(reg.r), clamp255(reg.g), clamp255(reg.b), clamp255(reg.alpha));
    case 0x04:
    case 0x06:
    case 0x0A:
        return qRgba(clamp255(reg.r), clamp255(reg.g), clamp255(reg.b), bindA);
    case 0x07: {
        const int c = m_count;
        if (c < 85)
            return qRgba(clamp255((85 - c) * 3), 0, clamp255(c * 3), bindA);
        if (c < 170)
            return qRgba(0, clamp255((c - 85) * 3), clamp255((170 - c) * 3), bindA);
        return qRgba(clamp255((c - 170) * 3), clamp255((255 - c) * 3), 0, bindA);
    }
    case 0x33:
    case 0x34:
    case 0x35:
    case 0x36:
    case 0x37: {
        const QVector<int>& pic = m_pictures[size_t(m_effectIndex - 0x33)];
        const int m = m_keys[swId].matrix;
        if (m < 0 || 4 * m + 3 >= pic.size())
            return qRgba(0, 0, 0, bindA);
        return qRgba(clamp255(pic[4 * m + 1]), clamp255(pic[4 * m + 2]), clamp255(pic[4 * m + 3]), bindA);
    }
    default:
        return 0;
    }
}
