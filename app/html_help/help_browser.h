// The page view of the help window: a QTextBrowser that reads pages,
// images and style sheets out of the help file instead of the disk.
//
// Every page it shows has the address "chm:///<object path>#<anchor>", so
// that QTextBrowser's own history and relative-link handling work unchanged;
// links in the forms help files use ("ms-its:...::/x.htm", "x.htm#a",
// "../y.htm") are brought to that form before they are followed. Links that
// leave the file (http:, mailto:) go to the desktop's browser.
#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <string>

#include "help_book.h"
#include "topic_link.h"

namespace tv::help {

class HelpBrowser : public QTextBrowser {
 public:
  explicit HelpBrowser(std::shared_ptr<const HelpBook> book, QWidget* parent = nullptr);

  // Shows a page of the file and scrolls to its anchor.
  void ShowTopic(const TopicLink& topic);
  // The object path of the page shown ("/tablas.htm"), "" before the first.
  std::string CurrentPath() const;

  // The address of a page of the file.
  static QUrl UrlOf(const TopicLink& topic);

  // QTextBrowser asks for pages, images and style sheets here, with
  // addresses that may be relative to the page shown. A missing page comes
  // back as a short Spanish notice; other missing objects as nothing.
  QVariant loadResource(int type, const QUrl& name) override;

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

 private:
  std::shared_ptr<const HelpBook> book_;
  std::string current_path_;
};

}  // namespace tv::help
