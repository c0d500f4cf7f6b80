// q3sim: drives and observes the simulated keyboard of a running program
// (one started with LD_PRELOAD=libq3sim.so) through its control socket.
//
//   q3sim [--socket PATH] COMMAND [ARGUMENTS...]
//
// The socket is PATH, else $Q3SIM_SOCKET, else ${XDG_RUNTIME_DIR:-/tmp}/
// q3sim-<uid>.sock. The command goes over as one line; the reply's output is
// printed. Exit status: 0 done, 1 the simulation refused the command, 2 bad
// usage, 3 nothing answers on the socket.

#include "SocketPath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int ReplyTimeoutMs = 10000;

const char Usage[] =
    "usage: q3sim [--socket PATH] COMMAND [ARGUMENTS...]\n"
    "\n"
    "Drives the simulated Q3 keyboard of a program running with LD_PRELOAD=libq3sim.so.\n"
    "Socket: PATH, else $Q3SIM_SOCKET, else ${XDG_RUNTIME_DIR:-/tmp}/q3sim-<uid>.sock.\n"
    "\n"
    "commands:\n"
    "  plug | unplug                       connect / disconnect the keyboard\n"
    "  interfaces both|command|event|none  which interfaces it shows\n"
    "  lighting T B S D C BL0 BL1          the Fn keys changed the lighting (sends the report)\n"
    "  profile N                           the profile key selected profile N\n"
    "  report HEX | command-report HEX     an input report on the event / command interface\n"
    "  fail-call FUNCTION N | fail-open N  the next N calls / opens fail (-1: all, 0: none)\n"
    "  deny-open on|off              opens of the keyboard fail: permission denied\n"
    "  stall-data on|off                   get commands send no data\n"
    "  unplug-after N                      disappear after N more reports\n"
    "  replace-data [HEX]                  replace (or lose) the next data report\n"
    "  state [--pictures] [--macros]       the keyboard's state and memory\n"
    "  trace [N] | clear-trace             the last N hidapi calls\n"
    "  timings [N]                         wire time of the last N transfers\n"
    "  reset                               back to the power-on state\n"
    "  help                                the commands the simulation knows\n";

enum Exit { Done = 0, Refused = 1, BadUsage = 2, NoAnswer = 3 };

int fail(Exit code, const std::string& message)
{
    std::fprintf(stderr, "q3sim: %s\n", message.c_str());
    return code;
}

bool waitFor(int fd, short events)
{
    pollfd p{fd, events, 0};
    int n;
    while ((n = poll(&p, 1, ReplyTimeoutMs)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string path;
    int first = 1;
    if (first < argc && (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return Done;
    }
    if (first < argc && std::strcmp(argv[first], "--socket") == 0) {
        if (first + 1 >= argc)
            return fail(BadUsage, "--socket needs a path");
        path = argv[first + 1];
        first += 2;
    }
    if (first >= argc) {
        std::fputs(Usage, stderr);
        return BadUsage;
    }
    if (path.empty())
        path = q3sim::detail::controlSocketPath();

    std::string line;
    for (int i = first; i < argc; ++i) {
        if (std::strchr(argv[i], '\n'))
            return fail(BadUsage, "arguments cannot span lines");
        line += (i > first ? " " : "") + std::string(argv[i]);
    }

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return fail(BadUsage, "socket path too long: " + path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(NoAnswer, std::string("socket: ") + std::strerror(errno));
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail(NoAnswer, "no simulated keyboard answers on " + path + " (" + std::strerror(errno)
                                  + "); is a program running with LD_PRELOAD=libq3sim.so?");

    const std::string request = line + "\n";
    for (std::size_t sent = 0; sent < request.size();) {
        if (!waitFor(fd, POLLOUT))
            return fail(NoAnswer, "the simulated keyboard does not take the command");
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(NoAnswer, std::string("sending the command: ") + std::strerror(errno));
        sent += static_cast<std::size_t>(n);
    }
    shutdown(fd, SHUT_WR);

    std::string reply;
    char chunk[65536];
    for (;;) {
        if (!waitFor(fd, POLLIN))
            return fail(NoAnswer, "no reply from the simulated keyboard");
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(NoAnswer, std::string("reading the reply: ") + std::strerror(errno));
        if (n == 0)
            break;
        reply.append(chunk, static_cast<std::size_t>(n));
    }
    close(fd);

    const std::size_t newline = reply.find('\n');
    const std::string status = reply.substr(0, newline);
    const std::string output = newline == std::string::npos ? "" : reply.substr(newline + 1);
    if (status == "ok") {
        std::fwrite(output.data(), 1, output.size(), stdout);
        return Done;
    }
    if (status.rfind("error ", 0) == 0)
        return fail(Refused, status.substr(6));
    return fail(NoAnswer, "unexpected reply: " + status);
}
