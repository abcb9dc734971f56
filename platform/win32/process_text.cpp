#include "platform/win32/text.h"

#include "platform/win32/win32.h"

namespace kx {

std::wstring WidenText(const std::string& utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    return out;
}

std::string NarrowText(const std::wstring& utf16) {
    if (utf16.empty()) {
        return std::string();
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), &out[0], n,
                        nullptr, nullptr);
    return out;
}

} // namespace kx
