// Subject assignments: "/centro/asignaturas/dasignatura" to ASIGT.
//
// Each assignment names its group, subject and teacher by SIGAD id; the
// converter finds each id in the table written for it earlier in the run and
// takes over the codes found. The hours become HORAS and the sessions
// pattern SESIONES. An assignment whose subject is not found gives no row.
//
// A region has a million assignments. Their ids are read and looked up on a
// second thread, a few thousand assignments ahead of the rows written on the
// calling thread; an error still ends the run after the rows of the
// assignments before it, as if all were done on one thread.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "conversion.h"
#include "error.h"
#include "items_ahead.h"
#include "number_rules.h"
#include "sigad_attributes.h"

namespace tv {
namespace {

const std::vector<FieldDef> kFields = {
    {"CASIG", FieldType::Character, 10},   {"CPROF", FieldType::Character, 10},
    {"CGRUP", FieldType::Character, 10},   {"CAULA", FieldType::Character, 10},
    {"TURNO", FieldType::Character, 1},    {"NIVEL", FieldType::Character, 5},
    {"CURSO", FieldType::Character, 3},    {"GRUPO", FieldType::Character, 2},
    {"HORAS", FieldType::Float},           {"SESIONES", FieldType::Character, 20},
    {"CTAREA", FieldType::Character, 10},  {"NCONEX", FieldType::Character, 4},
    {"IDCURSO", FieldType::Character, 10}, {"IDGRUP", FieldType::Character, 10},
    {"IDASIG", FieldType::Character, 10},  {"IDPROF", FieldType::Character, 10},
};

constexpr char kHalfMarker = '\xBD';  // "½" in Windows-1252

// The decimal text of count - 13 for a whole count above 13 held in single
// precision, which may exceed every 64-bit integer: the count printed
// exactly, then 13 taken off digit by digit.
std::string BeyondThirteen(float count) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(count));
  std::string digits = buffer;
  int borrow = 13;
  for (auto it = digits.rbegin(); it != digits.rend() && borrow != 0; ++it) {
    int digit = (*it - '0') - borrow % 10;
    borrow /= 10;
    if (digit < 0) {
      digit += 10;
      ++borrow;
    }
    *it = static_cast<char>('0' + digit);
  }
  return digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
}

// The sessions of whole hours: one '1' per hour up to 13; above 13, the
// number of hours beyond 13 first, then thirteen '1'.
std::string WholeHoursPattern(float hours) {
  const float count = std::ceil(hours);
  if (count > 13) return BeyondThirteen(count) + std::string(13, '1');
  return count > 0 ? std::string(static_cast<std::size_t>(count), '1') : std::string();
}

struct Hours {
  float value;
  std::string sessions;
};

// The hours of an assignment and their sessions pattern. A text with a
// fractional part gives one '1' per whole hour and the half marker.
Hours ReadHours(const std::string& text) {
  const double number = StrToFloat(text, RegionalDecimalSeparator());
  if (std::fabs(number) > std::numeric_limits<float>::max()) {
    throw Error(Format("'%s' no es un valor punto flotante válido", {AnsiToUtf8(text)}));
  }
  Hours hours{static_cast<float>(number), {}};
  if (hours.value == 0) hours.value = 1;
  if (const auto whole = ParseWholeNumber(text)) {
    hours.sessions = WholeHoursPattern(hours.value);
    // A whole number that single precision cannot hold exactly (beyond 2 to
    // the 24th) is marked as not whole.
    if (*whole != 0 && static_cast<double>(*whole) != static_cast<double>(hours.value))
      hours.sessions += kHalfMarker;
  } else if (hours.value != std::trunc(hours.value)) {
    const float wholeHours = std::floor(hours.value);
    hours.sessions =
        std::string(wholeHours > 0 ? static_cast<std::size_t>(wholeHours) : 0, '1') + kHalfMarker;
  } else {
    hours.sessions = WholeHoursPattern(hours.value);
  }
  return hours;
}

// The SIGAD ids that an assignment names.
struct Ids {
  std::string group, subject, teacher;
};
// A text as a field of `Width` characters keeps it: its first characters.
template <std::size_t Width>
class Kept {
 public:
  Kept& operator=(std::string_view text) {
    size_ = static_cast<std::uint8_t>(std::min(text.size(), Width));
    std::memcpy(bytes_, text.data(), size_);
    return *this;
  }
  operator std::string_view() const { return {bytes_, size_}; }
  bool empty() const { return size_ == 0; }

 private:
  static_assert(Width <= 255);
  std::uint8_t size_ = 0;
  char bytes_[Width] = {};
};
// The texts a row of ASIGT takes from lookups and ids, none wider than 10.
using Code = Kept<10>;

// An assignment as its row needs it: its element (for the hours, read where
// the row is written), its ids and what they find in the tables written
// before it (empty texts for an id not found). Small, so that it passes from
// the thread that finds it to the one that writes its row in a few cache
// lines.
struct Found {
  std::optional<XmlNode> assignment;
  Code groupId, subjectId, teacherId;
  Code group, shift, level, year, letter, subject, activity, teacher;
};

// What assignments take over from one lookup table: the texts of some fields
// of the first row that holds an id. They are read from a row the first time
// one of its ids is looked up and kept, so that a million lookups over a few
// thousand rows read each row once and then cost a hash lookup.
template <std::size_t N>
class Lookup {
 public:
  using Texts = std::array<Code, N>;
  Lookup(WorkTable& table, std::string_view idField, std::array<std::string_view, N> fields)
      : table_(&table), idField_(table.FieldNumber(idField)) {
    for (std::size_t i = 0; i < N; ++i) fields_[i] = table.FieldNumber(fields[i]);
  }

  // The texts for the id; empty texts when no row holds it.
  const Texts& Find(std::string_view id) {
    if (!table_->Locate(idField_, id)) return none_;
    const std::uint32_t row = table_->RowNumber();
    if (row >= rows_.size()) rows_.resize(std::size_t{row} + 1);
    Row& kept = rows_[row];
    if (!kept.read) {
      for (std::size_t i = 0; i < N; ++i) kept.texts[i] = table_->Text(fields_[i]);
      kept.read = true;
    }
    return kept.texts;
  }
  // Hints that Find(id) comes soon.
  void Prefetch(std::string_view id) const { table_->Prefetch(idField_, id); }

 private:
  struct Row {
    bool read = false;
    Texts texts;
  };
  WorkTable* table_;
  int idField_;
  std::array<int, N> fields_;
  std::vector<Row> rows_;  // by row number
  Texts none_{};
};

// Finds what the ids of each assignment name in the groups, subjects and
// teachers tables, called for one assignment after the other. The ids of the
// next assignments are read ahead and their lookups prefetched, so that the
// waits for memory overlap.
class Finder {
 public:
  Finder(XmlNodeList assignments, WorkTable& groups, WorkTable& subjects, WorkTable& teachers)
      : assignments_(std::move(assignments)),
        count_(assignments_.length()),
        groups_(groups, "IDGRUPO", {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO"}),
        subjects_(subjects, "IDASIG", {"COD", "CODTAREA"}),
        teachers_(teachers, "IDPROF", {"ABREV"}) {}

  std::size_t Count() const { return static_cast<std::size_t>(count_); }

  void operator()(std::size_t index, Found& found) {
    const auto i = static_cast<std::int32_t>(index);
    if (i == 0) {
      for (std::int32_t j = 0; j < kAhead; ++j) ReadAhead(j);
    }
    const Ids ids = std::move(IdsOf(i));
    ReadAhead(i + kAhead);
    found.assignment = assignments_.item(i);
    found.groupId = ids.group;
    found.subjectId = ids.subject;
    found.teacherId = ids.teacher;
    const auto& group = groups_.Find(ids.group);
    found.group = group[0];
    found.shift = group[1];
    found.level = group[2];
    found.year = group[3];
    found.letter = group[4];
    const auto& subject = subjects_.Find(ids.subject);
    found.subject = subject[0];
    found.activity = subject[1];
    found.teacher = teachers_.Find(ids.teacher)[0];
  }

 private:
  static constexpr std::int32_t kAhead = 16;  // assignments read ahead

  Ids& IdsOf(std::int32_t i) { return ahead_[static_cast<std::size_t>(i % kAhead)]; }
  // Reads the ids of assignment i and prefetches their lookups.
  void ReadAhead(std::int32_t i) {
    if (i >= count_) return;
    Ids& ids = IdsOf(i);
    const XmlNode assignment = assignments_.item(i);
    ids.group = Trimmed(assignment, "cgrupo");
    ids.subject = Trimmed(assignment, "casig");
    ids.teacher = Trimmed(assignment, "cprofe");
    groups_.Prefetch(ids.group);
    subjects_.Prefetch(ids.subject);
    teachers_.Prefetch(ids.teacher);
  }

  XmlNodeList assignments_;
  std::int32_t count_;
  Lookup<5> groups_;
  Lookup<2> subjects_;
  Lookup<1> teachers_;
  std::array<Ids, kAhead> ahead_;
};

}  // namespace

void ConvertAsignaturas(Conversion& conversion) {
  WorkTable::DeleteFiles(conversion.workDirectory, "ASIGT");
  auto table = WorkTable::Create(conversion.workDirectory, "ASIGT", kFields);
  table->Open();
  WorkTable& groups = conversion.tables.wwTableGrupos();
  WorkTable& subjects = conversion.tables.wwTableNomAsg();
  WorkTable& teachers = conversion.tables.wwTableProfesor();
  groups.Open();
  subjects.Open();
  teachers.Open();
  // The assignments are read and their ids looked up on a second thread,
  // ahead of the rows written here: the finder and the lookup tables belong
  // to that thread until `found` is destroyed.
  Finder finder(conversion.document.selectNodes("/centro/asignaturas/dasignatura"), groups,
                subjects, teachers);
  const std::size_t count = finder.Count();
  std::vector<int> out;
  for (const auto& field : kFields) out.push_back(table->FieldNumber(field.name));
  enum {
    CASIG,
    CPROF,
    CGRUP,
    CAULA,
    TURNO,
    NIVEL,
    CURSO,
    GRUPO,
    HORAS,
    SESIONES,
    CTAREA,
    NCONEX,
    IDCURSO,
    IDGRUP,
    IDASIG,
    IDPROF
  };

  {
    ItemsAhead<Found> found(count, std::move(finder));
    for (std::size_t i = 0; i < count; ++i) {
      const Found& f = found.Next();
      // The hours are read, and may end the run, also for an assignment that
      // gives no row.
      const Hours hours = ReadHours(Trimmed(*f.assignment, "nhoras"));
      if (f.subject.empty()) continue;

      table->Append();
      table->SetText(out[CASIG], f.subject);
      table->SetText(out[CPROF], f.teacher);
      table->SetText(out[CGRUP], f.group);
      table->SetText(out[CAULA], "");
      table->SetText(out[TURNO], f.shift);
      table->SetText(out[NIVEL], f.level);
      table->SetText(out[CURSO], f.year);
      table->SetText(out[GRUPO], f.letter);
      table->SetFloat(out[HORAS], hours.value);
      table->SetText(out[SESIONES], hours.sessions);
      table->SetText(out[CTAREA], f.activity);
      table->SetText(out[NCONEX], "");
      table->SetText(out[IDCURSO], "");
      table->SetText(out[IDGRUP], f.groupId);
      table->SetText(out[IDASIG], f.subjectId);
      table->SetText(out[IDPROF], f.teacherId);
      table->Post();
    }
  }
  table->Close();
  groups.Close();
  subjects.Close();
  teachers.Close();
}

}  // namespace tv
