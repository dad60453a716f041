#ifndef LOOPFORGE_TESTS_ADDRESS_SPACE_LIMIT_H
#define LOOPFORGE_TESTS_ADDRESS_SPACE_LIMIT_H

// Work under an address-space limit, as on a small machine or in a
// container, in the child of a death test.
#include <gtest/gtest.h>

#include <wx/filename.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

// AddressSanitizer reserves terabytes of address space and aborts on a failed
// allocation, so limits cannot be tested under it.
#if defined(__SANITIZE_ADDRESS__)
#define LF_ADDRESS_LIMITS_TESTABLE 0
#else
#define LF_ADDRESS_LIMITS_TESTABLE 1
#endif

// For EXPECT_EXIT: limits the address space to what the process uses plus
// headroom, runs work, prints "outcome: " and the line work returns to
// standard error, removes the child's copy of folder and exits with status 0.
// A crash ends the child by a signal instead. The death test style must be
// "threadsafe", so that the child is a fresh process: free memory left in a
// long-running process's heap would not count against the limit.
[[noreturn]] inline void RunWithAddressSpaceHeadroom(unsigned long long headroomBytes,
                                                     const wxString& folder,
                                                     const std::function<std::string()>& work)
{
    unsigned long long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%llu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t bytes = pages * sysconf(_SC_PAGESIZE) + headroomBytes;
    const rlimit limit = {bytes, bytes};
    if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0)
    {
        std::fprintf(stderr, "cannot limit the address space\n");
        std::_Exit(2);
    }
    const std::string outcome = work();
    std::fprintf(stderr, "outcome: %s\n", outcome.c_str());
    wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
    std::_Exit(0);
}

#endif
