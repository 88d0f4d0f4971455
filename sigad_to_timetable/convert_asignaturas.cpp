// Subject assignments: "/centro/asignaturas/dasignatura" to ASIGT.
//
// Each assignment names its group, subject and teacher by SIGAD id; the
// converter finds each id in the table written for it earlier in the run and
// takes over the codes found. The hours become HORAS and the sessions
// pattern SESIONES. An assignment whose subject is not found gives no row.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "conversion.h"
#include "error.h"
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
constexpr std::int32_t kAhead = 16;  // assignments read ahead

// The numbers of the fields the converter reads from one lookup table.
std::vector<int> FieldNumbers(const WorkTable& table,
                              std::initializer_list<std::string_view> names) {
  std::vector<int> numbers;
  for (const auto name : names) numbers.push_back(table.FieldNumber(name));
  return numbers;
}

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
  // Field numbers once, not once per row: there may be a million rows.
  const auto g = FieldNumbers(groups, {"IDGRUPO", "ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO"});
  const auto s = FieldNumbers(subjects, {"IDASIG", "COD", "CODTAREA"});
  const auto t = FieldNumbers(teachers, {"IDPROF", "ABREV"});
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

  const XmlNodeList assignments =
      conversion.document.selectNodes("/centro/asignaturas/dasignatura");
  // The ids of the next assignments are read ahead and their lookups
  // prefetched, index entries first, rows later: a region has a million
  // assignments over lookup tables larger than the processor's cache, and
  // the waits for memory then overlap.
  const std::int32_t count = assignments.length();
  std::array<Ids, 2 * kAhead> ahead;
  auto idsOf = [&](std::int32_t i) -> Ids& {
    return ahead[static_cast<std::size_t>(i % (2 * kAhead))];
  };
  auto prefetch = [&](const Ids& ids, WorkTable::Fetch what) {
    groups.Prefetch(g[0], ids.group, what);
    subjects.Prefetch(s[0], ids.subject, what);
    teachers.Prefetch(t[0], ids.teacher, what);
  };
  auto readAhead = [&](std::int32_t i) {
    if (i < count) {
      Ids& ids = idsOf(i);
      const XmlNode assignment = assignments.item(i);
      ids.group = Trimmed(assignment, "cgrupo");
      ids.subject = Trimmed(assignment, "casig");
      ids.teacher = Trimmed(assignment, "cprofe");
      prefetch(ids, WorkTable::Fetch::IndexEntry);
    }
    if (i >= kAhead && i - kAhead < count) prefetch(idsOf(i - kAhead), WorkTable::Fetch::Row);
  };
  for (std::int32_t i = 0; i < 2 * kAhead; ++i) readAhead(i);
  for (std::int32_t i = 0; i < count; ++i) {
    const XmlNode assignment = assignments.item(i);
    const Ids ids = std::move(idsOf(i));
    readAhead(i + 2 * kAhead);
    const std::string& groupId = ids.group;
    const std::string& subjectId = ids.subject;
    const std::string& teacherId = ids.teacher;
    std::string group, shift, level, year, letter, subject, activity, teacher;
    if (groups.Locate(g[0], groupId)) {
      group = groups.Text(g[1]);
      shift = groups.Text(g[2]);
      level = groups.Text(g[3]);
      year = groups.Text(g[4]);
      letter = groups.Text(g[5]);
    }
    if (subjects.Locate(s[0], subjectId)) {
      subject = subjects.Text(s[1]);
      activity = subjects.Text(s[2]);
    }
    if (teachers.Locate(t[0], teacherId)) teacher = teachers.Text(t[1]);
    // The hours are read, and may end the run, also for an assignment that
    // gives no row.
    const Hours hours = ReadHours(Trimmed(assignment, "nhoras"));
    if (subject.empty()) continue;

    table->Append();
    table->SetText(out[CASIG], subject);
    table->SetText(out[CPROF], teacher);
    table->SetText(out[CGRUP], group);
    table->SetText(out[CAULA], "");
    table->SetText(out[TURNO], shift);
    table->SetText(out[NIVEL], level);
    table->SetText(out[CURSO], year);
    table->SetText(out[GRUPO], letter);
    table->SetFloat(out[HORAS], hours.value);
    table->SetText(out[SESIONES], hours.sessions);
    table->SetText(out[CTAREA], activity);
    table->SetText(out[NCONEX], "");
    table->SetText(out[IDCURSO], "");
    table->SetText(out[IDGRUP], groupId);
    table->SetText(out[IDASIG], subjectId);
    table->SetText(out[IDPROF], teacherId);
    table->Post();
  }
  table->Close();
  groups.Close();
  subjects.Close();
  teachers.Close();
}

}  // namespace tv
