// The user interface of the command line: the file is the one named on the
// command line (so no instruction asks for it), messages go to standard output, there is no cursor
// and no window to close.
#pragma once

#include <filesystem>
#include <ostream>

#include "user_interface.h"

namespace tv {

class ConsoleUserInterface : public UserInterface {
 public:
  ConsoleUserInterface(std::filesystem::path file, std::ostream& out)
      : file_(std::move(file)), out_(out) {}
  std::optional<std::string> PickXmlFile(std::string_view) override {
    return std::filesystem::absolute(file_).string();
  }
  void ShowMessage(std::string_view message) override { out_ << message << "\n"; }
  void SetWaitCursor(bool) override {}
  void CloseMainWindow() override {}

 private:
  std::filesystem::path file_;
  std::ostream& out_;
};

}  // namespace tv
