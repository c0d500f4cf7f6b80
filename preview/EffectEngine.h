#pragma once

#include "preview/PreviewLayout.h"

#include <QRgb>
#include <QVector>

#include <array>
#include <random>

// The state and per-tick rules of the lighting preview: four colour registers
// per key, the tick counter, the colour loop, the ripple beams and the rain
// and spotlight rings. It knows nothing about timers or the scene: the owner
// calls start() and tick() at the effect's rate and reads shownColour().
class EffectEngine
{
public:
    struct Registers
    {
        int r = 255;
        int g = 255;
        int b = 255;
        int alpha = 255;
    };

    struct Ring
    {
        bool isEnable = false;
        double x0 = 0;
        double y0 = 0;
        int r = 0;
    };

    struct Beam
    {
        bool isEnable = true;
        int centerKey = -1;
        QVector<int> arrayLeft;
        QVector<int> arrayRight;
        int counter = 0;
    };

    static constexpr int spiralLength = 17;
    static const int script0B1[spiralLength];
    static const int script0B2[spiralLength];

    EffectEngine();

    // ---- layout ----
    void setLayout(const QVector<PreviewKey>& keys, int matrixCount = 128);
    const PreviewLayout& layout() const { return m_layout; }
    int keyCount() const { return m_keys.size(); }
    const PreviewKey& key(int swId) const { return m_keys[swId]; }
    // Creation index of the key drawn at a matrix position (the last one
    // created there), -1 when none.
    int keyAtMatrix(int matrix) const;

    // ---- inputs, read live by every tick ----
    void setSlotColour(int slot, int r, int g, int b);
    QRgb slotColour(int slot) const;
    void setCurrentSlot(int slot) { m_currentSlot = slot; }
    int currentSlot() const { return m_currentSlot; }
    void setBrightness(int level) { m_brightness = level; }
    int brightness() const { return m_brightness; }
    void setDirection(int direction) { m_direction = direction; }
    int direction() const { return m_direction; }
    void setEffectIndex(int effect) { m_effectIndex = effect; }
    int effectIndex() const { return m_effectIndex; }
    // User picture n (1..5): mode, R, G, B per matrix position.
    void setPicture(int n, const QVector<int>& picture);
    void setRandomSeed(quint32 seed) { m_random.seed(seed); }

    // ---- running ----
    // Start routine of play(n) (00H's for anything but 01H..0BH).
    void start(int effect);
    // The effect whose timer runs (00H after play(-1)).
    int runningEffect() const { return m_running; }
    // One tick of the running effect's timer: the keys' rules, then the
    // controller's.
    void tick();
    // A key pressed at a matrix position (releases are not passed on).
    void press(int matrix);

    // ---- reading ----
    // Colour key swId shows now, alpha included (0 for an unknown key).
    QRgb shownColour(int swId) const;
    const Registers& registers(int swId) const { return m_regs[swId]; }
    int count() const { return m_count; }
    int loopIndex() const { return m_loopIndex; }
    bool isSurround() const { return m_currentSlot < 0 || m_currentSlot > 6; }
    const std::array<int, 21>& totalColor() const { return m_totalColor; }
    const std::array<Ring, 3>& rings09() const { return m_rings09; }
    int loopCircleIndex() const { return m_loopCircleIndex; }
    const Ring& ring0B() const { return m_ring0B; }
    const QVector<Beam>& beams() const { return m_beams; }

    // Brightness of keys lit by their own rules, and of keys lit by a press
    // or a beam.
    static int keyAlpha(int level);
    static int pressAlpha(int level);

private:
    QRgb lightColour() const;
    void advanceLoop() { m_loopIndex = (m_loopIndex + 1) % 7; }
    void lightKey(int swId, QRgb colour, int alpha);
    void lightMatrix(int matrix, int alpha);
    void fade(Registers& reg, int divisor) const;
    void darkenAll();
    void applyPicture(const QVector<int>& rgbPerMatrix);
    void shift(Registers& reg) const;
    void ringTest(int swId, const Ring& ring);
    void keyRules();
    void controllerTick();
    void beamTick();

    QVector<PreviewKey> m_keys;
    QVector<int> m_matrixToKey;
    PreviewLayout m_layout;
    QVector<Registers> m_regs;

    std::array<QRgb, 7> m_slots;
    int m_currentSlot = 6;
    int m_brightness = 7;
    int m_direction = 1;
    int m_effectIndex = -1;
    std::array<QVector<int>, 5> m_pictures;

    int m_running = 0;
    int m_count = 0;
    int m_loopIndex = 0;
    std::array<int, 21> m_totalColor{};
    std::array<Ring, 3> m_rings09{};
    int m_loopCircleIndex = 0;
    Ring m_ring0B;
    QVector<Beam> m_beams;
    std::mt19937 m_random;
};
