// libudev's device monitor, as the simulated keyboard's host sees it.
//
// A program that watches hidraw nodes through libudev learns of a plugged or
// unplugged keyboard from the kernel's notifications. With the simulation
// preloaded (or linked) there is no kernel device, so the monitor functions
// below stand in for libudev's: every monitor gets its own pipe, whose read
// end is the monitor's descriptor, and the model announces each hidraw node
// that appears or disappears ("add" / "remove") to every monitor that
// receives. Contexts come from the real library when it is loaded; devices
// this file did not make are handed on to it, so other users of libudev in
// the process keep working.

#include "Model.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#define Q3SIM_C_EXPORT extern "C" __attribute__((visibility("default")))

struct udev;
struct udev_monitor;
struct udev_device;

namespace {

template <typename F>
F realFunction(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct SimMonitor {
    udev* context = nullptr;
    int refs = 1;
    int readFd = -1;
    int writeFd = -1;
    bool receiving = false;
    std::set<std::string> subsystems;  // empty: every subsystem
};

struct SimDevice {
    udev* context = nullptr;
    int refs = 1;
    std::string action;
    std::string subsystem = "hidraw";
    std::string sysname;
    std::string syspath;
    std::string devnode;
};

// One notification as it crosses a monitor's pipe.
struct Record {
    char action[8];
    int node;
};

struct Registry {
    std::mutex mutex;
    std::set<SimMonitor*> monitors;
    std::set<SimDevice*> devices;
    std::set<udev*> fakeContexts;
};

Registry& registry()
{
    static Registry* const r = new Registry;  // never destroyed: late calls at exit
    return *r;
}

SimMonitor* simMonitor(udev_monitor* m)
{
    auto* candidate = reinterpret_cast<SimMonitor*>(m);
    std::lock_guard<std::mutex> lock(registry().mutex);
    return registry().monitors.count(candidate) ? candidate : nullptr;
}

SimDevice* simDevice(udev_device* d)
{
    auto* candidate = reinterpret_cast<SimDevice*>(d);
    std::lock_guard<std::mutex> lock(registry().mutex);
    return registry().devices.count(candidate) ? candidate : nullptr;
}

const char* text(const std::string& s)
{
    return s.empty() ? nullptr : s.c_str();
}

} // namespace

namespace q3sim::detail {

void udevAnnounce(const char* action, int node)
{
    Record record{};
    std::strncpy(record.action, action, sizeof record.action - 1);
    record.node = node;
    std::lock_guard<std::mutex> lock(registry().mutex);
    for (SimMonitor* m : registry().monitors) {
        if (!m->receiving || (!m->subsystems.empty() && !m->subsystems.count("hidraw")))
            continue;
        // Non-blocking: a monitor nobody reads loses notifications, as a
        // full netlink buffer does.
        ssize_t ignored = ::write(m->writeFd, &record, sizeof record);
        (void)ignored;
    }
}

} // namespace q3sim::detail

// ------------------------------------------------------------------ contexts

Q3SIM_C_EXPORT udev* udev_new(void)
{
    if (auto real = realFunction<udev* (*)()>("udev_new"))
        if (udev* context = real())
            return context;
    auto* fake = reinterpret_cast<udev*>(new char[1]);
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().fakeContexts.insert(fake);
    return fake;
}

Q3SIM_C_EXPORT udev* udev_unref(udev* context)
{
    if (!context)
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        if (registry().fakeContexts.count(context))
            return nullptr;  // kept: monitors and devices may still name it
    }
    if (auto real = realFunction<udev* (*)(udev*)>("udev_unref"))
        return real(context);
    return nullptr;
}

// ------------------------------------------------------------------ monitors

Q3SIM_C_EXPORT udev_monitor* udev_monitor_new_from_netlink(udev* context, const char* name)
{
    if (!name || (std::strcmp(name, "udev") != 0 && std::strcmp(name, "kernel") != 0)) {
        errno = EINVAL;
        return nullptr;
    }
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return nullptr;
    auto* m = new SimMonitor;
    m->context = context;
    m->readFd = fds[0];
    m->writeFd = fds[1];
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().monitors.insert(m);
    return reinterpret_cast<udev_monitor*>(m);
}

Q3SIM_C_EXPORT udev_monitor* udev_monitor_ref(udev_monitor* monitor)
{
    if (SimMonitor* m = simMonitor(monitor)) {
        std::lock_guard<std::mutex> lock(registry().mutex);
        ++m->refs;
    }
    return monitor;
}

Q3SIM_C_EXPORT udev_monitor* udev_monitor_unref(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    if (!m)
        return nullptr;
    std::lock_guard<std::mutex> lock(registry().mutex);
    if (--m->refs > 0)
        return nullptr;
    registry().monitors.erase(m);
    ::close(m->readFd);
    ::close(m->writeFd);
    delete m;
    return nullptr;
}

Q3SIM_C_EXPORT udev* udev_monitor_get_udev(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    return m ? m->context : nullptr;
}

Q3SIM_C_EXPORT int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor* monitor,
                                                                   const char* subsystem,
                                                                   const char* /*devtype*/)
{
    SimMonitor* m = simMonitor(monitor);
    if (!m || !subsystem)
        return -EINVAL;
    std::lock_guard<std::mutex> lock(registry().mutex);
    m->subsystems.insert(subsystem);
    return 0;
}

Q3SIM_C_EXPORT int udev_monitor_filter_update(udev_monitor* monitor)
{
    return simMonitor(monitor) ? 0 : -EINVAL;
}

Q3SIM_C_EXPORT int udev_monitor_filter_remove(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    if (!m)
        return -EINVAL;
    std::lock_guard<std::mutex> lock(registry().mutex);
    m->subsystems.clear();
    return 0;
}

Q3SIM_C_EXPORT int udev_monitor_enable_receiving(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    if (!m)
        return -EINVAL;
    std::lock_guard<std::mutex> lock(registry().mutex);
    m->receiving = true;
    return 0;
}

Q3SIM_C_EXPORT int udev_monitor_get_fd(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    return m ? m->readFd : -EINVAL;
}

Q3SIM_C_EXPORT udev_device* udev_monitor_receive_device(udev_monitor* monitor)
{
    SimMonitor* m = simMonitor(monitor);
    if (!m) {
        errno = EINVAL;
        return nullptr;
    }
    Record record{};
    if (::read(m->readFd, &record, sizeof record) != ssize_t(sizeof record))
        return nullptr;  // errno EAGAIN: nothing pending
    auto* d = new SimDevice;
    d->context = m->context;
    d->action = record.action;
    d->sysname = "hidraw" + std::to_string(record.node);
    d->syspath = "/sys/devices/virtual/q3sim/hidraw/" + d->sysname;
    d->devnode = "/dev/" + d->sysname;
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().devices.insert(d);
    return reinterpret_cast<udev_device*>(d);
}

// ------------------------------------------------------------------- devices
// Devices of the real library are handed on to it.

#define Q3SIM_FORWARD(ret, name, dev)                                                   \
    if (auto real = realFunction<ret (*)(udev_device*)>(#name))                         \
        return real(dev);                                                               \
    return nullptr;

Q3SIM_C_EXPORT udev_device* udev_device_ref(udev_device* device)
{
    if (SimDevice* d = simDevice(device)) {
        std::lock_guard<std::mutex> lock(registry().mutex);
        ++d->refs;
        return device;
    }
    Q3SIM_FORWARD(udev_device*, udev_device_ref, device)
}

Q3SIM_C_EXPORT udev_device* udev_device_unref(udev_device* device)
{
    if (!device)
        return nullptr;
    if (SimDevice* d = simDevice(device)) {
        std::lock_guard<std::mutex> lock(registry().mutex);
        if (--d->refs == 0) {
            registry().devices.erase(d);
            delete d;
        }
        return nullptr;
    }
    Q3SIM_FORWARD(udev_device*, udev_device_unref, device)
}

Q3SIM_C_EXPORT udev* udev_device_get_udev(udev_device* device)
{
    if (SimDevice* d = simDevice(device))
        return d->context;
    Q3SIM_FORWARD(udev*, udev_device_get_udev, device)
}

#define Q3SIM_DEVICE_TEXT(name, field)                                                  \
    Q3SIM_C_EXPORT const char* name(udev_device* device)                               \
    {                                                                                   \
        if (SimDevice* d = simDevice(device))                                           \
            return text(d->field);                                                      \
        Q3SIM_FORWARD(const char*, name, device)                                        \
    }

Q3SIM_DEVICE_TEXT(udev_device_get_action, action)
Q3SIM_DEVICE_TEXT(udev_device_get_subsystem, subsystem)
Q3SIM_DEVICE_TEXT(udev_device_get_sysname, sysname)
Q3SIM_DEVICE_TEXT(udev_device_get_syspath, syspath)
Q3SIM_DEVICE_TEXT(udev_device_get_devpath, syspath)
Q3SIM_DEVICE_TEXT(udev_device_get_devnode, devnode)

Q3SIM_C_EXPORT const char* udev_device_get_devtype(udev_device* device)
{
    if (simDevice(device))
        return nullptr;
    Q3SIM_FORWARD(const char*, udev_device_get_devtype, device)
}

Q3SIM_C_EXPORT const char* udev_device_get_property_value(udev_device* device, const char* key)
{
    if (SimDevice* d = simDevice(device)) {
        if (!key)
            return nullptr;
        if (!std::strcmp(key, "ACTION"))
            return text(d->action);
        if (!std::strcmp(key, "SUBSYSTEM"))
            return text(d->subsystem);
        if (!std::strcmp(key, "DEVNAME"))
            return text(d->devnode);
        return nullptr;
    }
    if (auto real = realFunction<const char* (*)(udev_device*, const char*)>("udev_device_get_property_value"))
        return real(device, key);
    return nullptr;
}

Q3SIM_C_EXPORT udev_device* udev_device_get_parent(udev_device* device)
{
    if (simDevice(device))
        return nullptr;
    Q3SIM_FORWARD(udev_device*, udev_device_get_parent, device)
}

Q3SIM_C_EXPORT udev_device* udev_device_get_parent_with_subsystem_devtype(udev_device* device,
                                                                          const char* subsystem,
                                                                          const char* devtype)
{
    if (simDevice(device))
        return nullptr;
    using F = udev_device* (*)(udev_device*, const char*, const char*);
    if (auto real = realFunction<F>("udev_device_get_parent_with_subsystem_devtype"))
        return real(device, subsystem, devtype);
    return nullptr;
}
