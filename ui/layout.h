// The window's fixed layout: every control and list column with its text and its place in twips,
// as constant data. Pure: no <windows.h>, so the table and its arithmetic are checked on Linux too.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/strings.h"
#include "ui/commands.h"

namespace korvane::ui {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

// MulDiv(twips, dpi, 1440): rounded half away from zero, as the system rounds.
constexpr int TwipsToPixels(int twips, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
  const std::int64_t half = kTwipsPerInch / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / kTwipsPerInch : -((-product + half) / kTwipsPerInch);
  return static_cast<int>(rounded);
}

// The outer size never changes.
inline constexpr int kWindowWidthTwips = 8445;
inline constexpr int kWindowHeightTwips = 6825;

inline constexpr std::string_view kVendorAddress = "https://korvane.example/";

enum class ControlKind { kLabel, kTextBox, kButton, kList };

// Indexes into kControls; also the offset of each control's id from kFirstControlId.
enum ControlIndex {
  kLabel1,
  kLabel2,
  kTextPath,
  kCmdSelect,
  kList,
  kLabelTotal,
  kCmdStart,
  kCmdStop,
  kCmdAbout,
  kLabelStatus,
  kControlCount
};

inline constexpr int kFirstControlId = 1001;

struct TwipsRect {
  int left, top, width, height;
};

struct ControlLayout {
  std::string_view name;
  ControlKind kind;
  std::optional<text::Id> text;  // its initial text; none: empty
  TwipsRect rect;                // inside the client area
  int tab_order;
  std::optional<Cmd> command{};  // what a click asks for; none: the control sends no command
};

inline constexpr std::array<ControlLayout, kControlCount> kControls{{
    {"Label1", ControlKind::kLabel, text::Id::kLabel1, {120, 120, 5895, 255}, 1},
    {"Label2", ControlKind::kLabel, text::Id::kLabel2, {120, 480, 615, 255}, 8},
    {"Text_Path", ControlKind::kTextBox, std::nullopt, {720, 360, 6495, 375}, 7},
    {"Cmd_Select",
     ControlKind::kButton,
     text::Id::kSelectButton,
     {7440, 360, 735, 375},
     9,
     Cmd::kSelect},
    {"List", ControlKind::kList, std::nullopt, {120, 840, 8055, 4695}, 0},
    {"LabelTotal", ControlKind::kLabel, text::Id::kSummaryNone, {120, 5760, 5055, 255}, 5},
    {"Cmd_Start",
     ControlKind::kButton,
     text::Id::kStartButton,
     {5520, 5640, 735, 375},
     4,
     Cmd::kStart},
    {"Cmd_Stop",
     ControlKind::kButton,
     text::Id::kStopButton,
     {6480, 5640, 735, 375},
     2,
     Cmd::kStop},
    {"Cmd_About",
     ControlKind::kButton,
     text::Id::kAboutButton,
     {7440, 5640, 735, 375},
     3,
     Cmd::kAbout},
    {"LabelStatus", ControlKind::kLabel, text::Id::kStatusNotStarted, {120, 6120, 8055, 255}, 6},
}};

// The command a WM_COMMAND id stands for: a button's (its row's) or a menu item's. None for any
// other id.
[[nodiscard]] std::optional<Cmd> CommandOfId(int id);

// The controls in tab order: the order they are created in, since the system tabs in that order.
std::array<ControlIndex, kControlCount> TabOrder();

// The report list's columns, in the order of the report's cells; their headers are the report's
// column headers.
struct ColumnSpec {
  std::string_view key;
  int width_twips;
};

inline constexpr std::array<ColumnSpec, 5> kColumns{{
    {"a", 800},
    {"b", 700},
    {"c", 1500},
    {"d", 5000},
    {"e", 1000},
}};

}  // namespace korvane::ui
