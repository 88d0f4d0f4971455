// The result file the host reads: an INI file updated one value at a time.
#pragma once

#include <filesystem>
#include <string_view>

namespace tv {

// Sets `key` of `section` to `value` in the INI file, creating the file and
// the section when missing. Every other section, key, comment and blank line
// stays byte for byte; section and key names match whatever their letter
// case. The file is replaced in one step, so a failure never leaves it
// half-written. Throws Error "Unable to write to <file>".
void WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace tv
