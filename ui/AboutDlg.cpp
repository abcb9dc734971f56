#include "ui/AboutDlg.h"

#include "ui/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const MessageMapEntry* CAboutDlg::GetMessageMap() const {
    static const MessageMapEntry entries[] = {MapEnd()};
    return entries;
}
