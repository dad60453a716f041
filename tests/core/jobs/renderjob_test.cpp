// Rendering saved projects without a window: reading the job, the default
// output, missing pictures, and the GIF it writes.
#include "jobs/renderjob.h"

#include "decode/picturedecoder.h"
#include "decode/unreadablepictures.h"
#include "gif_files.h"
#include "gif_inspect.h"
#include "handmade_gif.h"
#include "project/projectfile.h"
#include "temp_dir.h"
#include "test_pictures.h"
#include "video_clips.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

namespace
{
// A folder with two pictures and a two-frame GIF, and projects naming them.
class ProjectRender : public ::testing::Test
{
protected:
    void SetUp() override
    {
        png = dir.File(wxS("a.png"));
        ASSERT_TRUE(MakeFlat(64, 48).SaveFile(png, wxBITMAP_TYPE_PNG));
        bmp = dir.File(wxS("c.bmp"));
        ASSERT_TRUE(SolidImage(32, 32, wxColour(200, 40, 40)).SaveFile(bmp, wxBITMAP_TYPE_BMP));
        gif = dir.File(wxS("b.gif"));
        ASSERT_TRUE(ExportFrames(
            {SolidImage(64, 48, wxColour(0, 120, 255)), SolidImage(64, 48, wxColour(255, 200, 0))},
            gif));
    }

    wxString WriteProject(const wxString& name, const Project& project)
    {
        const wxString path = dir.File(name);
        EXPECT_TRUE(WriteProjectFile(path, project, nullptr));
        return path;
    }

    Project Sample() const
    {
        Project project;
        project.gifName = wxS("out.gif");
        project.width = 40;
        project.height = 30;
        project.delay = 7;
        project.framePaths.push_back(png);
        project.framePaths.push_back(gif + wxS("_0"));
        project.framePaths.push_back(gif + wxS("_1"));
        project.framePaths.push_back(bmp);
        return project;
    }

    TempDir dir;
    wxString png, bmp, gif;
};
}  // namespace

TEST(ProjectDefaultOutput, IsTheGifNameBesideTheProject)
{
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("anim.gif")), wxS("/w/anim.gif"));
    // Without a GIF name the project's own name is used.
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/holiday.xml"), wxString()), wxS("/w/holiday.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/HOLIDAY.XML"), wxString()), wxS("/w/HOLIDAY.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("p.xml"), wxS("anim.gif")), wxS("anim.gif"));
    // Another format keeps its own ending, or gives one to a name without.
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("anim.webp"), ExportFormat::Mp4),
              wxS("/w/anim.webp"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxString(), ExportFormat::WebM),
              wxS("/w/p.webm"));
}

TEST(ProjectDefaultOutput, NeverLeavesTheFolderOrReplacesTheProject)
{
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("../../etc/x.gif")), wxS("/w/x.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("/tmp/elsewhere.gif")),
              wxS("/w/elsewhere.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("p.xml")), wxS("/w/p.xml.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("..")), wxS("/w/p.gif"));
    EXPECT_EQ(ProjectDefaultOutput(wxS("/w/p.xml"), wxS("folder/")), wxS("/w/p.gif"));
}

TEST_F(ProjectRender, JobHasTheProjectsFramesDelayAndSize)
{
    const wxString path = WriteProject(wxS("p.xml"), Sample());
    RenderJob job;
    wxString error;
    ASSERT_TRUE(ReadProjectRenderJob(path, wxString(), job, error)) << error.utf8_string();
    EXPECT_EQ(job.inputs, Sample().framePaths);
    EXPECT_EQ(job.output, dir.File(wxS("out.gif")));
    EXPECT_EQ(job.delay, 7);
    EXPECT_EQ(job.width, 40);
    EXPECT_EQ(job.height, 30);

    ASSERT_TRUE(ReadProjectRenderJob(path, wxS("/else/where.gif"), job, error));
    EXPECT_EQ(job.output, wxS("/else/where.gif"));
}

TEST_F(ProjectRender, SettingsAGifCannotHaveFallBackAsInTheWindow)
{
    Project project = Sample();
    project.delay = 0;
    project.width = 0;
    project.height = 240;
    RenderJob job;
    wxString error;
    ASSERT_TRUE(
        ReadProjectRenderJob(WriteProject(wxS("zero.xml"), project), wxString(), job, error));
    EXPECT_EQ(job.delay, 1);  // the window's delay control starts at 1
    EXPECT_EQ(job.width, 0);  // 0 x 0: the size comes from the frames
    EXPECT_EQ(job.height, 0);

    project.delay = 70000;
    project.width = 70000;
    project.height = 10;
    ASSERT_TRUE(
        ReadProjectRenderJob(WriteProject(wxS("huge.xml"), project), wxString(), job, error));
    EXPECT_EQ(job.delay, 65535);
    EXPECT_EQ(job.width, 0);
}

TEST_F(ProjectRender, UnreadableProjectsAreNamedWithTheReason)
{
    struct Case
    {
        wxString path;
        const char* reason;
    };
    Project noFrames = Sample();
    noFrames.framePaths.clear();
    noFrames.framePaths.push_back(gif);  // only the GIF entry, which readers skip
    const Case cases[] = {
        {dir.File(wxS("absent.xml")), "no such file"},
        {dir.Write(wxS("text.xml"), "hello"), "not an XML file"},
        {dir.Write(wxS("cut.xml"), ProjectDocumentText(Sample()).substr(0, 150)),
         "not an XML file"},
        {dir.Write(wxS("nodelay.xml"),
                   "<project><name/><gif><width>4</width><height>3</height></gif>"
                   "<images><path>/a.png</path></images></project>"),
         "<delay_time>"},
        {dir.Write(wxS("empty.xml"),
                   "<project><name/><gif><width>4</width><height>3</height>"
                   "<delay_time>5</delay_time></gif><images/></project>"),
         "<images> is empty"},
        {WriteProject(wxS("gifonly.xml"), noFrames), "names no pictures"},
    };
    for (const Case& c : cases)
    {
        RenderJob job;
        wxString error;
        EXPECT_FALSE(ReadProjectRenderJob(c.path, wxString(), job, error)) << c.path;
        EXPECT_NE(error.Find(c.path), wxNOT_FOUND) << error.utf8_string();
        EXPECT_NE(error.Find(c.reason), wxNOT_FOUND) << error.utf8_string();
        EXPECT_EQ(error.find('\n'), wxString::npos);
    }
}

// Frames with a delay of their own keep it; the others show for the project's.
TEST_F(ProjectRender, WritesTheFramesAtTheStoredSizeAndDelays)
{
    Project project = Sample();
    project.frameDelays = {0, 30, 0, 12};
    RenderJob job;
    wxString error;
    ASSERT_TRUE(ReadProjectRenderJob(WriteProject(wxS("p.xml"), project), wxString(), job, error));
    const GifExportResult result = RunRenderJob(job);
    ASSERT_TRUE(result.ok) << result.error.utf8_string();

    const InspectedGif written = InspectGif(ReadFileBytes(dir.File(wxS("out.gif"))));
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(written.width, 40);
    EXPECT_EQ(written.height, 30);
    std::vector<int> delays;
    for (const InspectedFrame& frame : written.frames)
        delays.push_back(frame.delay);
    EXPECT_EQ(delays, (std::vector<int>{7, 30, 7, 12}));
}

TEST_F(ProjectRender, MissingPicturesAreAllNamedAndNothingIsWritten)
{
    Project project = Sample();
    const wxString gone = dir.File(wxS("gone.png"));
    const wxString broken = dir.Write(wxS("broken.png"), "\x89PNG\r\n\x1a\n-- not really");
    project.framePaths.Insert(gone, 1);
    project.framePaths.push_back(broken);
    for (int i = 0; i < 3; ++i)
        project.framePaths.push_back(dir.File(wxString::Format(wxS("lost.gif_%d"), i)));
    const wxString previous = dir.Write(wxS("out.gif"), "previous");

    RenderJob job;
    wxString error;
    ASSERT_TRUE(ReadProjectRenderJob(WriteProject(wxS("p.xml"), project), wxString(), job, error));
    const GifExportResult result = RunRenderJob(job);
    EXPECT_FALSE(result.ok);
    const wxString& message = result.error;
    EXPECT_NE(message.Find(dir.File(wxS("p.xml"))), wxNOT_FOUND) << message.utf8_string();
    EXPECT_NE(message.Find(gone), wxNOT_FOUND) << message.utf8_string();
    EXPECT_NE(message.Find(broken), wxNOT_FOUND) << message.utf8_string();
    EXPECT_NE(message.Find(dir.File(wxS("lost.gif")) + wxS(" (3 frames)")), wxNOT_FOUND)
        << message.utf8_string();
    EXPECT_EQ(message.Find(png), wxNOT_FOUND) << "a readable picture is not missing";
    EXPECT_EQ(message.find('\n'), wxString::npos);
    EXPECT_EQ(ReadFileBytes(previous), "previous");
}

// A picture whose header is sound but whose data is cut short is only found
// while the frames stream to the file; the file is still left alone.
TEST_F(ProjectRender, PicturesThatFailWhileDecodingAreNamedToo)
{
    const std::string whole = ReadFileBytes(png);
    const wxString cut = dir.Write(wxS("cut.png"), whole.substr(0, whole.size() / 2));
    const wxString previous = dir.Write(wxS("out.gif"), "previous");
    for (int workers : {1, 3})
    {
        RenderJob job;
        job.inputs = Paths({png, bmp, cut, png});
        job.output = previous;
        job.workers = workers;
        const GifExportResult result = RunRenderJob(job);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, wxS("cannot read a picture from ") + cut);
        EXPECT_EQ(ReadFileBytes(previous), "previous");
    }
}

// References to one GIF's frames in a row, as Save Project writes them,
// decode the file once: the render goes on after the file is gone.
TEST_F(ProjectRender, FrameReferencesInARowReadTheirGifOnce)
{
    std::vector<wxImage> pictures;
    for (int i = 0; i < 30; ++i)
        pictures.push_back(SolidImage(16, 16, wxColour(8 * i, 100, 255 - 8 * i)));
    const wxString animation = dir.File(wxS("many.gif"));
    ASSERT_TRUE(ExportFrames(pictures, animation));
    RenderJob job;
    for (int i = 0; i < 30; ++i)
        job.inputs.push_back(animation + wxString::Format(wxS("_%d"), i));
    job.output = dir.File(wxS("out.gif"));
    job.workers = 1;
    const GifExportResult result = RunRenderJob(job,
                                                [&](int done, int)
                                                {
                                                    if (done == 1)
                                                        wxRemoveFile(animation);
                                                });
    ASSERT_TRUE(result.ok) << result.error.utf8_string();
    EXPECT_EQ(InspectGif(ReadFileBytes(job.output)).frames.size(), 30u);
}

// The palette shared by all frames is chosen from frames of the file itself,
// even where a frame the import skips lies before them.
TEST_F(ProjectRender, SharedPaletteSamplesTheFramesAfterASkippedOne)
{
    const std::vector<unsigned char> colours = {255, 0, 0, 220, 60, 30, 0, 0, 0, 255, 255, 255};
    std::string bytes = HandmadeGif(4, 4, colours,
                                    {{0, 0, 4, 4, 1, -1, std::string(16, '0')},
                                     {1, 2, 1, 1, 1, -1, "2"},
                                     {3, 3, 1, 1, 1, -1, "1"}});
    // The middle frame's descriptor gets a width of 0.
    const std::size_t middle = bytes.find(std::string("\x2c\x01\0\x02\0\x01\0", 7));
    ASSERT_NE(middle, std::string::npos);
    bytes[middle + 5] = 0;
    const wxString animation = dir.Write(wxS("skip.gif"), bytes);
    RenderJob job;
    job.inputs.push_back(animation);
    job.output = dir.File(wxS("out.gif"));
    job.options.optimised = true;
    const GifExportResult result = RunRenderJob(job);
    ASSERT_TRUE(result.ok) << result.error.utf8_string();
    const std::vector<std::vector<unsigned char>> shown =
        ComposeGif(InspectGif(ReadFileBytes(job.output)));
    ASSERT_EQ(shown.size(), 2u);
    // Only the changed corner is stored: alone it is too small for a table
    // of its own, so its colour must be in the shared one.
    EXPECT_EQ(std::vector<unsigned char>(shown[1].end() - 3, shown[1].end()),
              (std::vector<unsigned char>{220, 60, 30}));
}

// A frame whose LZW data is broken is left out and named; the frames after
// it are written, and so is the GIF.
TEST_F(ProjectRender, DamagedFramesAreNamedAndTheRestWritten)
{
    const std::vector<unsigned char> colours = {255, 0, 0, 0, 0, 255};
    std::vector<HandmadeFrame> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back({0, 0, 4, 4, 1, -1, std::string(16, char('0' + i % 2))});
    std::string bytes = HandmadeGif(4, 4, colours, frames);
    // The third frame's first code (after its control, descriptor, code size
    // and sub-block length) becomes the end code.
    std::size_t control = 0;
    for (int i = 0; i < 3; ++i)
        control = bytes.find("\x21\xf9\x04", control + 1);
    ASSERT_NE(control, std::string::npos);
    const std::size_t codeSize = control + 8 + 10;
    bytes[codeSize + 2] = static_cast<char>((1 << bytes[codeSize]) + 1);

    RenderJob job;
    job.inputs.push_back(dir.Write(wxS("damaged.gif"), bytes));
    job.output = dir.File(wxS("out.gif"));
    const GifExportResult result = RunRenderJob(job);
    ASSERT_TRUE(result.ok) << result.error.utf8_string();
    EXPECT_EQ(result.warnings,
              Paths({job.inputs[0] + wxS(": frame 3 is damaged and was left out")}));
    EXPECT_EQ(InspectGif(ReadFileBytes(job.output)).frames.size(), 4u);
}

TEST_F(ProjectRender, AnOutputSizeNoPictureMayHaveFailsCleanly)
{
    RenderJob job;
    job.inputs.push_back(png);
    job.output = dir.File(wxS("huge.gif"));
    job.width = 65535;
    job.height = 65535;
    const GifExportResult result = RunRenderJob(job);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.Find(wxS("too large")), wxNOT_FOUND) << result.error.utf8_string();
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{"a.png", "b.gif", "c.bmp"}));
}

namespace
{
std::vector<int> DelaysOf(const wxString& gif)
{
    std::vector<int> delays;
    for (const InspectedFrame& frame : InspectGif(ReadFileBytes(gif)).frames)
        delays.push_back(frame.delay);
    return delays;
}
}  // namespace

// A whole GIF keeps the delays its file stores, unless -d sets every frame's.
// A GIF at the default pace writes the very bytes its frame references do,
// as every GIF did before file delays were kept.
TEST_F(ProjectRender, WholeGifsKeepTheirFramesDelays)
{
    const std::vector<unsigned char> colours = {200, 0, 0, 0, 200, 0, 0, 0, 200, 90, 90, 90};
    std::vector<HandmadeFrame> frames;
    for (int delay : {8, 8, 50, 3})
        frames.push_back({0, 0, 2, 1, 1, -1, std::string(2, char('0' + frames.size())), delay});
    RenderJob job;
    job.inputs.push_back(dir.Write(wxS("timed.gif"), HandmadeGif(2, 1, colours, frames)));
    job.output = dir.File(wxS("out.gif"));
    ASSERT_TRUE(RunRenderJob(job).ok);
    EXPECT_EQ(DelaysOf(job.output), (std::vector<int>{8, 8, 50, 3}));
    // Reversed, the frames are named one by one and still keep their delays.
    job.reverse = true;
    ASSERT_TRUE(RunRenderJob(job).ok);
    EXPECT_EQ(DelaysOf(job.output), (std::vector<int>{3, 50, 8, 8}));
    job.reverse = false;
    job.delay = 25;
    job.fileDelays = false;
    ASSERT_TRUE(RunRenderJob(job).ok);
    EXPECT_EQ(DelaysOf(job.output), (std::vector<int>{25, 25, 25, 25}));

    RenderJob whole, references;
    whole.inputs.push_back(gif);
    whole.output = dir.File(wxS("whole.gif"));
    references.inputs = Paths({gif + wxS("_0"), gif + wxS("_1")});
    references.output = dir.File(wxS("references.gif"));
    ASSERT_TRUE(RunRenderJob(whole).ok && RunRenderJob(references).ok);
    EXPECT_EQ(ReadFileBytes(whole.output), ReadFileBytes(references.output));
}

// An output that is a source, by any name, is refused before anything is written.
TEST_F(ProjectRender, NeverWritesOverItsSources)
{
    const std::string before = ReadFileBytes(gif);
    const wxString link = dir.File(wxS("link.gif")), hard = dir.File(wxS("hard.gif"));
    ASSERT_EQ(symlink(gif.fn_str(), link.fn_str()), 0);
    ASSERT_EQ(::link(gif.fn_str(), hard.fn_str()), 0);
    RenderJob job;
    job.inputs = Paths({png, gif + wxS("_1")});
    for (const wxString& output : {gif, link, hard, dir.Path() + wxS("/./b.gif")})
    {
        job.output = output;
        const GifExportResult result = RunRenderJob(job);
        EXPECT_FALSE(result.ok) << output;
        EXPECT_NE(result.error.Find(wxS("made from")), wxNOT_FOUND) << result.error.utf8_string();
    }
    job.inputs = Paths({png});
    job.output = png;
    EXPECT_FALSE(RunRenderJob(job).ok);

    const wxString project = WriteProject(wxS("p.xml"), Sample());
    wxString error;
    ASSERT_TRUE(ReadProjectRenderJob(project, project, job, error));
    EXPECT_FALSE(RunRenderJob(job).ok);
    EXPECT_EQ(ReadFileBytes(gif), before);
    EXPECT_TRUE(ReadProjectFile(project).IsComplete());
}

TEST(UnreadablePictures, FramesOfOneGifCountAsOneItem)
{
    EXPECT_EQ(ListUnreadablePictures(Paths({"/p/a.png", "/p/w.gif_0", "/p/w.gif_1", "/p/w.gif_2",
                                            "/p/x.gif_4", "/p/b.jpg", "/p/w.gif_7"}),
                                     wxS("|"), 20),
              wxS("/p/a.png|/p/w.gif (3 frames)|/p/x.gif_4|/p/b.jpg|/p/w.gif_7"));
    EXPECT_EQ(ListUnreadablePictures(wxArrayString(), wxS("|"), 20), wxString());
}

TEST(UnreadablePictures, LongListsAreCut)
{
    wxArrayString entries;
    for (int i = 0; i < 25; ++i)
        entries.push_back(wxString::Format(wxS("/p/%d.png"), i));
    const wxString text = ListUnreadablePictures(entries, wxS("\n"), 20);
    EXPECT_EQ(wxSplit(text, '\n', '\0').size(), 21u);
    EXPECT_TRUE(text.StartsWith(wxS("/p/0.png\n/p/1.png\n")));
    EXPECT_TRUE(text.EndsWith(wxS("/p/19.png\nand 5 more"))) << text.utf8_string();
}

// A part of a clip, reversed: its frames at the chosen rate, each for its
// time in the clip, read back from the counter the clip draws.
TEST(VideoRender, APartOfAClipRendersItsFramesAtTheirTimes)
{
    TempDir dir;
    const wxString clip = dir.File(wxS("counter.mkv"));
    wxString error;
    ASSERT_TRUE(MakeCounterClip(clip, error)) << error;
    RenderOptions options;
    ASSERT_TRUE(ParseRenderArguments({"--start", "0:00.4", "--end", "1.6", "--fps", "5",
                                      "--optimize", "--reverse", clip, "-o", dir.File("out.gif")},
                                     options, error))
        << error;
    RenderJob job;
    job.inputs = options.inputs;
    job.output = options.output;
    ASSERT_TRUE(TakeVideoClipInputs(options, job, error)) << error;
    ApplyRenderGifOptions(options, job.options);
    ApplyRenderEdits(options, job);
    const GifExportResult result = RunRenderJob(job);
    ASSERT_TRUE(result.ok) << result.error;

    std::vector<int> frames, delays;
    DecodePictures(job.output, [&](std::unique_ptr<wxImage> picture, int, bool)
                   { frames.push_back(CounterFrame(*picture)); });
    for (const InspectedFrame& frame : InspectGif(ReadFileBytes(job.output)).frames)
        delays.push_back(frame.delay);
    EXPECT_EQ((std::vector<int>{35, 30, 25, 20, 15, 10}), frames);
    EXPECT_EQ(std::vector<int>(6, 20), delays);

    // A part outside the clip is refused before anything is read.
    ASSERT_TRUE(
        ParseRenderArguments({"--start", "3", clip, "-o", dir.File("late.gif")}, options, error));
    job.inputs = options.inputs;
    EXPECT_FALSE(TakeVideoClipInputs(options, job, error));
    EXPECT_NE(wxNOT_FOUND, error.Find(clip)) << error;
}
