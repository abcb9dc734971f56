// Checks the Win32 window layer's modal semantics on the real platform (under Wine): every
// way a dialog ends reaches the virtual DestroyWindow exactly once, timer ticks keep coming
// while a message box is open, the owner is disabled only while its child runs, and the
// message map routes what it should. Prints one line per case; exit status 1 on a failure.
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/win32/win32.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr int kDialog = 1;
constexpr int kMapped = 1001;
constexpr int kEdit = 1002;
constexpr uintptr_t kTimer = 5;

int g_failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) {
        ++g_failures;
    }
}

// A dialog whose behaviour each case sets through hooks, counting what the layer calls.
class Probe : public CDialog {
  public:
    explicit Probe(CDialog* parent = nullptr) : CDialog(kDialog, parent) {}

    const MessageMapEntry* GetMessageMap() const override {
        static const MessageMapEntry map[] = {
            MapClicked<Probe>(kMapped, &Probe::OnMapped),
            MapTimer<Probe>(&Probe::OnTick),
            MapSysCommand<Probe>(&Probe::OnSys),
            MapQueryDragIcon<Probe>(&Probe::OnDragIcon),
            MapEnd(),
        };
        return map;
    }
    bool DestroyWindow() override {
        ++destroyed;
        return CDialog::DestroyWindow();
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (init) {
            init(*this);
        }
        return true;
    }

    void OnMapped() { ++mapped; }
    void OnTick(uintptr_t id) {
        ++ticks;
        if (tick) {
            tick(*this, id);
        }
    }
    void OnSys(uint32_t command, intptr_t param) {
        lastSys = command;
        lastSysParam = param;
        if (command != 16) {
            CDialog::OnSysCommand(command, param);
        }
    }
    kx::IconHandle OnDragIcon() { return reinterpret_cast<kx::IconHandle>(0x1234); }

    std::function<void(Probe&)> init;
    std::function<void(Probe&, uintptr_t)> tick;
    int destroyed = 0;
    int mapped = 0;
    int ticks = 0;
    uint32_t lastSys = 0;
    intptr_t lastSysParam = 0;
};

HWND Hwnd(const CDialog& d) {
    return static_cast<HWND>(d.m_hWnd);
}

// Posts `msg` to the dialog from its first tick, as input from outside would arrive.
void PostOnFirstTick(Probe& p, UINT msg, WPARAM w, LPARAM l) {
    p.init = [](Probe& d) { d.SetTimer(kTimer, 10); };
    p.tick = [msg, w, l](Probe& d, uintptr_t) {
        if (d.ticks == 1) {
            PostMessageW(Hwnd(d), msg, w, l);
        }
    };
}

void EndingsReachDestroyWindowOnce() {
    struct Ending {
        const char* name;
        UINT msg;
        WPARAM w;
        LPARAM l;
        intptr_t result;
    } endings[] = {
        {"IDOK button", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, kx::kIdOk},
        {"IDCANCEL button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, kx::kIdCancel},
        {"close message", WM_CLOSE, 0, 0, kx::kIdCancel},
        {"close command through the map's default", WM_SYSCOMMAND, SC_CLOSE, 0, kx::kIdCancel},
    };
    for (const Ending& e : endings) {
        Probe p;
        PostOnFirstTick(p, e.msg, e.w, e.l);
        const intptr_t result = p.DoModal();
        Check(result == e.result && p.destroyed == 1 && p.m_hWnd == nullptr,
              std::string("ends by ") + e.name + ": result " + std::to_string(result) +
                  ", DestroyWindow x" + std::to_string(p.destroyed));
    }

    Probe early;
    early.init = [](Probe& d) { d.OnCancel(); };
    const intptr_t result = early.DoModal();
    Check(result == kx::kIdCancel && early.destroyed == 1,
          "OnCancel inside OnInitDialog: no loop, DestroyWindow x" +
              std::to_string(early.destroyed));
}

void TicksArriveWhileAMessageBoxIsOpen() {
    Probe p;
    int ticksInBox = 0;
    bool inBox = false;
    p.init = [](Probe& d) { d.SetTimer(kTimer, 20); };
    p.tick = [&](Probe& d, uintptr_t id) {
        if (id != kTimer) {
            return;
        }
        if (inBox) {
            if (++ticksInBox == 5) {
                PostMessageW(FindWindowW(L"#32770", L"layer box"), WM_COMMAND, IDOK, 0);
            }
            return;
        }
        if (d.ticks == 1) {
            inBox = true;
            d.MessageBox("ticks go on", "layer box");
            inBox = false;
            d.OnOK();
        }
    };
    const intptr_t result = p.DoModal();
    Check(result == kx::kIdOk && ticksInBox >= 5 && p.destroyed == 1,
          "ticks inside a message box: " + std::to_string(ticksInBox) + ", then OnOK");
}

void OwnerDisabledOnlyWhileChildRuns() {
    Probe owner;
    bool ownerEnabledInChild = true;
    bool ownerEnabledAfter = false;
    owner.init = [](Probe& d) { d.SetTimer(kTimer, 10); };
    owner.tick = [&](Probe& d, uintptr_t) {
        if (d.ticks != 1) {
            return;
        }
        Probe child(&d);
        child.init = [](Probe& c) { c.SetTimer(kTimer, 10); };
        child.tick = [&](Probe& c, uintptr_t) {
            ownerEnabledInChild = IsWindowEnabled(Hwnd(d)) != FALSE;
            c.OnOK();
        };
        child.DoModal();
        ownerEnabledAfter = IsWindowEnabled(Hwnd(d)) != FALSE;
        d.OnOK();
    };
    owner.DoModal();
    Check(!ownerEnabledInChild && ownerEnabledAfter,
          "owner disabled while its child runs, enabled after");
}

void MapRoutesAndControls() {
    Probe p;
    std::string text;
    std::string number;
    intptr_t dragIcon = 0;
    p.init = [&](Probe& d) {
        d.SetDlgItemText(kEdit, "确定 Ünïcode");
        text = d.GetDlgItemText(kEdit);
        d.SetDlgItemInt(kEdit, -5);
        number = d.GetDlgItemText(kEdit);
        dragIcon = static_cast<intptr_t>(SendMessageW(Hwnd(d), WM_QUERYDRAGICON, 0, 0));
        PostMessageW(Hwnd(d), WM_COMMAND, MAKEWPARAM(kMapped, BN_CLICKED), 0);
        PostMessageW(Hwnd(d), WM_SYSCOMMAND, 0x0013, 77); // 16 | 3: the About command's form
        PostMessageW(Hwnd(d), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    p.DoModal();
    Check(text == "确定 Ünïcode", "UTF-8 text round trip: " + text);
    Check(number == "-5", "signed number: " + number);
    Check(kx::LoadStringResource(7) == "确定 Ünïcode", "string resource as UTF-8");
    Check(kx::LoadStringResource(8).empty(), "missing string resource is empty");
    Check(p.mapped == 1, "BN_CLICKED by identifier reaches its handler");
    Check(p.lastSys == 0x0013 && p.lastSysParam == 77, "WM_SYSCOMMAND reaches its handler");
    Check(dragIcon == 0x1234, "WM_QUERYDRAGICON returns the handler's icon");
}

} // namespace

int main() {
    EndingsReachDestroyWindowOnce();
    TicksArriveWhileAMessageBoxIsOpen();
    OwnerDisabledOnlyWhileChildRuns();
    MapRoutesAndControls();
    return g_failures == 0 ? 0 : 1;
}
