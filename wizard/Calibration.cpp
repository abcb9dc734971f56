// The calibration buttons: store the calibration date, store the offset, and compute the
// offset from the probe's last reading and the reference temperature.
#include "serial/UnitCommands.h"
#include "ui/resource.h"
#include "wizard/KXWizardDlg.h"
#include "wizard/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {
constexpr unsigned kOkOnly = 0;
constexpr char kNotFound[] = "The temperature data from the probe was not found. Make sure you "
                             "have hit Query and try again.";
constexpr double kOffsetLimit = 12.7;

// The reading's point: the first "." at index 7 or later with a "g" seven places before it.
// Returns the reply's length when there is none.
size_t FindReadingPoint(const char* reply, size_t length) {
    for (size_t i = 7; i < length; ++i) {
        if (reply[i] == '.' && reply[i - 7] == 'g')
            return i;
    }
    return length;
}
} // namespace

void CKXWizardDlg::OnStoreDate() {
    SetDlgItemText(IDC_CONSOLE, "");
    const std::string year = GetDlgItemText(IDC_YEAR);
    std::string month = GetDlgItemText(IDC_MONTH);
    if (month.size() == 1)
        month = "0" + month;
    if (year.size() != 2) {
        MessageBox("Please enter a 2-digit year that is 10 or greater.", "Exit", kOkOnly);
        return;
    }
    if (month.size() != 2) {
        MessageBox("Please enter a numeric month.", "Exit", kOkOnly);
        return;
    }
    SendCommand(UnitCommands::StoreDate(year, month).c_str());
}

void CKXWizardDlg::OnStoreOffset() {
    const float offset = NumberText::ToSingle(GetDlgItemText(IDC_OFFSET));
    // Exact in double precision, then one rounding to single.
    const float tenths = static_cast<float>(static_cast<double>(offset) * 10.0);
    const std::string text = std::isfinite(tenths) ? NumberText::FormatSignedWhole(tenths) : "";
    if (text.size() != 4) {
        MessageBox("Please check the offset you entered.", "Exit", kOkOnly);
        return;
    }
    SendCommand(UnitCommands::StoreOffset(text).c_str());
}

void CKXWizardDlg::OnCalculateOffset() {
    const size_t length = std::strlen(m_szReply);
    const size_t point = FindReadingPoint(m_szReply, length);
    if (point == length) { // also when the reply is empty
        MessageBox(kNotFound, "Data not found", kOkOnly);
        return;
    }
    // Four characters before the point, the point, one after: fewer at the reply's end.
    const size_t start = point - 4;
    const std::string reading(m_szReply + start, std::min<size_t>(6, length - start));
    const float probe = NumberText::ToSingle(reading);
    const float actual = NumberText::ToSingle(GetDlgItemText(IDC_ACTUAL_TEMP));
    const float offset = probe - actual;
    // Written so that a difference that is not a number (inf - inf) is refused as well.
    const double wide = offset;
    if (!(wide <= kOffsetLimit && wide >= -kOffsetLimit)) {
        MessageBox("Offsets of greater than +- 12.7 degrees are not allowed. Please check the "
                   "entered actual temperature.",
                   "extracted", kOkOnly);
        return;
    }
    SetDlgItemText(IDC_OFFSET, NumberText::FormatOneDecimal(offset));
}
