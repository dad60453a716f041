// The window-free frame list, its undo history and the bookkeeping of an
// import: moving frames, delays, steps to undo, and where imported pictures
// go with which delay.
#include "edit/framelist.h"
#include "edit/edithistory.h"
#include "edit/importrun.h"

#include "test_files.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A list of frames named "a", "b", ... with 1 x 1 pictures.
FrameList Letters(int count)
{
    FrameList list;
    std::vector<StripFrame> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(MakeStripFrame(wxImage(1, 1), wxString(wxUniChar('a' + i)), 0));
    list.Insert(0, frames);
    return list;
}

std::string Order(const FrameList& list)
{
    std::string order;
    for (const wxString& name : list.GetNames())
        order += name.utf8_string();
    return order;
}
}  // namespace

TEST(FrameList, MoveTakesTheFramesToTheGapInTheirOrder)
{
    struct Case
    {
        std::vector<int> indices;
        int before;
        const char* order;  // "" when nothing moves
        std::vector<int> placed;
    };
    const Case cases[] = {
        {{1}, 4, "acdbef", {3}},
        {{4}, 1, "aebcdf", {1}},
        {{0, 2}, 6, "bdefac", {4, 5}},
        {{5, 1}, 0, "bfacde", {0, 1}},
        {{1, 3}, 3, "acbdef", {2, 3}},
        // Onto itself or next to itself: nothing moves.
        {{2}, 2, "", {}},
        {{2}, 3, "", {}},
        {{2, 3}, 4, "", {}},
        {{0, 1, 2, 3, 4, 5}, 0, "", {}},
        // Indices and gaps outside the list.
        {{9}, 0, "", {}},
        {{1}, 7, "", {}},
        {{1}, -1, "", {}},
    };
    for (const Case& c : cases)
    {
        FrameList list = Letters(6);
        SCOPED_TRACE(::testing::PrintToString(c.indices) + " before " + std::to_string(c.before));
        EXPECT_EQ(list.Move(c.indices, c.before), c.placed);
        EXPECT_EQ(Order(list), *c.order ? c.order : "abcdef");
    }
}

TEST(FrameList, DelaysStartTimesAndExport)
{
    FrameList list = Letters(4);
    EXPECT_TRUE(list.SetOwnDelay({1, 2, 9}, 25));
    EXPECT_FALSE(list.SetOwnDelay({1}, 25));
    EXPECT_TRUE(list.SetOwnDelay({2}, 100000));  // beyond what a GIF holds
    EXPECT_EQ(list.GetOwnDelays(), (std::vector<int>{0, 25, 65535, 0}));
    EXPECT_EQ(list.GetStartTimes(10), (std::vector<long long>{0, 10, 35, 65570}));
    std::vector<int> exported;
    for (const ExportFrame& frame : list.GetExportFrames(7))
        exported.push_back(frame.delay);
    EXPECT_EQ(exported, (std::vector<int>{7, 25, 65535, 7}));
    EXPECT_EQ(list.GetExportFrames(7)[3].picture, &list.Get(3).source->picture);
    EXPECT_TRUE(list.SetOwnDelay({1, 2}, 0));
    EXPECT_EQ(list.GetOwnDelays(), (std::vector<int>{0, 0, 0, 0}));
}

TEST(FrameList, FramesOfGifFilesAreNamedByTheirReference)
{
    EXPECT_EQ(MakeStripFrame(wxImage(1, 1), wxS("/p/a.gif"), 3).source->name, wxS("/p/a.gif_3"));
    EXPECT_EQ(MakeStripFrame(wxImage(1, 1), wxS("/p/A.GIF"), 0).source->name, wxS("/p/A.GIF"));
    EXPECT_EQ(MakeStripFrame(wxImage(1, 1), wxS("/p/a.png"), 0).source->name, wxS("/p/a.png"));
}

namespace
{
EditState StateOf(const FrameList& frames, int delay)
{
    EditState state;
    state.frames = frames;
    state.delay = delay;
    return state;
}
}  // namespace

// Typing a number digit by digit is one step; any other edit in between, or
// an undo, starts a new one.
TEST(EditHistory, SettingsTypedInARowAreOneStep)
{
    EditHistory history;
    const FrameList frames = Letters(2);
    history.Record(StateOf(frames, 1), EditKind::Delay);
    history.Record(StateOf(frames, 12), EditKind::Delay);
    history.Record(StateOf(frames, 123), EditKind::Size);
    history.Record(StateOf(frames, 4), EditKind::Frames);
    history.Record(StateOf(frames, 5), EditKind::Frames);
    history.Record(StateOf(frames, 6), EditKind::Delay);
    EXPECT_EQ(history.GetUndoCount(), 5u);

    EXPECT_EQ(history.Undo(StateOf(frames, 7)).delay, 6);
    history.Record(StateOf(frames, 8), EditKind::Delay);
    EXPECT_EQ(history.GetUndoCount(), 5u);
    EXPECT_FALSE(history.CanRedo()) << "a new edit forgets what was undone";
    EXPECT_EQ(history.Undo(StateOf(frames, 9)).delay, 8);
    EXPECT_EQ(history.Undo(StateOf(frames, 8)).delay, 5);
    EXPECT_EQ(history.Redo(StateOf(frames, 5)).delay, 8);
    EXPECT_EQ(history.Redo(StateOf(frames, 8)).delay, 9);
    EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, KeepsTheNewestStepsUpToItsLimit)
{
    EditHistory history;
    FrameList frames = Letters(3);
    for (int i = 0; i < 150; ++i)
        history.Record(StateOf(frames, i));
    EXPECT_EQ(history.GetUndoCount(), EditHistory::kDefaultLimit);
    EditState state = StateOf(frames, 150);
    while (history.CanUndo())
        state = history.Undo(state);
    EXPECT_EQ(state.delay, 150 - int(EditHistory::kDefaultLimit));
    // Every step shares the pictures of the list.
    EXPECT_EQ(&state.frames.Get(2).source->picture, &frames.Get(2).source->picture);
}

TEST(FrameList, CaptionsMoveWithTheirFramesAndComeBackWithUndo)
{
    FrameList frames = Letters(6);
    const auto caption = [](const char* text)
    {
        Caption made;
        made.text = text;
        return std::make_shared<const Caption>(made);
    };
    const CaptionRef low = caption("low"), high = caption("high");
    ASSERT_TRUE(frames.AddCaption(low, {1, 2, 3}));
    ASSERT_TRUE(frames.AddCaption(high, {3, 4}));
    EditHistory history;
    history.Record(StateOf(frames, 10));

    // "d" (both captions) goes first, "b" last: the captions stay on their frames.
    ASSERT_FALSE(frames.Move({3}, 0).empty());
    ASSERT_FALSE(frames.Move({2}, 6).empty());
    EXPECT_EQ(Order(frames), "dacefb");
    EXPECT_EQ(frames.GetCaptionFrames(low), (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(frames.GetCaptionFrames(high), (std::vector<int>{0, 3}));
    // Drawing order is the order they first show in, on every frame.
    EXPECT_EQ(frames.GetFrameCaptions(0), (FrameCaptions{low, high}));
    EXPECT_EQ(frames.GetExportFrames(10)[5].captions, FrameCaptions{low});
    EXPECT_EQ(frames.GetFrameCaptions(1), FrameCaptions{});

    // An edit replaces the caption and its frames; undo brings both back.
    const CaptionRef edited = caption("edited");
    ASSERT_TRUE(frames.ReplaceCaption(low, edited, {1}));
    EXPECT_EQ(frames.GetCaptions(), (FrameCaptions{high, edited}));
    ASSERT_FALSE(frames.ReplaceCaption(edited, edited, {1})) << "nothing changed";
    ASSERT_TRUE(frames.RemoveCaption(high));
    const EditState back = history.Undo(StateOf(frames, 11));
    EXPECT_EQ(Order(back.frames), "abcdef");
    EXPECT_EQ(back.frames.GetCaptionFrames(low), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(back.frames.GetCaptionFrames(high), (std::vector<int>{3, 4}));
}

TEST(ImportRun, PicturesGoToTheirPlaceWithTheirEntrysDelay)
{
    const wxArrayString entries =
        Paths({"/p/a.png", "/p/gone.png", "/p/b.gif_2", "/p/c.gif", "/p/a.png", "/p/b.gif_07"});
    ImportRun run(entries, {5, 6, 7, 0, 9}, 3);
    struct Arrival
    {
        const char* path;
        int frame;
        int position;
        int delay;
    };
    // The thread names a picture by its file and frame index.
    const Arrival arrivals[] = {{"/p/a.png", 0, 3, 5}, {"/p/b.gif", 2, 4, 7},
                                {"/p/c.gif", 0, 5, 0}, {"/p/c.gif", 1, 6, 0},
                                {"/p/a.png", 0, 7, 9}, {"/p/b.gif", 7, 8, 0}};
    for (const Arrival& a : arrivals)
    {
        SCOPED_TRACE(std::string(a.path) + " " + std::to_string(a.frame));
        const ImportRun::Arrival got = run.Take(wxString::FromUTF8(a.path), a.frame);
        EXPECT_EQ(got.position, a.position);
        EXPECT_EQ(got.delay, a.delay);
    }
    EXPECT_EQ(run.GetDelivered(), 6);
    EXPECT_EQ(run.GetUnreadable(), Paths({"/p/gone.png"}));

    ImportRun appending(Paths({"/p/x.png", "/p/y.png"}), {}, -1);
    EXPECT_EQ(appending.Take(wxS("/p/y.png"), 0).position, -1);
    EXPECT_EQ(appending.GetUnreadable(), Paths({"/p/x.png"}));
}
