#pragma once
// Shared records of the headless backend's files (not part of the test API).
#include "platform/headless/headless.h"

namespace headless {

struct MemoryDCRecord {
    unsigned bitmapId = 0;
};

struct BitmapRecord {
    unsigned id;
};

// Live windows and the test's hooks, in one place.
Window* LiveWindow(const CDialog* dialog); // nullptr when absent or destroyed
Window& CreateWindowRecord(CDialog& dialog);
void ForgetWindow(const CDialog& dialog);
void RecordMessageBox(const MessageBoxRecord& record);
int RunMessageBoxHook(const MessageBoxRecord& record);
void RunModalHook(CDialog& dialog);
void ChangeLiveGdiObjects(int delta);
void CountSocketInit();
void CountControlContainer();
std::string StringResource(unsigned id);

} // namespace headless
