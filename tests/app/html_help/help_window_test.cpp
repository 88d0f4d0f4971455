// The help window on Qt's offscreen platform, driven through HtmlHelpA as
// the program drives it (linked in, not loaded with dlopen).
#include "help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sample_help.h"
#include "test_support.h"

extern "C" void* HtmlHelpA(void* ownerWindow, const char* file, unsigned int command,
                           std::uintptr_t data);

namespace tv::help {
namespace {

HelpWindow* Call(const std::string& file, unsigned command, std::uintptr_t data) {
  return dynamic_cast<HelpWindow*>(
      static_cast<QWidget*>(HtmlHelpA(nullptr, file.c_str(), command, data)));
}

// The names of the images the page shown refers to.
QStringList ImagesOf(const QTextDocument& document) {
  QStringList names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isImageFormat()) names << format.toImageFormat().name();
    }
  }
  return names;
}

class ChmHelpWindow : public ::testing::Test {
 protected:
  void TearDown() override { HtmlHelpA(nullptr, nullptr, 18, 0); }
  const std::string chm_ = test::SharedSampleHelp().string();
};

TEST_F(ChmHelpWindow, ContextShowsItsPageWithImageAndContentsEntry) {
  HelpWindow* window = Call(chm_, 15, 3);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Ayuda de exportaci\u00f3n"));
  EXPECT_EQ(window->browser()->CurrentPath(), "/tablas.htm");
  const QTextDocument& page = *window->browser()->document();
  EXPECT_TRUE(page.toPlainText().contains(QString::fromUtf8("Las \u00e1reas y las aulas.")))
      << page.toPlainText().toStdString();

  const QStringList images = ImagesOf(page);
  ASSERT_EQ(images.size(), 1);
  // What the layout loaded and kept for the page's image.
  const QVariant image = page.resource(QTextDocument::ImageResource, QUrl(images[0]));
  EXPECT_EQ(image.userType() == QMetaType::QByteArray ? QImage::fromData(image.toByteArray()).size()
                                                      : qvariant_cast<QImage>(image).size(),
            QSize(4, 3));
  // The style sheet the page links (without a type) is applied.
  EXPECT_EQ(page.begin().charFormat().foreground().color(), QColor("#204080"));

  ASSERT_NE(window->contentsTree()->currentItem(), nullptr);
  EXPECT_EQ(window->contentsTree()->currentItem()->text(0),
            QString::fromUtf8("Tablas y \u00e1reas"));
  EXPECT_EQ(window->contentsTree()->topLevelItemCount(), 2);
}

TEST_F(ChmHelpWindow, OneWindowPerFileFollowingLinksAndCommands) {
  HelpWindow* window = Call(chm_, 1, 0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->browser()->CurrentPath(), "/inicio.htm");
  EXPECT_TRUE(window->browser()->toPlainText().contains(QString::fromUtf8("Pasos b\u00e1sicos")));

  EXPECT_EQ(Call(chm_ + "::/sub/detalle.htm#final", 0, 0), window);
  EXPECT_EQ(window->browser()->CurrentPath(), "/sub/detalle.htm");
  EXPECT_TRUE(window->browser()->toPlainText().contains(QString::fromUtf8("exportaci\u00f3n")));
  EXPECT_EQ(ImagesOf(*window->browser()->document()).size(), 1);

  // A relative link as a click on it hands it over.
  emit window->browser()->anchorClicked(
      window->browser()->source().resolved(QUrl("../tablas.htm")));
  EXPECT_EQ(window->browser()->CurrentPath(), "/tablas.htm");
  window->browser()->backward();
  EXPECT_EQ(window->browser()->CurrentPath(), "/sub/detalle.htm");
  window->browser()->setSource(QUrl("ms-its:ayuda.chm::/inicio.htm"));
  EXPECT_EQ(window->browser()->CurrentPath(), "/inicio.htm");

  const std::string keyword = "DETALLE";
  EXPECT_EQ(Call(chm_, 2, reinterpret_cast<std::uintptr_t>(keyword.c_str())), window);
  EXPECT_EQ(window->browser()->CurrentPath(), "/sub/detalle.htm");
  ASSERT_NE(window->indexList()->currentItem(), nullptr);
  EXPECT_TRUE(window->indexList()->currentItem()->text().contains("Detalle de la"));

  // What the file lacks shows its default page.
  EXPECT_EQ(Call(chm_, 15, 999), window);
  EXPECT_EQ(window->browser()->CurrentPath(), "/inicio.htm");
  Call(chm_ + "::/tablas.htm", 0, 0);
  const std::string unknown = "zzz";
  EXPECT_EQ(Call(chm_, 2, reinterpret_cast<std::uintptr_t>(unknown.c_str())), window);
  EXPECT_EQ(window->browser()->CurrentPath(), "/inicio.htm");
  Call(chm_ + "::/tablas.htm", 0, 0);
  EXPECT_EQ(Call(chm_ + "::/nada.htm", 0, 0), window);
  EXPECT_EQ(window->browser()->CurrentPath(), "/inicio.htm");
}

TEST_F(ChmHelpWindow, BadCallsShowNothingAndCloseAllClosesEverything) {
  const test::TempDir folder;
  test::WriteFile(folder / "texto.chm", "no es un archivo de ayuda");
  const qsizetype before = QApplication::topLevelWidgets().size();
  EXPECT_EQ(HtmlHelpA(nullptr, (folder / "falta.chm").c_str(), 15, 3), nullptr);
  EXPECT_EQ(HtmlHelpA(nullptr, (folder / "texto.chm").c_str(), 1, 0), nullptr);
  EXPECT_EQ(HtmlHelpA(nullptr, chm_.c_str(), 99, 0), nullptr);
  EXPECT_EQ(HtmlHelpA(nullptr, nullptr, 1, 0), nullptr);
  EXPECT_EQ(HtmlHelpA(nullptr, "", 15, 3), nullptr);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);

  // The same file under another name is the same window.
  std::filesystem::create_symlink(chm_, folder / "enlace.chm");
  const QPointer<HelpWindow> first = Call(chm_, 15, 3);
  EXPECT_EQ(Call((folder / "enlace.chm").string(), 1, 0), first.data());
  const std::string copy = (folder / "copia.chm").string();
  std::filesystem::copy_file(chm_, copy);
  const QPointer<HelpWindow> second = Call(copy, 1, 0);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.data(), second.data());

  EXPECT_EQ(HtmlHelpA(nullptr, nullptr, 18, 0), nullptr);
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
}

}  // namespace
}  // namespace tv::help

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::setlocale(LC_ALL, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
