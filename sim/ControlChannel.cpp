// Start-up configuration from the environment and the text commands of the
// control channels, for running an unmodified program with
// LD_PRELOAD=libq3sim.so:
//
//   Q3SIM_INTERFACES=both|command|event|none   interfaces shown at start (both)
//   Q3SIM_UNPLUGGED=1                          start unplugged
//   Q3SIM_DENY_OPEN=1                          opens of the keyboard fail: permission denied
//   Q3SIM_TRACE=<file>                         append one line per hidapi call
//   Q3SIM_CONTROL=<path>                       create a FIFO there (if missing) and
//                                              read commands from it, one per line
//   Q3SIM_SOCKET=<path>                        serve the control socket there
//
// The environment is read once, when the library is loaded, except for the
// control socket's (see ControlSocket.cpp). Q3SIM_CONTROL is
// then removed from the environment so that child processes that load the
// library too do not compete for the same FIFO.
//
// Both channels take the commands of runControlCommand; only the socket
// carries replies back.

#include "Model.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace q3sim::detail {

namespace {

void warn(const std::string& message)
{
    std::fprintf(stderr, "q3sim: %s\n", message.c_str());
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

// Decimal, or hex with 0x; -1..1000000.
bool parseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    const bool hexadecimal = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, hexadecimal ? 16 : 10);
    if (errno || *end || parsed < -1 || parsed > 1000000)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseInterfaces(const std::string& word, bool& command, bool& event)
{
    if (word == "both")
        command = event = true;
    else if (word == "command")
        command = true, event = false;
    else if (word == "event")
        command = false, event = true;
    else if (word == "none")
        command = event = false;
    else
        return false;
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void controlLoop(int fd)
{
    std::string pending;
    char chunk[512];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;  // the FIFO is open read-write, so this only happens on a real error
        pending.append(chunk, static_cast<std::size_t>(n));
        std::size_t newline;
        while ((newline = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            if (!runControlCommand(line))
                warn("unknown control command: " + line);
        }
    }
}

} // namespace

bool parseHex(const std::string& text, std::vector<unsigned char>& out)
{
    std::string separated = text;
    for (char& c : separated)
        if (c == ',' || c == ':' || c == ';')
            c = ' ';
    std::vector<unsigned char> bytes;
    for (std::string word : split(separated)) {
        if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
            word.erase(0, 2);
        if (word.size() == 1)
            word.insert(word.begin(), '0');
        if (word.size() % 2)
            return false;
        for (std::size_t i = 0; i < word.size(); i += 2) {
            const int high = hexDigit(word[i]);
            const int low = hexDigit(word[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<unsigned char>(high * 16 + low));
        }
    }
    out = std::move(bytes);
    return true;
}

void startControlThread(int fd)
{
    // The reader never takes signals meant for the program, and is detached:
    // it dies with the process, blocked in read().
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    try {
        std::thread(controlLoop, fd).detach();
    } catch (const std::system_error& error) {
        warn(std::string("cannot start the control thread: ") + error.what());
        close(fd);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void Model::configureFromEnvironment()
{
    if (const char* value = std::getenv("Q3SIM_INTERFACES"); value && *value) {
        bool command = true;
        bool event = true;
        if (!parseInterfaces(value, command, event))
            warn(std::string("Q3SIM_INTERFACES: expected both|command|event|none, got '") + value
                 + "'; showing both");
        shown[CommandInterface] = command;
        shown[EventInterface] = event;
    }

    if (const char* value = std::getenv("Q3SIM_UNPLUGGED"); value && *value)
        plugged = std::strcmp(value, "0") == 0;

    if (const char* value = std::getenv("Q3SIM_DENY_OPEN"); value && *value)
        openDenied = std::strcmp(value, "0") != 0;

    if (const char* path = std::getenv("Q3SIM_TRACE"); path && *path) {
        traceFile = std::fopen(path, "ae");
        if (!traceFile)
            warn(std::string("cannot open trace file ") + path + ": " + std::strerror(errno));
    }

    if (const char* value = std::getenv("Q3SIM_CONTROL"); value && *value) {
        const std::string path = value;
        unsetenv("Q3SIM_CONTROL");
        struct stat status {};
        if (stat(path.c_str(), &status) != 0 && mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) {
            warn("cannot create control FIFO " + path + ": " + std::strerror(errno));
            return;
        }
        if (stat(path.c_str(), &status) != 0 || !S_ISFIFO(status.st_mode)) {
            warn("Q3SIM_CONTROL: " + path + " exists and is not a FIFO");
            return;
        }
        // Read-write: the reader never sees end-of-file when a writer closes,
        // and opening does not wait for a writer.
        const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            warn("cannot open control FIFO " + path + ": " + std::strerror(errno));
            return;
        }
        startControlThread(fd);
    }
}

} // namespace q3sim::detail

namespace q3sim::detail {

namespace {

// Decimal, or hex with 0x, within [min, max] (and -1..1000000).
bool parseNumber(const std::string& text, long min, long max, long& value)
{
    int parsed = 0;
    if (!parseInt(text, parsed) || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

// The hex bytes after the command word.
bool parseHexArgument(const std::string& line, const std::string& verb, std::vector<unsigned char>& bytes)
{
    return parseHex(line.substr(line.find(verb) + verb.size()), bytes);
}

std::string traceLines(const Model& model, std::size_t last)
{
    const std::size_t size = model.traceEntries.size();
    std::string text;
    for (std::size_t i = size - std::min(last, size); i < size; ++i)
        text += toString(model.traceEntries[i]) + '\n';
    return text;
}

std::string timingLines(const Model& model, std::size_t last)
{
    const auto& timings = model.firmware->transferTimings();
    std::string text;
    for (std::size_t i = timings.size() - std::min(last, timings.size()); i < timings.size(); ++i) {
        const TransferTiming& t = timings[i];
        char line[128];
        std::snprintf(line, sizeof line, "%02xH %zu bytes, %d reports, %lld us\n", t.command, t.payloadBytes,
                      t.reports, t.micros);
        text += line;
    }
    return text;
}

struct Command {
    const char* usage;
    // Runs with the model locked; false with `reply` empty means a usage error.
    bool (*run)(Model& model, const std::vector<std::string>& words, const std::string& line, std::string& reply);
};

const Command Commands[] = {
    {"plug", [](Model& m, auto& w, auto&, auto&) {
         return w.size() == 1 && (m.setPlugged(true), true);
     }},
    {"unplug", [](Model& m, auto& w, auto&, auto&) {
         return w.size() == 1 && (m.setPlugged(false), true);
     }},
    {"interfaces both|command|event|none", [](Model& m, auto& w, auto&, auto&) {
         bool command = true;
         bool event = true;
         if (w.size() != 2 || !parseInterfaces(w[1], command, event))
             return false;
         m.setInterfaces(command, event);
         return true;
     }},
    {"fail-open N", [](Model& m, auto& w, auto&, auto&) {
         int count = 0;
         if (w.size() != 2 || !parseInt(w[1], count))
             return false;
         m.openFaults = count;
         return true;
     }},
    {"deny-open on|off", [](Model& m, auto& w, auto&, auto&) {
         if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
             return false;
         m.openDenied = w[1] == "on";
         return true;
     }},
    {"fail-call <hidapi function> N", [](Model& m, auto& w, auto&, std::string& reply) {
         int count = 0;
         if (w.size() != 3 || !parseInt(w[2], count))
             return false;
         if (!isFaultableCall(w[1])) {
             reply = "no failure can be injected into '" + w[1] + "'";
             return false;
         }
         if (count == 0)
             m.callFaults.erase(w[1]);
         else
             m.callFaults[w[1]] = count;
         return true;
     }},
    {"report <hex bytes>", [](Model& m, auto& w, auto& line, auto&) {
         std::vector<unsigned char> bytes;
         if (w.size() < 2 || !parseHexArgument(line, w[0], bytes) || bytes.empty())
             return false;
         m.queueInput(EventInterface, std::move(bytes));
         return true;
     }},
    {"command-report <hex bytes>", [](Model& m, auto& w, auto& line, auto&) {
         std::vector<unsigned char> bytes;
         if (w.size() < 2 || !parseHexArgument(line, w[0], bytes) || bytes.empty())
             return false;
         m.queueInput(CommandInterface, std::move(bytes));
         return true;
     }},
    {"lighting <type> <brightness> <speed> <direction> <color> <bl0> <bl1>",
     [](Model& m, auto& w, auto&, std::string& reply) {
         std::array<unsigned char, 7> led{};
         if (w.size() != 8)
             return false;
         for (std::size_t i = 0; i < led.size(); ++i) {
             long value = 0;
             if (!parseNumber(w[i + 1], 0, 255, value))
                 return false;
             led[i] = static_cast<unsigned char>(value);
         }
         if (!m.plugged) {
             reply = "the keyboard is unplugged";
             return false;
         }
         m.firmware->lightingChangedOnKeyboard(led);
         return true;
     }},
    {"profile N", [](Model& m, auto& w, auto&, std::string& reply) {
         long profile = 0;
         if (w.size() != 2 || !parseNumber(w[1], 0, 255, profile))
             return false;
         if (!m.plugged) {
             reply = "the keyboard is unplugged";
             return false;
         }
         if (!m.firmware->selectProfile(static_cast<int>(profile))) {
             reply = "no profile " + w[1] + " (the keyboard has "
                 + std::to_string(m.firmware->state().profiles.size()) + ")";
             return false;
         }
         return true;
     }},
    {"stall-data on|off", [](Model& m, auto& w, auto&, auto&) {
         if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
             return false;
         m.firmware->setStallDataPhase(w[1] == "on");
         return true;
     }},
    {"unplug-after N", [](Model& m, auto& w, auto&, auto&) {
         long count = 0;
         if (w.size() != 2 || !parseNumber(w[1], 0, 1000000, count))
             return false;
         m.unplugAfter = static_cast<int>(count);
         return true;
     }},
    {"replace-data [<hex bytes>]", [](Model& m, auto& w, auto& line, auto&) {
         std::vector<unsigned char> bytes;
         if (!parseHexArgument(line, w[0], bytes))
             return false;
         m.firmware->replaceNextDataReport(std::move(bytes));
         return true;
     }},
    {"state [--pictures] [--macros]", [](Model& m, auto& w, auto&, std::string& reply) {
         bool pictures = false;
         bool macros = false;
         for (std::size_t i = 1; i < w.size(); ++i) {
             if (w[i] == "--pictures")
                 pictures = true;
             else if (w[i] == "--macros")
                 macros = true;
             else
                 return false;
         }
         reply = describeState(m, pictures, macros);
         return true;
     }},
    {"trace [N]", [](Model& m, auto& w, auto&, std::string& reply) {
         long last = 1000000;
         if (w.size() > 2 || (w.size() == 2 && !parseNumber(w[1], 0, 1000000, last)))
             return false;
         reply = traceLines(m, static_cast<std::size_t>(last));
         return true;
     }},
    {"clear-trace", [](Model& m, auto& w, auto&, auto&) {
         return w.size() == 1 && (m.traceEntries.clear(), true);
     }},
    {"timings [N]", [](Model& m, auto& w, auto&, std::string& reply) {
         long last = 1000000;
         if (w.size() > 2 || (w.size() == 2 && !parseNumber(w[1], 0, 1000000, last)))
             return false;
         reply = timingLines(m, static_cast<std::size_t>(last));
         return true;
     }},
    {"reset", [](Model& m, auto& w, auto&, auto&) {
         return w.size() == 1 && (m.resetAll(), true);
     }},
};

} // namespace

} // namespace q3sim::detail

namespace q3sim {

bool runControlCommand(const std::string& line)
{
    std::string reply;
    return runControlCommand(line, reply);
}

bool runControlCommand(const std::string& line, std::string& reply)
{
    using detail::Model;
    reply.clear();
    const std::vector<std::string> words = detail::split(line);
    if (words.empty() || words[0][0] == '#')
        return true;

    const std::string& verb = words[0];
    if (verb == "help" && words.size() == 1) {
        for (const detail::Command& command : detail::Commands)
            reply += std::string(command.usage) + '\n';
        return true;
    }
    const detail::Command* command = nullptr;
    for (const detail::Command& candidate : detail::Commands)
        if (verb == detail::split(candidate.usage)[0])
            command = &candidate;
    if (!command) {
        reply = "unknown command '" + verb + "' (try help)";
        return false;
    }

    Model& model = Model::instance();
    std::unique_lock<std::mutex> lock(model.mutex);
    if (model.traceFile) {
        std::fprintf(model.traceFile, "# control: %s\n", line.c_str());
        std::fflush(model.traceFile);
    }
    if (command->run(model, words, line, reply))
        return true;
    reply = reply.empty() ? std::string("usage: ") + command->usage : reply;
    return false;
}

} // namespace q3sim

namespace {

// Reads the environment (and starts the control channel) as soon as the
// library is loaded, before the program runs any thread of its own.
__attribute__((constructor)) void loadSimulation()
{
    q3sim::detail::Model::instance();
}

} // namespace
