#include "platform/process.h"

#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace kx {

std::string AppName() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return "KXWizard";
    }
    std::wstring file(path, n);
    file = file.substr(file.find_last_of(L"\\/") + 1);
    const size_t dot = file.find_last_of(L'.');
    if (dot != std::wstring::npos && dot != 0) {
        file.resize(dot);
    }
    return NarrowText(file);
}

} // namespace kx
