#include "preview/EffectTimings.h"

#include <algorithm>

namespace EffectTimings {

namespace {

const int intervals[12][7] = {
    {600, 900, 1200, 1500, 1800, 2100, 2400}, // 00H static
    {16, 48, 64, 96, 112, 144, 160},          // 01H breathing
    {10, 15, 20, 25, 30, 35, 40},             // 02H wave
    {22, 66, 88, 132, 154, 198, 220},         // 03H induction darken
    {15, 30, 45, 60, 75, 90, 105},            // 04H marquee
    {10, 20, 25, 35, 40, 50, 55},             // 05H ripple
    {7, 21, 28, 42, 49, 63, 70},              // 06H induction brighten
    {15, 20, 25, 30, 35, 40, 45},             // 07H neon
    {30, 40, 50, 60, 70, 80, 90},             // 08H marquee colourful
    {10, 20, 25, 35, 40, 50, 55},             // 09H raining
    {7, 21, 28, 42, 49, 63, 70},              // 0AH marquee circle
    {10, 15, 20, 25, 30, 35, 40},             // 0BH spotlight
};

const TickParts parts[12] = {
    ControllerOnly, ControllerOnly, KeysThenController, KeysOnly,
    KeysThenController, KeysThenController, KeysThenController, ControllerOnly,
    KeysThenController, KeysThenController, KeysThenController, KeysThenController,
};

}

int timerEffect(int effect)
{
    return (effect >= 0x01 && effect <= 0x0B) ? effect : 0x00;
}

int intervalMs(int effect, int speedLevel)
{
    return intervals[timerEffect(effect)][std::clamp(speedLevel, 1, 7) - 1];
}

TickParts tickParts(int effect)
{
    return parts[timerEffect(effect)];
}

}
