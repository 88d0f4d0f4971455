// Synthetic SIGAD interchange file generator.
//
// Writes a well-formed XML file (root element "centro", UTF-8) with subjects,
// teachers, rooms, groups and assignments at any scale, so the converter can
// be measured on small and very large inputs. The output is deterministic:
// std::mt19937 is fully defined by the standard and every value is derived
// from its raw output with plain arithmetic, so the same arguments give the
// same bytes with any standard library.
//
// Usage:
//   sigad_generator OUTPUT.xml [school|region]
//   sigad_generator OUTPUT.xml SUBJECTS TEACHERS ROOMS GROUPS ASSIGNMENTS

#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

namespace {

struct Counts {
  std::uint64_t subjects = 0;
  std::uint64_t teachers = 0;
  std::uint64_t rooms = 0;
  std::uint64_t groups = 0;
  std::uint64_t assignments = 0;
};

constexpr std::uint64_t kSubjectBase = 1000000;
constexpr std::uint64_t kTeacherBase = 2000000;
constexpr std::uint64_t kRoomBase = 3000000;
constexpr std::uint64_t kGroupBase = 4000000;
constexpr std::size_t kFlushBytes = std::size_t{8} << 20;

struct SubjectKind {
  std::string_view abrev;
  std::string_view name;
  std::string_view department;
};

// About fifty subject kinds; every abbreviation repeats many times at scale.
constexpr std::array<SubjectKind, 50> kSubjects{{
    {"MAT", "Matemáticas", "Matemáticas"},
    {"MATA", "Matemáticas A", "Matemáticas"},
    {"MATB", "Matemáticas B", "Matemáticas"},
    {"MCS", "Matemáticas Aplicadas a las Ciencias Sociales", "Matemáticas"},
    {"LCL", "Lengua Castellana y Literatura", "Lengua Castellana y Literatura"},
    {"LIU", "Literatura Universal", "Lengua Castellana y Literatura"},
    {"GH", "Geografía e Historia", "Geografía e Historia"},
    {"HE", "Historia de España", "Geografía e Historia"},
    {"HMC", "Historia del Mundo Contemporáneo", "Geografía e Historia"},
    {"GEO", "Geografía", "Geografía e Historia"},
    {"HAR", "Historia del Arte", "Geografía e Historia"},
    {"EF", "Educación Física", "Educación Física"},
    {"FQ", "Física y Química", "Física y Química"},
    {"FIS", "Física", "Física y Química"},
    {"QUI", "Química", "Física y Química"},
    {"BG", "Biología y Geología", "Biología y Geología"},
    {"BIO", "Biología", "Biología y Geología"},
    {"CTM", "Ciencias de la Tierra y del Medio Ambiente", "Biología y Geología"},
    {"TEC", "Tecnología", "Tecnología"},
    {"TYD", "Tecnología y Digitalización", "Tecnología"},
    {"DIG", "Digitalización", "Tecnología"},
    {"TIN", "Tecnología e Ingeniería", "Tecnología"},
    {"ING", "Inglés", "Inglés"},
    {"FRA", "Francés", "Francés"},
    {"ALE", "Alemán", "Alemán"},
    {"MUS", "Música", "Música"},
    {"AME", "Análisis Musical", "Música"},
    {"EPV", "Educación Plástica, Visual y Audiovisual", "Dibujo"},
    {"DT", "Dibujo Técnico", "Dibujo"},
    {"DA", "Dibujo Artístico", "Dibujo"},
    {"FIL", "Filosofía", "Filosofía"},
    {"HFI", "Historia de la Filosofía", "Filosofía"},
    {"VCE", "Valores Cívicos y Éticos", "Filosofía"},
    {"LAT", "Latín", "Cultura Clásica"},
    {"GRI", "Griego", "Cultura Clásica"},
    {"CCL", "Cultura Clásica", "Cultura Clásica"},
    {"ECO", "Economía", "Economía"},
    {"EEM", "Economía y Emprendimiento", "Economía"},
    {"EMP", "Empresa y Diseño de Modelos de Negocio", "Economía"},
    {"REL", "Religión", "Religión"},
    {"AE", "Atención Educativa", "Orientación"},
    {"TUT", "Tutoría", "Orientación"},
    {"PMAR", "Programa de Diversificación Curricular", "Orientación"},
    {"ARA", "Lenguas Propias de Aragón", "Lengua Castellana y Literatura"},
    {"OCI", "Oratoria y Comunicación", "Lengua Castellana y Literatura"},
    {"CIE", "Ciencias Generales", "Biología y Geología"},
    {"ANA", "Anatomía Aplicada", "Biología y Geología"},
    {"PRO", "Programación y Robótica", "Tecnología"},
    {"TLL", "Taller de Lectura", "Lengua Castellana y Literatura"},
    {"ART", "Artes Escénicas", "Música"},
}};

constexpr std::array<std::string_view, 48> kFirstNames{{
    "Juan",    "María",    "José",     "Carmen",     "Antonio", "Ana",    "Francisco", "Isabel",
    "Manuel",  "Pilar",    "David",    "Lucía",      "Javier",  "Elena",  "Miguel",    "Rosa",
    "Álvaro",  "Teresa",   "Óscar",    "Marta",      "Ignacio", "Nuria",  "Sergio",    "Beatriz",
    "Pablo",   "Cristina", "Ramón",    "Eva",        "Luis",    "Raquel", "Jesús",     "Sofía",
    "Ángel",   "Inés",     "Fernando", "Mónica",     "Rubén",   "Begoña", "Íñigo",     "Laura",
    "Alberto", "Silvia",   "Joaquín",  "Montserrat", "Víctor",  "Alicia", "Emilio",    "Julia",
}};

constexpr std::array<std::string_view, 64> kSurnames{{
    "García",    "Pérez",      "López",  "Sánchez",  "Martín",     "Gómez",     "Rodríguez",
    "Fernández", "Muñoz",      "Ibáñez", "Jiménez",  "Ruiz",       "Hernández", "Díaz",
    "Moreno",    "Álvarez",    "Romero", "Navarro",  "Torres",     "Domínguez", "Gil",
    "Vázquez",   "Serrano",    "Ramos",  "Blasco",   "Castán",     "Lázaro",    "Aznar",
    "Ortiz",     "Sáez",       "Benedí", "Peña",     "Marco",      "Gracia",    "Alonso",
    "Royo",      "Lacasa",     "Úbeda",  "Marín",    "Esteban",    "Bernal",    "Cortés",
    "Fuertes",   "Montañés",   "Arnal",  "Vicente",  "Labarta",    "Sanz",      "Cebrián",
    "Pascual",   "Zapater",    "Badía",  "Aísa",     "Yagüe",      "Oliván",    "Aranda",
    "Giménez",   "Echeverría", "Núñez",  "Castillo", "Villanueva", "Prieto",    "Alcalá",
    "Orús",
}};

constexpr std::array<std::string_view, 22> kDepartments{{
    "Matemáticas",
    "Lengua Castellana y Literatura",
    "Geografía e Historia",
    "Educación Física",
    "Física y Química",
    "Biología y Geología",
    "Tecnología",
    "Inglés",
    "Francés",
    "Alemán",
    "Música",
    "Dibujo",
    "Filosofía",
    "Cultura Clásica",
    "Economía",
    "Religión",
    "Orientación",
    "Informática",
    "Matemáticas",
    "Lengua Castellana y Literatura",
    "Inglés",
    "Geografía e Historia",
}};

// Room name patterns; the number is appended after the text.
constexpr std::array<std::string_view, 14> kRoomPatterns{{
    "Aula ",
    "Aula ",
    "Aula ",
    "Aula ",
    "Aula de Dibujo ",
    "Laboratorio de Física ",
    "Laboratorio de Química ",
    "Laboratorio de Biología ",
    "Gimnasio ",
    "Biblioteca ",
    "Aula de Informática ",
    "Sala de Usos Múltiples ",
    "Aula de Música ",
    "Taller de Tecnología ",
}};

constexpr std::string_view kDniLetters = "TRWAGMYFPDXBNJZSQVHLCKE";

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}

  std::uint32_t next() { return static_cast<std::uint32_t>(engine_()); }

  // Value in [0, n); n must be positive. The small modulo bias is irrelevant here.
  std::uint64_t below(std::uint64_t n) { return static_cast<std::uint64_t>(next()) % n; }

  // True with probability per_mille / 1000.
  bool chance(std::uint32_t per_mille) { return next() % 1000U < per_mille; }

 private:
  std::mt19937 engine_;
};

class Writer {
 public:
  explicit Writer(std::FILE* file) : file_(file) { buffer_.reserve(kFlushBytes + 4096); }

  void raw(std::string_view text) { buffer_.append(text); }

  void number(std::uint64_t value) {
    std::array<char, 24> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    (void)ec;
    buffer_.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
  }

  // Appends text escaped for a double-quoted attribute value.
  void escaped(std::string_view text) {
    for (char c : text) {
      switch (c) {
        case '&':
          buffer_.append("&amp;");
          break;
        case '<':
          buffer_.append("&lt;");
          break;
        case '>':
          buffer_.append("&gt;");
          break;
        case '"':
          buffer_.append("&quot;");
          break;
        default:
          buffer_.push_back(c);
          break;
      }
    }
  }

  void attr(std::string_view name, std::string_view value) {
    buffer_.push_back(' ');
    buffer_.append(name);
    buffer_.append("=\"");
    escaped(value);
    buffer_.push_back('"');
  }

  void attr(std::string_view name, std::uint64_t value) {
    buffer_.push_back(' ');
    buffer_.append(name);
    buffer_.append("=\"");
    number(value);
    buffer_.push_back('"');
  }

  // Flushes when the buffer is large; call between elements.
  bool maybe_flush() { return buffer_.size() >= kFlushBytes ? flush() : ok_; }

  bool flush() {
    if (!buffer_.empty() && ok_) {
      if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        ok_ = false;
      }
      written_ += buffer_.size();
    }
    buffer_.clear();
    return ok_;
  }

  std::uint64_t written() const { return written_; }

 private:
  std::FILE* file_;
  std::string buffer_;
  std::uint64_t written_ = 0;
  bool ok_ = true;
};

// Length in bytes of the UTF-8 sequence starting with lead byte c.
std::size_t utf8_length(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x80U) return 1;
  if ((byte & 0xE0U) == 0xC0U) return 2;
  if ((byte & 0xF0U) == 0xE0U) return 3;
  return 4;
}

// First character (a whole UTF-8 sequence) of a non-empty name.
std::string_view initial(std::string_view name) {
  const std::size_t n = utf8_length(name.front());
  return name.substr(0, n < name.size() ? n : name.size());
}

std::string course_suffix(std::uint64_t course) {
  std::string text = std::to_string(course);
  text += "º";
  return text;
}

void write_subjects(Writer& out, Random& rng, const Counts& counts) {
  out.raw("  <materias>\n");
  std::string name;
  for (std::uint64_t i = 0; i < counts.subjects; ++i) {
    const SubjectKind& kind = kSubjects[static_cast<std::size_t>(rng.below(kSubjects.size()))];
    const bool bach = rng.chance(300);
    const std::uint64_t course = bach ? 1 + rng.below(2) : 1 + rng.below(4);
    std::string_view activity = "123";
    std::string_view abrev = kind.abrev;
    name.assign(kind.name);
    if (kind.abrev == "TUT") {
      activity = "126";
    }
    if (bach && rng.chance(400)) {
      name += course == 1 ? " I" : " II";
    }
    if (rng.chance(5)) {
      // Non-teaching activity whose abbreviation is its activity code.
      activity = "510";
      abrev = "510";
      name.assign("Guardia de Recreo");
    } else if (rng.chance(30)) {
      abrev = {};
    }
    out.raw("    <dmaterias");
    out.attr("abrev", abrev);
    out.attr("nombre", name);
    out.attr("codigo_actividad", activity);
    out.attr("denivel", bach ? "BACH" : "ESO");
    out.attr("decurso", course_suffix(course));
    out.attr("codigo", kSubjectBase + i);
    out.raw("/>\n");
    out.maybe_flush();
  }
  out.raw("  </materias>\n");
}

void write_teachers(Writer& out, Random& rng, const Counts& counts) {
  out.raw("  <profesores>\n");
  std::string abrev;
  std::string document;
  for (std::uint64_t i = 0; i < counts.teachers; ++i) {
    const std::string_view first =
        kFirstNames[static_cast<std::size_t>(rng.below(kFirstNames.size()))];
    const std::string_view last1 = kSurnames[static_cast<std::size_t>(rng.below(kSurnames.size()))];
    std::string_view last2 = kSurnames[static_cast<std::size_t>(rng.below(kSurnames.size()))];
    if (rng.chance(20)) {
      last2 = {};
    }
    abrev.assign(initial(first));
    abrev.append(initial(last1));
    if (!last2.empty()) {
      abrev.append(initial(last2));
    }
    if (rng.chance(10)) {
      for (char& c : abrev) {
        if (c >= 'A' && c <= 'Z') {
          c = static_cast<char>(c - 'A' + 'a');
        }
      }
    }
    const std::uint64_t dni = 10000000 + rng.below(80000000);
    document = std::to_string(dni);
    document.push_back(kDniLetters[static_cast<std::size_t>(dni % kDniLetters.size())]);
    const std::string_view department =
        kDepartments[static_cast<std::size_t>(rng.below(kDepartments.size()))];

    out.raw("    <profesor");
    out.attr("abrev", abrev);
    out.attr("nombre", first);
    out.attr("apellido1", last1);
    out.attr("apellido2", last2);
    out.attr("departamen", department);
    out.attr("documento", document);
    out.attr("codigo", kTeacherBase + i);
    out.raw("/>\n");
    out.maybe_flush();
  }
  out.raw("  </profesores>\n");
}

void write_rooms(Writer& out, Random& rng, const Counts& counts) {
  out.raw("  <aulas>\n");
  std::string name;
  std::string capacity;
  for (std::uint64_t i = 0; i < counts.rooms; ++i) {
    const std::size_t pattern = static_cast<std::size_t>(rng.below(kRoomPatterns.size()));
    name.assign(kRoomPatterns[pattern]);
    std::uint64_t seats = 20 + rng.below(16);
    if (pattern < 4) {
      // "Aula 1.05": floor and room number.
      name += std::to_string(rng.below(4));
      name += '.';
      const std::uint64_t room = 1 + rng.below(40);
      if (room < 10) name += '0';
      name += std::to_string(room);
    } else {
      name += std::to_string(1 + rng.below(9));
      if (pattern == 8) seats = 60;
    }
    capacity = rng.chance(15) ? std::string{} : std::to_string(seats);
    out.raw("    <daula");
    out.attr("nombre", name);
    out.attr("capacidad_alumnos", capacity);
    out.attr("codigo", kRoomBase + i);
    out.raw("/>\n");
    out.maybe_flush();
  }
  out.raw("  </aulas>\n");
}

void write_groups(Writer& out, Random& rng, const Counts& counts) {
  out.raw("  <grupos>\n");
  std::string name;
  std::string tutor;
  for (std::uint64_t i = 0; i < counts.groups; ++i) {
    const bool bach = rng.chance(250);
    const std::uint64_t course = bach ? 1 + rng.below(2) : 1 + rng.below(4);
    const char letter = static_cast<char>('A' + static_cast<int>(rng.below(6)));
    name = course_suffix(course);
    name += bach ? " BACH " : " ESO ";
    name += letter;
    const bool afternoon = rng.chance(150);
    tutor.clear();
    if (counts.teachers > 0 && !rng.chance(20)) {
      tutor = std::to_string(kTeacherBase + rng.below(counts.teachers));
    }
    out.raw("    <dgrupo");
    out.attr("nombre", name);
    out.attr("codigo_nivel", bach ? "BACH" : "ESO");
    out.attr("turno", afternoon ? "T" : "M");
    out.attr("curso", course);
    out.attr("codigo_tutor", tutor);
    out.attr("codigo", kGroupBase + i);
    out.raw("/>\n");
    out.maybe_flush();
  }
  out.raw("  </grupos>\n");
}

void write_assignments(Writer& out, Random& rng, const Counts& counts) {
  out.raw("  <asignaturas>\n");
  for (std::uint64_t i = 0; i < counts.assignments; ++i) {
    const std::uint64_t group = kGroupBase + rng.below(counts.groups);
    // About one in a hundred points past the last subject.
    const std::uint64_t subject = rng.chance(10) ? kSubjectBase + counts.subjects + rng.below(1000)
                                                 : kSubjectBase + rng.below(counts.subjects);
    const std::uint64_t teacher = kTeacherBase + rng.below(counts.teachers);
    const std::uint64_t hours = 1 + rng.below(6);
    out.raw("    <dasignatura");
    out.attr("cgrupo", group);
    out.attr("casig", subject);
    out.attr("cprofe", teacher);
    out.attr("nhoras", hours);
    out.raw("/>\n");
    out.maybe_flush();
  }
  out.raw("  </asignaturas>\n");
}

bool parse_count(const char* text, std::uint64_t& value) {
  const std::string_view view{text};
  if (view.empty()) return false;
  auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
  return ec == std::errc{} && end == view.data() + view.size();
}

void usage() {
  std::fputs(
      "Uso: sigad_generator SALIDA.xml [school|region]\n"
      "     sigad_generator SALIDA.xml MATERIAS PROFESORES AULAS GRUPOS ASIGNATURAS\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  Counts counts{40, 60, 30, 25, 900};
  if (argc == 3) {
    const std::string_view scale{argv[2]};
    if (scale == "region") {
      counts = Counts{30000, 20000, 5000, 10000, 1000000};
    } else if (scale != "school") {
      usage();
      return 2;
    }
  } else if (argc == 7) {
    if (!parse_count(argv[2], counts.subjects) || !parse_count(argv[3], counts.teachers) ||
        !parse_count(argv[4], counts.rooms) || !parse_count(argv[5], counts.groups) ||
        !parse_count(argv[6], counts.assignments)) {
      std::fputs("Error: las cantidades deben ser números enteros no negativos.\n", stderr);
      usage();
      return 2;
    }
  } else if (argc != 2) {
    usage();
    return 2;
  }
  if (counts.assignments > 0 &&
      (counts.subjects == 0 || counts.teachers == 0 || counts.groups == 0)) {
    std::fputs(
        "Error: para generar asignaturas hace falta al menos una materia, un profesor y un "
        "grupo.\n",
        stderr);
    return 2;
  }

  const auto start = std::chrono::steady_clock::now();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "Error: no se puede crear el fichero %s\n", argv[1]);
    return 1;
  }

  Random rng{20262027U};
  Writer out{file};
  out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  out.raw(
      "<!-- Fichero SIGAD sintético generado automáticamente; todos los datos son ficticios. "
      "-->\n");
  out.raw("<centro");
  out.attr("codigo_interno", "50999999");
  out.attr("nombre", "Centro sintético de pruebas");
  out.attr("curso", "2026/2027");
  out.attr("version", "3.1");
  out.raw(">\n");
  write_subjects(out, rng, counts);
  write_teachers(out, rng, counts);
  write_rooms(out, rng, counts);
  write_groups(out, rng, counts);
  write_assignments(out, rng, counts);
  out.raw("</centro>\n");

  const bool written = out.flush();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "Error: no se pudo escribir el fichero %s\n", argv[1]);
    return 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr,
               "%s: %llu materias, %llu profesores, %llu aulas, %llu grupos, %llu asignaturas; "
               "%.1f MB en %.2f s\n",
               argv[1], static_cast<unsigned long long>(counts.subjects),
               static_cast<unsigned long long>(counts.teachers),
               static_cast<unsigned long long>(counts.rooms),
               static_cast<unsigned long long>(counts.groups),
               static_cast<unsigned long long>(counts.assignments),
               static_cast<double>(out.written()) / 1e6, seconds);
  return 0;
}
