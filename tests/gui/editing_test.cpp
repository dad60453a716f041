#include "editing_fixture.h"
#include "fifo.h"
#include "handmade_gif.h"

#include "app/product.h"

#include <wx/filefn.h>

#include <algorithm>

using NameList = std::vector<wxString>;

class FrameEditingTest : public EditingWindowTest
{
protected:
    // Sends a right mouse click on item n through the strip, as the toolkit does.
    void RightClickItem(int n)
    {
        wxRect rect;
        ASSERT_TRUE(Strip()->GetItemRect(n, rect, true));
        wxMouseEvent click(wxEVT_RIGHT_DOWN);
        click.SetPosition(rect.GetPosition() + rect.GetSize() / 2);
        click.SetEventObject(Strip());
        Strip()->GetEventHandler()->ProcessEvent(click);
    }

    wxString CopyFromCorpus(const char* name)
    {
        const wxString target = dir.File(wxString::FromUTF8(name));
        EXPECT_TRUE(wxCopyFile(wxS(LF_CORPUS_DIR "/") + wxString::FromUTF8(name), target));
        return target;
    }
};

TEST_F(FrameEditingTest, AddImageAppendsTheFramesOfAGifAfterTheExistingOnes)
{
    AddFrames(2);
    const wxString folder = MakeFolder(wxS("pick"));
    const wxString gif = WriteAnimatedGif(wxS("pick/anim.gif"), {*wxRED, *wxGREEN, *wxBLUE});
    wxCommandEvent add = Command(ID_MENU_ADD_IMAGE);
    wxTEST_DIALOG(frame->OnAddImage(add), ExpectPictureFiles(folder, wxS("Add Image Files"), 1));
    EXPECT_NE(Access().ImportProgress(), nullptr);
    ASSERT_TRUE(WaitForWorker());

    ASSERT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("anim.gif_0"), wxS("anim.gif_1"),
                                 wxS("anim.gif_2")}));
    EXPECT_EQ(Strip()->GetItem(4)->GetFilename(), gif + wxS("_2"));
    // Frame order: red, green, blue.
    const wxImage& first = Item(2)->GetImage();
    const wxImage& second = Item(3)->GetImage();
    const wxImage& third = Item(4)->GetImage();
    EXPECT_GT(first.GetRed(5, 5), 200);
    EXPECT_GT(second.GetGreen(5, 5), 100);
    EXPECT_LT(second.GetRed(5, 5), 50);
    EXPECT_GT(third.GetBlue(5, 5), 200);
    EXPECT_EQ(Item(4)->GetFrameIndex(), 2);
}

// A GIF's frames keep the delays its file stores, whatever the case of its
// ending, imported or inserted; a delay equal to the animation's is none.
TEST_F(FrameEditingTest, GifFramesKeepTheirFilesDelaysInAnyCase)
{
    std::vector<HandmadeFrame> frames;
    for (int delay : {8, 8, 50, 3, 10})
        frames.push_back({0, 0, 1, 1, 1, -1, std::string(1, char('0' + frames.size() % 4)), delay});
    const std::vector<unsigned char> colours = {200, 0, 0, 0, 200, 0, 0, 0, 200, 9, 9, 9};
    const wxString gif = dir.Write(wxS("TIMED.GIF"), HandmadeGif(1, 1, colours, frames));
    Access().DelaySpin()->SetValue(10);
    ASSERT_TRUE(frame->ImportFiles(Paths({gif})));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Names(), (NameList{wxS("TIMED.GIF_0"), wxS("TIMED.GIF_1"), wxS("TIMED.GIF_2"),
                                 wxS("TIMED.GIF_3"), wxS("TIMED.GIF_4")}));
    EXPECT_EQ(frame->GetFrames().GetOwnDelays(), (std::vector<int>{8, 8, 50, 3, 0}));
    EXPECT_EQ(Strip()->GetStartTime(4), 69) << "the labels show the file's timing";
    EXPECT_EQ(frame->InsertFiles(Paths({gif}), 0), 5);
    EXPECT_EQ(frame->GetFrames().GetOwnDelays(),
              (std::vector<int>{8, 8, 50, 3, 0, 8, 8, 50, 3, 0}));
}

// An import can put its frames anywhere, as one step to undo.
TEST_F(FrameEditingTest, ImportAtAPositionInsertsThereAsOneStep)
{
    AddFrames(3);
    Strip()->Select(2);
    const wxString gif = WriteAnimatedGif(wxS("anim.gif"), {*wxRED, *wxGREEN, *wxBLUE});
    ASSERT_TRUE(frame->ImportFiles(Paths({gif, dir.File(wxS("f0.png"))}), false, 1));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("anim.gif_0"), wxS("anim.gif_1"),
                                 wxS("anim.gif_2"), wxS("f0.png"), wxS("f1.png"), wxS("f2.png")}));
    EXPECT_EQ(frame->GetSelectedFrames(), std::vector<int>{6}) << "the selected frame moved along";
    ASSERT_TRUE(frame->Undo());
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("f2.png")}));
}

TEST_F(FrameEditingTest, ThePictureChooserListsEndingsInAnyCaseAndAllFiles)
{
    const wxString folder = MakeFolder(wxS("camera"));
    ASSERT_TRUE(MakeFlat(30, 20).SaveFile(dir.File(wxS("camera/PHOTO.JPG")), wxBITMAP_TYPE_JPEG));
    ASSERT_TRUE(MakeFlat(30, 20).SaveFile(dir.File(wxS("camera/x.jpeg")), wxBITMAP_TYPE_JPEG));
    WritePng(dir, wxS("camera/Scan.PNG"), 20, 20);
    dir.Write(wxS("camera/pic.webp"), "RIFF0000WEBPVP8L");
    dir.Write(wxS("camera/notes.txt"), "not a picture");

    // Three pictures under the image type; five files under "All files", of
    // which the two that are no pictures are skipped.
    wxCommandEvent add = Command(ID_MENU_ADD_IMAGE);
    wxTEST_DIALOG(frame->OnAddImage(add), ExpectPictureFiles(folder, wxS("Add Image Files"), 3));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Names(), (NameList{wxS("PHOTO.JPG"), wxS("Scan.PNG"), wxS("x.jpeg")}));
    ShownMessage skipped;
    wxTEST_DIALOG(
        {
            frame->OnAddImage(add);
            ASSERT_TRUE(WaitForWorker());
        },
        ExpectPictureFiles(folder, wxS("Add Image Files"), 5, 1), ExpectMessage(&skipped));
    EXPECT_EQ(Strip()->GetCount(), 6);
    EXPECT_EQ(wxSplit(skipped.message, '\n').size(), 4u) << skipped.message;
}

TEST_F(FrameEditingTest, TheProgressDialogMovesWhileAGifIsRead)
{
    // One file: its own percentage stays 0 until its last frame.
    std::vector<wxColour> colours;
    for (int i = 0; i < 12; ++i)
        colours.push_back(wxColour(20 * i, 100, 255 - 20 * i));
    const wxString gif = WriteAnimatedGif(wxS("many.gif"), colours, 64);
    std::vector<int> seen;
    RecordProgress(ID_IMAGE_THREAD, &seen);
    Import(Paths({gif}));
    ASSERT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen.back(), -1);
    EXPECT_GT(*std::max_element(seen.begin(), seen.end() - 1), 50);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end() - 1));
}

TEST_F(FrameEditingTest, AddImageCancelledStartsNothing)
{
    wxCommandEvent add = Command(ID_MENU_ADD_IMAGE);
    wxTEST_DIALOG(frame->OnAddImage(add), ExpectFileDialog(wxString(), wxID_CANCEL));
    EXPECT_EQ(Access().ImportProgress(), nullptr);
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_EQ(Strip()->GetCount(), 0);
}

TEST_F(FrameEditingTest, CompletedImportPreviewsTheFirstFrameAndClosesItsDialog)
{
    const wxString a = WritePng(dir, wxS("a.png"), 60, 40, *wxBLUE);
    const wxString b = WritePng(dir, wxS("b.png"), 30, 20);
    const wxString c = WritePng(dir, wxS("c.png"), 30, 20);
    std::vector<int> seen;
    RecordProgress(ID_IMAGE_THREAD, &seen);

    ASSERT_TRUE(frame->ImportFiles(Paths({a, b, c})));
    // The dialog keeps the window disabled; the commands are on at once.
    EXPECT_TRUE(ProgressDialogShown());
    EXPECT_FALSE(frame->IsEnabled());
    EXPECT_TRUE(FrameCommandsAre(true));
    ASSERT_TRUE(WaitForWorker());

    EXPECT_EQ(seen, (std::vector<int>{33, 66, -1}));
    EXPECT_EQ(Access().PreviewIndex(), 0);
    EXPECT_EQ(Status(1), frame->PreviewStatusText(wxS("a.png"), 60, 40));
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 60);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 40);
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(WaitFor([] { return !ProgressDialogShown(); }));
}

TEST_F(FrameEditingTest, ImportWhoseLastFileGivesNothingStillEnds)
{
    const wxString good = WritePng(dir, wxS("good.png"), 20, 20);
    const wxString broken = CopyFromCorpus("broken.png");
    ShownMessage skipped;
    wxTEST_DIALOG(Import(Paths({good, broken})), ExpectMessage(&skipped));
    EXPECT_EQ(skipped.message,
              "These pictures were skipped:\n\n" + broken + " (damaged or not a picture)");
    EXPECT_EQ(Names(), NameList{wxS("good.png")});
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(FrameCommandsAre(true));
    EXPECT_EQ(Access().PreviewIndex(), 0);
    EXPECT_TRUE(WaitFor([] { return !ProgressDialogShown(); }));

    // So does a GIF cut off inside its last frame, which is named as damaged.
    const wxString gif = WriteAnimatedGif(wxS("cut.gif"), {*wxRED, *wxGREEN, *wxBLUE});
    const std::string data = ReadFileBytes(gif);
    const wxString cut = dir.Write(wxS("cut2.gif"), data.substr(0, data.size() - 6));
    wxTEST_DIALOG(Import(Paths({cut})),
                  AnswerMessage(wxID_OK, frame->MessageCaption(),
                                cut + wxS(": frame 3 is damaged and was left out")));
    EXPECT_GE(Strip()->GetCount(), 3);
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(FrameEditingTest, ImportOfNothingReadableEndsAndDisablesTheCommandsAgain)
{
    ShownMessage skipped;
    wxTEST_DIALOG(Import(Paths({CopyFromCorpus("broken.png"), dir.File(wxS("missing.png"))})),
                  ExpectMessage(&skipped));
    EXPECT_EQ(Strip()->GetCount(), 0);
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_EQ(Status(0), wxString());

    // An empty list (a project without frames) ends as well.
    Import(wxArrayString());
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_TRUE(WaitFor([] { return !ProgressDialogShown(); }));
}

TEST_F(FrameEditingTest, InsertImagePutsTheChosenFilesAtTheFirstSelection)
{
    AddFrames(4);
    Strip()->Select(2);
    const wxString folder = MakeFolder(wxS("pick"));
    for (const char* name : {"pick/a.png", "pick/b.png", "pick/c.png"})
        WritePng(dir, wxString::FromUTF8(name), 20, 20);
    WriteAnimatedGif(wxS("pick/d.gif"), {*wxRED, *wxGREEN, *wxBLUE});
    Access().Playing() = true;

    // The chooser gives the files in its own (name) order.
    wxCommandEvent insert = Command(ID_INSERT_IMAGE);
    wxTEST_DIALOG(frame->OnInsertImage(insert),
                  ExpectPictureFiles(folder, wxS("Insert Image Files"), 4));

    EXPECT_FALSE(Access().Playing());
    ASSERT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("a.png"), wxS("b.png"),
                                 wxS("c.png"), wxS("d.gif_0"), wxS("d.gif_1"), wxS("d.gif_2"),
                                 wxS("f2.png"), wxS("f3.png")}));
    EXPECT_EQ(Item(6)->GetFrameIndex(), 1);
    EXPECT_EQ(Access().ImportProgress(), nullptr);  // decoded at once, no dialog
}

TEST_F(FrameEditingTest, InsertImageKeepsThePreviewOnItsFrame)
{
    AddFrames(3);
    frame->DrawPreviewFrame(1);
    const wxString a = WritePng(dir, wxS("a.png"), 20, 20);
    frame->InsertFiles(Paths({a, a}), 0);
    EXPECT_EQ(Access().PreviewIndex(), 3);
    EXPECT_EQ(Names()[3], wxS("f1.png"));
}

TEST_F(FrameEditingTest, PopUpMenuInsertsBeforeTheRightClickedItem)
{
    AddFrames(3);
    const wxString folder = MakeFolder(wxS("pick"));
    WritePng(dir, wxS("pick/a.png"), 20, 20);
    Access().Playing() = true;
    bool playingWhenOpened = true;
    PopupMenuAnswer menu(frame, ID_INSERT_IMAGE);
    menu.onOpen = [&] { playingWhenOpened = Access().Playing(); };

    wxTEST_DIALOG(RightClickItem(1), ExpectPictureFiles(folder, wxS("Insert Image Files"), 1));

    ASSERT_TRUE(menu.Opened());
    EXPECT_FALSE(playingWhenOpened);
    // Insert Image shows no accelerator: it has none.
    const std::vector<std::pair<int, wxString>> items = {
        {ID_INSERT_IMAGE, wxS("&Insert Image")},
        {wxID_DELETE, wxS("&Delete\tCtrl+Del")},
        {wxID_SEPARATOR, wxString()},
        {ID_MENU_MOVE_LEFT, wxS("Move Left\tCtrl+Shift+Left")},
        {ID_MENU_MOVE_RIGHT, wxS("Move Right\tCtrl+Shift+Right")},
        {ID_MENU_FRAME_DELAY, wxString::FromUTF8("Frame Delay…")},
        {ID_MENU_ADD_CAPTION, wxString::FromUTF8("Add Caption…")}};
    ASSERT_EQ(menu.Items().size(), items.size());
    for (size_t i = 0; i < items.size(); ++i)
    {
        EXPECT_EQ(menu.Items()[i].id, items[i].first);
        EXPECT_EQ(menu.Items()[i].label, items[i].second);
    }
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("a.png"), wxS("f1.png"), wxS("f2.png")}));
}

// The pop-up's Delete acts on the frame right-clicked, not on a selection
// elsewhere; on a selected frame it acts on the whole selection.
TEST_F(FrameEditingTest, PopUpMenuDeleteDeletesWhatWasRightClicked)
{
    AddFrames(5);
    Strip()->Select(0);
    ShownMessage confirm;
    {
        PopupMenuAnswer menu(frame, wxID_DELETE);
        wxTEST_DIALOG(RightClickItem(2), ExpectMessage(&confirm, wxID_YES));
        ASSERT_TRUE(menu.Opened());
    }
    EXPECT_EQ(confirm.message, wxS("Delete 1 frame?"));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("f3.png"), wxS("f4.png")}));

    Strip()->Select(1);
    Strip()->Select(3);
    PopupMenuAnswer menu(frame, wxID_DELETE);
    wxTEST_DIALOG(RightClickItem(3), ExpectMessage(&confirm, wxID_YES));
    EXPECT_EQ(confirm.message, wxS("Delete 2 frames?"));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f3.png")}));
}

TEST_F(FrameEditingTest, InsertImageWithoutSelectionOrRightClickAppends)
{
    AddFrames(2);
    const wxString folder = MakeFolder(wxS("pick"));
    WritePng(dir, wxS("pick/a.png"), 20, 20);
    wxCommandEvent insert = Command(ID_INSERT_IMAGE);
    wxTEST_DIALOG(frame->OnInsertImage(insert),
                  ExpectPictureFiles(folder, wxS("Insert Image Files"), 1));
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f1.png"), wxS("a.png")}));

    // Unreadable files are skipped, each named with its reason.
    const wxString text = dir.Write(wxS("notes.png"), "not a picture");
    const wxString empty = dir.Write(wxS("empty.png"), "");
    const wxString gone = dir.File(wxS("gone.png"));
    ShownMessage shown;
    wxTEST_DIALOG(EXPECT_EQ(frame->InsertFiles(Paths({text, gone, empty}), 1), 0),
                  ExpectMessage(&shown));
    EXPECT_EQ(shown.message, "These pictures were skipped:\n\n" + text +
                                 " (damaged or not a picture)\n" + gone + " (no such file)\n" +
                                 empty + " (the file is empty)");
    EXPECT_EQ(Strip()->GetCount(), 3);
}

// A pipe among the pictures would hold the import forever: it is skipped,
// and named with the reason once the import is over, as are unreadable files.
TEST_F(FrameEditingTest, PathsThatAreNoFilesAreSkippedWithAMessage)
{
    const wxString png = WritePng(dir, wxS("a.png"), 30, 20);
    const wxString broken = dir.Write(wxS("broken.png"), "not a picture");
    const wxString pipePath = dir.File(wxS("p.png"));
    const Fifo pipe(pipePath);
    ASSERT_TRUE(pipe.IsOk());

    ShownMessage shown;
    wxTEST_DIALOG(
        {
            ASSERT_TRUE(frame->ImportFiles(Paths({pipePath, png, broken})));
            if (!WaitForWorker(20000))
            {
                ADD_FAILURE() << "the import waited on the pipe";
                pipe.Release();
                ASSERT_TRUE(WaitForWorker());
            }
        },
        ExpectMessage(&shown));
    EXPECT_EQ(shown.message, "These pictures were skipped:\n\n" + pipePath +
                                 " (not a regular file)\n" + broken + " (damaged or not a picture)");
    EXPECT_EQ(shown.caption, GetProductName());  // without the unsaved mark
    EXPECT_EQ(Names(), (NameList{wxS("a.png")}));

    // Insert Image decodes at once and tells the same.
    const wxString folder = MakeFolder(wxS("folder.png"));
    wxTEST_DIALOG(EXPECT_EQ(frame->InsertFiles(Paths({folder, broken, png}), 0), 1),
                  ExpectMessage(&shown));
    EXPECT_EQ(shown.message, "These pictures were skipped:\n\n" + folder +
                                 " (not a regular file)\n" + broken + " (damaged or not a picture)");
    EXPECT_EQ(Names(), (NameList{wxS("a.png"), wxS("a.png")}));
}

TEST_F(FrameEditingTest, DeleteRemovesTheHighestSelectedIndexFirst)
{
    AddFrames(6);
    frame->DrawPreviewFrame(0);
    Strip()->Select(1);
    Strip()->Select(4);
    ShownMessage confirm;
    wxCommandEvent del = Command(ID_MENU_DELETE);
    wxTEST_DIALOG(frame->OnDeleteImage(del), ExpectMessage(&confirm, wxID_YES));

    EXPECT_EQ(confirm.message, wxS("Delete 2 frames?"));
    EXPECT_EQ(confirm.caption, wxS("Confirm"));
    EXPECT_EQ(confirm.style & (wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION),
              wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION);
    // Deleting 1 before 4 would have removed f5 instead of f4.
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("f2.png"), wxS("f3.png"), wxS("f5.png")}));
    EXPECT_EQ(Access().PreviewIndex(), -1);
    EXPECT_EQ(Status(1), wxString());
    EXPECT_TRUE(FrameCommandsAre(true));
}

TEST_F(FrameEditingTest, DeleteAnsweredNoKeepsTheFramesButResetsStatusAndSize)
{
    AddFrames(3, wxSize(80, 60));
    frame->DrawPreviewFrame(1);
    ASSERT_NE(Status(1), wxString());
    Access().WidthSpin()->SetValue(40);
    Access().HeightSpin()->SetValue(30);
    Strip()->Select(1);

    wxCommandEvent del = Command(ID_MENU_DELETE);
    wxTEST_DIALOG(frame->OnDeleteImage(del), wxExpectModal<wxMessageDialog>(wxID_NO));

    EXPECT_EQ(Strip()->GetCount(), 3);
    EXPECT_EQ(Status(1), wxString());
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 80);
    EXPECT_EQ(Access().HeightSpin()->GetValue(), 60);
}

TEST_F(FrameEditingTest, DeleteWithoutSelectionAsksNothing)
{
    AddFrames(2);
    wxCommandEvent del = Command(ID_MENU_DELETE);
    frame->OnDeleteImage(del);  // an unexpected dialog would fail the test
    EXPECT_EQ(Strip()->GetCount(), 2);
}

TEST_F(FrameEditingTest, DeletingTheLastFramesDisablesTheFrameCommands)
{
    AddFrames(2);
    Strip()->SelectAll();
    wxCommandEvent del = Command(ID_MENU_DELETE);
    wxTEST_DIALOG(frame->OnDeleteImage(del), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Strip()->GetCount(), 0);
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_EQ(Status(0), wxString());
}

TEST_F(FrameEditingTest, ClearAllEmptiesTheStripWithoutAsking)
{
    AddFrames(3);
    frame->DrawPreviewFrame(2);
    wxCommandEvent clear = Command(ID_MENU_CLEAR_ALL);
    frame->OnClearAll(clear);
    EXPECT_EQ(Strip()->GetCount(), 0);
    EXPECT_TRUE(FrameCommandsAre(false));
    EXPECT_EQ(Status(0), wxString());
    EXPECT_EQ(Status(1), wxString());
    EXPECT_EQ(Access().PreviewIndex(), -1);
    EXPECT_EQ(Access().WidthSpin()->GetValue(), 0);
}

TEST_F(FrameEditingTest, TheStripCannotBeEditedWhileAnImportRuns)
{
    AddFrames(2);
    Strip()->SelectAll();
    ASSERT_TRUE(frame->ImportFiles(Paths({CopyFromCorpus("sample_big.gif")})));
    EXPECT_FALSE(frame->IsEnabled());

    // Any dialog these opened would fail the test.
    wxCommandEvent event = Command(ID_MENU_DELETE);
    frame->OnDeleteImage(event);
    frame->OnClearAll(event);
    frame->OnInsertImage(event);
    frame->OnAddImage(event);
    EXPECT_FALSE(frame->ImportFiles(Paths({dir.File(wxS("f0.png"))})));
    EXPECT_EQ(Strip()->GetCount(), 2);

    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Strip()->GetCount(), 2 + 259);
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(FrameEditingTest, ClosingDuringAnImportWaitsForTheImportToStop)
{
    ASSERT_TRUE(frame->ImportFiles(Paths({CopyFromCorpus("sample_big.gif")})));
    EXPECT_TRUE(CloseAndWaitForDestruction());
}
