#pragma once

// Where the control socket is, for the library (ControlSocket.cpp) and the
// q3sim command-line tool alike.

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace q3sim::detail {

// ${XDG_RUNTIME_DIR:-/tmp}/q3sim-<uid>.sock
inline std::string defaultControlSocketPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime && *runtime ? runtime : "/tmp";
    return folder + "/q3sim-" + std::to_string(getuid()) + ".sock";
}

// Q3SIM_SOCKET when set, else the default path.
inline std::string controlSocketPath()
{
    const char* path = std::getenv("Q3SIM_SOCKET");
    return path && *path ? std::string(path) : defaultControlSocketPath();
}

} // namespace q3sim::detail
