#include "platform/posix/serial_com_names.h"

#include <climits>
#include <map>
#include <mutex>

namespace kx {
namespace {

struct Redirections {
    std::mutex mutex;
    std::map<int, std::string> paths;
    bool onlyMapped = false;
};

Redirections& TestRedirections() {
    static Redirections redirections;
    return redirections;
}

// The COM number in "COMn" or "\\.\COMn"; 0 when the name has another form.
int ComNumber(const std::string& name) {
    static const std::string plain = "COM";
    static const std::string device = "\\\\.\\COM";
    size_t at = 0;
    if (name.compare(0, device.size(), device) == 0) {
        at = device.size();
    } else if (name.compare(0, plain.size(), plain) == 0) {
        at = plain.size();
    } else {
        return 0;
    }
    if (at == name.size()) {
        return 0;
    }
    long long number = 0;
    for (; at < name.size(); ++at) {
        const char c = name[at];
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
        if (number > INT_MAX) {
            return 0;
        }
    }
    return static_cast<int>(number);
}

std::string DevicePathByRule(int com) {
    if (com <= 32) {
        return "/dev/ttyUSB" + std::to_string(com - 1);
    }
    if (com <= 64) {
        return "/dev/ttyACM" + std::to_string(com - 33);
    }
    return "/dev/ttyS" + std::to_string(com - 65);
}

} // namespace

std::string ComPortDevicePath(const std::string& name) {
    const int com = ComNumber(name);
    if (com < 1) {
        return {};
    }
    Redirections& redirections = TestRedirections();
    std::lock_guard<std::mutex> hold(redirections.mutex);
    const auto mapped = redirections.paths.find(com);
    if (mapped != redirections.paths.end()) {
        return mapped->second;
    }
    return redirections.onlyMapped ? std::string() : DevicePathByRule(com);
}

void MapComPortForTesting(int com, std::string path) {
    Redirections& redirections = TestRedirections();
    std::lock_guard<std::mutex> hold(redirections.mutex);
    if (path.empty()) {
        redirections.paths.erase(com);
    } else {
        redirections.paths[com] = std::move(path);
    }
}

void UseOnlyMappedComPortsForTesting(bool only) {
    Redirections& redirections = TestRedirections();
    std::lock_guard<std::mutex> hold(redirections.mutex);
    redirections.onlyMapped = only;
}

} // namespace kx
