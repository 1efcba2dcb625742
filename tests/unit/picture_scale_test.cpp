#include "ui/framework/picture_scale.h"

#include <gtest/gtest.h>

namespace {

// The dpis Windows offers (100 % to 300 %) and the edges between scales.
TEST(PictureScale, NearestScaleWithHalfwayToTheSmaller) {
  const struct {
    unsigned dpi;
    PictureScale scale;
  } cases[] = {
      {0, PictureScale::Percent100},   {96, PictureScale::Percent100},
      {120, PictureScale::Percent100}, {121, PictureScale::Percent150},
      {144, PictureScale::Percent150}, {168, PictureScale::Percent150},
      {169, PictureScale::Percent200}, {192, PictureScale::Percent200},
      {288, PictureScale::Percent200},
  };
  for (const auto& c : cases) EXPECT_EQ(NearestPictureScale(c.dpi), c.scale) << c.dpi << " dpi";
}

}  // namespace
