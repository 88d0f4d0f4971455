#include "work_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "table_file.h"

namespace tv {

std::filesystem::path DefaultWorkDirectory() {
#ifdef _WIN32
  return "C:\\VTEMP";
#else
  std::filesystem::path prefix;
  if (const char* wine = std::getenv("WINEPREFIX"); wine && *wine) {
    prefix = wine;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* user = ::getpwuid(::getuid());
      home = user ? user->pw_dir : "/";
    }
    prefix = std::filesystem::path(home) / ".wine";
  }
  const std::filesystem::path driveC = FindFile(prefix, "drive_c");
  return FindFile(driveC, "VTEMP");
#endif
}

}  // namespace tv
