#include "run_measure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace tv::bench {

Measure RunMeasured(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot run " + command[0]);
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {seconds, static_cast<double>(usage.ru_maxrss) / 1024.0,
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::string ProgramFolder() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().string();
}

void PrintRow(const std::string& workload, double seconds, double floorSeconds,
              double peakMegabytes, bool failed) {
  char floor[32] = "-", ratio[32] = "-", peak[32] = "-";
  if (floorSeconds > 0) {
    std::snprintf(floor, sizeof floor, "%.3f s", floorSeconds);
    std::snprintf(ratio, sizeof ratio, "%.2f", seconds / floorSeconds);
  }
  if (peakMegabytes > 0) std::snprintf(peak, sizeof peak, "%.1f MB", peakMegabytes);
  std::printf("%-46s %9.3f s %11s %7s %11s%s\n", workload.c_str(), seconds, floor, ratio, peak,
              failed ? "  (failed)" : "");
  std::fflush(stdout);
}

}  // namespace tv::bench
