// Stand-ins for the user: message boxes answered by script, a pump that runs test code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/row_store.h"
#include "engine/run_report.h"

namespace korvane::testing {

class ScriptedDialogs : public Dialogs {
 public:
  explicit ScriptedDialogs(bool answer = true) : answer_(answer) {}
  void Warn(std::string_view text) override { warnings.emplace_back(text); }
  bool Confirm(std::string_view question) override {
    questions.emplace_back(question);
    return answer_;
  }
  void set_answer(bool answer) { answer_ = answer; }

  std::vector<std::string> warnings;
  std::vector<std::string> questions;

 private:
  bool answer_;
};

// Counts pumps and runs `on_pump` at each.
class ScriptedPump : public EventPump {
 public:
  void PumpEvents() override {
    ++count;
    if (on_pump)
      on_pump(count);
  }
  int count = 0;
  std::function<void(int)> on_pump;
};

// A row store that also remembers every key and label write, in order.
class RecordingReport : public RowStore {
 public:
  void AddRow(std::string_view key, std::string_view text) override {
    RowStore::AddRow(key, text);
    keys.emplace_back(key);
  }
  void SetStatusText(std::string_view text) override {
    RowStore::SetStatusText(text);
    status_writes.emplace_back(text);
  }
  void SetSummaryText(std::string_view text) override {
    RowStore::SetSummaryText(text);
    summary_writes.emplace_back(text);
  }
  std::vector<std::string> keys;
  std::vector<std::string> status_writes;
  std::vector<std::string> summary_writes;
};

}  // namespace korvane::testing
