// A small help file for the tests, compiled at test time with chmcmd (the
// Free Pascal help compiler) from a project written into a fresh folder:
//
//   inicio.htm       windows-1252, no charset declared; default topic; context 1
//   tablas.htm       windows-1252 declared; image, style sheet; context 3
//   sub/detalle.htm  UTF-8 declared; links back with ".."; context 7
//   img/logo.png     4 x 3 pixels
//   estilo.css
//   toc.hhc          Inicio; Exportación > (Tablas y áreas, Detalle)
//   index.hhk        Exportar > Detalle de la exportación; Índice; Inicio
//
// chmcmd stores context aliases as the absolute paths the pages had in that
// folder, which is what the viewer's fallback is for.
#pragma once

#include <filesystem>
#include <string_view>

namespace tv::test {

// The bytes of the sample's pieces, as written into the project.
extern const std::string_view kSampleTablasPage;
extern const std::string_view kSampleLogo;

struct SampleHelpOptions {
  // Without it the project names no default topic.
  bool default_topic = true;
};

// Writes the project into `folder`, compiles it there and returns the path
// of the .chm; fails the current test (and returns an empty path) when the
// compiler does not produce it.
std::filesystem::path BuildSampleHelp(const std::filesystem::path& folder,
                                      SampleHelpOptions options = {});

// The sample with default options, built once per test program in a folder
// removed at exit.
const std::filesystem::path& SharedSampleHelp();

}  // namespace tv::test
