#ifndef LOOPFORGE_TESTS_THUMBNAIL_TEST_SUPPORT_H
#define LOOPFORGE_TESTS_THUMBNAIL_TEST_SUPPORT_H

// A shown strip filled with items made from real picture files, which records
// the cells it paints and the notifications it sends.
#include "frame_factory.h"
#include "gui_test_support.h"
#include "temp_dir.h"
#include "window/thumbnailctrl.h"

#include <wx/frame.h>

#include <string>
#include <vector>

// Writes a solid-colour picture (GIF for a name ending in .gif, else PNG) and
// returns an item made from it.
inline wxImageThumbnailItem* MakePictureItem(const TempDir& dir, const wxString& name,
                                             int frameIndex = 0, wxSize size = wxSize(64, 48),
                                             const wxColour& colour = *wxRED)
{
    const wxImage image = SolidImage(size.x, size.y, colour);
    const wxString path = dir.File(name);
    if (!wxFileExists(path))
        image.SaveFile(path, name.EndsWith(wxS(".gif")) ? wxBITMAP_TYPE_GIF : wxBITMAP_TYPE_PNG);
    return new wxImageThumbnailItem(new wxImage(image), frameIndex, path);
}

class RecordingStrip : public wxThumbnailCtrl
{
public:
    using wxThumbnailCtrl::wxThumbnailCtrl;
    bool DrawItemBackground(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                            int flags) override
    {
        painted.push_back({n, flags});
        return wxThumbnailCtrl::DrawItemBackground(n, dc, rect, imageRect, flags);
    }
    std::vector<std::pair<int, int>> painted;  // item, state flags
};

class StripTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, wxS("strip"), wxPoint(0, 0));
        strip = new RecordingStrip(frame, wxDefaultPosition, wxSize(400, 300));
        frame->SetClientSize(400, 300);
        const std::pair<wxEventType, const char*> kinds[] = {
            {wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, "SELECTED"},
            {wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, "DESELECTED"},
            {wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, "LEFT_CLICK"},
            {wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, "LEFT_DCLICK"},
            {wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, "RIGHT_CLICK"},
            {wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, "MIDDLE_CLICK"},
            {wxEVT_COMMAND_THUMBNAIL_RETURN, "RETURN"}};
        // Listening on the frame shows that notifications reach the parents.
        for (const auto& kind : kinds)
        {
            const std::string name = kind.second;
            frame->Bind(wxEventTypeTag<wxThumbnailEvent>(kind.first),
                        [this, name](wxThumbnailEvent& event)
                        {
                            EXPECT_EQ(event.GetEventObject(), strip);
                            EXPECT_EQ(event.GetId(), ID_THUMBNAIL_CTRL);
                            notes.push_back(name + " " + std::to_string(event.GetIndex()) + "/" +
                                            std::to_string(event.GetFlags()));
                        });
        }
        frame->Show();
        ASSERT_TRUE(WaitFor([this] { return strip->IsShownOnScreen(); }));
        Settle();
    }

    void TearDown() override
    {
        frame->Destroy();
        Settle(10);
    }

    void Fill(int count)
    {
        strip->Freeze();
        for (int i = 0; i < count; ++i)
            strip->Insert(MakePictureItem(dir, wxString::Format("f%02d.png", i)), i);
        strip->Thaw();
    }

    wxPoint CellCentre(int n)
    {
        wxRect rect;
        strip->GetItemRect(n, rect, true);
        return rect.GetPosition() + rect.GetSize() / 2;
    }

    std::vector<int> Selections() const
    {
        const wxArrayInt& s = strip->GetSelections();
        return std::vector<int>(s.begin(), s.end());
    }

    TempDir dir;
    wxFrame* frame = nullptr;
    RecordingStrip* strip = nullptr;
    std::vector<std::string> notes;  // "SELECTED 6/0": kind, index / flags
};

#endif
