// The keyboard's command handling: requests, answers, data phases and the
// wire time of each transfer.
//
// Commands (request bytes 1-8 of the feature report; bytes 6-8 are the
// trailer 55 AA 00 for every known command except 08H and 0FH):
//
//   set               request                    data to keyboard
//   02H options       02 b1 b2 b3 00 55 AA 00
//   04H sensitivity   04 s 00 00 00 55 AA 00
//   08H LED type      08 t b s d c bl0 bl1       (current profile)
//   09H stop macro    09 AA CC EE 00 55 AA 00
//   0CH / 0DH keys    0C 00 00 00 00 55 AA 00    128: key matrix 0-127 / 128-255
//   0FH boot loader   0F + 7-byte signature
//   10H macro         10 00 slot 00 00 55 AA 00  128: macro slot
//   12H picture       12 00 pic plane 00 55 AA 00 128: picture plane
//   13H recovery      13 FF 1F 00 00 55 AA 00
//   21H profile       21 p 00 00 00 55 AA 00
//   30H colours       30 00 00 00 00 55 AA 00    64: seven-colour table
//
//   get               answer bytes 2-8           data from keyboard
//   80H version       hi lo flags(mode << 1)
//   82H options       b1 b2 b3
//   84H sensitivity   s
//   88H LED type      t b s d c bl0 bl1
//   8CH / 8DH keys    echo                       128: key matrix 0-127 / 128-255
//   90H macro         echo                       128: macro slot
//   92H picture       echo                       128: picture plane
//   A1H profile       p
//   B0H colours       echo                       64: seven-colour table
//
// Anything else, a request whose trailer or fixed bytes are wrong, or one
// with a report id other than 0 changes nothing and answers an echo of
// itself. Per-profile commands act on the profile current at the request.

#include "Firmware.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace q3sim {

namespace {

constexpr std::size_t HalfMatrix = 128;
constexpr std::size_t DataPayload = 128;
constexpr std::size_t ColourPayload = 64;

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...)
{
    char text[160];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

bool hasTrailer(unsigned char command)
{
    switch (command) {
    case 0x02: case 0x04: case 0x09: case 0x0c: case 0x0d: case 0x10: case 0x12: case 0x13:
    case 0x21: case 0x30: case 0x80: case 0x82: case 0x84: case 0x88: case 0x8c: case 0x8d:
    case 0x90: case 0x92: case 0xa1: case 0xb0:
        return true;
    default:
        return false;
    }
}

bool isPicture(int index, int plane)
{
    return index >= 0 && index < Profile::Pictures && plane >= 0 && plane < Profile::PicturePlanes;
}

} // namespace

Firmware::Firmware(InputSink inputSink)
    : Firmware(Host{std::move(inputSink), nullptr})
{
}

Firmware::Firmware(Host host)
    : m_host(std::move(host))
{
}

// ------------------------------------------------------------------ transfers

int Firmware::handleFeatureRequest(Interface via, const unsigned char* data, std::size_t length)
{
    if (via != CommandInterface)
        return -1;
    m_lastRequest.assign(data, data + length);
    endUnfinished();

    // A short request reads as zeros past its end.
    Request request{};
    std::copy_n(data, std::min(length, request.size()), request.begin());
    m_answer = request;
    m_answer[0] = 0;
    m_transfer = Transfer{};
    m_transfer.active = true;
    m_transfer.get = (request[1] & 0x80) != 0;
    m_transfer.command = request[1];
    m_transfer.reports = 1;
    m_transfer.start = Clock::now();

    if (request[0] != 0) {
        note(format("ignored: report id %d", request[0]));
    } else if (dispatch(request) < 0) {
        m_transfer.active = false;
        return -1;
    }
    if (!m_transfer.get && !m_incoming.active)
        completeTransfer();
    return static_cast<int>(length);
}

int Firmware::answerFeatureRequest(Interface via, unsigned char* data, std::size_t length)
{
    if (via != CommandInterface || length == 0)
        return -1;
    // Always the whole answer: the host's buffer may hold anything past it.
    const std::size_t size = std::min(length, FeatureReportSize);
    const unsigned char reportId = data[0];
    std::memcpy(data, m_answer.data(), size);
    data[0] = reportId;
    if (m_transfer.active && m_transfer.get) {
        ++m_transfer.reports;
        if (!m_transfer.expectsData)
            completeTransfer();
    }
    return static_cast<int>(size);
}

int Firmware::handleOutputReport(Interface via, const unsigned char* data, std::size_t length)
{
    m_outputReports.emplace_back(data, data + length);
    if (via != CommandInterface || !m_incoming.active || length == 0)
        return static_cast<int>(length);
    if (data[0] != 0) {
        note(format("ignored: output report id %d", data[0]));
        return static_cast<int>(length);
    }

    // The report's 64 bytes after the id; a short report reads as zeros past its end.
    std::array<unsigned char, DataReportSize> payload{};
    std::copy_n(data + 1, std::min(length - 1, payload.size()), payload.begin());
    const std::size_t take = std::min(payload.size(), m_incoming.expected - m_incoming.bytes.size());
    m_incoming.bytes.insert(m_incoming.bytes.end(), payload.begin(), payload.begin() + take);
    ++m_transfer.reports;
    m_transfer.payloadBytes += take;

    const std::size_t have = m_incoming.bytes.size();
    if (have < m_incoming.expected) {
        note(format("%zu of %zu bytes", have, m_incoming.expected));
        return static_cast<int>(length);
    }
    note(format("%zu of %zu bytes: %s written", have, m_incoming.expected, m_incoming.what.c_str()));
    Incoming done = std::move(m_incoming);
    m_incoming = Incoming{};
    done.apply(done.bytes);
    completeTransfer();
    return static_cast<int>(length);
}

int Firmware::answerInputReportRequest(Interface via, unsigned char* data, std::size_t length)
{
    (void)via;
    (void)data;
    (void)length;
    return -1;
}

void Firmware::inputReportRead(Interface via)
{
    if (via != CommandInterface || !m_transfer.active || m_transfer.dataOutstanding == 0)
        return;
    ++m_transfer.reports;
    if (--m_transfer.dataOutstanding == 0)
        completeTransfer();
}

void Firmware::interfaceGone(Interface which)
{
    if (which != CommandInterface)
        return;
    m_incoming = Incoming{};
    m_transfer = Transfer{};
}

void Firmware::unplugged()
{
    interfaceGone(CommandInterface);
    m_lastRequest.clear();
    m_answer = Request{};
}

void Firmware::pushInputReport(Interface which, std::vector<unsigned char> bytes)
{
    if (m_host.queueInput)
        m_host.queueInput(which, std::move(bytes));
}

// What an earlier request left unfinished ends with the next one.
void Firmware::endUnfinished()
{
    if (m_incoming.active)
        note(format("abandoned the data of %02xH after %zu of %zu bytes", m_transfer.command,
                    m_incoming.bytes.size(), m_incoming.expected));
    m_incoming = Incoming{};
    m_transfer = Transfer{};
    if (m_host.discardInput)
        if (const std::size_t stale = m_host.discardInput(CommandInterface))
            note(format("discarded %zu stale input report%s", stale, stale == 1 ? "" : "s"));
}

void Firmware::completeTransfer()
{
    if (!m_transfer.active)
        return;
    m_transfer.active = false;
    if (m_transfer.broken)
        return;
    TransferTiming timing;
    timing.command = m_transfer.command;
    timing.payloadBytes = m_transfer.payloadBytes;
    timing.reports = m_transfer.reports;
    timing.micros = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_transfer.start)
                        .count();
    if (m_timings.size() >= MaxTimings)
        m_timings.pop_front();
    m_timings.push_back(timing);
}

// ------------------------------------------------------------------- commands

int Firmware::dispatch(const Request& request)
{
    const unsigned char command = request[1];
    if (hasTrailer(command) && !(request[6] == 0x55 && request[7] == 0xaa && request[8] == 0x00)) {
        note("ignored: bytes 6-8 are not 55 aa 00");
        return 0;
    }
    // Per-profile data goes to the profile current now, even if the profile
    // key is pressed before the data has arrived.
    const int profileIndex = m_state.currentProfile;
    Profile& profile = m_state.current();
    const std::string ofProfile = " of profile " + std::to_string(profileIndex);
    auto profileAt = [this, profileIndex]() -> Profile& {
        return m_state.profiles.at(static_cast<std::size_t>(profileIndex));
    };

    switch (command) {
    case 0x02:
        std::copy_n(&request[2], m_state.options.size(), m_state.options.begin());
        return 0;
    case 0x04:
        m_state.sensitivity = request[2];
        return 0;
    case 0x08:
        std::copy_n(&request[2], profile.ledType.size(), profile.ledType.begin());
        return 0;
    case 0x09:
        if (request[2] == 0xaa && request[3] == 0xcc && request[4] == 0xee)
            ++m_state.stopMacroRequests;
        else
            note("ignored: bytes 2-4 are not aa cc ee");
        return 0;
    case 0x0c:
    case 0x0d: {
        const std::size_t offset = command == 0x0c ? 0 : HalfMatrix;
        receive(DataPayload,
                format("key matrix bytes %zu-%zu", offset, offset + HalfMatrix - 1) + ofProfile,
                [profileAt, offset](const std::vector<unsigned char>& bytes) {
                    std::copy_n(bytes.begin(), HalfMatrix, profileAt().keyMatrix.begin() + offset);
                });
        return 0;
    }
    case 0x0f:
        ++m_state.bootLoaderRequests;
        std::copy_n(&request[2], m_state.bootLoaderSignature.size(), m_state.bootLoaderSignature.begin());
        m_state.bootLoaderSignatureMatched = m_state.bootLoaderSignature == BootLoaderSignature;
        note(m_state.bootLoaderSignatureMatched ? "boot loader requested"
                                                : "boot loader requested with a wrong signature");
        return 0;
    case 0x10: {
        const int slot = request[3];
        receive(DataPayload, format("macro slot %d", slot), [this, slot](const std::vector<unsigned char>& bytes) {
            std::copy_n(bytes.begin(), KeyboardState::MacroSize, m_state.macros[slot].begin());
        });
        return 0;
    }
    case 0x12: {
        const int index = request[3];
        const int plane = request[4];
        if (!isPicture(index, plane)) {
            note(format("refused: no picture %d plane %d", index, plane));
            return -1;
        }
        receive(DataPayload, format("picture %d plane %d", index, plane) + ofProfile,
                [profileAt, index, plane](const std::vector<unsigned char>& bytes) {
                    std::copy_n(bytes.begin(), Profile::PlaneSize, profileAt().pictures[index][plane].begin());
                });
        return 0;
    }
    case 0x13:
        if (request[2] != 0xff || request[3] != 0x1f) {
            note("ignored: bytes 2-3 are not ff 1f");
            return 0;
        }
        // Lighting, keys and pictures of every profile; macros, options,
        // sensitivity and the current profile stay.
        for (std::size_t i = 0; i < m_state.profiles.size(); ++i)
            m_state.profiles[i] = KeyboardState::factoryProfile(static_cast<int>(i));
        ++m_state.recoveryRequests;
        note("factory lighting, keys and pictures restored");
        return 0;
    case 0x21:
        if (!selectProfile(request[2]))
            note(format("ignored: no profile %d", request[2]));
        return 0;
    case 0x30:
        receive(ColourPayload, "seven-colour table" + ofProfile,
                [profileAt](const std::vector<unsigned char>& bytes) {
                    std::copy_n(bytes.begin(), ColourPayload, profileAt().colours.begin());
                });
        return 0;

    case 0x80:
        answer({m_state.firmwareVersion[0], m_state.firmwareVersion[1],
                static_cast<unsigned char>((m_state.layoutMode & 3) << 1)});
        return 0;
    case 0x82:
        answer({m_state.options[0], m_state.options[1], m_state.options[2]});
        return 0;
    case 0x84:
        answer({m_state.sensitivity});
        return 0;
    case 0x88: {
        const auto& t = profile.ledType;
        answer({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
        return 0;
    }
    case 0xa1:
        answer({static_cast<unsigned char>(m_state.currentProfile)});
        return 0;
    case 0x8c:
    case 0x8d:
        send(profile.keyMatrix.data() + (command == 0x8c ? 0 : HalfMatrix), HalfMatrix);
        return 0;
    case 0x90:
        send(m_state.macros[request[3]].data(), KeyboardState::MacroSize);
        return 0;
    case 0x92: {
        const int index = request[3];
        const int plane = request[4];
        if (!isPicture(index, plane)) {
            note(format("refused: no picture %d plane %d", index, plane));
            return -1;
        }
        send(profile.pictures[index][plane].data(), Profile::PlaneSize);
        return 0;
    }
    case 0xb0:
        send(profile.colours.data(), ColourPayload);
        return 0;
    default:
        return 0;  // unknown: the echo
    }
}

// Answer bytes 2-8; the rest zero.
void Firmware::answer(std::initializer_list<unsigned char> bytes)
{
    std::fill(m_answer.begin() + 2, m_answer.end(), 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), m_answer.size() - 2), m_answer.begin() + 2);
}

void Firmware::receive(std::size_t bytes, std::string what,
                       std::function<void(const std::vector<unsigned char>&)> apply)
{
    m_incoming.active = true;
    m_incoming.expected = bytes;
    m_incoming.bytes.reserve(bytes);
    m_incoming.what = std::move(what);
    m_incoming.apply = std::move(apply);
}

// Queues `length` bytes (a multiple of 64) as 64-byte input reports on the
// command interface.
void Firmware::send(const unsigned char* bytes, std::size_t length)
{
    m_transfer.expectsData = true;
    if (m_stallDataPhase) {
        note("stalled: no data sent");
        m_transfer.active = false;
        return;
    }
    for (std::size_t offset = 0; offset < length; offset += DataReportSize) {
        std::vector<unsigned char> report(bytes + offset, bytes + std::min(length, offset + DataReportSize));
        m_transfer.payloadBytes += DataReportSize;
        if (!m_replacements.empty()) {
            report = std::move(m_replacements.front());
            m_replacements.pop_front();
            note(report.empty() ? "data report lost" : "data report replaced");
            if (report.empty()) {
                m_transfer.broken = true;
                continue;
            }
        }
        ++m_transfer.dataOutstanding;
        pushInputReport(CommandInterface, std::move(report));
    }
    if (m_transfer.dataOutstanding == 0)
        m_transfer.active = false;
}

// --------------------------------------------------------- keyboard's own keys

bool Firmware::selectProfile(int profile)
{
    if (profile < 0 || profile >= static_cast<int>(m_state.profiles.size()))
        return false;
    m_state.currentProfile = profile;
    return true;
}

void Firmware::setProfileCount(int count)
{
    if (count < 1 || count > KeyboardState::MaxProfiles)
        throw std::invalid_argument("q3sim: a keyboard has 1.." + std::to_string(KeyboardState::MaxProfiles)
                                    + " profiles, not " + std::to_string(count));
    // Data still to come may belong to a profile that goes away.
    m_incoming = Incoming{};
    const std::size_t before = m_state.profiles.size();
    m_state.profiles.resize(static_cast<std::size_t>(count));
    for (std::size_t i = before; i < m_state.profiles.size(); ++i)
        m_state.profiles[i] = KeyboardState::factoryProfile(static_cast<int>(i));
    if (m_state.currentProfile >= count)
        m_state.currentProfile = 0;
}

void Firmware::lightingChangedOnKeyboard(const std::array<unsigned char, 7>& ledType)
{
    m_state.current().ledType = ledType;
    std::vector<unsigned char> report(12, 0);
    std::copy(ledType.begin(), ledType.end(), report.begin() + 4);
    pushInputReport(EventInterface, std::move(report));
}

void Firmware::replaceNextDataReport(std::vector<unsigned char> bytes)
{
    m_replacements.push_back(std::move(bytes));
}

// ---------------------------------------------------------------------- notes

void Firmware::note(std::string text)
{
    m_notes.push_back(std::move(text));
}

std::string Firmware::takeNote()
{
    std::string text;
    for (const std::string& part : m_notes)
        text += (text.empty() ? "" : "; ") + part;
    m_notes.clear();
    return text;
}

} // namespace q3sim
