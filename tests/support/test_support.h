// Helpers shared by the test suites.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "code_page.h"
#include "error.h"

// Expects `statement` to throw tv::Error whose message is exactly `message`.
#define EXPECT_THROW_MSG(statement, message)                  \
  do {                                                        \
    try {                                                     \
      statement;                                              \
      ADD_FAILURE() << "no error thrown by " #statement;      \
    } catch (const tv::Error& e) {                            \
      EXPECT_EQ(std::string(e.what()), std::string(message)); \
    }                                                         \
  } while (false)

namespace tv::test {

// Source files are UTF-8; the program's texts are ANSI.
inline std::string Ansi(std::string_view utf8) { return Utf8ToAnsi(utf8); }

// A fresh folder for one test, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& file);

// Runs a shell command; returns its standard output and sets `status` to its
// exit status.
std::string Run(const std::string& command, int* status = nullptr);

// Runs the transvormos command of the build with Spanish regional settings;
// its standard output (and what `arguments` redirects there), setting
// `status` to its exit status.
std::string Transvormos(const std::string& arguments, int* status);

// The folder of the test data files.
std::filesystem::path DataDir();

}  // namespace tv::test
