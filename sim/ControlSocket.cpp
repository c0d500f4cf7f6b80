// The control socket: a Unix domain stream socket on which the q3sim tool
// drives and observes the simulated keyboard of a running program.
//
// Served at Q3SIM_SOCKET, or, when that is not set and the library was
// preloaded (LD_PRELOAD mentions q3sim), at ${XDG_RUNTIME_DIR:-/tmp}/
// q3sim-<uid>.sock; otherwise not at all. Serving starts with the process's
// first hidapi call, so that the shells and helpers a preloaded program is
// started through never take the socket, and stays with the first process
// that got it: a later one finding it answered leaves it alone, one finding
// it dead (a stale file) replaces it.
//
// One connection carries one command: the client sends a line, the library
// answers "ok\n" followed by the command's output, or "error <what>\n", and
// closes the connection.
//
// The serving thread is detached and has every signal blocked: it never
// keeps the process alive and dies with it, blocked in accept(). At a normal
// exit the socket file is removed, provided it is still the one this process
// made.

#include "Model.h"
#include "SocketPath.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace q3sim::detail {

namespace {

constexpr std::size_t MaxCommandLength = 64 * 1024;
constexpr int ClientTimeoutSeconds = 5;

// The socket file this process made; written once before the serving thread
// starts, read by the exit handler.
struct Served {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    pid_t owner = 0;
};
Served* served = nullptr;

void warn(const std::string& message)
{
    std::fprintf(stderr, "q3sim: %s\n", message.c_str());
}

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether some process answers on the socket at `path`.
bool answered(const sockaddr_un& address)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool live = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
        || errno == EAGAIN || errno == EINPROGRESS;  // a full backlog is someone, too
    close(fd);
    return live;
}

void removeSocketFile()
{
    if (!served || getpid() != served->owner)
        return;  // a forked child leaves its parent's socket alone
    struct stat status {};
    if (lstat(served->path.c_str(), &status) == 0 && status.st_dev == served->device
        && status.st_ino == served->inode)
        unlink(served->path.c_str());
}

bool sendAll(int fd, const std::string& text)
{
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void serveClient(int fd)
{
    const timeval timeout{ClientTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

    std::string line;
    char chunk[4096];
    while (line.find('\n') == std::string::npos && line.size() < MaxCommandLength) {
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return;  // timed out or gone: no command
        if (n == 0)
            break;
        line.append(chunk, static_cast<std::size_t>(n));
    }
    line = line.substr(0, line.find('\n'));

    std::string reply;
    if (runControlCommand(line, reply))
        sendAll(fd, "ok\n" + reply);
    else
        sendAll(fd, "error " + reply + "\n");
}

void serveLoop(int listener)
{
    for (;;) {
        const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            serveClient(fd);
            close(fd);
        } else if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            usleep(100 * 1000);
        } else if (errno != EINTR && errno != ECONNABORTED) {
            warn(std::string("control socket: ") + std::strerror(errno) + "; no longer served");
            return;
        }
    }
}

void startServing()
{
    const char* explicitPath = std::getenv("Q3SIM_SOCKET");
    const char* preload = std::getenv("LD_PRELOAD");
    const bool preloaded = preload && std::strstr(preload, "q3sim");
    if (!(explicitPath && *explicitPath) && !preloaded)
        return;
    const std::string path = controlSocketPath();

    sockaddr_un address;
    if (!fillAddress(path, address)) {
        warn("control socket path too long: " + path);
        return;
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0) {
        if (!S_ISSOCK(status.st_mode)) {
            warn("control socket: " + path + " exists and is not a socket; not serving it");
            return;
        }
        if (answered(address))
            return;  // another process (e.g. our parent) serves it
        unlink(path.c_str());
    }

    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        warn(std::string("control socket: ") + std::strerror(errno));
        return;
    }
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || listen(listener, 16) != 0) {
        if (errno != EADDRINUSE)  // another process got there first
            warn("cannot serve the control socket " + path + ": " + std::strerror(errno));
        close(listener);
        return;
    }
    chmod(path.c_str(), 0600);
    lstat(path.c_str(), &status);
    served = new Served{path, status.st_dev, status.st_ino, getpid()};
    std::atexit(removeSocketFile);

    // The server never takes signals meant for the program.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    try {
        std::thread(serveLoop, listener).detach();
    } catch (const std::system_error& error) {
        warn(std::string("cannot start the control socket thread: ") + error.what());
        close(listener);
        removeSocketFile();
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace

void startControlSocketOnce()
{
    static std::once_flag once;
    std::call_once(once, startServing);
}

} // namespace q3sim::detail
