#include "app/paths.h"
#include "app/product.h"

#include <gtest/gtest.h>

TEST(PathRules, ExecutableAndInstallFolders)
{
    const wxString dir = ExecutableDirFromProgramPath(wxS("D:/apps/tool/bin/prog.exe"));
    EXPECT_EQ(dir, wxS("D:/apps/tool/bin"));
    EXPECT_EQ(ParentDirOf(dir), wxS("D:/apps/tool"));
    EXPECT_EQ(ParentDirOf(dir) + wxS("/Themes"), wxS("D:/apps/tool/Themes"));
}

TEST(PathRules, BackslashesGiveTheSameFolders)
{
    const wxString dir = ExecutableDirFromProgramPath(wxS("D:\\apps\\tool\\bin\\prog.exe"));
    EXPECT_EQ(dir, wxS("D:/apps/tool/bin"));
    EXPECT_EQ(ParentDirOf(dir), wxS("D:/apps/tool"));
}

TEST(PathRules, BareProgramNameHasNoInstallFolder)
{
    const wxString dir = ExecutableDirFromProgramPath(wxS("prog"));
    EXPECT_EQ(dir, wxS("."));
    EXPECT_EQ(ParentDirOf(dir), wxString());
    EXPECT_EQ(ParentDirOf(dir) + wxS("/Themes"), wxS("/Themes"));
}

TEST(PathRules, RootLevelProgram)
{
    EXPECT_EQ(ExecutableDirFromProgramPath(wxS("/prog")), wxString());
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

TEST(ProductIdentity, NamesAndVersion)
{
    EXPECT_EQ(GetProductName(), wxS("Corvanel Loopforge"));
    EXPECT_EQ(GetProductVersion(), wxS("3.0.8"));
    EXPECT_EQ(GetMakerName(), wxS("Corvanel"));
}
