#include "decode/framereference.h"

#include <gtest/gtest.h>

TEST(FrameReference, ReadsPathAndIndex)
{
    FrameReference reference;
    ASSERT_TRUE(ParseFrameReference("/pics/anim.gif_2", reference));
    EXPECT_EQ(reference.gifPath, "/pics/anim.gif");
    EXPECT_EQ(reference.index, 2u);

    ASSERT_TRUE(ParseFrameReference("C:\\my_pics\\anim.gif_12", reference));
    EXPECT_EQ(reference.gifPath, "C:\\my_pics\\anim.gif");
    EXPECT_EQ(reference.index, 12u);

    // Any case of the ending, kept as the file spells it.
    ASSERT_TRUE(ParseFrameReference("/pics/SPIN.GIF_3", reference));
    EXPECT_EQ(reference.gifPath, "/pics/SPIN.GIF");
    EXPECT_EQ(reference.index, 3u);
}

TEST(FrameReference, ReadsAnyNumberOfDigits)
{
    FrameReference reference;
    ASSERT_TRUE(ParseFrameReference("a/b.gif_1234567", reference));
    EXPECT_EQ(reference.index, 1234567u);
    ASSERT_TRUE(ParseFrameReference("a/b.gif_0", reference));
    EXPECT_EQ(reference.index, 0u);
    ASSERT_TRUE(ParseFrameReference("a/b.gif_99999999999999999999999999", reference));
    EXPECT_GT(reference.index, 1000000000u);
}

TEST(FrameReference, RejectsAnythingButDigitsToTheEnd)
{
    FrameReference reference;
    for (const char* path :
         {"x.gif_old/pic.png", "/pics/x.gif_old", "/pics/x.gif_", "/pics/x.gif_1a",
          "/pics/x.gif_-1", "/pics/x.gif_ 1", "/pics/x.GIFF_1", "/pics/x.png_3", ".gif_3",
          "/pics/x.gif", "", "_5", "/pics/anim.gif_2/more.png"})
        EXPECT_FALSE(ParseFrameReference(path, reference)) << path;
}

TEST(FrameReference, FolderWithReferenceLikeNameAboveAReference)
{
    FrameReference reference;
    ASSERT_TRUE(ParseFrameReference("/x.gif_3/y.gif_4", reference));
    EXPECT_EQ(reference.gifPath, "/x.gif_3/y.gif");
    EXPECT_EQ(reference.index, 4u);
}
