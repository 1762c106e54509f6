#include <gtest/gtest.h>

#include "canvas/view_layout.h"

namespace tenmark {
namespace {

TEST(ViewLayout, CentresACanvasThatFitsWithTheOddPixelOnTheFarSide) {
  const ViewRect r = layoutView(801, 601, 320, 240);
  EXPECT_EQ(r.x, 240);  // (801 - 320) / 2 truncates: the remainder lies right of the view
  EXPECT_EQ(r.y, 180);
  EXPECT_EQ(r.width, 320);
  EXPECT_EQ(r.height, 240);
}

TEST(ViewLayout, ACanvasLargerThanTheClientFillsItFromTheEdge) {
  const ViewRect r = layoutView(600, 400, 1000, 300);
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.width, 600);
  EXPECT_EQ(r.y, 50);
  EXPECT_EQ(r.height, 300);
}

TEST(ViewLayout, AMinimisedClientGivesAnEmptyView) {
  const ViewRect r = layoutView(0, 0, 100, 100);
  EXPECT_EQ(r.width, 0);
  EXPECT_EQ(r.height, 0);
}

}  // namespace
}  // namespace tenmark
