// Control functions for the keyboard's memory, its own keys, transfer
// faults and wire time (declared in q3sim.h).

#include "Model.h"

#include <stdexcept>

namespace q3sim {

using detail::Model;

namespace {

// Runs fn(model) under the model lock.
template <typename Fn>
auto locked(Fn&& fn)
{
    Model& model = Model::instance();
    std::lock_guard<std::mutex> lock(model.mutex);
    return fn(model);
}

} // namespace

KeyboardState keyboardState()
{
    return locked([](Model& model) { return model.firmware->state(); });
}

bool setCurrentProfile(int profile)
{
    return locked([profile](Model& model) { return model.plugged && model.firmware->selectProfile(profile); });
}

int currentProfile()
{
    return locked([](Model& model) { return model.firmware->state().currentProfile; });
}

void setProfileCount(int count)
{
    locked([count](Model& model) { model.firmware->setProfileCount(count); });
}

void setFirmwareVersion(unsigned char high, unsigned char low)
{
    locked([=](Model& model) { model.firmware->state().firmwareVersion = {high, low}; });
}

void setLayoutMode(int mode)
{
    if (mode < 0 || mode > 3)
        throw std::invalid_argument("q3sim::setLayoutMode: the layout mode is 0..3, not " + std::to_string(mode));
    locked([mode](Model& model) { model.firmware->state().layoutMode = mode; });
}

bool sendLightingReport(unsigned char type, unsigned char brightness, unsigned char speed,
                        unsigned char direction, unsigned char color, unsigned char bl0,
                        unsigned char bl1)
{
    return locked([&](Model& model) {
        if (!model.plugged)
            return false;
        model.firmware->lightingChangedOnKeyboard({type, brightness, speed, direction, color, bl0, bl1});
        return true;
    });
}

void stallDataPhase(bool stalled)
{
    locked([stalled](Model& model) { model.firmware->setStallDataPhase(stalled); });
}

void unplugAfterReports(int count)
{
    locked([count](Model& model) { model.unplugAfter = count > 0 ? count : 0; });
}

void replaceNextDataReport(const std::vector<unsigned char>& bytes)
{
    locked([&bytes](Model& model) { model.firmware->replaceNextDataReport(bytes); });
}

std::vector<TransferTiming> transferTimings()
{
    return locked([](Model& model) {
        const auto& timings = model.firmware->transferTimings();
        return std::vector<TransferTiming>(timings.begin(), timings.end());
    });
}

long long lastTransferMicros()
{
    return locked([](Model& model) {
        const auto& timings = model.firmware->transferTimings();
        return timings.empty() ? -1LL : timings.back().micros;
    });
}

long long lastTransferMicros(unsigned char command)
{
    return locked([command](Model& model) {
        const auto& timings = model.firmware->transferTimings();
        for (auto it = timings.rbegin(); it != timings.rend(); ++it)
            if (it->command == command)
                return it->micros;
        return -1LL;
    });
}

} // namespace q3sim
