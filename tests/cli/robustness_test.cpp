// Bad files and faults as a person meets them, through the command line:
// each gives its exact outcome, and every table left behind stays a valid
// table that other dBase readers open too.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

const std::string kBin = std::getenv("TRANSVORMOS_BIN") ? std::getenv("TRANSVORMOS_BIN") : ".";

class RobustnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::permissions(dir_.path(), std::filesystem::perms::all,
                                 std::filesystem::perm_options::replace);
    std::filesystem::create_directory(tables_);
    std::filesystem::copy_file(test::DataDir() / ".." / ".." / "samples" / "centro.xml",
                               dir_ / "centro.xml");
  }
  std::string Run(const std::string& arguments, int* status, const std::string& prefix = "") {
    return test::Run(
        prefix + "env LC_ALL=es_ES.UTF-8 " + kBin + "/transvormos " + arguments + " 2>&1", status);
  }
  std::string Exportar(const std::filesystem::path& file, int* status,
                       const std::string& prefix = "") {
    return Run("exportar '" + file.string() + "' --workdir '" + tables_.string() + "'", status,
               prefix);
  }
  // Every table of the folder opens here and in python's dbfread, with the
  // same number of rows. A process killed inside a Post, after the new row's
  // first byte and before the count, leaves that row whole and ended by the
  // end-of-file marker, but not yet counted: dbfread, which reads up to the
  // marker, shows it; this reader, which goes by the count, does not.
  void ExpectValidTables() {
    for (const auto& entry : std::filesystem::directory_iterator(tables_)) {
      if (entry.path().extension() != ".DBF") continue;
      std::size_t rows = 0;
      ASSERT_NO_THROW(rows = Rows(entry.path().filename().string())) << entry.path();
      const std::string python =
          test::Run("/usr/bin/python3 -c \"import dbfread; print(len(list(dbfread.DBF('" +
                    entry.path().string() + "'))))\" 2>&1");
      if (python != std::to_string(rows + 1) + "\n") {
        EXPECT_EQ(python, std::to_string(rows) + "\n") << entry.path();
        continue;
      }
      const std::string bytes = test::ReadFile(entry.path());
      auto number = [&](std::size_t at) {
        return std::size_t{static_cast<unsigned char>(bytes[at])} |
               std::size_t{static_cast<unsigned char>(bytes[at + 1])} << 8;
      };
      const std::size_t rowLength = number(10), at = number(8) + rows * rowLength;
      ASSERT_GT(bytes.size(), at + rowLength) << entry.path();
      const std::string uncounted = bytes.substr(at, rowLength);
      EXPECT_EQ(uncounted[0], ' ') << entry.path();
      EXPECT_EQ(uncounted.find('\0'), std::string::npos) << entry.path() << ": a row in part";
      EXPECT_EQ(bytes[at + rowLength], '\x1A') << entry.path();
    }
  }
  std::size_t Rows(const std::string& name) {
    WorkTable table(tables_, name, Access::Shared);
    table.Open();
    std::size_t rows = 0;
    for (table.First(); !table.Eof(); table.Next()) ++rows;
    return rows;
  }
  // As an ordinary user, so that folder permissions hold also for root.
  std::string AsUser() const {
    return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  }

  test::TempDir dir_;
  std::filesystem::path tables_ = dir_ / "VTEMP";
};

TEST_F(RobustnessTest, WorkFolderMissingReadOnlyOrAFile) {
  int status = -1;
  std::filesystem::remove(tables_);
  EXPECT_EQ(Exportar(dir_ / "centro.xml", &status),
            "No se puede crear la tabla '" + (tables_ / "ASIGNOMT.DBF").string() +
                "': No existe el archivo o el directorio.\n");
  EXPECT_EQ(status, 1);

  test::WriteFile(tables_, "no soy una carpeta");
  EXPECT_EQ(Exportar(dir_ / "centro.xml", &status),
            "No se puede crear la tabla '" + (tables_ / "ASIGNOMT.DBF").string() +
                "': Una parte de la ruta no es un directorio.\n");
  EXPECT_EQ(status, 1);

  std::filesystem::remove(tables_);
  std::filesystem::create_directory(tables_);
  std::filesystem::permissions(
      tables_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                   std::filesystem::perms::group_read | std::filesystem::perms::others_read |
                   std::filesystem::perms::group_exec | std::filesystem::perms::others_exec);
  // The ordinary user runs a copy in the test folder: the build may lie where
  // only root can reach it.
  std::filesystem::copy_file(kBin + "/transvormos", dir_ / "transvormos");
  EXPECT_EQ(test::Run(AsUser() + "env LC_ALL=es_ES.UTF-8 " + (dir_ / "transvormos").string() +
                          " exportar " + (dir_ / "centro.xml").string() + " --workdir " +
                          tables_.string() + " 2>&1",
                      &status),
            "No se puede crear la tabla '" + (tables_ / "ASIGNOMT.DBF").string() +
                "': Permiso denegado.\n");
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(tables_));
}

TEST_F(RobustnessTest, TableHeldByAnotherProgram) {
  int status = -1;
  ASSERT_EQ(Exportar(dir_ / "centro.xml", &status), "Proceso finalizado\n");
  const std::string before = test::ReadFile(tables_ / "PROFT.DBF");
  // A real second process holds the teacher table.
  const pid_t holder = ::fork();
  if (holder == 0) {
    WorkTable held(tables_, "PROFT", Access::Exclusive);
    held.Open();
    ::pause();
    ::_exit(0);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Exportar(dir_ / "centro.xml", &status),
            "La tabla '" + (tables_ / "PROFT.DBF").string() +
                "' está en uso por otro programa; ciérrelo y vuelva a intentarlo.\n");
  EXPECT_EQ(status, 1);
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(test::ReadFile(tables_ / "PROFT.DBF"), before) << "the held table is untouched";
  ExpectValidTables();
}

TEST_F(RobustnessTest, DiskFillingUpWhileTablesAreWritten) {
  int status = -1;
  // A 12 KB limit on file size (bash counts in KB): the first four tables fit,
  // the assignments do not.
  EXPECT_EQ(Exportar(dir_ / "centro.xml", &status, "bash -c 'ulimit -f 12; exec \"$0\" \"$@\"' "),
            "No se puede escribir en la tabla '" + (tables_ / "ASIGT.DBF").string() +
                "': El archivo es demasiado grande.\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Rows("ASIGNOMT"), 42u);
  EXPECT_EQ(Rows("PROFT"), 30u);
  EXPECT_GT(Rows("ASIGT"), 0u);
  EXPECT_LT(Rows("ASIGT"), 118u);
  ExpectValidTables();
}

TEST_F(RobustnessTest, KilledInTheMiddleOfARun) {
  const std::string generator = kBin + "/../bench/sigad_generator";
  ASSERT_EQ(std::system((generator + " " + (dir_ / "grande.xml").string() +
                         " 2000 2000 500 1000 300000 2>/dev/null")
                            .c_str()),
            0);
  for (const int milliseconds : {150, 400}) {
    const pid_t run = ::fork();
    if (run == 0) {
      ::execl((kBin + "/transvormos").c_str(), "transvormos", "exportar",
              (dir_ / "grande.xml").c_str(), "--workdir", tables_.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    ::kill(run, SIGKILL);
    ::waitpid(run, nullptr, 0);
    ExpectValidTables();
  }
}

TEST_F(RobustnessTest, DamagedSolutionTableWritesNothing) {
  int status = -1;
  ASSERT_EQ(Exportar(dir_ / "centro.xml", &status), "Proceso finalizado\n");
  const std::string sample =
      test::ReadFile(test::DataDir() / ".." / ".." / "samples" / "SOLUC.DBF");
  std::string lying = sample;
  lying[4] = '\x7F';  // a row count far beyond the file
  const std::pair<std::string, std::string> cases[] = {
      {"", "el archivo es demasiado corto para ser una tabla dBase"},
      {sample.substr(0, sample.size() / 2),
       "el archivo termina antes de las 336 filas que anuncia su cabecera"},
      {lying, "el archivo termina antes de las 383 filas que anuncia su cabecera"},
  };
  for (const auto& [bytes, reason] : cases) {
    test::WriteFile(tables_ / "SOLUC.DBF", bytes);
    EXPECT_EQ(Run("importar " + (dir_ / "centro.xml").string() + " --workdir " + tables_.string(),
                  &status),
              "La tabla '" + (tables_ / "SOLUC.DBF").string() + "' está dañada: " + reason + ".\n");
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "ResultadoVormoscentro.xml"));
  }
}

TEST_F(RobustnessTest, HostileOrBrokenXmlGivesEmptyTables) {
  test::WriteFile(dir_ / "secreto.txt", "SECRETO");
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">";
  for (char c = 'b'; c <= 'j'; ++c) {
    laughs += std::string("<!ENTITY ") + c + " \"" + std::string(10, '&') + "\">";
    std::string refs;
    for (int i = 0; i < 10; ++i) refs += std::string("&") + static_cast<char>(c - 1) + ";";
    laughs.replace(laughs.rfind(std::string(10, '&')), 10, refs);
  }
  laughs +=
      "]><centro><materias><dmaterias abrev=\"&j;\" codigo_actividad=\"1\"/></materias></centro>";
  std::string deep = "<centro>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  const std::string cases[] = {
      laughs,
      "<!DOCTYPE c [<!ENTITY x SYSTEM \"file://" + (dir_ / "secreto.txt").string() +
          "\">]><centro><materias><dmaterias abrev=\"&x;\" "
          "codigo_actividad=\"1\"/></materias></centro>",
      "<!DOCTYPE c SYSTEM \"http://127.0.0.1:9/c.dtd\"><centro><materias><dmaterias "
      "abrev=\"&y;\"/></materias></centro>",
      deep,
      "<centro><materias><dmaterias abrev=\"" + std::string(50 << 20, 'x') +
          "\"/></materias></centro>",
      "<centro><materias><dmaterias abrev=\"\xC3(\"/></materias></centro>",
      std::string("<centro><materias>\0</materias></centro>", 39),
  };
  for (const auto& content : cases) {
    test::WriteFile(dir_ / "malo.xml", content);
    int status = -1;
    EXPECT_EQ(Exportar(dir_ / "malo.xml", &status), "Proceso finalizado\n")
        << content.substr(0, 60);
    EXPECT_EQ(Rows("ASIGNOMT"), 1u) << "the fixed row alone";
    EXPECT_EQ(test::ReadFile(tables_ / "ASIGNOMT.DBF").find("SECRETO"), std::string::npos);
  }
  ExpectValidTables();
}

TEST_F(RobustnessTest, Utf16WithoutByteOrderMarkIsRead) {
  std::string utf16;
  for (const char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><centro><materias>"
                                  "<dmaterias abrev=\"F\xCDS\" codigo_actividad=\"1\" "
                                  "codigo=\"S1\"/></materias></centro>")) {
    utf16 += {c, '\0'};
  }
  test::WriteFile(dir_ / "utf16.xml", utf16);
  int status = -1;
  EXPECT_EQ(Exportar(dir_ / "utf16.xml", &status), "Proceso finalizado\n");
  WorkTable table(tables_, "ASIGNOMT", Access::Shared);
  table.Open();
  EXPECT_EQ(table.Text("COD"), "F\xCDS");
}

TEST_F(RobustnessTest, NamesWithSpacesAccentsNoExtensionAndLongPaths) {
  std::filesystem::path deep = dir_ / "Mis Datos" / "Año 2026 — Jefatura";
  while (deep.string().size() < 300) deep /= "carpeta con un nombre largo";
  std::filesystem::create_directories(deep);
  for (const auto& file : {deep / "centro ñ.xml", deep / "centro"}) {
    std::filesystem::copy_file(dir_ / "centro.xml", file);
    int status = -1;
    EXPECT_EQ(Exportar(file, &status), "Proceso finalizado\n") << file;
    std::filesystem::copy_file(test::DataDir() / ".." / ".." / "samples" / "SOLUC.DBF",
                               tables_ / "SOLUC.DBF",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(Run("importar '" + file.string() + "' --workdir '" + tables_.string() + "'", &status),
              "Proceso finalizado\n");
    EXPECT_TRUE(std::filesystem::exists(file.parent_path() /
                                        ("ResultadoVormos" + file.filename().string())));
  }
  EXPECT_EQ(Rows("ASIGT"), 118u);
}

}  // namespace
}  // namespace tv
