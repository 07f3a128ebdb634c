// Test entry point: the program's own application object (offscreen platform) for every test
// binary.  Unless a test installs its own responder, any message box or dialog fails the test
// instead of waiting; so does an exception a handler lets out (it becomes the program's
// unexpected-error message).
#include "platform/ui/Application.h"
#include "support/Responder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::StrictResponder strict;
    ui::SetResponder(&strict);
    const int rc = RUN_ALL_TESTS();
    ui::SetResponder(nullptr);
    return rc;
}
