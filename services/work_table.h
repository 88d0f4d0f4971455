// Work tables: the dBase tables through which the program exchanges data with
// the timetabling product.
//
// A WorkTable is one table of a work directory, NAME.DBF (found whatever its
// letter case; created in upper case). It is closed, open with a current
// row, or open with a new row being filled (between Append and Post).
//
// Texts are 8-bit ANSI (Windows-1252) on this side; the table's own code
// page, named by its language driver, is converted on the way in and out.
//
// Guarantees:
// - After every Post the file is a valid table holding every row posted so
//   far (row count in the header, end-of-file marker), so an error or a
//   killed process leaves a table that every dBase reader opens.
// - The bytes of a file are never trusted: a file that is truncated or whose
//   header does not add up raises Error naming it.
// - Locate finds the first matching row in file order. The first Locate on a
//   field builds an index of the field's first occurrences, kept up to date by
//   Post, so repeated Locates cost a hash lookup each.
//
// Every failure raises Error with the Spanish message the user reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "code_page.h"
#include "dbf_format.h"
#include "first_row_index.h"

namespace tv {

class TableFile;

// The field types of tables this program creates.
enum class FieldType {
  Character,  // a text of at most `width` characters (1 to 254)
  Integer,    // a 32-bit whole number, or blank
  Logical,    // true or false
  Float,      // a 64-bit floating-point number
};

struct FieldDef {
  std::string name;  // upper case, at most 10 ASCII characters
  FieldType type;
  int width = 0;  // character fields only
};

enum class Access { Shared, Exclusive };

class WorkTable {
 public:
  // A closed table object for table `name` (NAME.DBF) in `dir`; a name with
  // an extension names the file itself. `component` names the object in
  // field errors ("wwTableProfesor: No se encuentra el campo 'X'").
  WorkTable(std::filesystem::path dir, std::string name, Access access, std::string component = {});
  ~WorkTable();
  WorkTable(const WorkTable&) = delete;
  WorkTable& operator=(const WorkTable&) = delete;

  // Deletes NAME.DBF, then NAME.MDX, of `dir` if they exist. The outcome is
  // not examined: a file that another program holds stays.
  static void DeleteFiles(const std::filesystem::path& dir, std::string_view name);
  // Creates NAME.DBF in `dir` with exactly these fields, no rows and no index,
  // replacing a file of that name (unless another program holds it open).
  // Returns a closed table object with shared access.
  static std::unique_ptr<WorkTable> Create(const std::filesystem::path& dir, std::string name,
                                           const std::vector<FieldDef>& fields);

  // Opens the table with the current row on its first row. Opening an open
  // table does nothing.
  void Open();
  // Closes the table; a row never posted is not written. Closing a closed
  // table does nothing.
  void Close();
  bool Active() const { return file_ != nullptr; }

  // The path of the table file (once opened, the one found on disk).
  std::filesystem::path FilePath() const;
  // The fields of the open table, in file order.
  const std::vector<dbf::FieldLayout>& Fields() const;
  // The code page of the open table's texts.
  int CodePage() const;
  // The number of a field, whatever the letter case of the name; throws
  // Error "No se encuentra el campo '<name>'".
  int FieldNumber(std::string_view name) const;

  // Starts a new row in which every field is blank.
  void Append();
  // Assigns a text: a character field keeps its first `width` characters; a
  // numeric field takes the whole-number rule, an empty text making it blank
  // (Error "'<text>' no es un valor entero válido para el campo '<name>'").
  void SetText(int field, std::string_view ansiText);
  void SetLogical(int field, bool value);
  // Stores the value exactly when its shortest decimal form fits the field.
  void SetFloat(int field, double value);
  // Writes the new row after the rows already in the file.
  void Post();

  // Makes the first row whose field value equals the key (the whole value
  // without its fill blanks, letters with their case) the current row and
  // returns true; returns false and keeps the current row otherwise. An empty
  // key matches nothing.
  bool Locate(int field, std::string_view ansiKey);
  // Hints that Locate(field, ansiKey) comes soon, so that a loop over many
  // keys overlaps its waits for memory: fetches the index entry that the
  // Locate reads. A hint changes nothing and never reads the file.
  void Prefetch(int field, std::string_view ansiKey) const;

  void First();
  void Next();
  // The number of the current row in the file, from 0 (not while a new row
  // is being filled).
  std::uint32_t RowNumber() const;
  // True for an empty table, and after Next from the last row.
  bool Eof() const { return eof_; }

  // The field of the current row (or of the new row being filled):
  // as text (character fields without trailing blanks, numbers in decimal or
  // in general format with the regional separator, a blank number as the
  // empty text);
  std::string Text(int field) const;
  // as a whole number (character fields by the whole-number rule, floats
  // rounded half to even, blank numbers 0);
  std::int32_t Integer(int field) const;
  // as a floating-point number (character fields by the decimal-number rule).
  double Float(int field) const;

  // The same operations, naming the field.
  void SetText(std::string_view field, std::string_view ansiText) {
    SetText(FieldNumber(field), ansiText);
  }
  void SetLogical(std::string_view field, bool value) { SetLogical(FieldNumber(field), value); }
  void SetFloat(std::string_view field, double value) { SetFloat(FieldNumber(field), value); }
  bool Locate(std::string_view field, std::string_view ansiKey) {
    return Locate(FieldNumber(field), ansiKey);
  }
  std::string Text(std::string_view field) const { return Text(FieldNumber(field)); }
  std::int32_t Integer(std::string_view field) const { return Integer(FieldNumber(field)); }
  double Float(std::string_view field) const { return Float(FieldNumber(field)); }

 private:
  struct Value;
  // A row: read from the file unless the window holds it.
  const unsigned char* Row(std::uint32_t row) const;
  // A row if the window holds it, else nullptr; never reads.
  const unsigned char* RowInWindow(std::uint32_t row) const;
  const unsigned char* CurrentRow() const;
  Value Decode(int field, const unsigned char* row) const;
  std::string RowText(int field, const unsigned char* row) const;
  std::optional<std::uint32_t> NextValidRow(std::uint32_t from) const;
  void RequireOpen() const {
    if (!file_) Closed();
  }
  // A new row is only filled while the table is open.
  void RequireNewRow() const {
    if (!filling_) NotFilling();
  }
  const dbf::FieldLayout& Field(int field) const {
    RequireOpen();
    if (static_cast<std::size_t>(field) >= layout_.fields.size()) NoSuchField(field);
    return layout_.fields[static_cast<std::size_t>(field)];
  }
  [[noreturn]] void Closed() const;
  [[noreturn]] void NotFilling() const;
  [[noreturn]] void NoSuchField(int field) const;
  [[noreturn]] void WriteFailed(int errorNumber);
  void SetNumberText(const dbf::FieldLayout& f, std::string_view ansiText);

  std::filesystem::path dir_;
  std::string name_;
  Access access_;
  std::string component_;

  std::unique_ptr<TableFile> file_;
  dbf::Layout layout_;
  std::unique_ptr<Recoder> toAnsi_, fromAnsi_;

  static constexpr std::uint32_t kNoRow = 0xFFFFFFFF;
  std::uint32_t current_ = kNoRow;
  bool eof_ = true;
  bool filling_ = false;
  bool dated_ = false;                 // the header carries today's date since the first Post
  std::vector<unsigned char> newRow_;  // the row being filled, then the end-of-file marker

  // A window of consecutive rows read from the file.
  mutable std::vector<unsigned char> window_;
  mutable std::uint32_t windowFirst_ = 0, windowRows_ = 0;

  // Per field: the first row holding each value, built by the first Locate.
  std::unordered_map<int, FirstRowIndex> indexes_;
};

}  // namespace tv
