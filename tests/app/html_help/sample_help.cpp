#include "sample_help.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace tv::test {
namespace {

// Bytes above 0x7F are windows-1252 unless the piece says otherwise.
constexpr std::string_view kInicioPage =
    "<html><head><title>Inicio</title>\r\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"estilo.css\"></head>\r\n"
    "<body><h1>Bienvenida</h1><p>Ayuda del conversor. Pasos b\xe1sicos:</p>\r\n"
    "<p><a href=\"tablas.htm\">Tablas</a> <a href=\"sub/detalle.htm#final\">Detalle</a></p>\r\n"
    "</body></html>\r\n";

constexpr char kTablas[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
    "<title>Tablas</title><link rel=\"stylesheet\" href=\"estilo.css\"></head>\r\n"
    "<body><h1>Tablas de horario</h1><p>Las \xe1reas y las aulas.</p>\r\n"
    "<p><img src=\"img/logo.png\" alt=\"Logotipo\"></p>\r\n"
    "<p><a href=\"sub/detalle.htm\">M\xe1s detalle</a></p></body></html>\r\n";

constexpr std::string_view kDetallePage =
    "<html><head><meta charset=\"utf-8\"><title>Detalle</title></head>\r\n"
    "<body><h1>Detalle de la exportaci\xc3\xb3n</h1>\r\n"
    "<p><img src=\"../img/logo.png\"> <a href=\"../inicio.htm\">Volver al inicio</a></p>\r\n"
    "<p><a name=\"final\">Final</a></p></body></html>\r\n";

constexpr std::string_view kStyle =
    "body { font-family: sans-serif; }\r\nh1 { color: #204080; }\r\n";

// A 4 x 3 PNG.
constexpr char kLogo[] =
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00"
    "\x03\x01\x03\x00\x00\x00\x8e\x3a\x3c\x85\x00\x00\x00\x03\x50\x4c\x54\x45\xc0\x30\x20\xd2\xfd"
    "\xbd\xa1\x00\x00\x00\x0b\x49\x44\x41\x54\x08\xd7\x63\x60\x00\x01\x00\x00\x06\x00\x01\x66\xf4"
    "\xc9\x6c\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";

// As HTML Help Workshop writes them, upper case and all, with a properties
// object first and an entry whose params come name last.
constexpr std::string_view kContents =
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n"
    "<HTML><HEAD><meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\r\n"
    "</HEAD><BODY>\r\n"
    "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
    "value=\"0x800025\"></OBJECT>\r\n"
    "<UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Inicio\">"
    "<param name=\"Local\" value=\"inicio.htm\"></OBJECT>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" "
    "value=\"Exportaci&oacute;n\"></OBJECT>\r\n"
    "<UL>\r\n"
    "  <LI> <OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"tablas.htm\">"
    "<param name=\"Name\" value=\"Tablas y \xe1reas\"></OBJECT>\r\n"
    "  <LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Detalle\">"
    "<param name=\"Local\" value=\"sub/detalle.htm#final\"></OBJECT>\r\n"
    "</UL>\r\n"
    "</UL>\r\n"
    "</BODY></HTML>\r\n";

constexpr std::string_view kIndex =
    "<HTML><BODY><UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Exportar\">"
    "<param name=\"Local\" value=\"tablas.htm\"></OBJECT>\r\n"
    "<UL><LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Detalle de la "
    "exportaci&oacute;n\">"
    "<param name=\"Local\" value=\"sub/detalle.htm\"></OBJECT></UL>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"\xcdndice de p\xe1ginas\">"
    "<param name=\"Local\" value=\"inicio.htm\"></OBJECT>\r\n"
    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Inicio\">"
    "<param name=\"Local\" value=\"inicio.htm\"></OBJECT>\r\n"
    "</UL></BODY></HTML>\r\n";

std::string Project(const SampleHelpOptions& options) {
  std::string project =
      "[OPTIONS]\r\n"
      "Compiled file=ayuda.chm\r\n"
      "Contents file=toc.hhc\r\n"
      "Index file=index.hhk\r\n"
      "Title=Ayuda de exportaci\xf3n\r\n";
  if (options.default_topic) project += "Default topic=inicio.htm\r\n";
  project +=
      "\r\n[FILES]\r\ninicio.htm\r\ntablas.htm\r\nsub/detalle.htm\r\nestilo.css\r\nimg/logo.png\r\n"
      "\r\n[ALIAS]\r\nIDH_INICIO=inicio.htm\r\nIDH_TABLAS=tablas.htm\r\nIDH_DETALLE=sub/"
      "detalle.htm\r\n"
      "\r\n[MAP]\r\n#define IDH_INICIO 1\r\n#define IDH_TABLAS 3\r\n#define IDH_DETALLE 7\r\n";
  return project;
}

}  // namespace

const std::string_view kSampleTablasPage(kTablas, sizeof(kTablas) - 1);
const std::string_view kSampleLogo(kLogo, sizeof(kLogo) - 1);

std::filesystem::path BuildSampleHelp(const std::filesystem::path& folder,
                                      SampleHelpOptions options) {
  std::filesystem::create_directories(folder / "sub");
  std::filesystem::create_directories(folder / "img");
  WriteFile(folder / "ayuda.hhp", Project(options));
  WriteFile(folder / "inicio.htm", kInicioPage);
  WriteFile(folder / "tablas.htm", kSampleTablasPage);
  WriteFile(folder / "sub" / "detalle.htm", kDetallePage);
  WriteFile(folder / "estilo.css", kStyle);
  WriteFile(folder / "img" / "logo.png", kSampleLogo);
  WriteFile(folder / "toc.hhc", kContents);
  WriteFile(folder / "index.hhk", kIndex);
  int status = -1;
  // chmcmd reports every file it takes in; only its result matters here.
  Run("cd '" + folder.string() + "' && /usr/bin/chmcmd ayuda.hhp >/dev/null 2>&1", &status);
  const std::filesystem::path chm = folder / "ayuda.chm";
  if (status != 0 || !std::filesystem::exists(chm)) {
    ADD_FAILURE() << "chmcmd did not compile the sample help (status " << status << ")";
    return {};
  }
  return chm;
}

const std::filesystem::path& SharedSampleHelp() {
  static const TempDir folder;
  static const std::filesystem::path chm = BuildSampleHelp(folder.path());
  return chm;
}

}  // namespace tv::test
