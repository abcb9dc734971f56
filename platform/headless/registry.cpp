// Windows, settings, hooks and records of the headless backend.
#include "platform/headless/state.h"

#include <memory>

namespace headless {
namespace {

struct Globals {
    std::map<const CDialog*, std::unique_ptr<Window>> windows;
    Settings settings;
    std::map<unsigned, std::string> strings;
    MessageBoxHook messageBoxHook;
    ModalHook modalHook;
    std::vector<MessageBoxRecord> messageBoxes;
    int liveGdiObjects = 0;
    int socketInitCalls = 0;
    int controlContainerCalls = 0;
};

Globals& G() {
    static Globals globals;
    return globals;
}

} // namespace

Control& Window::Item(int id) {
    auto found = controls.find(id);
    if (found != controls.end())
        return found->second;
    Control& control = controls[id];
    control.rect = {0, 0, G().settings.controlWidth, G().settings.controlHeight};
    return control;
}

void Reset() {
    G().settings = Settings();
    G().strings.clear();
    G().messageBoxHook = nullptr;
    G().modalHook = nullptr;
    G().messageBoxes.clear();
    G().socketInitCalls = 0;
    G().controlContainerCalls = 0;
}

Settings& Options() {
    return G().settings;
}

void SetStringResource(unsigned id, const std::string& text) {
    G().strings[id] = text;
}

std::string StringResource(unsigned id) {
    auto found = G().strings.find(id);
    return found == G().strings.end() ? std::string() : found->second;
}

Window* Find(const CDialog& dialog) {
    auto found = G().windows.find(&dialog);
    return found == G().windows.end() ? nullptr : found->second.get();
}

Window& State(const CDialog& dialog) {
    return *Find(dialog);
}

Window* LiveWindow(const CDialog* dialog) {
    Window* window = Find(*dialog);
    return window && !window->destroyed ? window : nullptr;
}

Window& CreateWindowRecord(CDialog& dialog) {
    auto window = std::make_unique<Window>();
    // Somewhere other than the top-left corner, so that placing the window shows.
    window->rect = {100, 100, 798, 558};
    window->hasSystemMenu = G().settings.systemMenu;
    Window& created = *window;
    G().windows[&dialog] = std::move(window);
    dialog.m_hWnd = &created;
    return created;
}

void ForgetWindow(const CDialog& dialog) {
    G().windows.erase(&dialog);
}

void SetMessageBoxHook(MessageBoxHook hook) {
    G().messageBoxHook = std::move(hook);
}
void SetModalHook(ModalHook hook) {
    G().modalHook = std::move(hook);
}
const std::vector<MessageBoxRecord>& MessageBoxes() {
    return G().messageBoxes;
}

void RecordMessageBox(const MessageBoxRecord& record) {
    G().messageBoxes.push_back(record);
}

int RunMessageBoxHook(const MessageBoxRecord& record) {
    // A copy: the hook may replace itself while it runs.
    const MessageBoxHook hook = G().messageBoxHook;
    if (hook)
        hook(record);
    return static_cast<int>(kx::kIdOk);
}

void RunModalHook(CDialog& dialog) {
    const ModalHook hook = G().modalHook;
    if (hook)
        hook(dialog);
}

const FontRecord* Font(const void* fontHandle) {
    return static_cast<const FontRecord*>(fontHandle);
}
void ChangeLiveGdiObjects(int delta) {
    G().liveGdiObjects += delta;
}
int LiveGdiObjects() {
    return G().liveGdiObjects;
}
void CountSocketInit() {
    ++G().socketInitCalls;
}
int SocketInitCalls() {
    return G().socketInitCalls;
}
void CountControlContainer() {
    ++G().controlContainerCalls;
}
int ControlContainerCalls() {
    return G().controlContainerCalls;
}

} // namespace headless
