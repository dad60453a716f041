#include "project/projectfile.h"
#include "edit/framelist.h"
#include "project/projectcaptions.h"

#include "fifo.h"
#include "file_size_limit.h"
#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <random>

namespace
{
Project Example()
{
    Project project;
    project.gifName = wxS("anim.gif");
    project.width = 320;
    project.height = 240;
    project.delay = 20;
    project.framePaths = Paths({"/pics/a.png", "/pics/b.gif_0", "/pics/b.gif_1", "/pics/c.jpg"});
    return project;
}
}  // namespace

// The GIF's own path follows each run of its frames; a run that ends the strip
// names it before its last frame, and a single frame at the end gets none.
TEST(ProjectEntries, GifPathFollowsARunOfItsFrames)
{
    wxArrayString twelveStrip = Paths({"/p/first.png"});
    for (int i = 0; i < 12; ++i)
        twelveStrip.push_back(wxString::Format(wxS("/p/twelve.gif_%d"), i));
    wxArrayString twelveEntries = twelveStrip;
    twelveEntries.push_back(wxS("/p/twelve.gif"));
    twelveStrip.push_back(wxS("/p/last.bmp"));
    twelveEntries.push_back(wxS("/p/last.bmp"));

    const std::pair<wxArrayString, wxArrayString> cases[] = {
        {Example().framePaths,
         Paths({"/pics/a.png", "/pics/b.gif_0", "/pics/b.gif_1", "/pics/b.gif", "/pics/c.jpg"})},
        {Paths({"/pics/a.png", "/pics/b.gif_0", "/pics/b.gif_1"}),
         Paths({"/pics/a.png", "/pics/b.gif_0", "/pics/b.gif", "/pics/b.gif_1"})},
        {twelveStrip, twelveEntries},
        {Paths({"/p/a.png", "/p/b.gif_4"}), Paths({"/p/a.png", "/p/b.gif_4"})},
        {Paths({"/p/a.gif_0", "/p/b.gif_0", "/p/b.gif_1"}),
         Paths({"/p/a.gif_0", "/p/a.gif", "/p/b.gif_0", "/p/b.gif", "/p/b.gif_1"})},
        // Folders that look like frame references hold no frames.
        {Paths({"/x.gif_old/a.png", "/y.gif_2/b.png"}),
         Paths({"/x.gif_old/a.png", "/y.gif_2/b.png"})},
    };
    for (const auto& [strip, entries] : cases)
        EXPECT_EQ(ProjectImageEntries(strip), entries);
}

// The same file the window must write for the same strip (project_test.cpp).
TEST(ProjectDocument, ExampleTextIsExact)
{
    wxString expected =
        wxString::FromUTF8(ReadFileBytes(wxS(LF_TEST_DATA_DIR "/project_example.xml")));
    ASSERT_FALSE(expected.empty());
    expected.Replace(wxS("@DIR@"), wxS("/pics"));
    EXPECT_EQ(ProjectDocumentText(Example()), expected.utf8_string());
}

TEST(ProjectDocument, RoundTripKeepsFramesAndSettings)
{
    TempDir dir;
    Project project = Example();
    project.framePaths.push_back(
        wxString::FromUTF8("/bilder/\xC3\xBC"
                           "ber & <mehr>.png"));
    project.framePaths.push_back(wxS("/p/huge.gif_1234"));
    const wxString path = dir.File(wxS("p.xml"));
    ASSERT_TRUE(WriteProjectFile(path, project, nullptr));
    const ProjectReadResult read = ReadProjectFile(path);
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.gifName, project.gifName);
    EXPECT_EQ(read.project.width, 320);
    EXPECT_EQ(read.project.height, 240);
    EXPECT_EQ(read.project.delay, 20);
    EXPECT_EQ(read.project.framePaths, project.framePaths);
    EXPECT_EQ(read.project.gifOptions, GifOptions()) << "a project without options is classic";

    project.gifName.clear();
    const ProjectReadResult unnamed = ReadProjectText(ProjectDocumentText(project));
    ASSERT_TRUE(unnamed.IsComplete());
    EXPECT_TRUE(unnamed.project.gifName.empty());
}

TEST(ProjectDocument, GifOptionsFollowTheImagesAndComeBack)
{
    Project project = Example();
    GifOptions& options = project.gifOptions;
    options.optimised = true;
    options.onlyChanges = false;
    options.globalPalette = false;
    options.colours = 17;
    options.dither = GifDither::Ordered;
    options.smooth = true;
    options.loopCount = 4;
    project.frameDelays = {0, 25, 0, 3};
    const std::string text = ProjectDocumentText(project);
    EXPECT_LT(text.find("</images>"), text.find("<gif_options>"));
    const ProjectReadResult read = ReadProjectText(text);
    EXPECT_EQ(read.project.gifOptions, options);
    EXPECT_EQ(read.project.frameDelays, project.frameDelays);

    // A classic choice with only the loop count changed is stored too.
    project.gifOptions = GifOptions();
    project.gifOptions.loopCount = 2;
    EXPECT_EQ(ReadProjectText(ProjectDocumentText(project)).project.gifOptions.loopCount, 2);
    EXPECT_NE(ProjectDocumentText(project).find("<gif_options>"), std::string::npos)
        << "a GIF writes the element as it always was, without attributes";

    // Another format and a WebP quality are attributes, written only when chosen.
    project.gifOptions.format = ExportFormat::WebP;
    project.gifOptions.webpQuality = 0;
    const std::string webp = ProjectDocumentText(project);
    EXPECT_NE(webp.find("<gif_options format=\"webp\" webp_quality=\"0\">"), std::string::npos)
        << webp;
    EXPECT_EQ(ReadProjectText(webp).project.gifOptions, project.gifOptions);
    project.gifOptions.webpQuality = kWebpLossless;
    EXPECT_EQ(ReadProjectText(ProjectDocumentText(project)).project.gifOptions.webpQuality,
              kWebpLossless);
}

TEST(ProjectDocument, CaptionsComeLastAndComeBackOnTheirFrames)
{
    Project project = Example();
    project.gifOptions.optimised = true;
    Caption free;
    free.text = wxString::FromUTF8("Two lines & <marks>\nשלום 你好");
    free.family = wxS("Serif");
    free.size = 21;
    free.bold = free.italic = free.box = true;
    free.colour = {1, 2, 3, 255};
    free.outlineColour = {250, 251, 252, 128};
    free.outline = 0;
    free.boxColour = {9, 8, 7, 6};
    free.place = CaptionPlace::Free;
    free.x = 0.25;
    free.y = 0.875;
    Caption plain;
    plain.text = wxS("plain");
    project.captions = {{free, {0, 2, 3}}, {plain, {1}}};
    const std::string text = ProjectDocumentText(project);
    EXPECT_LT(text.find("</gif_options>"), text.find("<captions>"));
    EXPECT_NE(text.find("frames=\"1,3-4\""), std::string::npos) << text;
    const ProjectReadResult read = ReadProjectText(text);
    ASSERT_TRUE(read.IsComplete());
    EXPECT_TRUE(read.project.captions == project.captions);
    EXPECT_TRUE(read.project.gifOptions.optimised);

    // Frames out of range are dropped, and a caption left on none with them.
    EXPECT_EQ(ParseCaptionFrames(wxS("0,2-3,4-99,x"), 4), (std::vector<int>{1, 2, 3}));
    project.captions[1].frames = {7};
    EXPECT_EQ(ReadProjectText(ProjectDocumentText(project)).project.captions.size(), 1u);

    // Opened in the window, a caption follows its frames past one that did not arrive.
    FrameList frames;
    frames.Insert(0, {MakeStripFrame(wxImage(1, 1), wxS("/pics/a.png"), 0),
                      MakeStripFrame(wxImage(1, 1), wxS("/pics/c.jpg"), 0)});
    ApplyProjectCaptions({{free, {0, 2, 3}}}, project.framePaths, frames);
    ASSERT_EQ(frames.GetCaptions().size(), 1u);
    EXPECT_EQ(frames.GetCaptionFrames(frames.GetCaptions()[0]), (std::vector<int>{0, 1}));
}

TEST(ProjectReading, GifOptionsOutOfRangeOrUnknownKeepTheDefaults)
{
    std::string text = ProjectDocumentText(Example());
    text.replace(text.find("</project>"), 0,
                 "  <gif_options format=\"avi\" webp_quality=\"101\" lossy=\"101\""
                 " max_bytes=\"0\"><profile>optimised</profile><colours>999</colours>"
                 "<dither>sparkle</dither><loop_count>-3</loop_count><smooth>maybe</smooth>"
                 "<later_setting>1</later_setting><only_changes>no</only_changes>"
                 "</gif_options>\n");
    const ProjectReadResult read = ReadProjectText(text);
    ASSERT_TRUE(read.IsComplete());
    GifOptions expected;
    expected.optimised = true;
    expected.onlyChanges = false;
    EXPECT_EQ(read.project.gifOptions, expected);

    // The lossy strength and the size limit are written only when set.
    Project project = Example();
    project.gifOptions = expected;
    EXPECT_EQ(ProjectDocumentText(project).find("lossy"), std::string::npos);
    project.gifOptions.lossy = 30;
    project.gifOptions.maxBytes = 5000000;
    EXPECT_EQ(ReadProjectText(ProjectDocumentText(project)).project.gifOptions, project.gifOptions);
}

// A frame's own delay is an attribute of its `path`; frames without one
// write exactly what they always did, and the GIF's own entry stands for a
// run of its frames with one delay.
TEST(ProjectDocument, OwnDelaysRoundTripAndSplitGifRuns)
{
    Project project = Example();
    project.frameDelays = {0, 0, 0, 0};
    EXPECT_EQ(ProjectDocumentText(project), ProjectDocumentText(Example()));

    project.framePaths = Paths({"/p/a.png", "/p/b.gif_0", "/p/b.gif_1", "/p/b.gif_2", "/p/c.jpg"});
    project.frameDelays = {15, 40, 40, 7, 0};
    std::vector<std::pair<wxString, int>> entries;
    for (const ProjectImageEntry& entry :
         ProjectImageEntries(project.framePaths, project.frameDelays))
        entries.push_back({entry.path, entry.delay});
    const std::vector<std::pair<wxString, int>> expected = {
        {"/p/a.png", 15}, {"/p/b.gif_0", 40}, {"/p/b.gif_1", 40}, {"/p/b.gif", 40},
        {"/p/b.gif_2", 7}, {"/p/b.gif", 7},   {"/p/c.jpg", 0}};
    EXPECT_EQ(entries, expected);

    const std::string text = ProjectDocumentText(project);
    EXPECT_NE(text.find("<path delay=\"15\">/p/a.png</path>"), std::string::npos) << text;
    EXPECT_NE(text.find("<path>/p/c.jpg</path>"), std::string::npos) << text;
    const ProjectReadResult read = ReadProjectText(text);
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.framePaths, project.framePaths);
    EXPECT_EQ(read.project.frameDelays, project.frameDelays);
}

TEST(ProjectReading, DelaysAGifCannotHoldCountAsNone)
{
    const ProjectReadResult read = ReadProjectText(
        "<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
        "</gif><images><path delay=\"0\">/a.png</path><path delay=\"-3\">/b.png</path>"
        "<path delay=\"70000\">/c.png</path><path delay=\"x\">/d.png</path>"
        "<path delay=\" 12\">/e.png</path><path delay=\"9\">/f.gif</path><path>/g.png</path>"
        "</images></project>");
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.framePaths.size(), 6u);
    EXPECT_EQ(read.project.frameDelays, (std::vector<int>{0, 0, 0, 0, 12, 0}));
}

TEST(ProjectWriting, FailedWriteKeepsThePreviousFile)
{
    TempDir dir;
    const wxString path = dir.File(wxS("keep.xml"));
    ASSERT_TRUE(WriteProjectFile(path, Example(), nullptr));
    const std::string before = ReadFileBytes(path);
    Project bigger = Example();
    for (int i = 0; i < 50; ++i)
        bigger.framePaths.push_back(wxString::Format(wxS("/pics/more%d.png"), i));
    wxString error;
    {
        FileSizeLimit full(before.size());
        ASSERT_TRUE(full.IsOk());
        EXPECT_FALSE(WriteProjectFile(path, bigger, &error));
    }
    EXPECT_NE(error.Find(path), wxNOT_FOUND) << error.utf8_string();
    EXPECT_NE(error.Find(wxS("File too large")), wxNOT_FOUND) << error.utf8_string();
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{wxS("keep.xml")});
}

TEST(ProjectWriting, MissingFolderIsReportedWithTheFileName)
{
    TempDir dir;
    const wxString path = dir.File(wxS("no/such/folder/p.xml"));
    wxString error;
    EXPECT_FALSE(WriteProjectFile(path, Example(), &error));
    EXPECT_NE(error.Find(path), wxNOT_FOUND);
    EXPECT_NE(error.Find(wxS("No such file or directory")), wxNOT_FOUND) << error.utf8_string();
    EXPECT_EQ(error.find('\n'), wxString::npos);
}

TEST(ProjectWriting, ReplacesAnExistingFileWhole)
{
    TempDir dir;
    const wxString path = dir.Write(wxS("p.xml"), std::string(5000, 'x'));
    ASSERT_TRUE(WriteProjectFile(path, Example(), nullptr));
    EXPECT_EQ(ReadFileBytes(path), ProjectDocumentText(Example()));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<wxString>{wxS("p.xml")});
}

namespace
{
std::string Doc(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body;
}
}  // namespace

TEST(ProjectReading, StopsAtTheFirstMisplacedElement)
{
    struct Case
    {
        const char* what;
        std::string text;
        ProjectReadStage stage;
    };
    const Case cases[] = {
        {"not xml", "hello", ProjectReadStage::NotXml},
        {"empty", "", ProjectReadStage::NotXml},
        {"truncated", ProjectDocumentText(Example()).substr(0, 120), ProjectReadStage::NotXml},
        {"other root", Doc("<gif/>"), ProjectReadStage::NoProject},
        {"no name", Doc("<project><gif/></project>"), ProjectReadStage::NoName},
        {"gif first", Doc("<project><gif/><name/></project>"), ProjectReadStage::NoName},
        {"no gif", Doc("<project><name>a</name><images/></project>"), ProjectReadStage::NoGif},
        {"height first",
         Doc("<project><name/><gif><height>1</height><width>2</width></gif></project>"),
         ProjectReadStage::NoWidth},
        {"no delay",
         Doc("<project><name>n.gif</name><gif><width>40</width><height>30</height></gif>"
             "<images><path>/a.png</path></images></project>"),
         ProjectReadStage::NoDelay},
        {"no images",
         Doc("<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
             "</gif></project>"),
         ProjectReadStage::NoImages},
        {"empty images",
         Doc("<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
             "</gif><images/></project>"),
         ProjectReadStage::EmptyImages},
        {"wrong child",
         Doc("<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
             "</gif><images><path>/a.png</path><file>/b.png</file></images></project>"),
         ProjectReadStage::BadImageEntry},
        {"nested wrongly",
         Doc("<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
             "<images><path>/a.png</path></images></gif></project>"),
         ProjectReadStage::NoImages},
    };
    for (const Case& c : cases)
    {
        const ProjectReadResult read = ReadProjectText(c.text);
        EXPECT_EQ(int(read.stage), int(c.stage)) << c.what;
        EXPECT_TRUE(read.project.framePaths.empty()) << c.what;
    }
}

TEST(ProjectReading, WhatWasReadBeforeAMismatchIsKept)
{
    const ProjectReadResult read = ReadProjectText(
        Doc("<project><name>n.gif</name><gif><width>40</width><height>30</height></gif>"
            "<images><path>/a.png</path></images></project>"));
    EXPECT_TRUE(read.HasSize());
    EXPECT_FALSE(read.HasDelay());
    EXPECT_EQ(read.project.width, 40);
    EXPECT_EQ(read.project.height, 30);
    EXPECT_EQ(read.project.gifName, wxS("n.gif"));
}

TEST(ProjectReading, GifEntriesAreSkipped)
{
    const ProjectReadResult read = ReadProjectText(
        Doc("<project><name/><gif><width>4</width><height>3</height><delay_time>5</delay_time>"
            "</gif><images><path>/a.gif</path><path>/a.gif_0</path><path>/b.GIF</path>"
            "<path>/c.Gif_1</path><path>/c.Gif</path><path>/c.Gif_2</path></images></project>"));
    ASSERT_TRUE(read.IsComplete());
    // An upper-case GIF that is no run's own entry was one picture, and stays one.
    EXPECT_EQ(read.project.framePaths, Paths({"/a.gif_0", "/b.GIF_0", "/c.Gif_1", "/c.Gif_2"}));
    // A run of an upper-case GIF's frames comes back as written.
    const wxArrayString strip = Paths({"/p/B.GIF_0", "/p/B.GIF_1", "/p/c.png"});
    EXPECT_EQ(ProjectImageEntries(strip), Paths({"/p/B.GIF_0", "/p/B.GIF_1", "/p/B.GIF", "/p/c.png"}));
    Project project = Example();
    project.framePaths = strip;
    EXPECT_EQ(ReadProjectText(ProjectDocumentText(project)).project.framePaths, strip);
}

TEST(ProjectReading, NumbersAreReadLikeTheCLibraryDoes)
{
    EXPECT_EQ(ParseProjectNumber(wxS("320")), 320);
    EXPECT_EQ(ParseProjectNumber(wxS("  42px")), 42);
    EXPECT_EQ(ParseProjectNumber(wxS("-7")), -7);
    EXPECT_EQ(ParseProjectNumber(wxS("+8")), 8);
    EXPECT_EQ(ParseProjectNumber(wxS("abc")), 0);
    EXPECT_EQ(ParseProjectNumber(wxString()), 0);
    EXPECT_EQ(ParseProjectNumber(wxS("99999999999999999999")), INT_MAX);
}

namespace
{
// The example project with one more picture, nested depth elements deep in
// images, and a name of length characters with a line break every lineLength.
std::string Stretched(int depth, size_t length, size_t lineLength)
{
    std::string name;
    while (name.size() < length)
        name += name.size() % lineLength == lineLength - 1 ? '\n' : 'n';
    Project project = Example();
    project.gifName = wxString::FromUTF8(name);
    std::string text = ProjectDocumentText(project);
    const size_t images = text.find("<images>") + 8;
    std::string nested = "<path>/pics/deep.png</path>";
    for (int level = 0; level < depth; ++level)
        nested = "<a>" + nested + "</a>";
    return text.insert(images, nested);
}
}  // namespace

// Documents no project can be are refused before they are parsed: the
// parser's tree overflows the stack when deeply nested, and long texts of
// short lines take it quadratic time. Real projects are well within bounds.
TEST(ProjectReading, RefusesDocumentsShapedLikeNoProject)
{
    std::string unclosed = Doc("<project>");
    for (int i = 0; i < 150000; ++i)
        unclosed += "<a>";
    std::string attributes = "<project a0=\"\"";
    for (int i = 1; i < 40; ++i)
        attributes += " a" + std::to_string(i) + "=\"\"";
    const struct
    {
        const char* what;
        std::string text;
        ProjectReadStage stage;
    } cases[] = {
        {"150000 unclosed elements", unclosed, ProjectReadStage::TooDeep},
        {"17 levels", Stretched(14, 10, 100), ProjectReadStage::TooDeep},
        {"a 300 KB name", Stretched(0, 300000, 300001), ProjectReadStage::TooLong},
        {"a name of 400 short lines", Stretched(0, 800, 2), ProjectReadStage::TooLong},
        {"40 attributes", Doc(attributes + "/>"), ProjectReadStage::TooLong},
        {"an entity", Doc("<!DOCTYPE p [<!ENTITY e \"x\">]><project>&e;</project>"),
         ProjectReadStage::NotXml},
        // Within the bounds: the extra level fails only the project's own rules.
        {"16 levels", Stretched(13, 10, 100), ProjectReadStage::BadImageEntry},
        {"a 30 KB name of 240 lines", Stretched(0, 30000, 125), ProjectReadStage::Complete},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int(ReadProjectText(c.text).stage), int(c.stage)) << c.what;

    // The longest path a file system allows, with two hundred characters to escape, reads back.
    Project longest = Example();
    std::string path;
    while (path.size() < 4095)
        path += path.size() % 20 == 0 ? "/&<>"[path.size() / 20 % 4] : 'p';
    longest.framePaths.push_back(wxString::FromUTF8(path));
    const ProjectReadResult read = ReadProjectText(ProjectDocumentText(longest));
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.framePaths, longest.framePaths);
}

// Pipes, devices and folders are never opened; a file too large for a
// project is refused before it is read.
TEST(ProjectReading, OnlyRegularFilesOfAProjectsSizeAreRead)
{
    TempDir dir;
    const Fifo pipe(dir.File("p.xml"));
    ASSERT_TRUE(pipe.IsOk());
    wxFileName::Mkdir(dir.File("folder.xml"));
    const wxString huge = dir.Write("huge.xml", ProjectDocumentText(Example()));
    ASSERT_EQ(truncate(huge.fn_str(), kMaxProjectFileBytes + 1), 0);
    const std::pair<wxString, ProjectReadStage> cases[] = {
        {dir.File("p.xml"), ProjectReadStage::NotAFile},
        {dir.File("folder.xml"), ProjectReadStage::NotAFile},
        {wxS("/dev/null"), ProjectReadStage::NotAFile},
        {huge, ProjectReadStage::TooLarge},
        {dir.File("gone.xml"), ProjectReadStage::NotXml},
    };
    for (const auto& [path, stage] : cases)
    {
        ProjectReadResult read;
        EXPECT_TRUE(pipe.FinishesPromptly([&] { read = ReadProjectFile(path); })) << path;
        EXPECT_EQ(int(read.stage), int(stage)) << path;
    }
    ASSERT_EQ(truncate(huge.fn_str(), kMaxProjectFileBytes), 0);
    EXPECT_EQ(int(ReadProjectFile(huge).stage), int(ProjectReadStage::NotXml));
}

namespace
{
// Applies one to eight random edits (a changed byte, a cut, a copied
// stretch, a truncation) to text.
std::string Mutate(std::string text, std::mt19937& random)
{
    const char alphabet[] = "<>/ \"=&;!?x_0123456789abcdefghijklmnopqrstuvwxyz\n\t\xC3\xBF";
    const int edits = 1 + int(random() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e)
    {
        const size_t at = random() % text.size();
        switch (random() % 4)
        {
            case 0:
                text[at] = alphabet[random() % (sizeof(alphabet) - 1)];
                break;
            case 1:
                text.erase(at, 1 + random() % 16);
                break;
            case 2:
                text.insert(at, text.substr(random() % text.size(), random() % 40));
                break;
            default:
                text.resize(at);
                break;
        }
    }
    return text;
}
}  // namespace

// Mutated project files never crash or hang the reader.
TEST(ProjectReading, SurvivesMutatedFiles)
{
    const std::string seed = ProjectDocumentText(Example());
    std::mt19937 random(20261207);
    for (int round = 0; round < 4000; ++round)
    {
        const ProjectReadResult read = ReadProjectText(Mutate(seed, random));
        if (!read.IsComplete())
            continue;
        for (const wxString& path : read.project.framePaths)
            EXPECT_FALSE(path.EndsWith(wxS(".gif")));
    }
}

TEST(GifOptionsFile, RemembersTheChoiceAndFallsBackToTheDefaults)
{
    TempDir dir;
    GifOptions options;
    options.optimised = true;
    options.dither = GifDither::Diffuse;
    options.loopCount = 9;
    const wxString path = dir.File(wxS("gif-options.xml"));
    ASSERT_TRUE(SaveGifOptionsFile(path, options));
    EXPECT_EQ(LoadGifOptionsFile(path), options);

    GifOptionsFileRead read = GifOptionsFileRead::Unreadable;
    EXPECT_EQ(LoadGifOptionsFile(path, &read), options);
    EXPECT_EQ(read, GifOptionsFileRead::Read);

    EXPECT_EQ(LoadGifOptionsFile(dir.File(wxS("missing.xml")), &read), GifOptions());
    EXPECT_EQ(read, GifOptionsFileRead::Missing);
    // Damaged files, one nested far deeper than the stack can take apart.
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<gif_options>";
    for (const std::string& bad : {std::string("<not xml"), deep, std::string("<other/>")})
    {
        EXPECT_EQ(LoadGifOptionsFile(dir.Write(wxS("bad.xml"), bad), &read), GifOptions());
        EXPECT_EQ(read, GifOptionsFileRead::Unreadable) << bad.substr(0, 20);
    }
    EXPECT_FALSE(SaveGifOptionsFile(dir.File(wxS("no/such/folder.xml")), options));
}

// Mutations of documents at the nesting and text bounds cross them both
// ways; the reader refuses or reads each, never crashing on its way.
TEST(ProjectReading, SurvivesMutatedFilesAtItsBounds)
{
    std::mt19937 random(20261208);
    for (const std::string& seed : {Stretched(13, 30, 100), Stretched(0, 32760, 129)})
    {
        int refused = 0, parsed = 0;
        for (int round = 0; round < 300; ++round)
        {
            const ProjectReadResult read = ReadProjectText(Mutate(seed, random));
            const bool beyond =
                read.stage == ProjectReadStage::TooDeep || read.stage == ProjectReadStage::TooLong;
            (beyond ? refused : parsed) += 1;
            if (beyond)
            {
                EXPECT_TRUE(read.project.gifName.empty() && read.project.width == 0);
            }
        }
        EXPECT_GT(refused, 0);
        EXPECT_GT(parsed, 0);
    }
}

// Frames of a video clip keep their part of the clip and their place in it;
// frames of one part share it, and attributes that make no sense leave a
// plain path (which gives no picture) rather than a wrong part.
TEST(ProjectDocument, VideoFramesKeepTheirPartOfTheClip)
{
    Project project = Example();
    const auto range =
        std::make_shared<const VideoRange>(VideoRange{"/v/clip.mp4", 0.4, 1.6, 12, 320});
    project.framePaths = Paths({"/v/clip.mp4", "/p/a.png", "/v/clip.mp4"});
    project.frameVideos = {VideoEntry{range, 3}, VideoEntry(), VideoEntry{range, 14}};
    const std::string text = ProjectDocumentText(project);
    EXPECT_NE(text.find("<path clip_start=\"0.4\" clip_end=\"1.6\" clip_fps=\"12\" "
                        "clip_width=\"320\" clip_frame=\"3\">/v/clip.mp4</path>"),
              std::string::npos)
        << text;
    const ProjectReadResult read = ReadProjectText(text);
    ASSERT_TRUE(read.IsComplete());
    EXPECT_EQ(read.project.framePaths, project.framePaths);
    const std::vector<VideoEntry>& videos = read.project.frameVideos;
    ASSERT_EQ(videos.size(), 3u);
    ASSERT_TRUE(videos[0].range && videos[2].range);
    EXPECT_EQ(*videos[0].range, *range);
    EXPECT_EQ(videos[0].range, videos[2].range);
    EXPECT_EQ(videos[2].frame, 14);
    EXPECT_FALSE(videos[1].range);

    for (const char* broken : {"clip_fps=\"0\"", "clip_fps=\"60\"", "clip_frame=\"-1\"",
                               "clip_end=\"0.2\"", "clip_width=\"x\""})
    {
        std::string changed = text;
        const std::string name = std::string(broken).substr(0, std::string(broken).find('='));
        const std::size_t at = changed.find(name + "=");
        changed.replace(at, changed.find('"', changed.find('"', at) + 1) + 1 - at, broken);
        const ProjectReadResult damaged = ReadProjectText(changed);
        ASSERT_TRUE(damaged.IsComplete()) << broken;
        ASSERT_EQ(damaged.project.frameVideos.size(), 3u) << broken;
        EXPECT_FALSE(damaged.project.frameVideos[0].range) << broken;
        EXPECT_TRUE(damaged.project.frameVideos[2].range) << broken;
    }
}
