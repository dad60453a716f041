#include "encode/canvassize.h"

#include "wx_printers.h"

#include <gtest/gtest.h>

TEST(CanvasSize, LastFrameWiderOrHigherWins)
{
    EXPECT_EQ(ChooseCanvasSize({{100, 50}, {50, 100}}), wxSize(50, 100));
    EXPECT_EQ(ChooseCanvasSize({{50, 100}, {100, 50}}), wxSize(100, 50));
    EXPECT_EQ(ChooseCanvasSize({{300, 200}, {100, 100}}), wxSize(300, 200));
    EXPECT_EQ(ChooseCanvasSize({{300, 200}, {200, 300}}), wxSize(200, 300));
    EXPECT_EQ(ChooseCanvasSize({}), wxSize(0, 0));
}
