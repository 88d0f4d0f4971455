#include "work_table.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <set>
#include <stdexcept>

#include "atomic_file.h"
#include "error.h"
#include "number_rules.h"
#include "table_file.h"

namespace tv {

using namespace dbf;

namespace {

// Copies n bytes, n at most 32, in at most two moves of the widest size
// that fits, which may overlap: values are short, and a call to the C
// library per field would cost more than the copy.
[[gnu::always_inline]] inline void CopySmall(unsigned char* to, const unsigned char* from,
                                             std::size_t n) {
  auto twice = [&](auto word) {
    constexpr std::size_t size = sizeof word;
    std::memcpy(&word, from, size);
    std::memcpy(to, &word, size);
    std::memcpy(&word, from + n - size, size);
    std::memcpy(to + n - size, &word, size);
  };
  struct Bytes16 {
    std::uint64_t low, high;
  };
  if (n >= 16) {
    twice(Bytes16{});
  } else if (n >= 8) {
    twice(std::uint64_t{});
  } else if (n >= 4) {
    twice(std::uint32_t{});
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
}

// Copies n bytes, then fills up to `width` with blanks.
void CopyPadded(unsigned char* to, const char* from, std::size_t n, std::size_t width) {
  static constexpr auto kBlanks = [] {
    std::array<unsigned char, 32> blanks{};
    blanks.fill(' ');
    return blanks;
  }();
  const auto* bytes = reinterpret_cast<const unsigned char*>(from);
  if (n <= 32) {
    CopySmall(to, bytes, n);
  } else {
    std::memcpy(to, bytes, n);
  }
  if (width - n <= 32) {
    CopySmall(to + n, kBlanks.data(), width - n);
  } else {
    std::memset(to + n, ' ', width - n);
  }
}

constexpr std::size_t kWindowBytes = 256 * 1024;    // read ahead when reading on
constexpr std::size_t kJumpBytes = 4 * 1024;        // read after a jump
constexpr std::uint64_t kResidentBytes = 16 << 20;  // tables up to this size are read whole

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsTextStorage(Storage storage) {
  return storage == Storage::Text || storage == Storage::Date || storage == Storage::Memo;
}

// A character field's value: its bytes without the blanks (or, from some
// writers, NULs) that fill the column on the right.
std::string_view WithoutFill(std::string_view bytes) {
  std::size_t length = bytes.size();
  while (length > 0 && (bytes[length - 1] == ' ' || bytes[length - 1] == '\0')) --length;
  return bytes.substr(0, length);
}

std::string TrimSpacesAndNuls(std::string_view text) {
  const auto first = text.find_first_not_of(std::string_view(" \0", 2));
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(std::string_view(" \0", 2));
  return std::string(text.substr(first, last - first + 1));
}

// A whole number as text: digits with an optional sign, nothing else.
std::optional<std::int64_t> ParsePlainInteger(std::string_view text) {
  std::int64_t value = 0;
  const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParsePlainReal(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  if (end != text.data() + text.size() ||
      (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    return std::nullopt;
  }
  return value;
}

std::string TwoDigits(long v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// Day, month and year of a day number counted from 1 March of year 0
// (the civil calendar algorithm of H. Hinnant).
std::string DateText(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  const long day = static_cast<long>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const long month = static_cast<long>(mp < 10 ? mp + 3 : mp - 9);
  const long long year = yearOfEra + era * 400 + (month <= 2);
  return TwoDigits(day) + "/" + TwoDigits(month) + "/" + std::to_string(year);
}

std::string TimeText(long long milliseconds) {
  const long long seconds = milliseconds / 1000;
  return TwoDigits(static_cast<long>(seconds / 3600)) + ":" +
         TwoDigits(static_cast<long>(seconds / 60 % 60)) + ":" +
         TwoDigits(static_cast<long>(seconds % 60));
}

double Dbase7Double(const unsigned char* p) {
  std::uint64_t bits = Get64BigEndian(p);
  bits = (bits >> 63) ? bits ^ (std::uint64_t{1} << 63) : ~bits;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool AllZero(const unsigned char* p, std::size_t n) {
  return std::all_of(p, p + n, [](unsigned char b) { return b == 0; });
}

// The shortest text of `value` that reads back as the same double, in fixed
// notation when it fits the width, else in scientific notation, else with as
// many significant digits as fit.
std::optional<std::string> NumberText(double value, std::size_t width) {
  char buffer[400];
  for (const auto format : {std::chars_format::fixed, std::chars_format::scientific}) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    if (r.ec == std::errc() && static_cast<std::size_t>(r.ptr - buffer) <= width)
      return std::string(buffer, r.ptr);
  }
  for (int precision = 16; precision >= 0; --precision) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, precision);
    if (r.ec == std::errc() && static_cast<std::size_t>(r.ptr - buffer) <= width)
      return std::string(buffer, r.ptr);
  }
  return std::nullopt;
}

unsigned char FieldTypeLetter(FieldType type) {
  switch (type) {
    case FieldType::Character:
      return 'C';
    case FieldType::Logical:
      return 'L';
    case FieldType::Integer:
    case FieldType::Float:
      return 'N';
  }
  return 'C';
}

// Length and decimals of the columns of the created field types.
std::pair<int, int> ColumnSize(const FieldDef& def) {
  switch (def.type) {
    case FieldType::Character:
      return {def.width, 0};
    case FieldType::Logical:
      return {1, 0};
    case FieldType::Integer:
      return {11, 0};
    case FieldType::Float:
      return {20, 4};
  }
  return {0, 0};
}

std::vector<unsigned char> CreatedHeader(const std::vector<FieldDef>& fields) {
  const std::size_t headerLength = kHeaderPrefix + 32 * fields.size() + 1;
  std::vector<unsigned char> header(headerLength + 1, 0);
  std::set<std::string> names;
  int rowLength = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& def = fields[i];
    const auto [length, decimals] = ColumnSize(def);
    if (def.name.empty() || def.name.size() > 10 || !names.insert(Upper(def.name)).second ||
        length < 1 || length > 254) {
      throw std::invalid_argument("bad field definition: " + def.name);
    }
    unsigned char* d = header.data() + kHeaderPrefix + 32 * i;
    std::memcpy(d, def.name.data(), def.name.size());
    d[11] = FieldTypeLetter(def.type);
    d[16] = static_cast<unsigned char>(length);
    d[17] = static_cast<unsigned char>(decimals);
    rowLength += length;
  }
  if (fields.empty() || headerLength > 0xFFFF || rowLength > 0xFFFF) {
    throw std::invalid_argument("bad field list");
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  header[0] = kCreatedVersion;
  header[1] = static_cast<unsigned char>(local.tm_year);
  header[2] = static_cast<unsigned char>(local.tm_mon + 1);
  header[3] = static_cast<unsigned char>(local.tm_mday);
  Put16(&header[8], static_cast<std::uint16_t>(headerLength));
  Put16(&header[10], static_cast<std::uint16_t>(rowLength));
  header[29] = kCreatedLanguageDriver;
  header[headerLength - 1] = kHeaderTerminator;
  header[headerLength] = kEndOfFile;
  return header;
}

}  // namespace

struct WorkTable::Value {
  enum Kind { Null, Text, Whole, Real, Boolean } kind = Null;
  std::string text;
  std::int64_t whole = 0;
  double real = 0;
};

WorkTable::WorkTable(std::filesystem::path dir, std::string name, Access access,
                     std::string component)
    : dir_(std::move(dir)),
      name_(std::move(name)),
      access_(access),
      component_(std::move(component)) {}

WorkTable::~WorkTable() = default;

// ---------------------------------------------------------------------------
// Files

void WorkTable::DeleteFiles(const std::filesystem::path& dir, std::string_view name) {
  for (const char* extension : {".DBF", ".MDX"}) {
    for (const auto& file : FindCaseVariants(dir, std::string(name) + extension)) {
      if (!IsTableFileInUse(file)) ::unlink(file.c_str());
    }
  }
}

std::unique_ptr<WorkTable> WorkTable::Create(const std::filesystem::path& dir, std::string name,
                                             const std::vector<FieldDef>& fields) {
  const std::string fileName = Upper(name) + ".DBF";
  const std::filesystem::path target = dir / fileName;
  const auto existing = FindCaseVariants(dir, fileName);
  for (const auto& file : existing) {
    if (IsTableFileInUse(file)) throw Error(TableInUseMessage(file));
  }
  const auto header = CreatedHeader(fields);
  AtomicFile out(target, "No se puede crear la tabla '%s': %s");
  out.Write(std::string_view(reinterpret_cast<const char*>(header.data()), header.size()));
  out.Commit();
  for (const auto& file : existing) {
    if (file.filename() != fileName) ::unlink(file.c_str());
  }
  return std::make_unique<WorkTable>(dir, std::move(name), Access::Shared);
}

std::filesystem::path WorkTable::FilePath() const {
  if (file_) return file_->path();
  return FindFile(dir_, name_.find('.') == std::string::npos ? name_ + ".DBF" : name_);
}

void WorkTable::Open() {
  if (file_) return;
  auto file = std::make_unique<TableFile>(FilePath(), access_ == Access::Exclusive);
  const std::string shown = file->path().string();
  const std::uint64_t size = file->Size();
  std::vector<unsigned char> header(kHeaderPrefix);
  header.resize(file->ReadAt(header.data(), header.size(), 0));
  if (header.size() == kHeaderPrefix) {
    header.resize(std::max<std::size_t>(kHeaderPrefix, HeaderLength(header.data())));
    header.resize(file->ReadAt(header.data(), header.size(), 0));
  }
  layout_ = ParseHeader(header, size, shown);
  const auto& page = tv::CodePage::Get(layout_.codePage);
  toAnsi_ = std::make_unique<Recoder>(page, tv::CodePage::Ansi());
  fromAnsi_ = std::make_unique<Recoder>(tv::CodePage::Ansi(), page);
  file_ = std::move(file);
  First();
}

void WorkTable::Close() {
  file_.reset();
  filling_ = false;
  dated_ = false;
  current_ = kNoRow;
  eof_ = true;
  window_.clear();
  windowRows_ = 0;
  indexes_.clear();
}

void WorkTable::Closed() const {
  throw Error(Format("La tabla '%s' está cerrada", {FilePath().string()}));
}

void WorkTable::NotFilling() const {
  RequireOpen();
  throw std::logic_error("no row is being filled");
}

void WorkTable::NoSuchField(int field) const {
  throw std::out_of_range("field number " + std::to_string(field));
}

const std::vector<FieldLayout>& WorkTable::Fields() const {
  RequireOpen();
  return layout_.fields;
}

int WorkTable::CodePage() const {
  RequireOpen();
  return layout_.codePage;
}

int WorkTable::FieldNumber(std::string_view name) const {
  auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return x == y || ((x ^ y) == 0x20 && ((x | 0x20) >= 'a' && (x | 0x20) <= 'z'));
           });
  };
  if (file_) {
    for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
      if (same(layout_.fields[i].name, name)) return static_cast<int>(i);
    }
  }
  std::string message = Format("No se encuentra el campo '%s'", {name});
  throw Error(component_.empty() ? message : Format("%s: %s", {component_, message}));
}

// ---------------------------------------------------------------------------
// Reading rows

const unsigned char* WorkTable::RowInWindow(std::uint32_t row) const {
  if (row < windowFirst_ || row >= windowFirst_ + windowRows_) return nullptr;
  return window_.data() + static_cast<std::size_t>(row - windowFirst_) * layout_.rowLength;
}

const unsigned char* WorkTable::Row(std::uint32_t row) const {
  if (const unsigned char* bytes = RowInWindow(row)) return bytes;
  // A small table is read whole, so that lookups in it cost no reads. In a
  // large one, reading on from the window reads ahead; a jump reads little.
  const std::uint64_t tableBytes = std::uint64_t{layout_.rowCount} * layout_.rowLength;
  const bool whole = tableBytes <= kResidentBytes;
  const std::uint64_t bytes = whole                               ? tableBytes
                              : row == windowFirst_ + windowRows_ ? kWindowBytes
                                                                  : kJumpBytes;
  const std::uint32_t first = whole ? 0 : row;
  const std::uint32_t capacity =
      static_cast<std::uint32_t>(std::max<std::uint64_t>(1, bytes / layout_.rowLength));
  const std::uint32_t rows = std::min(capacity, layout_.rowCount - first);
  window_.resize(static_cast<std::size_t>(rows) * layout_.rowLength);
  const std::uint64_t offset = layout_.headerLength + std::uint64_t{first} * layout_.rowLength;
  if (file_->ReadAt(window_.data(), window_.size(), offset) != window_.size()) {
    windowRows_ = 0;
    throw Error(Format("La tabla '%s' está dañada: %s",
                       {file_->path().string(), "el archivo termina antes de su última fila"}));
  }
  windowFirst_ = first;
  windowRows_ = rows;
  return RowInWindow(row);
}

const unsigned char* WorkTable::CurrentRow() const {
  if (filling_) return newRow_.data();
  return current_ == kNoRow ? nullptr : Row(current_);
}

std::optional<std::uint32_t> WorkTable::NextValidRow(std::uint32_t from) const {
  for (std::uint32_t row = from; row < layout_.rowCount; ++row) {
    if (Row(row)[0] != kDeletedRow) return row;
  }
  return std::nullopt;
}

void WorkTable::First() {
  RequireOpen();
  filling_ = false;
  const auto row = NextValidRow(0);
  current_ = row ? *row : kNoRow;
  eof_ = !row;
}

std::uint32_t WorkTable::RowNumber() const {
  RequireOpen();
  if (filling_ || current_ == kNoRow) throw std::logic_error("RowNumber without a row in the file");
  return current_;
}

void WorkTable::Next() {
  RequireOpen();
  filling_ = false;
  if (eof_) return;
  const auto row = NextValidRow(current_ + 1);
  if (row) {
    current_ = *row;
  } else {
    eof_ = true;
  }
}

WorkTable::Value WorkTable::Decode(int field, const unsigned char* row) const {
  const FieldLayout& f = Field(field);
  Value v;
  if (!row) return v;
  const unsigned char* p = row + 1 + f.offset;
  const std::string_view bytes(reinterpret_cast<const char*>(p), f.length);
  switch (f.storage) {
    case Storage::Text:
      v.kind = Value::Text;
      v.text = (*toAnsi_)(WithoutFill(bytes));
      break;
    case Storage::Number: {
      const std::string text = TrimSpacesAndNuls(bytes);
      if (text.empty()) break;
      if (const auto whole = ParsePlainInteger(text)) {
        v.kind = Value::Whole;
        v.whole = *whole;
      } else if (const auto real = ParsePlainReal(text)) {
        v.kind = Value::Real;
        v.real = *real;
      } else {
        throw Error(
            Format("La tabla '%s' está dañada: el campo '%s' tiene el valor no numérico '%s'",
                   {file_->path().string(), f.name, AnsiToUtf8((*toAnsi_)(text))}));
      }
      break;
    }
    case Storage::Logical: {
      const std::string_view truth("TtYy"), falsehood("FfNn");
      if (truth.find(static_cast<char>(p[0])) != std::string_view::npos)
        v = {Value::Boolean, {}, 1};
      if (falsehood.find(static_cast<char>(p[0])) != std::string_view::npos)
        v = {Value::Boolean, {}, 0};
      break;
    }
    case Storage::Date: {
      const std::string text = TrimSpacesAndNuls(bytes);
      if (text.empty() || text == "00000000") break;
      v.kind = Value::Text;
      const bool digits = text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
                            return c >= '0' && c <= '9';
                          });
      v.text =
          digits ? text.substr(6, 2) + "/" + text.substr(4, 2) + "/" + text.substr(0, 4) : text;
      break;
    }
    case Storage::IntLittle:
      v = {Value::Whole, {}, static_cast<std::int32_t>(Get32(p))};
      break;
    case Storage::IntDbase7:
      if (!AllZero(p, 4))
        v = {Value::Whole, {}, static_cast<std::int32_t>(Get32BigEndian(p) ^ 0x80000000u)};
      break;
    case Storage::DoubleLittle: {
      const std::uint64_t bits = Get64(p);
      v.kind = Value::Real;
      std::memcpy(&v.real, &bits, sizeof v.real);
      break;
    }
    case Storage::DoubleDbase7:
      if (!AllZero(p, 8)) {
        v.kind = Value::Real;
        v.real = Dbase7Double(p);
      }
      break;
    case Storage::Currency:
      v.kind = Value::Real;
      v.real = static_cast<double>(static_cast<std::int64_t>(Get64(p))) / 10000.0;
      break;
    case Storage::DateTimeFox:
      if (!AllZero(p, 8)) {
        v.kind = Value::Text;
        // Julian day 2440588 is 1 January 1970, day 0 of the civil count.
        v.text = DateText(static_cast<std::int32_t>(Get32(p)) - 2440588LL) + " " +
                 TimeText(static_cast<std::int32_t>(Get32(p + 4)));
      }
      break;
    case Storage::DateTimeDbase7:
      if (!AllZero(p, 8)) {
        const double ms = Dbase7Double(p);
        if (std::isfinite(ms) && std::fabs(ms) < 1e17) {
          const auto whole = static_cast<long long>(ms);
          // Day 1 is 1 January of year 1, which lies 719162 days before 1970.
          const long long day = whole / 86400000 - 1 - 719162;
          v.kind = Value::Text;
          v.text = DateText(day) + " " + TimeText(whole % 86400000);
        }
      }
      break;
    case Storage::Memo:
      v.kind = Value::Text;  // the memo file is not read
      break;
  }
  return v;
}

std::string WorkTable::RowText(int field, const unsigned char* row) const {
  const FieldLayout& f = Field(field);
  if (f.storage == Storage::Text && row) {
    std::string text(
        WithoutFill(std::string_view(reinterpret_cast<const char*>(row) + 1 + f.offset, f.length)));
    if (!toAnsi_->identity()) {
      for (char& c : text) c = static_cast<char>((*toAnsi_)(static_cast<unsigned char>(c)));
    }
    return text;
  }
  const Value v = Decode(field, row);
  switch (v.kind) {
    case Value::Null:
      return {};
    case Value::Text:
      return v.text;
    case Value::Whole:
      return std::to_string(v.whole);
    case Value::Real:
      return FormatGeneral(v.real, RegionalDecimalSeparator());
    case Value::Boolean:
      return v.whole ? "True" : "False";
  }
  return {};
}

std::string WorkTable::Text(int field) const {
  RequireOpen();
  return RowText(field, CurrentRow());
}

std::int32_t WorkTable::Integer(int field) const {
  RequireOpen();
  if (IsTextStorage(Field(field).storage)) return StrToInt(RowText(field, CurrentRow()));
  const Value v = Decode(field, CurrentRow());
  switch (v.kind) {
    case Value::Whole:
    case Value::Boolean:
      if (v.whole < INT32_MIN || v.whole > INT32_MAX) return StrToInt(std::to_string(v.whole));
      return static_cast<std::int32_t>(v.whole);
    case Value::Real:
      return RoundHalfEven(v.real, RegionalDecimalSeparator());
    default:
      return 0;
  }
}

double WorkTable::Float(int field) const {
  RequireOpen();
  if (IsTextStorage(Field(field).storage))
    return StrToFloat(RowText(field, CurrentRow()), RegionalDecimalSeparator());
  const Value v = Decode(field, CurrentRow());
  switch (v.kind) {
    case Value::Whole:
    case Value::Boolean:
      return static_cast<double>(v.whole);
    case Value::Real:
      return v.real;
    default:
      return 0;
  }
}

bool WorkTable::Locate(int field, std::string_view ansiKey) {
  RequireOpen();
  Field(field);
  if (filling_) throw std::logic_error("Locate while a row is being filled");
  if (ansiKey.empty()) return false;
  auto index = indexes_.find(field);
  if (index == indexes_.end()) {
    index = indexes_.emplace(field, FirstRowIndex{}).first;
    for (auto row = NextValidRow(0); row; row = NextValidRow(*row + 1)) {
      const std::string key = RowText(field, Row(*row));
      if (!key.empty()) index->second.Add(key, *row);
    }
  }
  const auto found = index->second.Find(ansiKey);
  if (!found) return false;
  current_ = *found;
  eof_ = false;
  return true;
}

void WorkTable::Prefetch(int field, std::string_view ansiKey) const {
  const auto index = indexes_.find(field);
  if (index != indexes_.end()) index->second.Prefetch(ansiKey);
}

// ---------------------------------------------------------------------------
// Writing rows

void WorkTable::Append() {
  RequireOpen();
  if (!file_->writable()) {
    throw Error(Format("No se puede escribir en la tabla '%s': %s",
                       {file_->path().string(), SystemErrorText(EACCES)}));
  }
  newRow_.assign(layout_.rowLength + 1, ' ');
  newRow_.back() = kEndOfFile;
  filling_ = true;
}

void WorkTable::SetText(int field, std::string_view ansiText) {
  RequireNewRow();
  const FieldLayout& f = Field(field);
  if (f.storage != Storage::Text) return SetNumberText(f, ansiText);
  unsigned char* p = newRow_.data() + 1 + f.offset;
  const std::size_t kept = std::min<std::size_t>(ansiText.size(), f.length);
  CopyPadded(p, ansiText.data(), kept, f.length);
  if (!fromAnsi_->identity()) {
    for (std::size_t i = 0; i < kept; ++i) p[i] = (*fromAnsi_)(p[i]);
  }
}

void WorkTable::SetNumberText(const FieldLayout& f, std::string_view ansiText) {
  if (f.storage != Storage::Number) {
    throw Error(Format("No se puede asignar un texto al campo '%s'", {f.name}));
  }
  unsigned char* p = newRow_.data() + 1 + f.offset;
  std::memset(p, ' ', f.length);
  if (ansiText.empty()) return;
  const auto value = ParseWholeNumber(ansiText);
  const std::string digits = value ? std::to_string(*value) : std::string();
  if (!value || digits.size() > f.length) {
    throw Error(Format("'%s' no es un valor entero válido para el campo '%s'",
                       {AnsiToUtf8(ansiText), f.name}));
  }
  std::memcpy(p + f.length - digits.size(), digits.data(), digits.size());
}

void WorkTable::SetLogical(int field, bool value) {
  RequireNewRow();
  const FieldLayout& f = Field(field);
  if (f.storage != Storage::Logical) throw Error(Format("El campo '%s' no es lógico", {f.name}));
  newRow_[1 + f.offset] = value ? 'T' : 'F';
}

void WorkTable::SetFloat(int field, double value) {
  RequireNewRow();
  const FieldLayout& f = Field(field);
  if (f.storage != Storage::Number) throw Error(Format("El campo '%s' no es numérico", {f.name}));
  const auto text = std::isfinite(value) ? NumberText(value, f.length) : std::nullopt;
  if (!text) {
    throw Error(Format("'%s' no es un valor punto flotante válido para el campo '%s'",
                       {FormatGeneral(value, RegionalDecimalSeparator()), f.name}));
  }
  unsigned char* p = newRow_.data() + 1 + f.offset;
  std::memset(p, ' ', f.length);
  std::memcpy(p + f.length - text->size(), text->data(), text->size());
}

void WorkTable::WriteFailed(int errorNumber) {
  throw Error(Format("No se puede escribir en la tabla '%s': %s",
                     {file_->path().string(), SystemErrorText(errorNumber)}));
}

void WorkTable::Post() {
  RequireNewRow();
  const std::uint32_t row = layout_.rowCount;
  const std::uint64_t offset = layout_.headerLength + std::uint64_t{row} * layout_.rowLength;
  const std::uint64_t end = offset + newRow_.size();
  filling_ = false;
  // Header bytes 1-7: the date of the last change, then the row count.
  unsigned char counts[7] = {};
  if (!dated_) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    counts[0] = static_cast<unsigned char>(local.tm_year);
    counts[1] = static_cast<unsigned char>(local.tm_mon + 1);
    counts[2] = static_cast<unsigned char>(local.tm_mday);
  }
  Put32(counts + 3, row + 1);
  const std::size_t from = dated_ ? 3 : 0;
  // Three steps, so that whenever the process stops, no reader sees part of
  // a row: first the row without its first byte, and the end-of-file marker
  // after it, while the old marker still ends the table where the row
  // begins; then that first byte, which makes the row part of the table for
  // readers that go by the marker; then the count, for readers that go by
  // the header. (Between the last two steps the readers differ by this
  // whole row.)
  unsigned char* area = file_->AppendArea(offset, newRow_.size(), end);
  unsigned char* header = area ? file_->HeaderArea() : nullptr;
  if (header) {
    std::memcpy(area + 1, newRow_.data() + 1, newRow_.size() - 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);  // the stores stay in this order
    area[0] = newRow_[0];
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(header + 1 + from, counts + from, 7 - from);
  } else {
    int error = file_->WriteAt(newRow_.data() + 1, newRow_.size() - 1, offset + 1);
    if (error == 0) error = file_->WriteAt(newRow_.data(), 1, offset);
    if (error != 0) {
      const unsigned char marker = kEndOfFile;
      if (file_->WriteAt(&marker, 1, offset) == 0) file_->Truncate(offset + 1);
      WriteFailed(error);
    }
    error = file_->WriteAt(counts + from, 7 - from, 1 + from);
    if (error != 0) WriteFailed(error);
  }
  dated_ = true;
  if (windowFirst_ + windowRows_ == row && window_.size() + layout_.rowLength <= kResidentBytes) {
    window_.insert(window_.end(), newRow_.begin(), newRow_.end() - 1);
    ++windowRows_;
  }
  layout_.rowCount = row + 1;
  current_ = row;
  eof_ = false;
  for (auto& [field, index] : indexes_) {
    const std::string key = RowText(field, newRow_.data());
    if (!key.empty()) index.Add(key, row);
  }
}

}  // namespace tv
