// The help window of one help file: its contents tree (and its index, when
// the file has one) beside the page view, under a toolbar with "Atrás",
// "Adelante" and "Inicio". Clicking a contents entry shows its page; the
// entry of the page shown stays selected as links are followed. The window
// deletes itself when closed.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QString>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "help_book.h"
#include "help_browser.h"
#include "topic_link.h"

namespace tv::help {

class HelpWindow : public QMainWindow {
 public:
  // The title is the file's own, else "Ayuda de TransVormosSigad".
  explicit HelpWindow(std::shared_ptr<const HelpBook> book);

  const HelpBook& book() const { return *book_; }

  void ShowTopic(const TopicLink& topic);
  // The file's default page ("Inicio").
  void ShowHome();
  void ShowContentsTab();
  // The index tab with `keyword` typed in its search field, which selects
  // the first entry that starts with it. Without an index, the contents.
  void ShowIndexTab(const QString& keyword);
  // Shows, restores, raises and activates the window.
  void BringToFront();

  HelpBrowser* browser() const { return browser_; }
  QTreeWidget* contentsTree() const { return contents_; }
  QListWidget* indexList() const { return index_; }

 private:
  void AddContents(QTreeWidgetItem* parent, const std::vector<SitemapEntry>& entries);
  void AddIndex(const std::vector<SitemapEntry>& entries, int depth);
  QWidget* BuildIndexPage();
  void ShowLocal(const QString& local);
  void SelectIndexEntry(const QString& typed);
  // Selects the contents entry of the page shown, if it has one.
  void SyncContents(const QUrl& shown);

  std::shared_ptr<const HelpBook> book_;
  HelpBrowser* browser_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QWidget* index_page_ = nullptr;
  QLineEdit* index_search_ = nullptr;
  QListWidget* index_ = nullptr;
  // Contents entries by the folded path of their page, with and without
  // its anchor.
  std::map<std::string, QTreeWidgetItem*> items_by_key_;
};

}  // namespace tv::help
