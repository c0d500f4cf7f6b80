// Start-up configuration from the environment and the text command channel,
// for running an unmodified program with LD_PRELOAD=libq3sim.so:
//
//   Q3SIM_INTERFACES=both|command|event|none   interfaces shown at start (both)
//   Q3SIM_UNPLUGGED=1                          start unplugged
//   Q3SIM_TRACE=<file>                         append one line per hidapi call
//   Q3SIM_CONTROL=<path>                       create a FIFO there (if missing) and
//                                              read commands from it, one per line
//
// The environment is read once, when the library is loaded. Q3SIM_CONTROL is
// then removed from the environment so that child processes that load the
// library too do not compete for the same FIFO.

#include "Model.h"

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

bool parseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
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

namespace q3sim {

bool runControlCommand(const std::string& line)
{
    using detail::Model;
    const std::vector<std::string> words = detail::split(line);
    if (words.empty() || words[0][0] == '#')
        return true;

    const std::string& verb = words[0];
    Model& model = Model::instance();
    std::unique_lock<std::mutex> lock(model.mutex);
    if (model.traceFile) {
        std::fprintf(model.traceFile, "# control: %s\n", line.c_str());
        std::fflush(model.traceFile);
    }

    if ((verb == "plug" || verb == "unplug") && words.size() == 1) {
        model.setPlugged(verb == "plug");
        return true;
    }
    if (verb == "reset" && words.size() == 1) {
        model.resetAll();
        return true;
    }
    if (verb == "interfaces" && words.size() == 2) {
        bool command = true;
        bool event = true;
        if (!detail::parseInterfaces(words[1], command, event))
            return false;
        model.setInterfaces(command, event);
        return true;
    }
    if (verb == "fail-open" && words.size() == 2) {
        int count = 0;
        if (!detail::parseInt(words[1], count))
            return false;
        model.openFaults = count;
        return true;
    }
    if (verb == "fail-call" && words.size() == 3) {
        int count = 0;
        if (!detail::isFaultableCall(words[1]) || !detail::parseInt(words[2], count))
            return false;
        if (count == 0)
            model.callFaults.erase(words[1]);
        else
            model.callFaults[words[1]] = count;
        return true;
    }
    if ((verb == "report" || verb == "command-report") && words.size() >= 2) {
        std::vector<unsigned char> bytes;
        const std::size_t start = line.find(verb) + verb.size();
        if (!detail::parseHex(line.substr(start), bytes) || bytes.empty())
            return false;
        model.queueInput(verb == "report" ? EventInterface : CommandInterface, std::move(bytes));
        return true;
    }
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
