// What the fuzz targets share: a private scratch folder, and a user
// interface that answers the open dialog with a fixed file.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "user_interface.h"

namespace tv::fuzz {

// A folder of this process's own, emptied on request.
inline const std::filesystem::path& Scratch() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("transvormos-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline void WriteBytes(const std::filesystem::path& file, const std::uint8_t* data,
                       std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

class FixedFileUi : public UserInterface {
 public:
  explicit FixedFileUi(std::string file) : file_(std::move(file)) {}
  std::optional<std::string> PickXmlFile(std::string_view) override { return file_; }
  void ShowMessage(std::string_view) override {}
  void SetWaitCursor(bool) override {}
  void CloseMainWindow() override {}

 private:
  std::string file_;
};

}  // namespace tv::fuzz
