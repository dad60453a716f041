// The window-free frame list, its undo history and the bookkeeping of an
// import: moving frames, delays, steps to undo, and where imported pictures
// go with which delay.
#include "edit/framelist.h"
#include "edit/animationspeed.h"
#include "edit/edithistory.h"
#include "edit/repeatedframes.h"
#include "edit/importrun.h"

#include "test_files.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <functional>
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
    EXPECT_EQ(list.GetExportFrames(7)[3].stored.GetSize(), list.Get(3).source->GetSize());
    EXPECT_TRUE(list.SetOwnDelay({1, 2}, 0));
    EXPECT_EQ(list.GetOwnDelays(), (std::vector<int>{0, 0, 0, 0}));
}

TEST(FrameList, FramesOfGifFilesAreNamedByTheirReference)
{
    EXPECT_EQ(MakeStripFrame(wxImage(1, 1), wxS("/p/a.gif"), 3).source->name, wxS("/p/a.gif_3"));
    EXPECT_EQ(MakeStripFrame(wxImage(1, 1), wxS("/p/A.GIF"), 0).source->name, wxS("/p/A.GIF_0"));
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
    EXPECT_EQ(state.frames.Get(2).source, frames.Get(2).source);
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

namespace
{
// Frames "a" to "e" of 2 x 2 grey pictures: b repeats a exactly, c differs
// from a by 2 per channel, e from d by 5. Own delays 0, 20, 0, 5, 0 with an
// animation delay of 10.
EditState Greys()
{
    const int greys[] = {10, 10, 12, 100, 105};
    const int delays[] = {0, 20, 0, 5, 0};
    std::vector<StripFrame> frames;
    for (int i = 0; i < 5; ++i)
    {
        wxImage picture(2, 2);
        picture.SetRGB(wxRect(0, 0, 2, 2), greys[i], greys[i], greys[i]);
        frames.push_back(MakeStripFrame(picture, wxString(wxUniChar('a' + i)), 0, delays[i]));
    }
    EditState state;
    state.frames.Insert(0, frames);
    state.delay = 10;
    return state;
}

std::string Describe(const EditState& state)
{
    return Order(state.frames) + " " + ::testing::PrintToString(state.frames.GetOwnDelays()) +
           " " + std::to_string(state.delay);
}
}  // namespace

// Each edit of the toolbox on the same small list: the order, own delays and
// animation delay it gives, one step that undo and redo take back and forth.
TEST(FrameList, ToolboxEditsUndoAndRedo)
{
    using Edit = std::function<bool(EditState&)>;
    struct Case
    {
        const char* name;
        Edit edit;
        const char* order;
        std::vector<int> delays;
        int delay;
    };
    const Case cases[] = {
        {"duplicate b c", [](EditState& s) { return !s.frames.Duplicate({2, 1}).empty(); },
         "abcbcde", {0, 20, 0, 20, 0, 5, 0}, 10},
        {"duplicate a c", [](EditState& s) { return !s.frames.Duplicate({0, 2}).empty(); },
         "aabccde", {0, 0, 20, 0, 0, 5, 0}, 10},
        {"copy b c, paste before e",
         [](EditState& s) { return s.frames.Insert(4, s.frames.Copy({1, 2})) == 4; },
         "abcdbce", {0, 20, 0, 5, 20, 0, 0}, 10},
        {"cut b d, paste at the end",
         [](EditState& s)
         {
             const std::vector<StripFrame> cut = s.frames.Copy({3, 1});
             return s.frames.Remove({1, 3}) && s.frames.Insert(-1, cut) == 3;
         },
         "acebd", {0, 0, 0, 20, 5}, 10},
        {"reverse all", [](EditState& s) { return s.frames.Reverse({0, 1, 2, 3, 4}); },
         "edcba", {0, 5, 0, 20, 0}, 10},
        {"reverse b c e", [](EditState& s) { return s.frames.Reverse({4, 1, 2}); }, "aecdb",
         {0, 0, 0, 5, 20}, 10},
        {"yo-yo", [](EditState& s) { return s.frames.AppendReversed(); }, "abcdedcb",
         {0, 20, 0, 5, 0, 5, 0, 20}, 10},
        // 2.5 hundredths round up; nothing goes below 2.
        {"speed 200 %", [](EditState& s) { return ChangeSpeed(s, {}, 200); }, "abcde",
         {0, 10, 0, 3, 0}, 5},
        {"speed 1000 %", [](EditState& s) { return ChangeSpeed(s, {}, 1000); }, "abcde",
         {0, 2, 0, 2, 0}, 2},
        {"speed 50 % of a b", [](EditState& s) { return ChangeSpeed(s, {1, 0}, 50); }, "abcde",
         {20, 40, 0, 5, 0}, 10},
        // The time of the frames removed goes to the one kept before them.
        {"exact repeats",
         [](EditState& s)
         { return RemoveRepeatedFrames(s.frames, s.delay, FindRepeatedFrames(s.frames, s.delay, 0)); },
         "acde", {30, 0, 5, 0}, 10},
        {"repeats within 3",
         [](EditState& s)
         { return RemoveRepeatedFrames(s.frames, s.delay, FindRepeatedFrames(s.frames, s.delay, 3)); },
         "ade", {40, 5, 0}, 10},
        {"repeats within 5 among c d e only",
         [](EditState& s)
         {
             return RemoveRepeatedFrames(s.frames, s.delay,
                                         FindRepeatedFrames(s.frames, s.delay, 5, {2, 3, 4}));
         },
         "abcd", {0, 20, 0, 15}, 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const EditState before = Greys();
        EditState after = before;
        ASSERT_TRUE(c.edit(after));
        EXPECT_EQ(Order(after.frames), c.order);
        EXPECT_EQ(after.frames.GetOwnDelays(), c.delays);
        EXPECT_EQ(after.delay, c.delay);

        EditHistory history;
        history.Record(before);
        const EditState undone = history.Undo(after);
        EXPECT_EQ(Describe(undone), Describe(before));
        EXPECT_EQ(Describe(history.Redo(undone)), Describe(after));
        EXPECT_FALSE(history.CanRedo());
    }
}

TEST(FrameList, RemovingRepeatsKeepsTheDurationAndTheLongestDelay)
{
    EditState state = Greys();
    const long long total = state.frames.GetStartTimes(state.delay).back() +
                            state.frames.GetDelay(4, state.delay);
    ASSERT_TRUE(RemoveRepeatedFrames(state.frames, state.delay,
                                     FindRepeatedFrames(state.frames, state.delay, 255)));
    EXPECT_EQ(state.frames.GetCount(), 1);
    EXPECT_EQ(state.frames.GetDelay(0, state.delay), total);

    // A repeat whose time the kept frame cannot hold stays.
    EditState longFrames = Greys();
    longFrames.frames.SetOwnDelay({0, 1}, 40000);
    EXPECT_EQ(FindRepeatedFrames(longFrames.frames, 10, 0), std::vector<int>{});
}
