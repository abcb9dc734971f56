// Drives KXWizard.exe from outside, as a user would, for the end-to-end tests. Runs under
// Wine beside the program and reads one command per line on stdin; answers each with one
// line on stdout: "ok ..." or "err ...". Texts are UTF-8 with \\, \r, \n and \t escaped.
//
//   find MS                 wait for the wizard window ("KX wizard")
//   text ID | settext ID T  text of a control (0: the window)
//   visible ID              1 when the control has WS_VISIBLE
//   rect ID | client        window rectangle of a control (0: the window) / client area,
//                           in screen coordinates: left top right bottom
//   click ID                post BN_CLICKED of a control to the wizard
//   key VK                  post a key press to the wizard's focused control
//   syscommand N            post WM_SYSCOMMAND N to the wizard
//   popup MS                wait for a dialog of the program other than the wizard (a
//                           message box, the About box): caption, texts and buttons
//   dismiss                 post IDOK to that dialog
//   pixel X Y               colour of the screen at (X, Y): r g b
//   alive                   1 while the wizard window exists
//   resources EXE           the program's resources, one "res" line each, then "ok"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

HWND g_wizard = nullptr;

std::string Utf8(const std::wstring& w) {
    if (w.empty()) {
        return std::string();
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring Wide(const std::string& s) {
    if (s.empty()) {
        return std::wstring();
    }
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

std::string Escape(const std::wstring& w) {
    std::string out;
    for (char c : Utf8(w)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Sent, not read from the window's caption: edit controls keep their text themselves.
std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length)) {
        return std::wstring();
    }
    // Room to spare: the text may grow between the two messages.
    std::wstring text(length + 4096, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_BLOCK, 5000, &got);
    text.resize(got);
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

HWND Control(int id) {
    return id == 0 ? g_wizard : GetDlgItem(g_wizard, id);
}

std::string Rect(const RECT& r) {
    std::ostringstream out;
    out << "ok " << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
    return out.str();
}

template <class F> bool WaitFor(int ms, F found) {
    const DWORD start = GetTickCount();
    while (!found()) {
        if (static_cast<int>(GetTickCount() - start) > ms) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

struct PopupSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindPopup(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<PopupSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (hwnd != g_wizard && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" &&
        (search->process == 0 || process == search->process)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the wizard's process other than the wizard; any such dialog when the
// wizard is not known (the box shown before the wizard exists).
HWND Popup() {
    PopupSearch search{0, nullptr};
    if (g_wizard) {
        GetWindowThreadProcessId(g_wizard, &search.process);
    }
    EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    auto* parts = reinterpret_cast<std::vector<std::wstring>*>(param);
    const std::wstring cls = ClassOf(hwnd);
    const std::wstring text = WindowText(hwnd);
    if (!text.empty() && (cls == L"Static" || cls == L"Button")) {
        parts->push_back(cls.substr(0, 1) + L":" + text);
    }
    return TRUE;
}

std::string DescribePopup(HWND popup) {
    std::vector<std::wstring> parts;
    EnumChildWindows(popup, CollectChild, reinterpret_cast<LPARAM>(&parts));
    std::wstring all = WindowText(popup);
    for (const std::wstring& p : parts) {
        all += L"\t" + p;
    }
    return "ok " + Escape(all);
}

std::string Hex(const void* data, DWORD size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (DWORD i = 0; i < size; ++i) {
        const unsigned char b = static_cast<const unsigned char*>(data)[i];
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string ResourceId(LPCWSTR id) {
    return IS_INTRESOURCE(id) ? std::to_string(reinterpret_cast<uintptr_t>(id)) : Utf8(id);
}

BOOL CALLBACK DumpLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR) {
    HRSRC res = FindResourceExW(module, type, name, lang);
    const DWORD size = SizeofResource(module, res);
    const void* data = LockResource(LoadResource(module, res));
    // Pictures are large: their header is enough to check their format.
    const uintptr_t kind = reinterpret_cast<uintptr_t>(type);
    const bool picture = IS_INTRESOURCE(type) && (kind == 2 || kind == 3); // RT_BITMAP, RT_ICON
    std::cout << "res " << ResourceId(type) << ' ' << ResourceId(name) << ' ' << lang << ' ' << size
              << ' ' << Hex(data, picture && size > 40 ? 40 : size) << '\n';
    return TRUE;
}

BOOL CALLBACK DumpName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR) {
    EnumResourceLanguagesW(module, type, name, DumpLanguage, 0);
    return TRUE;
}

BOOL CALLBACK DumpType(HMODULE module, LPWSTR type, LONG_PTR) {
    EnumResourceNamesW(module, type, DumpName, 0);
    return TRUE;
}

std::string DumpResources(const std::string& exe) {
    HMODULE module = LoadLibraryExW(Wide(exe).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        return "err cannot load " + exe;
    }
    EnumResourceTypesW(module, DumpType, 0);
    FreeLibrary(module);
    return "ok";
}

void PostKey(WPARAM vk) {
    DWORD thread = GetWindowThreadProcessId(g_wizard, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = g_wizard;
    // The focus may still lie in a dialog that is closing (the About box): keys go to the
    // wizard then, which IsDialogMessage handles as well.
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus && IsChild(g_wizard, info.hwndFocus)) {
        target = info.hwndFocus;
    }
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

std::string Run(const std::string& line) {
    const size_t space = line.find(' ');
    const std::string cmd = line.substr(0, space);
    const std::string arg = space == std::string::npos ? std::string() : line.substr(space + 1);
    const long n = std::strtol(arg.c_str(), nullptr, 10);
    if (cmd == "find") {
        const bool found = WaitFor(static_cast<int>(n), [] {
            g_wizard = FindWindowW(L"#32770", L"KX wizard");
            return g_wizard != nullptr && IsWindowVisible(g_wizard);
        });
        return found ? "ok" : "err no wizard window";
    }
    if (cmd == "popup") {
        HWND popup = nullptr;
        if (!WaitFor(static_cast<int>(n), [&] { return (popup = Popup()) != nullptr; })) {
            return "err no popup";
        }
        return DescribePopup(popup);
    }
    if (cmd == "pixel") {
        const long y = std::strtol(arg.c_str() + arg.find(' '), nullptr, 10);
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, static_cast<int>(n), static_cast<int>(y));
        ReleaseDC(nullptr, screen);
        std::ostringstream out;
        out << "ok " << int(GetRValue(c)) << ' ' << int(GetGValue(c)) << ' ' << int(GetBValue(c));
        return out.str();
    }
    if (cmd == "resources") {
        return DumpResources(arg);
    }
    if (!g_wizard) {
        return "err no wizard window";
    }
    if (cmd == "alive") {
        return IsWindow(g_wizard) ? "ok 1" : "ok 0";
    }
    if (cmd == "dismiss") {
        HWND popup = Popup();
        if (!popup) {
            return "err no popup";
        }
        PostMessageW(popup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return "ok";
    }
    HWND control = Control(static_cast<int>(n));
    if (cmd == "text") {
        return "ok " + Escape(WindowText(control));
    }
    if (cmd == "settext") {
        const size_t gap = arg.find(' ');
        const std::string text = gap == std::string::npos ? std::string() : arg.substr(gap + 1);
        const std::wstring wide = Wide(Unescape(text));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                            SMTO_BLOCK, 5000, &result);
        return "ok";
    }
    if (cmd == "visible") {
        return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) ? "ok 1" : "ok 0";
    }
    if (cmd == "rect") {
        RECT r{};
        GetWindowRect(control, &r);
        return Rect(r);
    }
    if (cmd == "client") {
        RECT r{};
        GetClientRect(g_wizard, &r);
        MapWindowPoints(g_wizard, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return Rect(r);
    }
    if (cmd == "click") {
        PostMessageW(g_wizard, WM_COMMAND, MAKEWPARAM(n, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        return "ok";
    }
    if (cmd == "key") {
        PostKey(static_cast<WPARAM>(n));
        return "ok";
    }
    if (cmd == "syscommand") {
        PostMessageW(g_wizard, WM_SYSCOMMAND, static_cast<WPARAM>(n), 0);
        return "ok";
    }
    return "err unknown command";
}

} // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "quit") {
            break;
        }
        std::cout << Run(line) << std::endl;
    }
    return 0;
}
