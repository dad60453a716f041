// Files dropped from a file manager onto the strip and the preview: where
// the pictures go, in which order, folders, a project file, and no drop while
// a worker runs.
#include "editing_fixture.h"

#include "app/product.h"
#include "project/projectfile.h"
#include "window/framedroptarget.h"

#include <wx/dataobj.h>
#include <wx/dnd.h>
#include <wx/filefn.h>
#include <wx/panel.h>
#include <wx/scopeguard.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

using NameList = std::vector<wxString>;

class DropTest : public EditingWindowTest
{
protected:
    FrameDropTarget* StripTarget() const
    {
        return static_cast<FrameDropTarget*>(Strip()->GetDropTarget());
    }
    FrameDropTarget* PreviewTarget() const
    {
        return static_cast<FrameDropTarget*>(Access().PreviewPanel()->GetDropTarget());
    }
    wxRect ItemRect(int n) const
    {
        wxRect rect;
        EXPECT_TRUE(Strip()->GetItemRect(n, rect, true));
        return rect;
    }
    // Drops the files and waits for their import to end.
    void Drop(FrameDropTarget* target, const wxArrayString& files, const wxPoint& at)
    {
        ASSERT_NE(target, nullptr);
        ASSERT_TRUE(target->DropFiles(files, at));
        EXPECT_NE(Access().ImportProgress(), nullptr);  // the import of Add Image
        ASSERT_TRUE(WaitForWorker());
    }
};

TEST_F(DropTest, TheDropPositionIsBeforeTheItemUnderThePointer)
{
    AddFrames(7);
    Strip()->SetClientSize(4 * (Strip()->GetItemSize().x + Strip()->GetSpacing()) + 10, 400);
    Settle();
    const int perRow = Strip()->GetItemsPerRow(Strip()->GetClientSize());
    ASSERT_EQ(perRow, 4);
    const struct
    {
        const char* where;
        wxPoint point;
        int index;
    } cases[] = {
        {"on item 1", ItemRect(1).GetLeftTop() + wxPoint(40, 40), 1},
        {"in the gap before item 2", ItemRect(2).GetLeftTop() - wxPoint(1, 0), 2},
        {"on the first item of the second row", ItemRect(4).GetLeftTop() + wxPoint(2, 2), 4},
        {"right of the first row", wxPoint(Strip()->GetClientSize().x - 3, 20), 4},
        {"beyond the last item", ItemRect(6).GetTopRight() + wxPoint(10, 10), 7},
        {"below every row", wxPoint(5, 390), 7},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(DropInsertIndex(*Strip(), c.point), c.index) << c.where;
        // The strip marks that place while files are dragged over it.
        StripTarget()->OnDragOver(c.point.x, c.point.y, wxDragCopy);
        EXPECT_EQ(Strip()->GetInsertionMark(), c.index) << c.where;
    }
    StripTarget()->OnLeave();
    EXPECT_EQ(Strip()->GetInsertionMark(), -1);
}

TEST_F(DropTest, PicturesGoInWhereTheyAreDroppedInTheOrderOfTheirNames)
{
    AddFrames(3);
    const wxString b = WritePng(dir, wxS("b.png"), 20, 20);
    const wxString a = WritePng(dir, wxS("a.png"), 20, 20);
    Drop(StripTarget(), Paths({b, a}), ItemRect(2).GetLeftTop() - wxPoint(1, 0));
    EXPECT_EQ(Names(),
              (NameList{wxS("f0.png"), wxS("f1.png"), wxS("a.png"), wxS("b.png"), wxS("f2.png")}));

    // A GIF's frames keep their order; on the preview the pictures go at the end.
    const wxString gif = WriteAnimatedGif(wxS("anim.gif"), {*wxRED, *wxGREEN});
    Drop(StripTarget(), Paths({gif}), ItemRect(0).GetLeftTop() + wxPoint(5, 5));
    Drop(PreviewTarget(), Paths({a}), wxPoint(10, 10));
    EXPECT_EQ(Names(), (NameList{wxS("anim.gif_0"), wxS("anim.gif_1"), wxS("f0.png"), wxS("f1.png"),
                                 wxS("a.png"), wxS("b.png"), wxS("f2.png"), wxS("a.png")}));
    EXPECT_GT(Item(0)->GetImage().GetRed(5, 5), 200);
    EXPECT_GT(Item(1)->GetImage().GetGreen(5, 5), 100);
}

TEST_F(DropTest, AFolderGivesThePicturesInIt)
{
    const wxString folder = MakeFolder(wxS("shots"));
    MakeFolder(wxS("shots/inner"));
    for (const char* name : {"shots/frame10.png", "shots/frame2.PNG", "shots/inner/x.png"})
        WritePng(dir, wxString::FromUTF8(name), 10, 10);
    dir.Write(wxS("shots/notes.txt"), "not a picture");
    Drop(PreviewTarget(), Paths({folder}), wxPoint());
    EXPECT_EQ(Names(), (NameList{wxS("frame2.PNG"), wxS("frame10.png")}));
}

TEST_F(DropTest, AProjectFileDroppedAloneOpensAfterTheUsualQuestion)
{
    AddFrames(2);
    Project project;
    project.width = 40;
    project.height = 30;
    project.delay = 12;
    project.framePaths = Paths({WritePng(dir, wxS("p.png"), 40, 30)});
    const wxString path = dir.File(wxS("dropped.XML"));
    wxString error;
    ASSERT_TRUE(WriteProjectFile(path, project, &error)) << error.utf8_string();

    // Cancel keeps the work; No opens the project after it.
    wxTEST_DIALOG(EXPECT_TRUE(StripTarget()->DropFiles(Paths({path}), wxPoint())),
                  AnswerMessage(wxID_CANCEL, wxS("Warning!")));
    EXPECT_EQ(Access().ProjectPath(), wxString());
    wxTEST_DIALOG(EXPECT_TRUE(PreviewTarget()->DropFiles(Paths({path}), wxPoint())),
                  AnswerMessage(wxID_NO, wxS("Warning!")));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Access().ProjectPath(), path);
    EXPECT_EQ(Names(), NameList{wxS("p.png")}) << "the project replaces the strip";
    EXPECT_EQ(Access().DelaySpin()->GetValue(), 12);
}

TEST_F(DropTest, NothingIsTakenWhileAnImportRuns)
{
    ASSERT_TRUE(frame->ImportFiles(Paths({wxS(LF_CORPUS_DIR "/sample_big.gif")})));
    const wxString a = WritePng(dir, wxS("a.png"), 20, 20);
    EXPECT_EQ(StripTarget()->OnDragOver(5, 5, wxDragCopy), wxDragNone);
    EXPECT_FALSE(StripTarget()->DropFiles(Paths({a}), wxPoint()));
    EXPECT_FALSE(PreviewTarget()->DropFiles(Paths({a}), wxPoint()));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Strip()->GetCount(), 259);
    EXPECT_EQ(StripTarget()->OnDragOver(5, 5, wxDragCopy), wxDragCopy);
}

TEST_F(DropTest, ARealDragFromAnotherWindowLandsOnTheStrip)
{
    // Another window offers two files to drag, as a file manager does; the
    // pointer carries them over item 1 of the strip and lets go there.
    AddFrames(2);
    frame->SetPosition(wxPoint(0, 0));
    frame->SetSize(700, 600);
    wxFrame* source =
        new wxFrame(nullptr, wxID_ANY, wxS("files"), wxPoint(760, 100), wxSize(200, 200));
    wxON_BLOCK_EXIT_OBJ0(*source, wxFrame::Destroy);
    wxPanel* panel = new wxPanel(source);
    source->Show();
    ASSERT_TRUE(WaitFor([&] { return panel->IsShownOnScreen(); }));
    Settle(200);

    const wxString b = WritePng(dir, wxS("b.png"), 20, 20);
    const wxString a = WritePng(dir, wxS("a.png"), 20, 20);
    const wxPoint from = panel->ClientToScreen(wxPoint(100, 100));
    const wxPoint to = Strip()->ClientToScreen(ItemRect(1).GetLeftTop() + wxPoint(40, 40));
    wxUIActionSimulator sim;
    int step = 0;
    wxTimer mover;
    mover.Bind(wxEVT_TIMER,
               [&](wxTimerEvent&)
               {
                   // Moves in ten steps, then lets go.
                   if (++step <= 10)
                       sim.MouseMove(from + (to - from) * step / 10);
                   else
                   {
                       mover.Stop();
                       sim.MouseUp();
                   }
               });
    wxDragResult dragged = wxDragError;
    panel->Bind(wxEVT_LEFT_DOWN,
                [&](wxMouseEvent&)
                {
                    wxFileDataObject files;
                    files.AddFile(b);
                    files.AddFile(a);
                    wxDropSource drag(files, panel);
                    mover.Start(50);
                    dragged = drag.DoDragDrop(wxDrag_CopyOnly);
                });
    sim.MouseMove(from);
    Settle(100);
    sim.MouseDown();
    EXPECT_TRUE(
        WaitFor([&] { return Strip()->GetCount() == 4 && !frame->IsWorkerRunning(); }, 10000));
    EXPECT_EQ(dragged, wxDragCopy);
    EXPECT_EQ(Names(), (NameList{wxS("f0.png"), wxS("a.png"), wxS("b.png"), wxS("f1.png")}));
}
