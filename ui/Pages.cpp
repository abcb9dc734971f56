// What each page shows, the calibration group's reveal, and the page pictures.
#include "platform/gdi.h"
#include "ui/resource.h"
#include "wizard/KXWizardDlg.h"

namespace {

constexpr int kCalibrationGroup[] = {
    IDC_STORE_OFFSET, IDC_STORE_DATE, IDC_CALC_OFFSET,  IDC_CONSOLE,
    IDC_YEAR,         IDC_MONTH,      IDC_OFFSET,       IDC_ACTUAL_TEMP,
    IDC_MONTH_LABEL,  IDC_YEAR_LABEL, IDC_OFFSET_LABEL, IDC_ACTUAL_TEMP_LABEL,
};

unsigned PagePicture(int32_t page) {
    switch (page) {
    case 0:
        return IDB_PAGE_WELCOME;
    case 1:
        return IDB_PAGE_CONNECT;
    default:
        return IDB_PAGE_UNIT;
    }
}

} // namespace

void CKXWizardDlg::UpdatePage() {
    ApplyPageResets();
    switch (m_nPage) {
    case 0:
        ShowDlgItem(IDC_EXIT, false);
        ShowDlgItem(IDC_NEXT, true);
        for (int id :
             {IDC_STORE_OFFSET, IDC_STORE_DATE, IDC_CALC_OFFSET, IDC_SHOW_CAL, IDC_CONSOLE})
            ShowDlgItem(id, false);
        // The boxes' first contents; page 0 is never shown again, so they are set once.
        ShowDlgItem(IDC_YEAR, false);
        SetDlgItemInt(IDC_YEAR, 10);
        ShowDlgItem(IDC_MONTH, false);
        SetDlgItemInt(IDC_MONTH, 1);
        ShowDlgItem(IDC_OFFSET, false);
        SetDlgItemInt(IDC_OFFSET, 0);
        ShowDlgItem(IDC_ACTUAL_TEMP, false);
        SetDlgItemInt(IDC_ACTUAL_TEMP, 0);
        ShowDlgItem(IDC_MONTH_LABEL, false);
        SetDlgItemText(IDC_MONTH_LABEL, "Month");
        ShowDlgItem(IDC_YEAR_LABEL, false);
        SetDlgItemText(IDC_YEAR_LABEL, "Year");
        ShowDlgItem(IDC_OFFSET_LABEL, false);
        SetDlgItemText(IDC_OFFSET_LABEL, "Offset deg C");
        ShowDlgItem(IDC_ACTUAL_TEMP_LABEL, false);
        SetDlgItemText(IDC_ACTUAL_TEMP_LABEL, "Actual Temp in C:");
        SetDefID(IDC_NEXT);
        break;
    case 1:
        SetDlgItemText(IDC_NEXT, "NEXT");
        ShowDlgItem(IDC_EXIT, false);
        ShowDlgItem(IDC_NEXT, false);
        SetDefID(IDC_NEXT);
        break;
    case 2:
        ShowDlgItem(IDC_CONSOLE, true);
        SetDlgItemText(IDC_NEXT, "Query");
        ShowDlgItem(IDC_EXIT, true);
        ShowDlgItem(IDC_NEXT, true);
        ShowDlgItem(IDC_SHOW_CAL, true);
        SetDefID(IDC_NEXT);
        break;
    default:
        break;
    }
}

void CKXWizardDlg::OnShowCalOptions() {
    for (int id : kCalibrationGroup)
        ShowDlgItem(id, true);
    ShowDlgItem(IDC_SHOW_CAL, false);
}

void CKXWizardDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        EraseIconBackground(dc);
        const int iconWidth = kx::SystemIconWidth();
        const int iconHeight = kx::SystemIconHeight();
        const CRect client = GetClientRect();
        dc.DrawIcon((client.Width() - iconWidth + 1) / 2, (client.Height() - iconHeight + 1) / 2,
                    m_hIcon);
        return;
    }
    const CRect client = GetClientRect();
    CPaintDC dc(this);
    // Loaded for each paint and freed again: nothing is held between paints.
    CBitmap picture;
    picture.LoadBitmap(PagePicture(m_nPage));
    CMemoryDC memory(dc);
    memory.SelectBitmap(picture);
    dc.BitBlt(0, 0, client.Width(), client.Height(), memory, 0, 0);
}
