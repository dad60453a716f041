// Test entry for the tests that need no display: starts the toolkit's base
// and the image handlers.
#include "assert_to_failure.h"

#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    wxSetAssertHandler(AssertToFailure);
    wxInitializer initializer;
    if (!initializer.IsOk())
        return 1;
    wxInitAllImageHandlers();
    wxLog::SetLogLevel(wxLOG_Info);
    return RUN_ALL_TESTS();
}
