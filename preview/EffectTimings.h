#pragma once

// The preview's timers: interval of each effect's timer by speed level, and
// what a tick of that timer runs.
namespace EffectTimings {

enum TickParts {
    ControllerOnly = 1,
    KeysOnly = 2,
    KeysThenController = 3,
};

// The effect whose timer and start routine play(n) uses: n itself for
// 01H..0BH, the static effect 00H for anything else.
int timerEffect(int effect);

// Interval in milliseconds of timerEffect(effect)'s timer at speed level
// 1..7 (levels outside are clamped).
int intervalMs(int effect, int speedLevel);

TickParts tickParts(int effect);

}
