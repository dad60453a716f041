#include "editing_fixture.h"

#include <wx/ffile.h>

// A name typed without its ending gets one; the chooser only asked about the
// name as typed, so replacing the file with the ending needs its own answer.
class ReplacePromptTest : public EditingWindowTest
{
protected:
    std::string Read(const wxString& path)
    {
        wxFFile file(path, wxS("rb"));
        std::string bytes(file.Length(), '\0');
        file.Read(bytes.data(), bytes.size());
        return bytes;
    }

    void Save()
    {
        wxCommandEvent save = Command(ID_MENU_SAVE);
        frame->OnSaveAnimator(save);
    }
};

TEST_F(ReplacePromptTest, GifWithAddedEndingIsReplacedOnlyWhenTheUserAgrees)
{
    AddFrames(2);
    const wxString existing = dir.Write(wxS("movie.gif"), "the user's earlier file");

    ShownMessage asked;
    wxTEST_DIALOG(Save(), ExpectFileDialog(dir.File(wxS("movie"))),
                  ExpectMessage(&asked, wxID_NO));
    EXPECT_EQ(asked.count, 1);
    EXPECT_NE(asked.message.Find(wxS("movie.gif")), wxNOT_FOUND);
    EXPECT_FALSE(frame->IsWorkerRunning());
    EXPECT_EQ(Read(existing), "the user's earlier file");
    EXPECT_TRUE(Access().GifPath().empty());

    wxTEST_DIALOG(Save(), ExpectFileDialog(dir.File(wxS("movie"))),
                  ExpectMessage(&asked, wxID_YES));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Access().GifPath(), existing);
    EXPECT_EQ(Read(existing).substr(0, 6), "GIF89a");
}

TEST_F(ReplacePromptTest, NoQuestionWhenTheNameAlreadyEndsRight)
{
    AddFrames(1);
    dir.Write(wxS("clip.gif"), "old");
    // The chooser itself asked about clip.gif; no second question follows.
    wxTEST_DIALOG(Save(), ExpectFileDialog(dir.File(wxS("clip.gif"))));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Read(dir.File(wxS("clip.gif"))).substr(0, 6), "GIF89a");
}
