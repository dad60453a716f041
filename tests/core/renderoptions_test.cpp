#include "work/renderoptions.h"

#include <gtest/gtest.h>

namespace
{
bool Parse(std::vector<wxString> arguments, RenderOptions& options, wxString& error)
{
    return ParseRenderArguments(arguments, options, error);
}
}  // namespace

TEST(RenderOptions, ReadsEveryOption)
{
    RenderOptions options;
    wxString error;
    ASSERT_TRUE(
        Parse({"-d", "25", "-s", "320x240", "-o", "out.gif", "a.png", "b.gif_3"}, options, error));
    EXPECT_EQ(options.delay, 25);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 240);
    EXPECT_EQ(options.output, "out.gif");
    ASSERT_EQ(options.inputs.size(), 2u);
    EXPECT_EQ(options.inputs[1], "b.gif_3");

    ASSERT_TRUE(Parse({"a.png", "-o", "out.gif"}, options, error));
    EXPECT_EQ(options.delay, 10);
    EXPECT_EQ(options.width, 0);
    EXPECT_EQ(options.height, 0);

    ASSERT_TRUE(Parse({"-o", "out.gif", "--", "-odd name.png"}, options, error));
    EXPECT_EQ(options.inputs[0], "-odd name.png");

    ASSERT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(RenderOptions, RejectsBadArgumentsWithAReason)
{
    const std::vector<std::vector<wxString>> bad = {
        {},
        {"a.png"},
        {"-o", "out.gif"},
        {"-o"},
        {"-d", "-5", "-o", "o.gif", "a.png"},
        {"-d", "ten", "-o", "o.gif", "a.png"},
        {"-d", "70000", "-o", "o.gif", "a.png"},
        {"-s", "320", "-o", "o.gif", "a.png"},
        {"-s", "0x240", "-o", "o.gif", "a.png"},
        {"-s", "320x", "-o", "o.gif", "a.png"},
        {"-s", "32ax24", "-o", "o.gif", "a.png"},
        {"-q", "-o", "o.gif", "a.png"},
    };
    for (const std::vector<wxString>& arguments : bad)
    {
        RenderOptions options;
        wxString error;
        EXPECT_FALSE(ParseRenderArguments(arguments, options, error))
            << wxJoin(wxArrayString(arguments.size(), arguments.data()), ' ');
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), wxString::npos);
    }
}

TEST(RenderOptions, ASingleXmlInputIsAProject)
{
    RenderOptions options;
    wxString error;
    ASSERT_TRUE(ParseRenderArguments({"work/p.xml"}, options, error)) << error.utf8_string();
    EXPECT_EQ(options.project, "work/p.xml");
    EXPECT_TRUE(options.inputs.empty());
    EXPECT_TRUE(options.output.empty());

    ASSERT_TRUE(ParseRenderArguments({"-o", "o.gif", "P.XML"}, options, error));
    EXPECT_EQ(options.project, "P.XML");
    EXPECT_EQ(options.output, "o.gif");

    // Pictures never end in .xml; a frame reference is still a picture.
    ASSERT_TRUE(ParseRenderArguments({"-o", "o.gif", "a.gif_3"}, options, error));
    EXPECT_TRUE(options.project.empty());
}

TEST(RenderOptions, AProjectTakesNoPicturesDelayOrSize)
{
    const std::vector<std::vector<wxString>> bad = {
        {"-o", "o.gif", "a.png", "p.xml"},
        {"p.xml", "q.xml"},
        {"-d", "5", "p.xml"},
        {"-s", "20x20", "p.xml"},
    };
    for (const std::vector<wxString>& arguments : bad)
    {
        RenderOptions options;
        wxString error;
        EXPECT_FALSE(ParseRenderArguments(arguments, options, error))
            << wxJoin(wxArrayString(arguments.size(), arguments.data()), ' ');
        EXPECT_NE(error.Find(wxS("project")), wxNOT_FOUND) << error.utf8_string();
        EXPECT_EQ(error.find('\n'), wxString::npos);
    }
}

TEST(RenderOptions, HelpDescribesBothForms)
{
    EXPECT_NE(RenderUsage().Find(wxS("loopforge-render PROJECT.xml [-o OUT.gif]")), wxNOT_FOUND);
    EXPECT_NE(RenderHelp().Find(RenderUsage()), wxNOT_FOUND);
    EXPECT_NE(RenderHelp().Find(wxS("only input")), wxNOT_FOUND);
}
