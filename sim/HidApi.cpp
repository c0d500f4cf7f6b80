// hidapi's C API over the simulated keyboard (see Model.h).
//
// Every entry point takes the model lock for its whole duration (blocked
// reads release it while waiting), records one trace entry, and keeps
// hid_error() up to date. Error strings are literals, so the pointer
// hid_error() returns stays valid forever.

// The library is built with hidden visibility; exactly the functions
// declared by hidapi.h (and the q3sim control API) are exported.
#pragma GCC visibility push(default)
#include <hidapi.h>
#pragma GCC visibility pop

#include "Model.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>

using q3sim::Interface;
using q3sim::detail::Endpoint;
using q3sim::detail::EndpointPtr;
using q3sim::detail::Model;

struct hid_device_ {
    EndpointPtr endpoint;
    unsigned generation = 0;      // endpoint generation at open time
    bool nonblocking = false;
    bool closing = false;         // hid_close is waiting for blocked reads to leave
    int activeReads = 0;
    const wchar_t* lastError = nullptr;
    hid_device_info* info = nullptr;  // owned, returned by hid_get_device_info
};

namespace {

const wchar_t* const ErrorDisconnected = L"The device has been disconnected";
const wchar_t* const ErrorInjected = L"Simulated failure";
const wchar_t* const ErrorInvalidHandle = L"Invalid device handle";
const wchar_t* const ErrorNoBuffer = L"Zero buffer/length";
const wchar_t* const ErrorStalled = L"The device did not accept the request";

// Last failure not tied to a handle (hid_enumerate, hid_open*, hid_init);
// guarded by the model lock.
const wchar_t* globalError = nullptr;

std::string narrow(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += (*text >= 0x20 && *text < 0x7f) ? static_cast<char>(*text) : '?';
    return out;
}

std::string hex4(unsigned short value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

hid_device_info* makeInfo(const Endpoint& endpoint)
{
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    info->path = strdup(endpoint.path.c_str());
    info->vendor_id = endpoint.vendorId;
    info->product_id = endpoint.productId;
    info->serial_number = wcsdup(endpoint.serial.c_str());
    info->release_number = endpoint.releaseNumber;
    info->manufacturer_string = wcsdup(endpoint.manufacturer.c_str());
    info->product_string = wcsdup(endpoint.product.c_str());
    info->usage_page = endpoint.usagePage;
    info->usage = endpoint.usage;
    info->interface_number = endpoint.interfaceNumber;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void freeInfo(hid_device_info* info)
{
    while (info) {
        hid_device_info* next = info->next;
        std::free(info->path);
        std::free(info->serial_number);
        std::free(info->manufacturer_string);
        std::free(info->product_string);
        std::free(info);
        info = next;
    }
}

// The model, for an entry point about to take its lock.
Model& modelForCall()
{
    q3sim::detail::startControlSocketOnce();
    return Model::instance();
}

// One traced hidapi call, holding the model lock.
class Call {
public:
    explicit Call(const char* name)
        : model(modelForCall())
        , lock(model.mutex)
    {
        entry.call = name;
        entry.result = 0;
    }

    void arg(const std::string& text)
    {
        if (!entry.args.empty())
            entry.args += ' ';
        entry.args += text;
    }

    void data(const unsigned char* bytes, std::size_t length)
    {
        if (bytes)
            entry.data.assign(bytes, bytes + length);
    }

    int finish(int result)
    {
        entry.result = result;
        model.record(std::move(entry));
        return result;
    }

    // Failure not tied to a handle.
    int failGlobal(const wchar_t* error)
    {
        globalError = error;
        return finish(-1);
    }

    Model& model;
    std::unique_lock<std::mutex> lock;
    q3sim::TraceEntry entry;
};

// A traced call on a handle.
class DeviceCall : public Call {
public:
    DeviceCall(const char* name, hid_device* handle)
        : Call(name)
        , dev(handle)
        , known(handle && model.handles.count(handle))
    {
        if (known) {
            entry.path = dev->endpoint->path;
            dev->lastError = nullptr;
        }
    }

    // The handle can still reach its device (not unplugged, hidden, reset or closing).
    bool usable() const
    {
        return !dev->closing && model.present(*dev->endpoint)
            && dev->generation == dev->endpoint->generation;
    }

    // Whether the call may go ahead; sets the error when it may not.
    bool ready()
    {
        if (!known) {
            globalError = ErrorInvalidHandle;
            return false;
        }
        if (!usable()) {
            dev->lastError = ErrorDisconnected;
            return false;
        }
        if (model.consumeCallFault(entry.call)) {
            arg("(simulated failure)");
            dev->lastError = ErrorInjected;
            return false;
        }
        return true;
    }

    int fail(const wchar_t* error)
    {
        if (known)
            dev->lastError = error;
        else
            globalError = error;
        return finish(-1);
    }

    bool isKeyboard() const { return dev->endpoint->keyboard; }
    Interface via() const { return dev->endpoint->which; }

    // After the firmware handled a report of this call: its remark goes into
    // the trace, and a report that crossed the command interface counts
    // towards an armed unplug.
    int firmwareDone(int result)
    {
        const std::string note = model.firmware->takeNote();
        if (!note.empty())
            arg("(keyboard: " + note + ")");
        if (result >= 0 && via() == q3sim::CommandInterface)
            model.countReport();
        return result;
    }

    hid_device* dev;
    bool known;
};

// hidapi's message for an open refused by the operating system, one per
// path; kept for the life of the process so hid_error()'s pointer stays valid.
const wchar_t* permissionDeniedError(const std::string& path)
{
    static std::map<std::string, std::wstring> messages;
    auto [it, inserted] = messages.try_emplace(path);
    if (inserted) {
        const std::string text = "Failed to open a device with path '" + path + "': Permission denied";
        it->second.assign(text.begin(), text.end());
    }
    return it->second.c_str();
}

hid_device* openEndpoint(Call& call, const EndpointPtr& endpoint)
{
    if (!endpoint) {
        call.failGlobal(L"No such device");
        return nullptr;
    }
    call.entry.path = endpoint->path;
    const bool isKeyboard = endpoint == call.model.keyboard[0] || endpoint == call.model.keyboard[1];
    if (isKeyboard && call.model.openDenied) {
        call.arg("(permission denied)");
        call.failGlobal(permissionDeniedError(endpoint->path));
        errno = EACCES;
        return nullptr;
    }
    if (call.model.consumeOpenFault() || call.model.consumeCallFault(call.entry.call)) {
        call.arg("(simulated failure)");
        call.failGlobal(L"Failed to open the device (simulated failure)");
        return nullptr;
    }
    auto* dev = new hid_device_;
    dev->endpoint = endpoint;
    dev->generation = endpoint->generation;
    dev->info = makeInfo(*endpoint);
    call.model.handles.insert(dev);
    globalError = nullptr;
    call.finish(0);
    return dev;
}

int readReport(DeviceCall& call, unsigned char* data, std::size_t length, int milliseconds)
{
    call.arg("length=" + std::to_string(length));
    call.arg("timeout=" + std::to_string(milliseconds));
    if (!call.ready())
        return call.finish(-1);
    if (!data && length)
        return call.fail(ErrorNoBuffer);

    Model& model = call.model;
    hid_device* dev = call.dev;
    Endpoint& endpoint = *dev->endpoint;
    auto arrivedOrGone = [&] { return !call.usable() || !endpoint.inputReports.empty(); };
    ++dev->activeReads;
    if (milliseconds < 0)
        model.changed.wait(call.lock, arrivedOrGone);
    else if (milliseconds > 0)
        model.changed.wait_for(call.lock, std::chrono::milliseconds(milliseconds), arrivedOrGone);
    --dev->activeReads;
    if (dev->closing) {
        model.changed.notify_all();
        return call.fail(L"The device was closed while reading");
    }
    if (!call.usable())
        return call.fail(ErrorDisconnected);
    if (endpoint.inputReports.empty())
        return call.finish(0);

    std::vector<unsigned char> report = std::move(endpoint.inputReports.front());
    endpoint.inputReports.pop_front();
    const std::size_t copied = std::min(length, report.size());
    if (copied)
        std::memcpy(data, report.data(), copied);
    call.data(data, copied);
    if (call.isKeyboard()) {
        model.firmware->inputReportRead(call.via());
        call.firmwareDone(0);
    }
    return call.finish(static_cast<int>(copied));
}

int getString(const char* name, hid_device* dev, wchar_t* string, std::size_t maxlen,
              std::wstring Endpoint::*field)
{
    DeviceCall call(name, dev);
    call.arg("maxlen=" + std::to_string(maxlen));
    if (!call.ready())
        return call.finish(-1);
    if (!string || !maxlen)
        return call.fail(ErrorNoBuffer);
    std::wcsncpy(string, ((*dev->endpoint).*field).c_str(), maxlen);
    string[maxlen - 1] = L'\0';
    return call.finish(0);
}

} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    Call call("hid_init");
    if (call.model.consumeCallFault(call.entry.call))
        return call.failGlobal(ErrorInjected);
    globalError = nullptr;
    return call.finish(0);
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    Call call("hid_exit");
    if (call.model.consumeCallFault(call.entry.call))
        return call.failGlobal(ErrorInjected);
    globalError = nullptr;
    return call.finish(0);
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    Call call("hid_enumerate");
    call.arg("vid=" + hex4(vendor_id));
    call.arg("pid=" + hex4(product_id));
    if (call.model.consumeCallFault(call.entry.call)) {
        call.failGlobal(ErrorInjected);
        return nullptr;
    }
    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;
    int count = 0;
    std::string listed;
    for (const EndpointPtr& endpoint : call.model.enumerated()) {
        if ((vendor_id && endpoint->vendorId != vendor_id)
            || (product_id && endpoint->productId != product_id))
            continue;
        *tail = makeInfo(*endpoint);
        tail = &(*tail)->next;
        ++count;
        listed += (listed.empty() ? "" : ",") + endpoint->path;
    }
    if (count)
        call.arg("devices=" + listed);
    if (count == 0)
        globalError = (vendor_id || product_id)
            ? L"No HID devices with requested VID/PID found in the system."
            : L"No HID devices found in the system.";
    else
        globalError = nullptr;
    call.finish(count);
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs)
{
    Call call("hid_free_enumeration");
    freeInfo(devs);
    call.finish(0);
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id,
                                                unsigned short product_id,
                                                const wchar_t* serial_number)
{
    Call call("hid_open");
    call.arg("vid=" + hex4(vendor_id));
    call.arg("pid=" + hex4(product_id));
    if (serial_number)
        call.arg("serial=\"" + narrow(serial_number) + "\"");
    EndpointPtr match;
    for (const EndpointPtr& endpoint : call.model.enumerated()) {
        if ((vendor_id && endpoint->vendorId != vendor_id)
            || (product_id && endpoint->productId != product_id)
            || (serial_number && endpoint->serial != serial_number))
            continue;
        match = endpoint;
        break;
    }
    return openEndpoint(call, match);
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path)
{
    Call call("hid_open_path");
    if (!path) {
        call.failGlobal(L"No such device");
        return nullptr;
    }
    call.entry.path = path;
    return openEndpoint(call, call.model.findPresent(path));
}

// A transfer from the host to the device: extras swallow it, the keyboard's
// firmware handles it.
static int hostToDevice(DeviceCall& call, const unsigned char* data, size_t length,
                 int (q3sim::Firmware::*handle)(Interface, const unsigned char*, std::size_t))
{
    call.data(data, length);
    if (!call.ready())
        return call.finish(-1);
    if (!data || !length)
        return call.fail(ErrorNoBuffer);
    if (!call.isKeyboard())
        return call.finish(static_cast<int>(length));
    const int result = call.firmwareDone((call.model.firmware.get()->*handle)(call.via(), data, length));
    return result < 0 ? call.fail(ErrorStalled) : call.finish(result);
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data,
                                          size_t length)
{
    DeviceCall call("hid_write", dev);
    return hostToDevice(call, data, length, &q3sim::Firmware::handleOutputReport);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data,
                                                 size_t length, int milliseconds)
{
    DeviceCall call("hid_read_timeout", dev);
    return readReport(call, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    DeviceCall call("hid_read", dev);
    const int milliseconds = call.known && dev->nonblocking ? 0 : -1;
    return readReport(call, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int nonblock)
{
    DeviceCall call("hid_set_nonblocking", dev);
    call.arg("nonblock=" + std::to_string(nonblock));
    if (!call.ready())
        return call.finish(-1);
    dev->nonblocking = nonblock != 0;
    return call.finish(0);
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev,
                                                        const unsigned char* data, size_t length)
{
    DeviceCall call("hid_send_feature_report", dev);
    return hostToDevice(call, data, length, &q3sim::Firmware::handleFeatureRequest);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char* data,
                                                       size_t length)
{
    DeviceCall call("hid_get_feature_report", dev);
    call.arg("length=" + std::to_string(length));
    if (data && length)
        call.arg("report_id=" + std::to_string(data[0]));
    if (!call.ready())
        return call.finish(-1);
    if (!data || !length)
        return call.fail(ErrorNoBuffer);
    if (!call.isKeyboard())
        return call.fail(ErrorStalled);
    const int result = call.firmwareDone(call.model.firmware->answerFeatureRequest(call.via(), data, length));
    if (result < 0)
        return call.fail(ErrorStalled);
    call.data(data, static_cast<std::size_t>(result));
    return call.finish(result);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device* dev, unsigned char* data,
                                                     size_t length)
{
    DeviceCall call("hid_get_input_report", dev);
    call.arg("length=" + std::to_string(length));
    if (data && length)
        call.arg("report_id=" + std::to_string(data[0]));
    if (!call.ready())
        return call.finish(-1);
    if (!data || !length)
        return call.fail(ErrorNoBuffer);
    if (!call.isKeyboard())
        return call.fail(ErrorStalled);
    const int result = call.model.firmware->answerInputReportRequest(call.via(), data, length);
    if (result < 0)
        return call.fail(ErrorStalled);
    call.data(data, static_cast<std::size_t>(result));
    return call.finish(result);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev)
{
    Call call("hid_close");
    if (!dev) {
        call.finish(0);
        return;
    }
    if (!call.model.handles.count(dev)) {
        call.arg("(unknown handle)");
        call.finish(-1);
        return;
    }
    call.entry.path = dev->endpoint->path;
    // Readers blocked on this handle see `closing` and return -1 before it is freed.
    dev->closing = true;
    call.model.changed.notify_all();
    call.model.changed.wait(call.lock, [dev] { return dev->activeReads == 0; });
    call.model.handles.erase(dev);
    freeInfo(dev->info);
    delete dev;
    call.finish(0);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device* dev, wchar_t* string,
                                                    size_t maxlen)
{
    return getString("hid_get_manufacturer_string", dev, string, maxlen, &Endpoint::manufacturer);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen)
{
    return getString("hid_get_product_string", dev, string, maxlen, &Endpoint::product);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device* dev, wchar_t* string,
                                                     size_t maxlen)
{
    return getString("hid_get_serial_number_string", dev, string, maxlen, &Endpoint::serial);
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device* dev)
{
    DeviceCall call("hid_get_device_info", dev);
    if (!call.ready()) {
        call.finish(-1);
        return nullptr;
    }
    call.finish(0);
    return dev->info;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device* dev, int string_index,
                                               wchar_t* string, size_t maxlen)
{
    (void)string;
    DeviceCall call("hid_get_indexed_string", dev);
    call.arg("index=" + std::to_string(string_index));
    call.arg("maxlen=" + std::to_string(maxlen));
    if (!call.ready())
        return call.finish(-1);
    return call.fail(L"hid_get_indexed_string: not supported by hidraw");
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev)
{
    Call call("hid_error");
    const wchar_t* error = nullptr;
    if (!dev) {
        error = globalError;
    } else if (call.model.handles.count(dev)) {
        call.entry.path = dev->endpoint->path;
        error = dev->lastError;
    } else {
        error = ErrorInvalidHandle;
    }
    if (!error)
        error = L"Success";
    call.arg("\"" + narrow(error) + "\"");
    call.finish(0);
    return error;
}

HID_API_EXPORT const struct hid_api_version* HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    Call call("hid_version");
    call.finish(0);
    return &version;
}

HID_API_EXPORT const char* HID_API_CALL hid_version_str(void)
{
    Call call("hid_version_str");
    call.finish(0);
    return HID_API_VERSION_STR;
}

} // extern "C"

namespace q3sim {

// Lives here because only this file knows what a handle holds.
int openHandleCount(const std::string& path)
{
    Model& model = Model::instance();
    std::lock_guard<std::mutex> lock(model.mutex);
    return static_cast<int>(std::count_if(model.handles.begin(), model.handles.end(),
                                          [&](hid_device* dev) { return dev->endpoint->path == path; }));
}

} // namespace q3sim
