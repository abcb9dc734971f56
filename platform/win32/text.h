#pragma once
// The layer speaks UTF-8; Win32's wide-character calls speak UTF-16.
#include <string>

namespace kx {
std::wstring WidenText(const std::string& utf8);
std::string NarrowText(const std::wstring& utf16);
} // namespace kx
