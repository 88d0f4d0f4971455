// The built library as the program meets it: loaded with dlopen, with
// HtmlHelpA as its one export, and harmless when called where it cannot
// show anything (this test program runs no QApplication).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sample_help.h"
#include "test_support.h"

namespace {

TEST(ChmHelpLibrary, ExportsOnlyHtmlHelpA) {
  int status = -1;
  const std::string symbols = tv::test::Run(
      "nm -D --defined-only '" TRANSVORMOS_HHCTRL_LIBRARY "' | awk '{print $3}'", &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(symbols, "HtmlHelpA\n");
}

TEST(ChmHelpLibrary, ShowsNothingWithoutAnApplication) {
  void* library = ::dlopen(TRANSVORMOS_HHCTRL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  using EntryPoint = void* (*)(void*, const char*, unsigned, std::uintptr_t);
  const auto html_help = reinterpret_cast<EntryPoint>(::dlsym(library, "HtmlHelpA"));
  ASSERT_NE(html_help, nullptr);
  const std::string chm = tv::test::SharedSampleHelp().string();
  EXPECT_EQ(html_help(nullptr, chm.c_str(), 15, 3), nullptr);
  EXPECT_EQ(html_help(nullptr, chm.c_str(), 1, 0), nullptr);
  EXPECT_EQ(html_help(nullptr, nullptr, 18, 0), nullptr);
  EXPECT_EQ(html_help(nullptr, nullptr, 0, 0), nullptr);
  ::dlclose(library);
}

}  // namespace
