// The recording renderer keeps every call in order, leaves the canvas alone, and finds texts.
#include "tests/support/recording_text_renderer.h"

#include <gtest/gtest.h>

namespace orelog {
namespace {

TEST(RecordingTextRenderer, RecordsEveryCallInOrderAndDrawsNothing) {
  RecordingTextRenderer renderer;
  Canvas canvas = makeCanvas(4, 4);
  TextRenderer& asPlatformSees = renderer;
  asPlatformSees.drawText(canvas, u"レベル", 10, 20, FontSize::Small, TextAlign::Left, rgb(255, 255, 255));
  asPlatformSees.drawText(canvas, u"100", 30, 40, FontSize::Large, TextAlign::Right, rgb(127, 127, 127));
  asPlatformSees.drawText(canvas, u"レベル", 50, 60, FontSize::Medium, TextAlign::Centre, rgb(1, 2, 3));

  ASSERT_EQ(renderer.texts.size(), 3u);
  EXPECT_EQ(renderer.texts[1].text, u"100");
  EXPECT_EQ(renderer.texts[1].x, 30);
  EXPECT_EQ(renderer.texts[1].y, 40);
  EXPECT_EQ(renderer.texts[1].font, FontSize::Large);
  EXPECT_EQ(renderer.texts[1].align, TextAlign::Right);
  EXPECT_EQ(renderer.texts[1].colour, rgb(127, 127, 127));
  for (Pixel p : canvas.storage) EXPECT_EQ(p, rgb(0, 0, 0));

  const std::optional<RecordedText> first = findText(renderer, u"レベル");
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->x, 10) << "the first of two equal texts";
  EXPECT_FALSE(findText(renderer, u"レベ").has_value()) << "whole texts only";
  ASSERT_TRUE(findTextContaining(renderer, u"ベル").has_value());
  EXPECT_FALSE(findTextContaining(renderer, u"ポイント").has_value());

  renderer.clear();
  EXPECT_TRUE(renderer.texts.empty());
}

}  // namespace
}  // namespace orelog
