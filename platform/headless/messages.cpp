// Creating, ending and messaging a headless dialog, as DoModal and a window procedure would.
#include "platform/headless/state.h"

namespace headless {
namespace {

const MessageMapEntry* FindEntry(const CDialog& dialog, MessageKind kind, int id = 0) {
    for (const MessageMapEntry* e = dialog.GetMessageMap(); e->kind != MessageKind::End; ++e) {
        if (e->kind == kind && (kind != MessageKind::Clicked || e->id == id))
            return e;
    }
    return nullptr;
}

} // namespace

void Open(CDialog& dialog) {
    CreateWindowRecord(dialog);
    dialog.OnInitDialog();
}

intptr_t Finish(CDialog& dialog) {
    Window* window = Find(dialog);
    if (window && !window->ended) {
        window->ended = true;
        window->result = kx::kIdCancel;
    }
    dialog.DestroyWindow();
    return window ? window->result : kx::kIdCancel;
}

bool Click(CDialog& dialog, int id) {
    if (!LiveWindow(&dialog))
        return false;
    if (const MessageMapEntry* e = FindEntry(dialog, MessageKind::Clicked, id)) {
        (dialog.*(e->onVoid))();
        return true;
    }
    // The framework's own map: IDOK and IDCANCEL.
    if (id == kx::kIdOk)
        dialog.OnOK();
    else if (id == kx::kIdCancel)
        dialog.OnCancel();
    return id == kx::kIdOk || id == kx::kIdCancel;
}

bool Tick(CDialog& dialog, uintptr_t timerId) {
    Window* window = LiveWindow(&dialog);
    if (!window || window->timers.count(timerId) == 0)
        return false;
    const MessageMapEntry* e = FindEntry(dialog, MessageKind::Timer);
    if (!e)
        return false;
    (dialog.*(e->onTimer))(timerId);
    return true;
}

bool Paint(CDialog& dialog) {
    const MessageMapEntry* e = FindEntry(dialog, MessageKind::Paint);
    if (!LiveWindow(&dialog) || !e)
        return false;
    (dialog.*(e->onVoid))();
    return true;
}

bool SysCommand(CDialog& dialog, uint32_t command, intptr_t param) {
    if (!LiveWindow(&dialog))
        return false;
    if (const MessageMapEntry* e = FindEntry(dialog, MessageKind::SysCommand))
        (dialog.*(e->onSysCommand))(command, param);
    else
        dialog.CDialog::OnSysCommand(command, param);
    return true;
}

kx::IconHandle QueryDragIcon(CDialog& dialog) {
    const MessageMapEntry* e = FindEntry(dialog, MessageKind::QueryDragIcon);
    return LiveWindow(&dialog) && e ? (dialog.*(e->onQueryDragIcon))() : nullptr;
}

} // namespace headless
