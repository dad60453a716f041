#ifndef LOOPFORGE_TESTS_ASSERT_TO_FAILURE_H
#define LOOPFORGE_TESTS_ASSERT_TO_FAILURE_H

// A toolkit assertion fails the running test instead of showing a dialog or
// aborting the whole run.
#include <gtest/gtest.h>

#include <wx/debug.h>
#include <wx/string.h>

inline void AssertToFailure(const wxString& file, int line, const wxString&, const wxString& cond,
                            const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line) << cond.utf8_string() << ": " << msg.utf8_string();
}

#endif
