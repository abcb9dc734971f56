// The probe built for a host name that cannot exist (the reserved .invalid domain).
#include "web/WebProbe.h"
#include "wizard/KXWizardDlg.h"

#include <gtest/gtest.h>

namespace {

TEST(WebProbeThread, EndsWithZeroWhenTheHostCannotBeResolved) {
    CKXWizardDlg dialog;
    EXPECT_EQ(WebProbeThread(&dialog), 0u);
}

} // namespace
