// A user interface that answers the open dialog from a script and records
// what a run shows.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "user_interface.h"

namespace tv::test {

class ScriptedUi : public UserInterface {
 public:
  std::deque<std::optional<std::string>> answers;  // one per dialog; nothing: cancelled
  std::vector<std::string> shown;                  // instructions and messages, in order
  int closes = 0;
  bool waiting = false;

  std::optional<std::string> PickXmlFile(std::string_view instruction) override {
    if (!instruction.empty()) shown.emplace_back(instruction);
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(std::string_view message) override { shown.emplace_back(message); }
  void SetWaitCursor(bool on) override { waiting = on; }
  void CloseMainWindow() override { ++closes; }
};

}  // namespace tv::test
