#include "platform/process.h"

#include <climits>
#include <unistd.h>

namespace kx {

std::string AppName() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return "KXWizard";
    }
    const std::string full(path, static_cast<size_t>(n));
    const std::string file = full.substr(full.find_last_of('/') + 1);
    const size_t dot = file.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

} // namespace kx
