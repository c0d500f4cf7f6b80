// The text the control command "state" replies with.

#include "Model.h"

#include <algorithm>
#include <cstdio>

namespace q3sim::detail {

namespace {

std::string hexByte(unsigned char value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02x", value);
    return text;
}

template <typename Container>
std::string hexBytes(const Container& bytes)
{
    return hex(bytes.data(), bytes.size());
}

// Bytes as indented lines of 32.
template <typename Container>
std::string block(const Container& bytes, const char* indent)
{
    std::string text;
    for (std::size_t offset = 0; offset < bytes.size(); offset += 32)
        text += indent + hex(bytes.data() + offset, std::min<std::size_t>(32, bytes.size() - offset)) + '\n';
    return text;
}

std::string list(const std::vector<int>& numbers)
{
    if (numbers.empty())
        return "none";
    std::string text;
    for (int n : numbers)
        text += (text.empty() ? "" : " ") + std::to_string(n);
    return text;
}

} // namespace

std::string describeState(const Model& model, bool pictures, bool macros)
{
    const KeyboardState& state = model.firmware->state();
    std::string text;
    text += std::string("plugged: ") + (model.plugged ? "yes" : "no") + '\n';
    std::string shown;
    if (model.shown[CommandInterface])
        shown += " command";
    if (model.shown[EventInterface])
        shown += " event";
    text += "interfaces:" + (shown.empty() ? std::string(" none") : shown) + '\n';
    text += "firmware: " + hexByte(state.firmwareVersion[0]) + ' ' + hexByte(state.firmwareVersion[1])
        + ", layout mode " + std::to_string(state.layoutMode) + '\n';
    text += "options: " + hexBytes(state.options) + '\n';
    text += "sensitivity: " + hexByte(state.sensitivity) + '\n';
    text += "current profile: " + std::to_string(state.currentProfile) + " of "
        + std::to_string(state.profiles.size()) + '\n';
    text += "stop-macro requests: " + std::to_string(state.stopMacroRequests) + '\n';
    text += "boot-loader requests: " + std::to_string(state.bootLoaderRequests);
    if (state.bootLoaderRequests)
        text += ", last signature " + hexBytes(state.bootLoaderSignature)
            + (state.bootLoaderSignatureMatched ? " (matches)" : " (wrong)");
    text += '\n';
    text += "recovery requests: " + std::to_string(state.recoveryRequests) + '\n';

    std::vector<int> usedMacros;
    for (int slot = 0; slot < KeyboardState::MacroSlots; ++slot)
        if (!state.macroEmpty(slot))
            usedMacros.push_back(slot);
    text += "macros in use: " + list(usedMacros) + '\n';

    std::string faults;
    if (model.firmware->stallsDataPhase())
        faults += ", data stalled";
    if (model.unplugAfter)
        faults += ", unplug after " + std::to_string(model.unplugAfter) + " reports";
    if (model.firmware->pendingReplacements())
        faults += ", " + std::to_string(model.firmware->pendingReplacements()) + " data reports to replace";
    if (model.openFaults)
        faults += ", fail-open " + std::to_string(model.openFaults);
    if (model.openDenied)
        faults += ", opens denied";
    for (const auto& [call, count] : model.callFaults)
        faults += ", fail-call " + call + ' ' + std::to_string(count);
    text += "faults: " + (faults.empty() ? std::string("none") : faults.substr(2)) + '\n';

    for (std::size_t p = 0; p < state.profiles.size(); ++p) {
        const Profile& profile = state.profiles[p];
        text += "profile " + std::to_string(p)
            + (static_cast<int>(p) == state.currentProfile ? " (current)" : "") + ":\n";
        text += "  led type: " + hexBytes(profile.ledType) + '\n';
        text += "  colours:";
        for (int k = 0; k < 7; ++k)
            text += (k ? ", " : " ") + hex(profile.colours.data() + 3 * k, 3);
        text += '\n';
        text += "  keys:\n";
        for (int row = 0; row < 8; ++row) {
            text += "   ";
            for (int column = 0; column < 16; ++column) {
                char word[8];
                std::snprintf(word, sizeof word, " %04x", profile.keyEntry(row * 16 + column));
                text += word;
            }
            text += '\n';
        }
        std::vector<int> used;
        for (int index = 0; index < Profile::Pictures; ++index)
            if (!profile.pictureEmpty(index))
                used.push_back(index);
        text += "  pictures: " + list(used) + '\n';
        if (pictures)
            for (int index : used)
                for (int plane = 0; plane < Profile::PicturePlanes; ++plane)
                    text += "  picture " + std::to_string(index) + " plane " + std::to_string(plane) + ":\n"
                        + block(profile.pictures[index][plane], "    ");
    }
    if (macros)
        for (int slot : usedMacros)
            text += "macro " + std::to_string(slot) + ":\n" + block(state.macros[slot], "    ");
    return text;
}

} // namespace q3sim::detail
