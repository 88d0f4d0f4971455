// The program as the timetabling product uses it, on a real X server: started
// with a mode word and a host window's id, it sits inside that window; the
// user clicks "Aceptar", picks the SIGAD file and dismisses the message; the
// host then finds the tables and the outcome in Vormelan.ini.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

#include "test_support.h"

namespace tv {
namespace {

using namespace std::chrono_literals;

// Runs a command in the background; its process id.
pid_t Start(const std::string& command) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// Retries until `ready` gives a non-empty text, for up to ten seconds.
std::string WaitFor(const std::function<std::string()>& ready) {
  for (int i = 0; i < 200; ++i) {
    if (std::string found = ready(); !found.empty()) return found;
    std::this_thread::sleep_for(50ms);
  }
  return {};
}

class HostedIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = ":" + std::to_string(150 + ::getpid() % 100);
    xvfb_ = Start("Xvfb " + display_ + " -screen 0 1024x768x24 -nolisten tcp");
    ASSERT_FALSE(WaitFor([&] { return X("xdpyinfo >/dev/null 2>&1 && echo up"); }).empty()) << "no X server";
    const std::string bin = std::getenv("TRANSVORMOS_APP_BIN");
    // A copy of the program, so that its Vormelan.ini lands in the test folder.
    std::filesystem::create_directories(dir_ / "programa");
    std::filesystem::copy_file(bin + "/TransVormosSigad", program_);
    std::filesystem::create_directories(dir_ / "wine" / "drive_c" / "VTEMP");
    std::filesystem::copy_file(test::DataDir() / ".." / ".." / "samples" / "centro.xml", dir_ / "centro.xml");
    host_ = Start("env DISPLAY=" + display_ + " " + bin + "/../tests/app/test_host_window > " +
                  (dir_ / "host.txt").string());
    hostId_ = WaitFor([&] { return test::ReadFile(dir_ / "host.txt"); });
    hostId_ = hostId_.substr(0, hostId_.find('\n'));
    ASSERT_FALSE(hostId_.empty());
  }
  void TearDown() override {
    for (pid_t pid : {app_, host_, xvfb_}) {
      if (pid > 0) {
        ::kill(-pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    }
  }
  std::string X(const std::string& command) { return test::Run("DISPLAY=" + display_ + " " + command); }
  void StartProgram(const std::string& mode) {
    app_ = Start("env DISPLAY=" + display_ + " WINEPREFIX=" + (dir_ / "wine").string() +
                 " LC_ALL=es_ES.UTF-8 XDG_RUNTIME_DIR=" + dir_.path().string() + " " + program_.string() + " " + mode + " " + hostId_ + " 2> " + (dir_ / "app.log").string());
  }
  // The id of the top-level window with this exact title.
  std::string Window(const std::string& title) {
    return WaitFor([&] {
      const std::string ids = X("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null");
      return ids.substr(0, ids.find('\n'));
    });
  }
  // Answers the dialog with a file name, then dismisses the message box with
  // "Aceptar" as a person would; returns the program's exit status, or -2
  // when it is still running after ten seconds.
  int PickFileAndDismiss(const std::string& file) {
    const std::string dialog = Window("Archivo XML");
    if (dialog.empty()) return -3;
    X("xdotool windowfocus --sync " + dialog + " type --delay 5 '" + file + "'");
    X("xdotool key --window " + dialog + " Return");
    int status = -1;
    for (int i = 0; i < 200; ++i) {
      if (::waitpid(app_, &status, WNOHANG) == app_) {
        app_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      const std::string box = X("xdotool search --onlyvisible --name '^TransVormosSigad$' 2>/dev/null");
      if (!box.empty()) X("xdotool key --window " + box.substr(0, box.find('\n')) + " Return 2>/dev/null");
      std::this_thread::sleep_for(50ms);
    }
    X("import -window root " + (dir_ / "pantalla.png").string());
    return -2;
  }

  test::TempDir dir_;
  std::filesystem::path program_ = dir_ / "programa" / "TransVormosSigad";
  std::string display_, hostId_;
  pid_t xvfb_ = 0, host_ = 0, app_ = 0;
};

TEST_F(HostedIntegrationTest, ConvertsInsideTheHostWindow) {
  StartProgram("exportar");
  const std::string tree = WaitFor([&] {
    const std::string t = X("xwininfo -tree -id 0x" + hostId_);
    return t.find("Exportar e importar datos entre Vormelan y SIGAD") != std::string::npos ? t : std::string();
  });
  ASSERT_FALSE(tree.empty()) << X("xwininfo -root -tree");
  std::smatch child;
  ASSERT_TRUE(std::regex_search(tree, child, std::regex(R"((0x[0-9a-f]+) "Exportar e importar datos entre Vormelan y SIGAD".*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+))")))
      << tree;
  EXPECT_EQ(child[2].str() + "x" + child[3].str(), "632x266");
  EXPECT_EQ(child[4].str() + "," + child[5].str(), "0,0") << "at the host's top-left corner";
  const std::string frame = X("xwininfo -id " + child[1].str());
  EXPECT_NE(frame.find("Border width: 0"), std::string::npos) << frame;

  // "Aceptar" of the SIGAD-to-timetable panel, which fills the window.
  X("xdotool mousemove --window " + child[1].str() + " 140 132 click 1");
  EXPECT_EQ(PickFileAndDismiss((dir_ / "centro.xml").string()), 0) << "the window closes after the run\n"
                                                                     << test::ReadFile(dir_ / "app.log");
  for (const char* table : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"}) {
    EXPECT_TRUE(std::filesystem::exists(dir_ / "wine" / "drive_c" / "VTEMP" / (std::string(table) + ".DBF"))) << table;
  }
  EXPECT_EQ(test::ReadFile(dir_ / "programa" / "Vormelan.ini"), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(HostedIntegrationTest, MissingFileGivesMinusOne) {
  StartProgram("exportar");
  std::string ours = Window("Exportar e importar datos entre Vormelan y SIGAD");
  ASSERT_FALSE(ours.empty());
  X("xdotool mousemove --window " + ours + " 140 132 click 1");
  EXPECT_EQ(PickFileAndDismiss((dir_ / "no-existe.xml").string()), 0) << test::ReadFile(dir_ / "app.log");
  EXPECT_EQ(test::ReadFile(dir_ / "programa" / "Vormelan.ini"), "[Transformadores]\r\nTransformado=-1\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "wine" / "drive_c" / "VTEMP" / "ASIGT.DBF"));
}

}  // namespace
}  // namespace tv
