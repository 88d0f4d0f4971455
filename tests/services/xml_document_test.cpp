#include "xml_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support.h"

namespace tv {
namespace {

using test::Ansi;

// Latin-1 text as UTF-16, little-endian, without a byte order mark.
std::string Utf16(std::string_view latin1) {
  std::string out;
  for (const char c : latin1) out += {c, '\0'};
  return out;
}

class XmlDocumentTest : public ::testing::Test {
 protected:
  // Loads `content` written to a file; returns load's result.
  bool Load(std::string_view content, XmlDocument::Scope scope = XmlDocument::Scope::Whole) {
    test::WriteFile(dir_ / "doc.xml", content);
    return doc_.load(dir_ / "doc.xml", scope);
  }
  std::string Saved() {
    doc_.save(dir_ / "out.xml");
    return test::ReadFile(dir_ / "out.xml");
  }
  // Replaces the root as the solution export does.
  void ReplaceRoot() {
    doc_.removeChild(*doc_.documentElement());
    XmlNode root = doc_.createElement("centro");
    root.setAttribute("nombre", Ansi("Peña"));
    root.setAttribute("n", 42);
    doc_.appendChild(root);
    XmlNode section = doc_.createNode(1, "solucion_horario", "");
    root.appendChild(section);
    section.appendChild(doc_.createElement("dsolucion"));
  }

  test::TempDir dir_;
  XmlDocument doc_;
};

constexpr std::string_view kSchool =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<centro codigo_interno=\"50001\" nombre=\"  IES Peña &amp; Cía  \">\n"
    "  <aulas><daula nombre=\"Aula 1\" codigo=\"1\"/><otro/><daula nombre=\"Aula 2\"/></aulas>\n"
    "  <aulas><daula nombre=\"Aula 3\">texto</daula></aulas>\n"
    "  <materias><dmaterias nombre=\"Matemáticas &#945;\" abrev=\"&amp;&lt;\"/></materias>\n"
    "</centro>\n";

TEST_F(XmlDocumentTest, SelectsSectionsInDocumentOrder) {
  ASSERT_TRUE(Load(kSchool));
  XmlNodeList rooms = doc_.selectNodes("/centro/aulas/daula");
  ASSERT_EQ(rooms.length(), 3);
  EXPECT_EQ(AttributeText(rooms.item(0), "nombre"), "Aula 1");
  EXPECT_EQ(AttributeText(rooms.item(1), "nombre"), "Aula 2");
  EXPECT_EQ(AttributeText(rooms.item(2), "nombre"), "Aula 3");
  EXPECT_THROW(rooms.item(3), std::out_of_range);
  EXPECT_EQ(doc_.selectNodes("/centro/grupos/dgrupo").length(), 0);
  EXPECT_EQ(doc_.selectNodes("/otro").length(), 0);
  EXPECT_EQ(doc_.selectNodes("/centro").length(), 1);
  // An absolute path from a node starts at the document.
  EXPECT_EQ(rooms.item(0).selectNodes("/centro/aulas").length(), 2);
  EXPECT_EQ(*doc_.selectSingleNode("/centro"), *doc_.documentElement());
  EXPECT_FALSE(doc_.selectSingleNode("/centro/nada"));
}

TEST_F(XmlDocumentTest, AttributeTextIsAnsiWithReferencesResolvedAndSpacesKept) {
  ASSERT_TRUE(Load(kSchool));
  XmlNode root = *doc_.documentElement();
  EXPECT_EQ(root.attributes().getNamedItem("nombre")->text(), Ansi("  IES Peña & Cía  "));
  XmlNode subject = doc_.selectNodes("/centro/materias/dmaterias").item(0);
  EXPECT_EQ(AttributeText(subject, "nombre"), Ansi("Matemáticas ?"));
  EXPECT_EQ(AttributeText(subject, "abrev"), "&<");
  EXPECT_FALSE(root.attributes().getNamedItem("version"));
  EXPECT_FALSE(root.attributes().getNamedItem("NOMBRE"));  // names match with case
  EXPECT_EQ(AttributeText(root, "version"), "");
}

TEST_F(XmlDocumentTest, DeclaredEncodingsAndInternalEntitiesAreRead) {
  ASSERT_TRUE(
      Load("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
           "<!DOCTYPE centro [<!ENTITY e \"Pe\xF1"
           "a\">]><centro nombre=\"&e; \xC1\"/>"));
  EXPECT_EQ(AttributeText(*doc_.documentElement(), "nombre"), Ansi("Peña Á"));
  // UTF-16 without a byte order mark, told by its declaration.
  ASSERT_TRUE(Load(Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><centro nombre=\"\xF1\"/>")));
  EXPECT_EQ(AttributeText(*doc_.documentElement(), "nombre"), "\xF1");
}

TEST_F(XmlDocumentTest, AttributesAreThoseWrittenInTheElement) {
  ASSERT_TRUE(Load(
      "<!DOCTYPE centro [<!ATTLIST centro defecto CDATA \"d\"><!ENTITY e \"<daula nombre='E'/>\">]>"
      "<centro xmlns=\"urn:a\" xmlns:p=\"urn:p\" p:nombre=\"x\">"
      "<aulas>&e;<daula nombre=\"A\"/></aulas></centro>"));
  const XmlNode root = *doc_.documentElement();
  EXPECT_EQ(AttributeText(root, "xmlns"), "urn:a");
  EXPECT_EQ(AttributeText(root, "xmlns:p"), "urn:p");
  EXPECT_EQ(AttributeText(root, "p:nombre"), "x");
  EXPECT_FALSE(root.attributes().getNamedItem("defecto")) << "a default of the document type";
  // Elements inside an entity's replacement text are not read.
  const XmlNodeList rooms = doc_.selectNodes("/centro/aulas/daula");
  ASSERT_EQ(rooms.length(), 1);
  EXPECT_EQ(AttributeText(rooms.item(0), "nombre"), "A");
}

TEST_F(XmlDocumentTest, BadFilesLeaveAnEmptyDocumentWithoutError) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
      "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
      "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\"><!ENTITY i "
      "\"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">]>"
      "<centro nombre=\"&i;\"><aulas><daula/></aulas></centro>";
  std::string deep = "<centro>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  const std::string cases[] = {
      "",
      "hola",
      "\xEF\xBB\xBF",
      "\xFF\xFE",
      "<centro><aulas><daula/></aulas>",  // not closed
      "<centro a=\"\xC3\"/>",             // invalid UTF-8
      std::string("<centro>\0</centro>", 18),
      laughs,
      deep,
      "<centro nombre=\"" + std::string(50 * 1024 * 1024, 'x') +
          "\"><aulas><daula/></aulas></centro>",
  };
  for (const auto& content : cases) {
    ASSERT_TRUE(Load(kSchool));
    EXPECT_FALSE(Load(content)) << content.substr(0, 40);
    EXPECT_FALSE(doc_.documentElement());
    EXPECT_EQ(doc_.selectNodes("/centro/aulas/daula").length(), 0);
  }
  EXPECT_FALSE(doc_.load(dir_ / "missing.xml"));
  EXPECT_FALSE(doc_.load(dir_.path()));
}

TEST_F(XmlDocumentTest, ExternalEntitiesAndDtdsAreNeverFetched) {
  test::WriteFile(dir_ / "secret.txt", "SECRETO");
  const std::string secret = (dir_ / "secret.txt").string();
  // Referenced from an attribute: not well-formed, nothing read.
  EXPECT_FALSE(
      Load("<!DOCTYPE c [<!ENTITY x SYSTEM \"file://" + secret + "\">]><centro a=\"&x;\"/>"));
  // Referenced from content, with a remote DTD: loads, the entity stays unread.
  ASSERT_TRUE(Load(
      "<!DOCTYPE centro SYSTEM \"http://127.0.0.1:9/centro.dtd\" [<!ENTITY x SYSTEM \"file://" +
      secret + "\">]><centro a=\"1\"><aulas><daula nombre=\"A\">&x;</daula></aulas></centro>"));
  EXPECT_EQ(AttributeText(doc_.selectNodes("/centro/aulas/daula").item(0), "nombre"), "A");
  ReplaceRoot();
  EXPECT_EQ(Saved().find("SECRETO"), std::string::npos);
}

TEST_F(XmlDocumentTest, EnvelopeKeepsTheRootAttributesOnly) {
  ASSERT_TRUE(Load(kSchool, XmlDocument::Scope::Envelope));
  EXPECT_EQ(AttributeText(*doc_.selectSingleNode("/centro"), "codigo_interno"), "50001");
  EXPECT_EQ(doc_.selectNodes("/centro/aulas/daula").length(), 0);
  // Still the whole file must be well-formed.
  EXPECT_FALSE(Load("<centro a=\"1\"><aulas></centro>", XmlDocument::Scope::Envelope));
}

TEST_F(XmlDocumentTest, SaveKeepsDeclarationAndTopLevelNodesInTheDeclaredEncoding) {
  ASSERT_TRUE(Load(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\n"
      "<!-- cabecera -->\n<?proc uno?>\n<centro nombre=\"x\"><aulas/></centro>\n<!-- pie -->\n"));
  ReplaceRoot();
  EXPECT_EQ(Saved(),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\n"
            "<!-- cabecera -->\n<?proc uno?>\n<!-- pie -->\n"
            "<centro nombre=\"Pe\xF1"
            "a\" n=\"42\"><solucion_horario><dsolucion/></solucion_horario></centro>\n");
}

TEST_F(XmlDocumentTest, SaveWritesCharacterReferencesWhereTheEncodingLacksACharacter) {
  ASSERT_TRUE(Load("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><centro/>"));
  ReplaceRoot();
  XmlNode root = *doc_.documentElement();
  root.setAttribute("nombre", Ansi("€ <&\"> ñ\x01"));  // replaces the earlier value, keeps its place
  const std::string saved = Saved();
  // A control character that XML forbids becomes '?': the file stays well-formed.
  EXPECT_NE(saved.find("<centro nombre=\"&#8364; &lt;&amp;&quot;&gt; \xF1?\" n=\"42\">"),
            std::string::npos)
      << saved;
  XmlDocument again;
  ASSERT_TRUE(again.load(dir_ / "out.xml"));
  EXPECT_EQ(AttributeText(*again.documentElement(), "nombre"), Ansi("€ <&\"> ñ?"));
}

TEST_F(XmlDocumentTest, SaveInUtf16AndWithoutDeclaration) {
  ASSERT_TRUE(Load("\xFF\xFE" + Utf16(R"(<?xml version="1.0" encoding="UTF-16"?><c/>)")));
  ReplaceRoot();
  const std::string utf16 = Saved();
  EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  XmlDocument again;
  ASSERT_TRUE(again.load(dir_ / "out.xml"));
  EXPECT_EQ(AttributeText(*again.documentElement(), "nombre"), Ansi("Peña"));

  ASSERT_TRUE(Load("<centro/>"));
  ReplaceRoot();
  EXPECT_EQ(Saved(),
            "<centro nombre=\"Peña\" "
            "n=\"42\"><solucion_horario><dsolucion/></solucion_horario></centro>\n");
}

TEST_F(XmlDocumentTest, TreeErrorsAreReported) {
  ASSERT_TRUE(Load("<centro/>"));
  XmlNode stray = doc_.createElement("centro");
  EXPECT_THROW_MSG(doc_.appendChild(stray),
                   "Sólo se permite un elemento de nivel superior en un documento XML");
  EXPECT_THROW_MSG(doc_.removeChild(stray),
                   "El nodo que se quiere quitar no es hijo del documento");
  EXPECT_THROW(doc_.createNode(2, "x", ""), std::invalid_argument);
  EXPECT_THROW(doc_.save(dir_ / "out.xml"), std::logic_error);  // the loaded root has no text kept
}

TEST_F(XmlDocumentTest, FailedSaveNamesTheFileAndLeavesNothingBehind) {
  ASSERT_TRUE(Load("<centro/>"));
  ReplaceRoot();
  const auto target = dir_ / "no-such-folder" / "out.xml";
  EXPECT_THROW_MSG(doc_.save(target), "No se puede escribir el archivo '" + target.string() +
                                          "': No existe el archivo o el directorio");
  if (::geteuid() != 0) {
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_THROW(doc_.save(dir_ / "out.xml"), Error);
    ::chmod(dir_.path().c_str(), 0755);
  }
  // An existing file is replaced whole.
  test::WriteFile(dir_ / "out.xml", "viejo");
  doc_.save(dir_ / "out.xml");
  EXPECT_EQ(test::ReadFile(dir_ / "out.xml").substr(0, 7), "<centro");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    ++files;
  EXPECT_EQ(files, 2);  // doc.xml and out.xml, no temporary file
}

}  // namespace
}  // namespace tv
