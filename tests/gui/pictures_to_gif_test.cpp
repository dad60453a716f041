// The whole road through the real window: corpus pictures chosen in Add
// Image's chooser, imported, saved through Save's chooser, and the written
// file read back by an independent decoder (Pillow).
#include "editing_fixture.h"

#include <wx/filefn.h>

#include <cstdio>
#include <sstream>

namespace
{
// Runs a command and returns what it printed.
std::string Output(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}
}  // namespace

using PicturesToGifTest = EditingWindowTest;

TEST_F(PicturesToGifTest, CorpusPicturesBecomeAGifThatPillowPlays)
{
    const wxString folder = MakeFolder(wxS("pictures"));
    // A PNG, a five-frame GIF, a JPEG, a BMP and a broken PNG that is skipped.
    for (const char* name :
         {"basi2c08.png", "broken.png", "cogs.gif", "hopper_gray.jpg", "rgb24.bmp"})
        ASSERT_TRUE(wxCopyFile(wxS(LF_CORPUS_DIR "/") + wxString::FromUTF8(name),
                               folder + wxS("/") + wxString::FromUTF8(name)));

    wxCommandEvent add = Command(ID_MENU_ADD_IMAGE);
    ShownMessage skipped;
    wxTEST_DIALOG(
        {
            frame->OnAddImage(add);
            ASSERT_TRUE(WaitForWorker());
        },
        ExpectPictureFiles(folder, wxS("Add Image Files"), 5), ExpectMessage(&skipped));
    EXPECT_TRUE(skipped.message.Contains(wxS("broken.png (damaged or not a picture)")));
    const std::vector<wxString> expectedNames = {
        wxS("basi2c08.png"), wxS("cogs.gif_0"), wxS("cogs.gif_1"),      wxS("cogs.gif_2"),
        wxS("cogs.gif_3"),   wxS("cogs.gif_4"), wxS("hopper_gray.jpg"), wxS("rgb24.bmp")};
    ASSERT_EQ(Names(), expectedNames);
    // The hopper picture is the last one wider or higher than those before it.
    EXPECT_EQ(SpinSize(), wxSize(128, 128));

    Type(Access().DelaySpin(), 7);  // 7/100 s

    const wxString out = MakeFolder(wxS("out")) + wxS("/anim");
    wxCommandEvent save = Command(ID_MENU_SAVE);
    wxTEST_DIALOG(frame->OnSaveAnimator(save), ExpectFileDialog(out));
    ASSERT_TRUE(WaitForWorker());
    const wxString written = out + wxS(".gif");
    ASSERT_TRUE(wxFileExists(written));

    const wxString script = dir.Write(wxS("read.py"),
                                      "import sys\n"
                                      "from PIL import Image\n"
                                      "im = Image.open(sys.argv[1])\n"
                                      "durations = []\n"
                                      "for i in range(im.n_frames):\n"
                                      "    im.seek(i)\n"
                                      "    im.convert('RGB')\n"
                                      "    durations.append(im.info.get('duration'))\n"
                                      "print(im.format, im.n_frames, im.size[0], im.size[1],\n"
                                      "      im.info.get('loop'), *durations)\n");
    const std::string report = Output("/usr/bin/python3 '" + script.utf8_string() + "' '" +
                                      written.utf8_string() + "' 2>&1");
    std::istringstream fields(report);
    std::string format;
    int frames = 0, width = 0, height = 0, loop = -1;
    fields >> format >> frames >> width >> height >> loop;
    EXPECT_EQ(format, "GIF") << report;
    EXPECT_EQ(frames, 8) << report;
    EXPECT_EQ(width, 128);
    EXPECT_EQ(height, 128);
    EXPECT_EQ(loop, 0) << "loops forever";
    std::vector<int> durations;
    for (int duration; fields >> duration;)
        durations.push_back(duration);
    // cogs.gif's frames keep the 5/100 s their file gives them; its first,
    // stored with 0 and so shown for 10, the animation delay at the import,
    // follows the delay typed since.
    EXPECT_EQ(durations, (std::vector<int>{70, 70, 50, 50, 50, 50, 70, 70})) << report;
}
