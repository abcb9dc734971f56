#pragma once
// <windows.h> for the Win32 backend. The layer's classes use the framework's names
// (MessageBox, SetWindowText, CreateFont, LoadBitmap, ...), which <windows.h> defines as
// macros for its A/W variants: undefine them here so both can live in one file.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
#undef CreateFont
#undef LoadBitmap
#undef DrawIcon
