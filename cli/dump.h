// transvormos dump: a table's fields and rows, for a person or as CSV.
#pragma once

#include <filesystem>
#include <ostream>

namespace tv {

// Prints the table file's fields and valid rows in UTF-8: aligned columns, or
// CSV (a header line of field names, then one line per row) when `csv`.
// Throws Error when the table cannot be read.
void DumpTable(const std::filesystem::path& file, bool csv, std::ostream& out);

}  // namespace tv
