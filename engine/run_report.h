// Where a run writes what it finds: the report list, the status label and the summary label of
// the window, or whatever stands in for them (the command line, a test).
#pragma once

#include <cstdint>
#include <string_view>

namespace korvane {

// Colour of a failed row's 状态 cell: pure blue in the platform's blue-green-red order.
inline constexpr std::uint32_t kFailColour = 0x00FF0000;

class RunReport {
 public:
  virtual ~RunReport() = default;

  virtual void RemoveAllRows() = 0;
  [[nodiscard]] virtual int RowCount() const = 0;
  // Appends a row last; `key` is "a" followed by the row number.
  virtual void AddRow(std::string_view key, std::string_view text) = 0;
  // Sets the text of sub-item 1 to 4 of the row with the given key.
  virtual void SetSubItem(std::string_view key, int sub_item, std::string_view text) = 0;
  // Sets the text colour of sub-item 1 of the row at a 1-based position.
  virtual void SetSubItemColour(int position, std::uint32_t colour) = 0;
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetSummaryText(std::string_view text) = 0;
};

// Processes whatever user input is waiting (a Stop click, a Ctrl-C) and returns.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void PumpEvents() = 0;
};

// The two message boxes of the Start action.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The missing-folder warning: exclamation icon, one OK button.
  virtual void Warn(std::string_view text) = 0;
  // The confirmation: question icon, Yes and No. True only for Yes.
  [[nodiscard]] virtual bool Confirm(std::string_view question) = 0;
};

}  // namespace korvane
