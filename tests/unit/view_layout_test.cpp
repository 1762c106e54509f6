#include <gtest/gtest.h>

#include "canvas/view_layout.h"

namespace tenmark {
namespace {

TEST(ViewLayout, CentresWhatFitsAndFillsTheClientWithWhatDoesNot) {
  const struct {
    int clientWidth, clientHeight, canvasWidth, canvasHeight;
    ViewRect view;
  } cases[] = {
      {801, 601, 320, 240, {240, 180, 320, 240}},  // the odd pixel lies right of and below the view
      {600, 400, 1000, 300, {0, 50, 600, 300}},
      {0, 0, 100, 100, {0, 0, 0, 0}},  // a minimised client
  };
  for (const auto& c : cases) {
    const ViewRect r = layoutView(c.clientWidth, c.clientHeight, c.canvasWidth, c.canvasHeight);
    EXPECT_EQ(r.x, c.view.x) << c.clientWidth;
    EXPECT_EQ(r.y, c.view.y) << c.clientWidth;
    EXPECT_EQ(r.width, c.view.width) << c.clientWidth;
    EXPECT_EQ(r.height, c.view.height) << c.clientWidth;
  }
}

}  // namespace
}  // namespace tenmark
