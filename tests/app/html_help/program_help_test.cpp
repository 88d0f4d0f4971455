// The program's own help file, SIGAD.chm as the build compiles it: what F1
// and the help button ask for is in it.
#include <gtest/gtest.h>

#include "help_book.h"

namespace tv::help {
namespace {

TEST(ChmProgramHelpTest, ContextThreeIsTheMainPageAndTheContentsAreComplete) {
  const auto book = HelpBook::Open(TRANSVORMOS_PROGRAM_HELP);
  ASSERT_TRUE(book) << TRANSVORMOS_PROGRAM_HELP;
  EXPECT_EQ(book->title(), "Ayuda de TransVormosSigad");
  const auto context = book->ContextTopic(3);
  ASSERT_TRUE(context);
  EXPECT_EQ(context->path, "/index.htm");
  EXPECT_EQ(book->default_topic().path, "/index.htm");
  for (const char* page :
       {"/index.htm", "/exportar.htm", "/importar.htm", "/tablas.htm", "/mensajes.htm",
        "/alojado.htm", "/estilo.css", "/imagenes/ventana.png"}) {
    EXPECT_TRUE(book->file().Contains(page)) << page;
  }
  EXPECT_GE(book->contents().size(), 5u);
  const auto messages = book->KeywordTopic("Mensajes");
  ASSERT_TRUE(messages);
  EXPECT_EQ(messages->path, "/mensajes.htm");
}

}  // namespace
}  // namespace tv::help
