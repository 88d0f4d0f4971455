#include "work_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstring>
#include <limits>

#include "dbf_builder.h"
#include "test_support.h"
#include "work_directory.h"

namespace tv {
namespace {

using test::Ansi;
using test::DbfBuilder;
using test::RawField;

const std::vector<FieldDef> kFields = {
    {"COD", FieldType::Character, 10},
    {"MAXALUM", FieldType::Integer},
    {"ESTAREA", FieldType::Logical},
    {"HORAS", FieldType::Float},
};

class WorkTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"))
        << "the es_ES.UTF-8 locale must be installed";
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  // A new table T with kFields holding one row per code.
  std::unique_ptr<WorkTable> Filled(const std::vector<std::string>& codes,
                                    const std::string& name = "T") {
    auto table = WorkTable::Create(dir_.path(), name, kFields);
    table->Open();
    for (const auto& code : codes) {
      table->Append();
      table->SetText("COD", code);
      table->Post();
    }
    return table;
  }
  // A new table T whose rows hold 0, 1, ..., rows - 1.
  std::unique_ptr<WorkTable> Numbered(std::size_t rows) {
    auto table = WorkTable::Create(dir_.path(), "T", kFields);
    table->Open();
    for (std::size_t n = 0; n < rows; ++n) {
      table->Append();
      table->SetText("COD", std::to_string(n));
      table->Post();
    }
    return table;
  }
  // How many rows an open table T holds, after checking that they hold 0, 1,
  // ... in order.
  static std::size_t CountNumbered(WorkTable& table) {
    std::size_t rows = 0;
    for (table.First(); !table.Eof(); table.Next(), ++rows) {
      if (table.Text("COD") != std::to_string(rows)) {
        ADD_FAILURE() << "row " << rows << " holds '" << table.Text("COD") << "'";
        break;
      }
    }
    return rows;
  }
  std::string File(std::string_view name) { return test::ReadFile(dir_ / name); }

  test::TempDir dir_;
  std::string saved_;
};

TEST_F(WorkTableTest, RebuildReplacesTableAndRemovesIndex) {
  test::WriteFile(dir_ / "ASIGT.DBF", "old");
  test::WriteFile(dir_ / "asigt.mdx", "index");
  WorkTable::DeleteFiles(dir_.path(), "ASIGT");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ASIGT.DBF"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "asigt.mdx"));
  test::WriteFile(dir_ / "asigt.dbf", "stale, in another letter case");
  auto table = WorkTable::Create(dir_.path(), "ASIGT", kFields);
  EXPECT_FALSE(table->Active());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "asigt.dbf"));
  table->Open();
  ASSERT_EQ(table->Fields().size(), 4u);
  EXPECT_EQ(table->Fields()[0].name, "COD");
  EXPECT_EQ(table->Fields()[0].length, 10u);
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->FilePath(), dir_ / "ASIGT.DBF");
}

TEST_F(WorkTableTest, CreatedFileIsDbaseIIIWithWindowsCodePage) {
  WorkTable::Create(dir_.path(), "T", kFields);
  const std::string bytes = File("T.DBF");
  ASSERT_EQ(bytes.size(), 32u + 4 * 32 + 1 + 1);
  EXPECT_EQ(bytes[0], '\x03');
  EXPECT_EQ(bytes[29], '\x58');
  EXPECT_EQ(bytes.substr(32 + 11, 1) + std::to_string(bytes[32 + 16]), "C10");
  EXPECT_EQ(bytes.substr(64 + 11, 1) + std::to_string(bytes[64 + 16]) + "," +
                std::to_string(bytes[64 + 17]),
            "N11,0");
  EXPECT_EQ(bytes.substr(96 + 11, 1) + std::to_string(bytes[96 + 16]), "L1");
  EXPECT_EQ(bytes.substr(128 + 11, 1) + std::to_string(bytes[128 + 16]) + "," +
                std::to_string(bytes[128 + 17]),
            "N20,4");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\x0D\x1A");
}

TEST_F(WorkTableTest, FileIsValidAfterEveryPost) {
  auto table = WorkTable::Create(dir_.path(), "T", kFields);
  table->Open();
  const std::size_t header = 32 + 4 * 32 + 1, row = 1 + 10 + 11 + 1 + 20;
  for (std::uint32_t n = 1; n <= 3; ++n) {
    table->Append();
    table->SetText("COD", "R" + std::to_string(n));
    EXPECT_EQ(static_cast<unsigned char>(File("T.DBF")[4]), n - 1)
        << "a row being filled is not counted";
    table->Post();
    // While the table is open the file may keep spare room after its end,
    // which readers pass over: the header counts the rows.
    const std::string bytes = File("T.DBF");
    ASSERT_GE(bytes.size(), header + n * row + 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), n);
    EXPECT_EQ(bytes[header + n * row], '\x1A');
    EXPECT_EQ(bytes.substr(header + (n - 1) * row, 3), " R" + std::to_string(n));
  }
  table->Append();
  table->Close();  // a row never posted is not written
  const std::string bytes = File("T.DBF");
  EXPECT_EQ(bytes.size(), header + 3 * row + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(WorkTableTest, RowsOfALargeTableAreAllWritten) {
  // About ten megabytes: the file's end is mapped a few megabytes at a time,
  // the next part prepared while rows go into the current one.
  constexpr std::size_t kRows = 230000;
  auto table = Numbered(kRows);
  table->Close();
  const std::size_t header = 32 + 4 * 32 + 1, row = 1 + 10 + 11 + 1 + 20;
  EXPECT_EQ(std::filesystem::file_size(dir_ / "T.DBF"), header + kRows * row + 1);
  table->Open();
  EXPECT_EQ(CountNumbered(*table), kRows);
}

TEST_F(WorkTableTest, AFileSizeLimitEndsALargeTableAfterItsLastWholeRow) {
  // Room for more than one part of the file's end, not for two.
  constexpr rlim_t kLimit = 6 << 20;
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLimit, kLimit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(10);
    try {
      Numbered(std::numeric_limits<std::size_t>::max());
    } catch (const Error& error) {
      const std::string expected = "No se puede escribir en la tabla '" +
                                   (dir_ / "T.DBF").string() + "': El archivo es demasiado grande";
      ::_exit(error.what() == expected ? 0 : 11);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  WorkTable table(dir_.path(), "T", Access::Exclusive);
  table.Open();
  const std::size_t rows = CountNumbered(table);
  const std::size_t header = 32 + 4 * 32 + 1, row = 1 + 10 + 11 + 1 + 20;
  EXPECT_LE(header + rows * row + 1, kLimit);
  EXPECT_GT(header + (rows + 1) * row + 1, kLimit) << "every row that fits is written";
}

TEST_F(WorkTableTest, KilledProcessLeavesTheRowsPostedSoFar) {
  // Enough rows for the process to die while the next part of the file's
  // end is being prepared.
  constexpr std::size_t kRows = 230000;
  const pid_t child = ::fork();
  if (child == 0) {
    auto table = Numbered(kRows);
    table->Append();
    table->SetText("COD", "unposted");
    ::raise(SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  WorkTable table(dir_.path(), "T", Access::Exclusive);
  table.Open();
  EXPECT_EQ(CountNumbered(table), kRows);
  const std::string python =
      test::Run("/usr/bin/python3 -c \"import dbfread; print(len(list(dbfread.DBF('" +
                (dir_ / "T.DBF").string() + "'))))\"");
  EXPECT_EQ(python, std::to_string(kRows) + "\n");
}

TEST_F(WorkTableTest, CharacterFieldsKeepTheirWidthAndLeadingSpaces) {
  auto table = WorkTable::Create(dir_.path(), "T", kFields);
  table->Open();
  table->Append();
  table->SetText("COD", "ABCDEFGHIJKL");
  table->Post();
  EXPECT_EQ(table->Text("COD"), "ABCDEFGHIJ");
  table->Append();
  table->SetText("COD", Ansi("  Año"));
  table->Post();
  EXPECT_EQ(table->Text("COD"), Ansi("  Año"));
  table->Append();
  table->SetText("COD", "X");
  table->SetText("COD", "");  // an empty text stores the empty value
  table->Post();
  EXPECT_EQ(table->Text("COD"), "");
  EXPECT_THROW_MSG(table->Integer("COD"), "'' no es un valor entero válido");
  EXPECT_THROW_MSG(table->Float("COD"), "'' no es un valor punto flotante válido");
}

TEST_F(WorkTableTest, TextsOfEveryLengthFillTheirFieldAndNoOther) {
  for (const int width : {1, 2, 3, 4, 7, 8, 9, 15, 16, 17, 31, 32, 33, 40, 254}) {
    auto table = WorkTable::Create(dir_.path(), "W",
                                   {{"L", FieldType::Character, 1},
                                    {"F", FieldType::Character, width},
                                    {"R", FieldType::Character, 1}});
    table->Open();
    const std::string letters(static_cast<std::size_t>(width) + 2, 'x');
    for (std::size_t length = 0; length <= letters.size(); ++length) {
      std::string text = letters.substr(0, length);
      for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
      table->Append();
      table->SetText("L", "<");
      table->SetText("R", ">");
      table->SetText("F", letters);  // then a shorter text over it
      table->SetText("F", text);
      table->Post();
      const std::string kept = text.substr(0, static_cast<std::size_t>(width));
      ASSERT_EQ(table->Text("F"), kept) << width << " " << length;
      ASSERT_EQ(table->Text("L") + table->Text("R"), "<>") << width << " " << length;
    }
    table->Close();
  }
}

TEST_F(WorkTableTest, IntegerFieldsFollowTheWholeNumberRule) {
  auto table = WorkTable::Create(dir_.path(), "T", kFields);
  table->Open();
  table->Append();
  table->SetText("MAXALUM", "");
  table->Post();
  EXPECT_EQ(table->Text("MAXALUM"), "");
  EXPECT_EQ(table->Integer("MAXALUM"), 0);
  EXPECT_EQ(table->Float("MAXALUM"), 0.0);
  const std::pair<const char*, const char*> good[] = {
      {"  12", "12"}, {"+12", "12"},  {"-0012", "-12"},
      {"$1F", "31"},  {"0x1f", "31"}, {"-2147483648", "-2147483648"}};
  for (const auto& [text, stored] : good) {
    table->Append();
    table->SetText("MAXALUM", text);
    table->Post();
    EXPECT_EQ(table->Text("MAXALUM"), stored) << text;
  }
  for (const char* bad : {"12a", "12 ", "-", "2147483648", "25 alumnos"}) {
    table->Append();
    EXPECT_THROW_MSG(
        table->SetText("MAXALUM", bad),
        std::string("'") + bad + "' no es un valor entero válido para el campo 'MAXALUM'");
  }
}

TEST_F(WorkTableTest, FloatFieldsStoreTheExactValue) {
  auto table = WorkTable::Create(dir_.path(), "T", kFields);
  table->Open();
  const double widened = static_cast<float>(0.1);
  const std::tuple<double, const char*, std::int32_t> cases[] = {{2.5, "2,5", 2},
                                                                 {3.5, "3,5", 4},
                                                                 {3.0, "3", 3},
                                                                 {-2.0, "-2", -2},
                                                                 {widened, "0,100000001490116", 0},
                                                                 {1e300, "1E300", 0},
                                                                 {-1.5e-300, "-1,5E-300", 0}};
  for (const auto& [value, text, whole] : cases) {
    table->Append();
    table->SetFloat("HORAS", value);
    table->Post();
    EXPECT_EQ(table->Float("HORAS"), value);
    EXPECT_EQ(table->Text("HORAS"), text);
    if (std::abs(value) < 1e9) {
      EXPECT_EQ(table->Integer("HORAS"), whole);
    }
  }
  table->Append();
  EXPECT_THROW(table->SetFloat("HORAS", 1.0 / 0.0), Error);
  table->Append();
  table->SetLogical("ESTAREA", true);
  table->Post();
  EXPECT_EQ(table->Text("ESTAREA"), "True");
  EXPECT_EQ(table->Text("HORAS"), "");
}

TEST_F(WorkTableTest, LocateFindsTheFirstExactMatchInFileOrder) {
  auto table = Filled({"MAT", "LEN", "MAT", Ansi("ÑU"), "", "mat"});
  const int cod = table->FieldNumber("cod");
  EXPECT_TRUE(table->Locate(cod, "mat"));
  EXPECT_EQ(table->Text(cod), "mat");
  EXPECT_TRUE(
      table->Locate(cod, "MAT"));  // found from the start, though the current row lies after
  table->Next();
  EXPECT_EQ(table->Text(cod), "LEN");
  table->Next();
  EXPECT_EQ(table->Text(cod), "MAT");
  EXPECT_FALSE(table->Locate(cod, "Mat"));
  EXPECT_EQ(table->Text(cod), "MAT") << "a failed Locate keeps the current row";
  EXPECT_FALSE(table->Locate(cod, "MAT "));
  EXPECT_FALSE(table->Locate(cod, ""));  // an empty key never matches a blank field
  EXPECT_TRUE(table->Locate(cod, Ansi("ÑU")));
  // A key longer than the field never matches the row written from it.
  table->Append();
  table->SetText(cod, "ABCDEFGHIJKL");
  table->Post();
  EXPECT_FALSE(table->Locate(cod, "ABCDEFGHIJKL"));
  EXPECT_TRUE(table->Locate(cod, "ABCDEFGHIJ")) << "rows posted after the first Locate are found";
  auto empty = Filled({}, "E");
  EXPECT_FALSE(empty->Locate("COD", "MAT"));
}

TEST_F(WorkTableTest, PrefetchHintsChangeNothingAndRowNumbersFollowTheCurrentRow) {
  auto table = Filled({"MAT", "LEN", "MAT"});
  const int cod = table->FieldNumber("COD");
  auto hintAll = [&] {
    for (const std::string_view key : {"MAT", "LEN", "XYZ", ""}) table->Prefetch(cod, key);
  };
  table->First();
  table->Next();
  hintAll();  // before the index exists
  EXPECT_EQ(table->Text(cod), "LEN");
  EXPECT_EQ(table->RowNumber(), 1u);
  ASSERT_TRUE(table->Locate(cod, "MAT"));
  EXPECT_EQ(table->RowNumber(), 0u) << "the first row holding the key";
  table->Next();
  hintAll();
  EXPECT_EQ(table->Text(cod), "LEN");
  table->Append();
  table->SetText(cod, "NEW");
  hintAll();
  EXPECT_EQ(table->Text(cod), "NEW") << "the row being filled stays";
  EXPECT_THROW(table->RowNumber(), std::logic_error) << "a row being filled has no number yet";
  table->Post();
  EXPECT_EQ(table->RowNumber(), 3u) << "a posted row becomes the current row";
  EXPECT_TRUE(table->Locate(cod, "NEW"));
}

TEST_F(WorkTableTest, ScanVisitsRowsInOrderAndSkipsDeletedOnes) {
  test::WriteFile(dir_ / "S.DBF", DbfBuilder(0x03, 0x58, {{"C", 'C', 2}})
                                      .Row("a ")
                                      .Row("b ", true)
                                      .Row("c ")
                                      .Row("d ", true)
                                      .Bytes());
  WorkTable table(dir_.path(), "S", Access::Exclusive);
  table.Open();
  table.Open();  // no effect
  std::string seen;
  for (table.First(); !table.Eof(); table.Next()) seen += table.Text("C");
  EXPECT_EQ(seen, "ac");
  EXPECT_EQ(table.Text("C"), "c") << "after the end the last row stays current";
  EXPECT_FALSE(table.Locate("C", "b"));
  table.Close();
  table.Close();  // no effect
  EXPECT_FALSE(table.Active());
}

TEST_F(WorkTableTest, MissingFieldNamesTheComponent) {
  auto table = Filled({});
  EXPECT_THROW_MSG(table->Text("NADA"), "No se encuentra el campo 'NADA'");
  WorkTable component(dir_.path(), "T", Access::Exclusive, "wwTableProfesor");
  table->Close();
  component.Open();
  EXPECT_THROW_MSG(component.Locate("IDPROF", "1"),
                   "wwTableProfesor: No se encuentra el campo 'IDPROF'");
}

TEST_F(WorkTableTest, ExclusiveOpenKeepsOtherTableObjectsOut) {
  Filled({"A"})->Close();
  const std::string inUse = "La tabla '" + (dir_ / "T.DBF").string() +
                            "' está en uso por otro programa; ciérrelo y vuelva a intentarlo";
  WorkTable first(dir_.path(), "T", Access::Exclusive);
  first.Open();
  WorkTable second(dir_.path(), "T", Access::Shared);
  EXPECT_THROW_MSG(second.Open(), inUse);
  EXPECT_THROW_MSG(WorkTable::Create(dir_.path(), "T", kFields), inUse);
  WorkTable::DeleteFiles(dir_.path(), "T");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "T.DBF")) << "a table in use is not deleted";
  first.Close();
  second.Open();
  WorkTable third(dir_.path(), "T", Access::Shared);
  third.Open();  // shared opens go together
  WorkTable fourth(dir_.path(), "T", Access::Exclusive);
  EXPECT_THROW_MSG(fourth.Open(), inUse);
}

TEST_F(WorkTableTest, ExclusiveOpenKeepsOtherProcessesOut) {
  Filled({"A"})->Close();
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(release[1]);
    WorkTable held(dir_.path(), "T", Access::Exclusive);
    held.Open();
    char c = 1;
    (void)!::write(ready[1], &c, 1);
    (void)!::read(release[0], &c, 1);
    ::_exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  WorkTable mine(dir_.path(), "T", Access::Shared);
  EXPECT_THROW(mine.Open(), Error);
  ::close(release[1]);
  ::waitpid(child, nullptr, 0);
  mine.Open();
  EXPECT_EQ(mine.Text("COD"), "A");
  for (int fd : {ready[0], ready[1], release[0]}) ::close(fd);
}

TEST_F(WorkTableTest, FilesAreFoundWhateverTheirLetterCase) {
  test::WriteFile(dir_ / "proft.dbf",
                  DbfBuilder(0x03, 0x58, {{"ABREV", 'C', 10}}).Row("JGP       ").Bytes());
  WorkTable table(dir_.path(), "PROFT", Access::Exclusive);
  table.Open();
  EXPECT_EQ(table.Text("abrev"), "JGP");
  EXPECT_EQ(table.FilePath(), dir_ / "proft.dbf");
}

TEST_F(WorkTableTest, CreateFailsClearlyWithoutAWritableDirectory) {
  const auto missing = dir_ / "VTEMP";
  EXPECT_THROW_MSG(WorkTable::Create(missing, "ASIGT", kFields),
                   "No se puede crear la tabla '" + (missing / "ASIGT.DBF").string() +
                       "': No existe el archivo o el directorio");
  if (::geteuid() != 0) {
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_THROW_MSG(
        WorkTable::Create(dir_.path(), "ASIGT", kFields),
        "No se puede crear la tabla '" + (dir_ / "ASIGT.DBF").string() + "': Permiso denegado");
  }
  WorkTable table(missing, "SOLUC", Access::Exclusive);
  EXPECT_THROW_MSG(table.Open(), "No existe la tabla '" + (missing / "SOLUC.DBF").string() + "'");
}

TEST_F(WorkTableTest, DamagedFilesAreRefusedByName) {
  const DbfBuilder good(0x03, 0x58, {{"COD", 'C', 4}, {"N", 'N', 3}});
  auto withHeaderLength = [](std::string bytes, int length) {
    bytes[8] = static_cast<char>(length & 0xFF);
    bytes[9] = static_cast<char>(length >> 8);
    return bytes;
  };
  std::string twoRows = DbfBuilder(good).Row("ABCD  1").Row("EFGH  2").Bytes();
  std::string badNumber = DbfBuilder(good).Row("ABCD 1x").Bytes();
  std::string rowTooShort = twoRows;
  rowTooShort[10] = 4;  // the fields need 8 bytes a row
  const std::pair<std::string, std::string> cases[] = {
      {"", "el archivo es demasiado corto para ser una tabla dBase"},
      {twoRows.substr(0, 20), "el archivo es demasiado corto para ser una tabla dBase"},
      {DbfBuilder(good).Row("ABCD  1").Bytes(5),
       "el archivo termina antes de las 5 filas que anuncia su cabecera"},
      {twoRows.substr(0, twoRows.size() - 5),
       "el archivo termina antes de las 2 filas que anuncia su cabecera"},
      {withHeaderLength(twoRows, 4000), "la longitud de la cabecera no es válida"},
      {withHeaderLength(twoRows, 20), "la longitud de la cabecera no es válida"},
      {rowTooShort, "los campos no caben en la longitud de las filas"},
      {DbfBuilder(0x03, 0, {{"X", 'C', 0}}).Bytes(), "el campo 'X' tiene una longitud no válida"},
      {DbfBuilder(0x30, 0, {{"I", 'I', 3}}).Bytes(), "el campo 'I' tiene una longitud no válida"},
      {badNumber, "el campo 'N' tiene el valor no numérico '1x'"},
  };
  for (const auto& [bytes, reason] : cases) {
    test::WriteFile(dir_ / "BAD.DBF", bytes);
    WorkTable table(dir_.path(), "BAD", Access::Shared);
    EXPECT_THROW_MSG(
        {
          table.Open();
          for (table.First(); !table.Eof(); table.Next()) table.Text("N");
        },
        "La tabla '" + (dir_ / "BAD.DBF").string() + "' está dañada: " + reason);
  }
}

TEST_F(WorkTableTest, UnusualButValidLayoutsAreRead) {
  // Descriptors that run past the header are not fields; no fields at all;
  // 255 fields; no end-of-file marker.
  std::string pastHeader = DbfBuilder(0x03, 0, {{"A", 'C', 1}, {"B", 'C', 1}}).Row("xy").Bytes();
  pastHeader[8] = 32 + 32 + 1;
  pastHeader[10] = 3;
  test::WriteFile(dir_ / "P.DBF", pastHeader.substr(0, 65) + pastHeader.substr(65 + 32 - 1));
  std::vector<RawField> many;
  std::string row;
  for (int i = 0; i < 255; ++i) {
    many.push_back({"F" + std::to_string(i), 'C', 2});
    row += std::to_string(i % 100).append(2 - std::to_string(i % 100).size(), ' ');
  }
  test::WriteFile(dir_ / "M.DBF", DbfBuilder(0x03, 0x58, many).Row(row).Bytes(-1, false));
  test::WriteFile(dir_ / "Z.DBF", DbfBuilder(0x03, 0x58, {}).Row("").Row("").Bytes());

  WorkTable many255(dir_.path(), "M", Access::Shared);
  many255.Open();
  EXPECT_EQ(many255.Fields().size(), 255u);
  EXPECT_EQ(many255.Text("F254"), "54");
  WorkTable none(dir_.path(), "Z", Access::Shared);
  none.Open();
  int rows = 0;
  for (none.First(); !none.Eof(); none.Next()) ++rows;
  EXPECT_EQ(rows, 2);
  EXPECT_THROW(none.Text("A"), Error);
}

TEST_F(WorkTableTest, OtherDbaseLevelsAndCodePagesReadRight) {
  // dBase III with code page 850 and FoxPro/dBase 7 binary fields.
  test::WriteFile(
      dir_ / "DOS.DBF",
      DbfBuilder(
          0x03, 0x02,
          {{"NOMBRE", 'C', 6}, {"DIA", 'N', 2}, {"HORA", 'N', 5, 2}, {"F", 'D', 8}, {"OK", 'L', 1}})
          .Row(std::string("Pe\xA4"
                           "a  ") +
               " 1" + " 2.50" + "20261210" + "T")
          .Row("      "
               "  "
               "     "
               "        "
               "?")
          .Bytes());
  WorkTable dos(dir_.path(), "DOS", Access::Shared);
  dos.Open();
  EXPECT_EQ(dos.CodePage(), 850);
  EXPECT_EQ(dos.Text("NOMBRE"), Ansi("Peña"));
  EXPECT_EQ(dos.Integer("DIA"), 1);
  EXPECT_EQ(dos.Text("HORA"), "2,5");
  EXPECT_EQ(dos.Integer("HORA"), 2);
  EXPECT_EQ(dos.Text("F"), "10/12/2026");
  EXPECT_EQ(dos.Text("OK"), "True");
  dos.Next();
  EXPECT_EQ(dos.Text("DIA"), "");
  EXPECT_EQ(dos.Integer("DIA"), 0);
  EXPECT_EQ(dos.Float("HORA"), 0.0);
  EXPECT_EQ(dos.Text("OK"), "");

  auto le32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  auto le64 = [](double d) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &d, 8);
    return s;
  };
  test::WriteFile(dir_ / "VFP.DBF",
                  DbfBuilder(0x30, 0x03, {{"I", 'I', 4}, {"B", 'B', 8}, {"T", 'T', 8}})
                      .Row(le32(static_cast<std::uint32_t>(-5)) + le64(2.5) + le32(2461385) +
                           le32((9 * 3600 + 5 * 60 + 7) * 1000))
                      .Bytes());
  WorkTable vfp(dir_.path(), "VFP", Access::Shared);
  vfp.Open();
  EXPECT_EQ(vfp.Integer("I"), -5);
  EXPECT_EQ(vfp.Float("B"), 2.5);
  EXPECT_EQ(vfp.Text("T"), "10/12/2026 09:05:07");

  auto be32 = [](std::uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  auto dbase7Double = [](double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    bits = d >= 0 ? bits ^ (std::uint64_t{1} << 63) : ~bits;
    std::string s;
    for (int i = 7; i >= 0; --i) s += static_cast<char>(bits >> (8 * i));
    return s;
  };
  test::WriteFile(
      dir_ / "D7.DBF",
      DbfBuilder(0x04, 0, {{"NOMBRE_LARGO", 'C', 3}, {"I", 'I', 4}, {"O", 'O', 8}})
          .Row("abc" + be32(static_cast<std::uint32_t>(-5) ^ 0x80000000u) + dbase7Double(-2.5))
          .Row("   " + std::string(12, '\0'))
          .Bytes());
  WorkTable d7(dir_.path(), "D7", Access::Shared);
  d7.Open();
  EXPECT_EQ(d7.Text("NOMBRE_LARGO"), "abc");
  EXPECT_EQ(d7.Integer("I"), -5);
  EXPECT_EQ(d7.Float("O"), -2.5);
  d7.Next();
  EXPECT_EQ(d7.Text("I"), "");
  EXPECT_EQ(d7.Text("O"), "");
}

TEST(WorkDirectoryTest, IsTheCDriveOfTheWinePrefix) {
  test::TempDir prefix;
  std::filesystem::create_directories(prefix / "drive_c" / "vtemp");
  const char* saved = std::getenv("WINEPREFIX");
  const std::string keep = saved ? saved : "";
  ::setenv("WINEPREFIX", prefix.path().c_str(), 1);
  EXPECT_EQ(DefaultWorkDirectory(), prefix / "drive_c" / "vtemp");
  std::filesystem::remove(prefix / "drive_c" / "vtemp");
  EXPECT_EQ(DefaultWorkDirectory(), prefix / "drive_c" / "VTEMP");
  ::unsetenv("WINEPREFIX");
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", prefix.path().c_str(), 1);
  EXPECT_EQ(DefaultWorkDirectory(), prefix / ".wine" / "drive_c" / "VTEMP");
  ::setenv("HOME", home.c_str(), 1);
  if (saved) ::setenv("WINEPREFIX", keep.c_str(), 1);
}

}  // namespace
}  // namespace tv
