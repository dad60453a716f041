// Video clips through ffmpeg: probing, the frames of a range, their delays.
#include "decode/videoclip.h"

#include "temp_dir.h"
#include "video_clips.h"

#include <gtest/gtest.h>

#include <wx/utils.h>

#include <numeric>
#include <vector>

namespace
{
class VideoClipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wxString error;
        m_clip = m_dir.File(wxS("counter.MKV"));
        ASSERT_TRUE(MakeCounterClip(m_clip, error)) << error;
    }

    // The clip frames a range gives, read through from frame first on.
    std::vector<int> Frames(const VideoRange& range, int first = 0)
    {
        VideoFrameReader reader;
        wxString error;
        std::vector<int> frames;
        EXPECT_TRUE(reader.Open(range, wxSize(32, 24), first, error)) << error;
        wxImage picture;
        while (reader.Next(picture, error))
        {
            EXPECT_EQ(VideoFrameSize(wxSize(32, 24), range.width), picture.GetSize());
            frames.push_back(CounterFrame(picture));
        }
        EXPECT_TRUE(error.empty()) << error;
        return frames;
    }

    TempDir m_dir;
    wxString m_clip;
};
}  // namespace

TEST_F(VideoClipTest, ProbeTellsLengthSizeAndRateAndRefusesWhatIsNoClip)
{
    EXPECT_TRUE(IsVideoClipPath(m_clip));
    VideoClipInfo info;
    wxString error;
    ASSERT_TRUE(ProbeVideoClip(m_clip, info, error)) << error;
    EXPECT_NEAR(2.0, info.duration, 0.01);
    EXPECT_EQ(32, info.width);
    EXPECT_EQ(24, info.height);
    EXPECT_NEAR(25.0, info.frameRate, 0.001);

    // A picture named like a clip, and text, are refused with the file's name.
    for (const std::string& bytes : {std::string("\x89PNG\r\n\x1a\n", 8), std::string(5000, 'x')})
    {
        const wxString fake = m_dir.Write(wxS("fake.mp4"), bytes);
        EXPECT_FALSE(ProbeVideoClip(fake, info, error));
        EXPECT_NE(wxNOT_FOUND, error.Find(fake)) << error;
    }
    EXPECT_FALSE(ProbeVideoClip(m_dir.File(wxS("missing.mp4")), info, error));
    EXPECT_FALSE(ProbeVideoClip(m_dir.Path(), info, error));
}

TEST_F(VideoClipTest, ARangeGivesTheClipsFramesAtItsRateWithDelaysSpanningIt)
{
    VideoRange range{m_clip, 0.4, 1.6, 5, 0};
    EXPECT_EQ((std::vector<int>{10, 15, 20, 25, 30, 35}), Frames(range));
    // Started at a later frame, the same pictures follow.
    EXPECT_EQ((std::vector<int>{25, 30, 35}), Frames(range, 3));

    range.frameRate = 12;
    range.width = 16;
    const std::vector<int> frames = Frames(range);
    ASSERT_EQ(std::size_t(ExpectedVideoFrameCount(range)), frames.size());
    EXPECT_EQ(10, frames.front());
    EXPECT_EQ(35, frames[12]);  // 1 second after the start
    int total = 0;
    for (int i = 0; i < int(frames.size()); ++i)
        total += VideoFrameDelay(range.frameRate, i);
    EXPECT_EQ(
        (std::vector<int>{8, 8, 9}),
        (std::vector<int>{VideoFrameDelay(12, 0), VideoFrameDelay(12, 1), VideoFrameDelay(12, 2)}));
    EXPECT_NEAR(120, total, 100 / range.frameRate);
}

TEST_F(VideoClipTest, WithoutFfmpegTheMessageSaysWhatToInstall)
{
    wxString path;
    wxGetEnv(wxS("PATH"), &path);
    wxSetEnv(wxS("PATH"), m_dir.Path());
    VideoClipInfo info;
    wxString error;
    const bool probed = ProbeVideoClip(m_clip, info, error);
    wxSetEnv(wxS("PATH"), path);
    EXPECT_FALSE(probed);
    EXPECT_NE(wxNOT_FOUND, error.Find(wxS("Debian package is called ffmpeg"))) << error;
}
