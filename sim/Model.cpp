#include "Model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace q3sim::detail {

namespace {

constexpr std::size_t MaxTraceEntries = 100000;

EndpointPtr makeKeyboardEndpoint(Interface which)
{
    auto endpoint = std::make_shared<Endpoint>();
    const bool command = which == CommandInterface;
    endpoint->path = command ? "q3sim:04d9:a1cd:ff01" : "q3sim:04d9:a1cd:ff02";
    endpoint->vendorId = KeyboardVendorId;
    endpoint->productId = KeyboardProductId;
    endpoint->usagePage = command ? 0xff01 : 0xff02;
    endpoint->usage = 1;
    endpoint->interfaceNumber = command ? 1 : 2;
    endpoint->manufacturer = L"Q3 simulation";
    endpoint->product = L"Q3-KEYBOARD";
    endpoint->keyboard = true;
    endpoint->which = which;
    endpoint->node = command ? 0 : 1;
    return endpoint;
}

} // namespace

Model& Model::instance()
{
    static Model* const model = new Model;
    return *model;
}

Model::Model()
{
    keyboard[CommandInterface] = makeKeyboardEndpoint(CommandInterface);
    keyboard[EventInterface] = makeKeyboardEndpoint(EventInterface);
    makeFirmware();
    configureFromEnvironment();
}

void Model::makeFirmware()
{
    Firmware::Host host;
    host.queueInput = [this](Interface which, std::vector<unsigned char> bytes) {
        queueInput(which, std::move(bytes));
    };
    host.discardInput = [this](Interface which) { return discardInput(which); };
    firmware = std::make_unique<Firmware>(std::move(host));
}

bool Model::present(const Endpoint& endpoint) const
{
    if (endpoint.keyboard)
        return plugged && shown[endpoint.which];
    return !endpoint.removed;
}

std::vector<EndpointPtr> Model::enumerated() const
{
    std::vector<EndpointPtr> list;
    for (const EndpointPtr& endpoint : keyboard)
        if (present(*endpoint))
            list.push_back(endpoint);
    list.insert(list.end(), extras.begin(), extras.end());
    return list;
}

EndpointPtr Model::findPresent(const std::string& path) const
{
    for (const EndpointPtr& endpoint : enumerated())
        if (endpoint->path == path)
            return endpoint;
    return nullptr;
}

void Model::disappear(Endpoint& endpoint)
{
    ++endpoint.generation;
    endpoint.inputReports.clear();
    if (endpoint.keyboard)
        firmware->interfaceGone(endpoint.which);
}

void Model::announceChanges(const std::vector<EndpointPtr>& before) const
{
    const std::vector<EndpointPtr> after = enumerated();
    const auto contains = [](const std::vector<EndpointPtr>& list, const EndpointPtr& e) {
        return std::find(list.begin(), list.end(), e) != list.end();
    };
    for (const EndpointPtr& e : before)
        if (!contains(after, e))
            udevAnnounce("remove", e->node);
    for (const EndpointPtr& e : after)
        if (!contains(before, e))
            udevAnnounce("add", e->node);
}

void Model::setPlugged(bool on)
{
    const std::vector<EndpointPtr> before = enumerated();
    if (plugged && !on) {
        for (const EndpointPtr& endpoint : keyboard)
            if (present(*endpoint))
                disappear(*endpoint);
        firmware->unplugged();
    }
    plugged = on;
    changed.notify_all();
    announceChanges(before);
}

void Model::setInterfaces(bool command, bool event)
{
    const std::vector<EndpointPtr> before = enumerated();
    const bool wanted[2] = {command, event};
    for (int i = 0; i < 2; ++i) {
        if (present(*keyboard[i]) && !wanted[i])
            disappear(*keyboard[i]);
        shown[i] = wanted[i];
    }
    changed.notify_all();
    announceChanges(before);
}

void Model::resetAll()
{
    const std::vector<EndpointPtr> before = enumerated();
    for (const EndpointPtr& endpoint : keyboard)
        disappear(*endpoint);
    for (const EndpointPtr& endpoint : extras) {
        endpoint->removed = true;
        disappear(*endpoint);
    }
    extras.clear();
    plugged = true;
    shown[0] = shown[1] = true;
    openFaults = 0;
    openDenied = false;
    callFaults.clear();
    unplugAfter = 0;
    traceEntries.clear();
    makeFirmware();
    changed.notify_all();
    announceChanges(before);
}

void Model::queueInput(Interface which, std::vector<unsigned char> bytes)
{
    Endpoint& endpoint = *keyboard[which];
    if (!present(endpoint))
        return;
    endpoint.inputReports.push_back(std::move(bytes));
    changed.notify_all();
}

std::size_t Model::discardInput(Interface which)
{
    std::deque<std::vector<unsigned char>>& queue = keyboard[which]->inputReports;
    const std::size_t count = queue.size();
    queue.clear();
    return count;
}

void Model::countReport()
{
    if (unplugAfter > 0 && --unplugAfter == 0)
        setPlugged(false);
}

bool Model::consumeOpenFault()
{
    if (openFaults == 0)
        return false;
    if (openFaults > 0)
        --openFaults;
    return true;
}

bool Model::consumeCallFault(const std::string& call)
{
    auto it = callFaults.find(call);
    if (it == callFaults.end())
        return false;
    if (it->second > 0 && --it->second == 0)
        callFaults.erase(it);
    return true;
}

void Model::record(TraceEntry entry)
{
    if (traceFile) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime).count();
        std::fprintf(traceFile, "[%10.3f] %s\n", seconds, toString(entry).c_str());
        std::fflush(traceFile);
    }
    if (traceEntries.size() >= MaxTraceEntries)
        traceEntries.pop_front();
    traceEntries.push_back(std::move(entry));
}

bool isFaultableCall(const std::string& call)
{
    static const char* const names[] = {
        "hid_init", "hid_exit", "hid_enumerate", "hid_open", "hid_open_path",
        "hid_write", "hid_read", "hid_read_timeout", "hid_set_nonblocking",
        "hid_send_feature_report", "hid_get_feature_report", "hid_get_input_report",
        "hid_get_manufacturer_string", "hid_get_product_string",
        "hid_get_serial_number_string", "hid_get_device_info", "hid_get_indexed_string",
    };
    return std::find(std::begin(names), std::end(names), call) != std::end(names);
}

std::string hex(const unsigned char* data, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        if (i)
            text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0xf];
    }
    return text;
}

} // namespace q3sim::detail

namespace q3sim {

using detail::Model;

namespace {

std::unique_lock<std::mutex> locked(Model& model)
{
    return std::unique_lock<std::mutex>(model.mutex);
}

} // namespace

void reset()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.resetAll();
}

void setPlugged(bool plugged)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.setPlugged(plugged);
}

bool isPlugged()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.plugged;
}

void setInterfaces(bool command, bool event)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.setInterfaces(command, event);
}

bool isInterfaceShown(Interface which)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.shown[which];
}

std::string interfacePath(Interface which)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.keyboard[which]->path;
}

std::string addExtraDevice(unsigned short vid, unsigned short pid, unsigned short usagePage,
                           unsigned short usage)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    auto endpoint = std::make_shared<detail::Endpoint>();
    char path[64];
    std::snprintf(path, sizeof path, "q3sim:extra%d:%04x:%04x:%04x", ++model.extrasCreated, vid,
                  pid, usagePage);
    endpoint->path = path;
    endpoint->vendorId = vid;
    endpoint->productId = pid;
    endpoint->usagePage = usagePage;
    endpoint->usage = usage;
    endpoint->manufacturer = L"Q3 simulation";
    endpoint->product = L"Extra device";
    endpoint->node = 1 + model.extrasCreated;
    const std::vector<detail::EndpointPtr> before = model.enumerated();
    model.extras.push_back(endpoint);
    model.announceChanges(before);
    return endpoint->path;
}

void failOpens(int count)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.openFaults = count;
}

void denyOpens(bool denied)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.openDenied = denied;
}

void failCall(const std::string& call, int count)
{
    if (!detail::isFaultableCall(call))
        throw std::invalid_argument("q3sim::failCall: no failure can be injected into '" + call + "'");
    Model& model = Model::instance();
    auto lock = locked(model);
    if (count == 0)
        model.callFaults.erase(call);
    else
        model.callFaults[call] = count;
}

void pushInputReport(Interface which, const std::vector<unsigned char>& bytes)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.queueInput(which, bytes);
}

std::size_t queuedInputReports(Interface which)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.keyboard[which]->inputReports.size();
}

std::vector<TraceEntry> trace()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return {model.traceEntries.begin(), model.traceEntries.end()};
}

void clearTrace()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    model.traceEntries.clear();
}

int countCalls(const std::string& call)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return static_cast<int>(std::count_if(model.traceEntries.begin(), model.traceEntries.end(),
                                          [&](const TraceEntry& e) { return e.call == call; }));
}

std::string toString(const TraceEntry& entry)
{
    std::string line = entry.call;
    line += ' ';
    line += entry.path.empty() ? "-" : entry.path;
    if (!entry.args.empty()) {
        line += ' ';
        line += entry.args;
    }
    if (!entry.data.empty()) {
        line += " [";
        line += detail::hex(entry.data.data(), entry.data.size());
        line += ']';
    }
    line += " -> ";
    line += std::to_string(entry.result);
    return line;
}

std::vector<unsigned char> lastFeatureRequest()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.firmware->lastRequest();
}

std::vector<std::vector<unsigned char>> outputReports()
{
    Model& model = Model::instance();
    auto lock = locked(model);
    return model.firmware->outputReports();
}

void withFirmware(const std::function<void(Firmware&)>& fn)
{
    Model& model = Model::instance();
    auto lock = locked(model);
    fn(*model.firmware);
}

} // namespace q3sim
