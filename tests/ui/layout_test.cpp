#include "ui/layout.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::ui {
namespace {

TEST(LayoutTest, TwipsBecomePixelsAsTheSystemRoundsThem) {
  // 15 twips are one pixel at 96 DPI; thirds and halves round half away from zero like MulDiv.
  EXPECT_EQ(TwipsToPixels(8445, 96), 563);
  EXPECT_EQ(TwipsToPixels(6825, 96), 455);
  EXPECT_EQ(TwipsToPixels(800, 96), 53);    // 53.33
  EXPECT_EQ(TwipsToPixels(700, 96), 47);    // 46.67
  EXPECT_EQ(TwipsToPixels(5000, 96), 333);  // 333.33
  EXPECT_EQ(TwipsToPixels(1000, 96), 67);   // 66.67
  EXPECT_EQ(TwipsToPixels(1020, 96), 68);
  EXPECT_EQ(TwipsToPixels(1000, 144), 100);  // 150 %
  EXPECT_EQ(TwipsToPixels(8445, 192), 1126);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
  EXPECT_EQ(TwipsToPixels(-7, 96), 0);
  EXPECT_EQ(TwipsToPixels(-8, 96), -1);  // -0.53
  EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(LayoutTest, ControlsAreCreatedInTheirTabOrderAndFitTheClientArea) {
  const auto order = TabOrder();
  const std::string names[] = {"List",       "Label1",      "Cmd_Stop",  "Cmd_About", "Cmd_Start",
                               "LabelTotal", "LabelStatus", "Text_Path", "Label2",    "Cmd_Select"};
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(kControls[static_cast<std::size_t>(order[i])].name, names[i]) << i;
  // Client area 8325 x 6420: nothing sticks out of it.
  for (const ControlLayout& c : kControls) {
    EXPECT_LE(c.rect.left + c.rect.width, 8325) << c.name;
    EXPECT_LE(c.rect.top + c.rect.height, 6420) << c.name;
  }
}

}  // namespace
}  // namespace korvane::ui
