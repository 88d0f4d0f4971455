#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <string>

#include "code_page.h"
#include "solution_export.h"

namespace tv {
namespace {

std::string Formatted(const char* format, const std::tm& moment) {
  char buffer[128];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format, &moment);
  return std::string(buffer, n);
}

}  // namespace

std::string ExportTimestamp(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  const char* region = std::setlocale(LC_TIME, nullptr);
  if (!region || std::strcmp(region, "C") == 0 || std::strcmp(region, "POSIX") == 0) {
    return Formatted("%d/%m/%Y ", local) + std::to_string(local.tm_hour) +
           Formatted(":%M:%S", local);
  }
  // The formats name the locale's characters; the document takes ANSI.
  return Utf8ToAnsi(Formatted(nl_langinfo(D_FMT), local) + " " +
                    Formatted(nl_langinfo(T_FMT), local));
}

}  // namespace tv
