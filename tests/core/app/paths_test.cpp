#include "app/paths.h"

#include "wx_printers.h"

#include <gtest/gtest.h>

TEST(PathRules, ExecutableAndInstallFoldersFromTheProgramPath)
{
    struct Case
    {
        const char* program;
        const char* executableDir;
        const char* installDir;
    };
    for (const Case& c : {Case{"D:/apps/tool/bin/prog.exe", "D:/apps/tool/bin", "D:/apps/tool"},
                          Case{"D:\\apps\\tool\\bin\\prog.exe", "D:/apps/tool/bin", "D:/apps/tool"},
                          Case{"prog", ".", ""}, Case{"/prog", "", ""}})
    {
        const wxString dir = ExecutableDirFromProgramPath(c.program);
        EXPECT_EQ(dir, c.executableDir) << c.program;
        EXPECT_EQ(ParentDirOf(dir), c.installDir) << c.program;
    }
    EXPECT_EQ(ParentDirOf(wxS("/opt")), wxString());
}

TEST(PathRules, OverriddenProgramPathDrivesTheInstallFolder)
{
    SetProgramPath(wxS("/opt/loopforge/bin/loopforge"));
    EXPECT_EQ(GetExecutableDir(), wxS("/opt/loopforge/bin"));
    EXPECT_EQ(GetInstallDir(), wxS("/opt/loopforge"));
    EXPECT_EQ(GetOptionFilePath(), wxS("/opt/loopforge/option.cfg"));
    SetProgramPath(wxString());
}

TEST(PathRules, RealProgramPathIsAbsolute)
{
    SetProgramPath(wxString());
    EXPECT_TRUE(GetProgramPath().StartsWith(wxS("/")));
    EXPECT_TRUE(GetProgramPath().EndsWith(wxS("lf_core_tests")));
}
