#include "ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace tv {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& before, const std::string& value = "1") {
    test::WriteFile(file_, before);
    WriteIniValue(file_, "Transformadores", "Transformado", value);
    return test::ReadFile(file_);
  }
  test::TempDir dir_;
  std::filesystem::path file_ = dir_ / "Vormelan.ini";
};

TEST_F(IniFileTest, CreatesFileAndSection) {
  WriteIniValue(file_, "Transformadores", "Transformado", "-1");
  EXPECT_EQ(test::ReadFile(file_), "[Transformadores]\r\nTransformado=-1\r\n");
  EXPECT_EQ(Write("; Vormelan\r\n[General]\r\nRuta=C:\\V\r\n"),
            "; Vormelan\r\n[General]\r\nRuta=C:\\V\r\n[Transformadores]\r\nTransformado=1\r\n");
  EXPECT_EQ(Write("[General]\nRuta=x"), "[General]\nRuta=x\n[Transformadores]\nTransformado=1\n");
}

TEST_F(IniFileTest, KeepsEveryOtherLineByteForByte) {
  const std::string before =
      "; comentario\r\n\r\n[General]\r\nRuta = C:\\VTEMP \r\n\r\n[transformadores]\r\n  transformado = 0\r\n"
      "Otro=x\r\n\r\n[Final]\r\nA=1";
  EXPECT_EQ(Write(before),
            "; comentario\r\n\r\n[General]\r\nRuta = C:\\VTEMP \r\n\r\n[transformadores]\r\nTransformado=1\r\n"
            "Otro=x\r\n\r\n[Final]\r\nA=1");
  // A section without the key gets it after its last entry.
  EXPECT_EQ(Write("[Transformadores]\r\nOtro=x\r\n\r\n[Final]\r\n"),
            "[Transformadores]\r\nOtro=x\r\nTransformado=1\r\n\r\n[Final]\r\n");
  EXPECT_EQ(Write("[Transformadores]"), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(IniFileTest, UnwritableFileLeavesTheOldOneWhole) {
  test::WriteFile(file_, "[Transformadores]\r\nTransformado=1\r\n");
  if (::geteuid() != 0) {
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_THROW_MSG(WriteIniValue(file_, "Transformadores", "Transformado", "0"), "Unable to write to " + file_.string());
    ::chmod(dir_.path().c_str(), 0755);
    EXPECT_EQ(test::ReadFile(file_), "[Transformadores]\r\nTransformado=1\r\n");
  }
  const auto missing = dir_ / "no" / "Vormelan.ini";
  EXPECT_THROW_MSG(WriteIniValue(missing, "Transformadores", "Transformado", "0"), "Unable to write to " + missing.string());
}

}  // namespace
}  // namespace tv
