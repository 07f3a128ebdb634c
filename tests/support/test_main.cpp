// Test entry point: one QApplication (offscreen platform) for every test binary.  Unless a test
// installs its own responder, any message box or dialog fails the test instead of waiting.
#include "support/Responder.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::StrictResponder strict;
    ui::SetResponder(&strict);
    const int rc = RUN_ALL_TESTS();
    ui::SetResponder(nullptr);
    return rc;
}
