#include "files/childprocess.h"

#include <gtest/gtest.h>

#include <string>

TEST(ChildProcessTest, PipesBytesThroughAProgramAndTellsItsStatus)
{
    ChildProcess cat;
    wxString error;
    ASSERT_TRUE(cat.Start({"cat"}, ChildProcess::InputPipe | ChildProcess::OutputPipe, error))
        << error;
    const std::string sent(100000, 'x');  // more than a pipe holds: reading must not wait on writing
    std::string got(sent.size(), '\0');
    ASSERT_TRUE(cat.Write(sent.data(), 60000));
    ASSERT_TRUE(cat.ReadFully(got.data(), 60000));
    ASSERT_TRUE(cat.Write(sent.data() + 60000, sent.size() - 60000));
    cat.CloseInput();
    ASSERT_TRUE(cat.ReadFully(got.data() + 60000, sent.size() - 60000));
    EXPECT_EQ(sent, got);
    EXPECT_EQ(0, cat.Wait());

    ChildProcess failing;
    ASSERT_TRUE(failing.Start({"sh", "-c", "echo broken >&2; exit 3"}, ChildProcess::NoPipes,
                              error));
    EXPECT_EQ(3, failing.Wait());
    EXPECT_EQ("broken", failing.GetErrorOutput());
}

TEST(ChildProcessTest, AMissingProgramAndAStoppedOneFailCleanly)
{
    ChildProcess missing;
    wxString error;
    EXPECT_FALSE(missing.Start({"loopforge-no-such-program"}, ChildProcess::NoPipes, error));
    EXPECT_EQ("loopforge-no-such-program is not installed", error);
    EXPECT_TRUE(FindProgram("loopforge-no-such-program").empty());

    // Killed while its output is still open; writing to it afterwards
    // fails instead of ending the test with SIGPIPE.
    ChildProcess sleeper;
    ASSERT_TRUE(sleeper.Start({"sleep", "100"}, ChildProcess::InputPipe | ChildProcess::OutputPipe,
                              error));
    sleeper.Kill();
    EXPECT_FALSE(sleeper.IsRunning());
    ChildProcess ended;
    ASSERT_TRUE(ended.Start({"true"}, ChildProcess::InputPipe, error));
    while (ended.Write("x", 1))
    {
    }
    EXPECT_EQ(0, ended.Wait());
}
