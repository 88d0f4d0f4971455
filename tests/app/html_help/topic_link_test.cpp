// How links in pages and context aliases lead to objects of the help file.
#include "topic_link.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace tv::help {
namespace {

TEST(ChmTopicLink, ResolvesLinksAsPagesWriteThem) {
  const struct {
    const char* base;
    const char* link;
    std::optional<TopicLink> expected;
  } cases[] = {
      {"/inicio.htm", "tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/sub/detalle.htm", "../inicio.htm", TopicLink{"/inicio.htm", ""}},
      {"/sub/detalle.htm", "../img/logo.png", TopicLink{"/img/logo.png", ""}},
      {"/sub/detalle.htm", "otro.htm#a", TopicLink{"/sub/otro.htm", "a"}},
      {"/sub/detalle.htm", "./x/../y.htm", TopicLink{"/sub/y.htm", ""}},
      {"/sub/detalle.htm", "/raiz.htm", TopicLink{"/raiz.htm", ""}},
      {"/sub/detalle.htm", "../../../../arriba.htm", TopicLink{"/arriba.htm", ""}},
      {"/sub/detalle.htm", "#final", TopicLink{"/sub/detalle.htm", "final"}},
      {"/sub/detalle.htm", "sub2\\p\xc3\xa1gina.htm", TopicLink{"/sub/sub2/p\xc3\xa1gina.htm", ""}},
      {"/a.htm", "mis%20tablas.htm?x=1#sec%201", TopicLink{"/mis tablas.htm", "sec 1"}},
      {"/a.htm", "ms-its:SIGAD.chm::/tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/a.htm", "MS-ITS:C:\\Ayuda\\SIGAD.chm::/sub/x.htm#z", TopicLink{"/sub/x.htm", "z"}},
      {"/a.htm", "mk:@MSITStore:SIGAD.chm::/tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/a.htm", "its:SIGAD.chm::tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/sub/a.htm", "SIGAD.chm::/tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/a.htm", "chm:///sub/x.htm#b", TopicLink{"/sub/x.htm", "b"}},
      {"/a.htm", "chm:/sub/x.htm", TopicLink{"/sub/x.htm", ""}},
      {"/a.htm", "  tablas.htm\n", TopicLink{"/tablas.htm", ""}},
      {"/a.htm", "http://www.example.com/", std::nullopt},
      {"/a.htm", "mailto:soporte@example.com", std::nullopt},
      {"/a.htm", "javascript:void(0)", std::nullopt},
      {"/a.htm", "", std::nullopt},
      {"/a.htm", "#", std::nullopt},
      {"/a.htm", "ms-its:SIGAD.chm::", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveLink(c.base, c.link), c.expected) << c.base << " + " << c.link;
  }
}

TEST(ChmTopicLink, AliasTargetsFallBackToTailsOfBuildPaths) {
  const std::set<std::string> objects = {"/tablas.htm", "/sub/detalle.htm", "/detalle.htm"};
  const auto exists = [&](std::string_view path) { return objects.count(std::string(path)) > 0; };
  const struct {
    const char* alias;
    std::optional<TopicLink> expected;
  } cases[] = {
      {"tablas.htm", TopicLink{"/tablas.htm", ""}},  // as Microsoft's compiler stores it
      {"/tmp/transvormos-test-x/tablas.htm", TopicLink{"/tablas.htm", ""}},  // chmcmd 3.2.2
      {"/home/a/help/sub/detalle.htm#b",
       TopicLink{"/sub/detalle.htm", "b"}},  // before the base name
      {"C:\\Proyectos\\Ayuda\\tablas.htm", TopicLink{"/tablas.htm", ""}},
      {"/home/a/help/otro/tablas.htm", TopicLink{"/tablas.htm", ""}},  // the base name last
      {"/home/a/help/nada.htm", std::nullopt},
      {"/home/a/help/", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindAliasTarget(c.alias, exists), c.expected) << c.alias;
  }
}

}  // namespace
}  // namespace tv::help
