#include "help_window.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "text_decoding.h"

namespace tv::help {
namespace {

// What the items of the contents and the index carry.
constexpr int kLocalRole = Qt::UserRole;     // the entry's page, absolute
constexpr int kNameRole = Qt::UserRole + 1;  // an index entry's name, unindented

// Contents entries are found by page, and by page and anchor.
std::string PathKey(const TopicLink& link) { return FoldCase(link.path); }
std::string AnchorKey(const TopicLink& link) { return FoldCase(link.path) + "#" + link.fragment; }

std::optional<TopicLink> LinkOf(const QTreeWidgetItem* item) {
  if (!item) return std::nullopt;
  return ResolveLink("/", item->data(0, kLocalRole).toString().toStdString());
}

}  // namespace

HelpWindow::HelpWindow(std::shared_ptr<const HelpBook> book) : book_(std::move(book)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(book_->title().empty() ? QStringLiteral("Ayuda de TransVormosSigad")
                                        : QString::fromStdString(book_->title()));

  browser_ = new HelpBrowser(book_);
  contents_ = new QTreeWidget;
  contents_->setHeaderHidden(true);
  contents_->setColumnCount(1);
  AddContents(contents_->invisibleRootItem(), book_->contents());
  // Help files of this size read best fully open.
  contents_->expandAll();
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowLocal(item->data(0, kLocalRole).toString()); });
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowLocal(item->data(0, kLocalRole).toString()); });

  tabs_ = new QTabWidget;
  tabs_->addTab(contents_, QStringLiteral("Contenido"));
  if (!book_->index().empty()) tabs_->addTab(BuildIndexPage(), QStringLiteral("\u00cdndice"));

  auto* splitter = new QSplitter;
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 640});
  setCentralWidget(splitter);

  QToolBar* toolbar = addToolBar(QStringLiteral("Navegaci\u00f3n"));
  toolbar->setMovable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction* back =
      toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Atr\u00e1s"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  QAction* forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                        QStringLiteral("Adelante"));
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  QAction* home =
      toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Inicio"));
  connect(home, &QAction::triggered, this, [this] { ShowHome(); });

  connect(browser_, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { SyncContents(url); });
  resize(920, 660);
}

void HelpWindow::AddContents(QTreeWidgetItem* parent, const std::vector<SitemapEntry>& entries) {
  for (const SitemapEntry& entry : entries) {
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, QString::fromStdString(entry.name.empty() ? entry.local : entry.name));
    item->setData(0, kLocalRole, QString::fromStdString(entry.local));
    item->setIcon(0, style()->standardIcon(entry.children.empty() ? QStyle::SP_FileIcon
                                                                  : QStyle::SP_DirIcon));
    if (const std::optional<TopicLink> link = ResolveLink("/", entry.local)) {
      // The first entry of a page stands for it.
      items_by_key_.emplace(PathKey(*link), item);
      items_by_key_.emplace(AnchorKey(*link), item);
    }
    AddContents(item, entry.children);
  }
}

void HelpWindow::AddIndex(const std::vector<SitemapEntry>& entries, int depth) {
  for (const SitemapEntry& entry : entries) {
    // A keyword without a page of its own leads to its first sub-keyword's.
    const SitemapEntry* topic = entry.local.empty() ? FirstTopic(entry.children) : &entry;
    auto* item = new QListWidgetItem(QString(depth * 4, QLatin1Char(' ')) +
                                     QString::fromStdString(entry.name));
    item->setData(kNameRole, QString::fromStdString(entry.name));
    item->setData(kLocalRole, topic ? QString::fromStdString(topic->local) : QString());
    index_->addItem(item);
    AddIndex(entry.children, depth + 1);
  }
}

QWidget* HelpWindow::BuildIndexPage() {
  index_page_ = new QWidget;
  auto* layout = new QVBoxLayout(index_page_);
  index_search_ = new QLineEdit;
  auto* label = new QLabel(QStringLiteral("Escriba la palabra clave:"));
  label->setBuddy(index_search_);
  index_ = new QListWidget;
  AddIndex(book_->index(), 0);
  auto* show = new QPushButton(QStringLiteral("Mostrar"));
  layout->addWidget(label);
  layout->addWidget(index_search_);
  layout->addWidget(index_, 1);
  layout->addWidget(show, 0, Qt::AlignRight);

  auto show_current = [this] {
    if (QListWidgetItem* item = index_->currentItem()) ShowLocal(item->data(kLocalRole).toString());
  };
  connect(index_search_, &QLineEdit::textEdited, this,
          [this](const QString& typed) { SelectIndexEntry(typed); });
  connect(index_search_, &QLineEdit::returnPressed, this, show_current);
  connect(show, &QPushButton::clicked, this, show_current);
  connect(index_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowLocal(item->data(kLocalRole).toString()); });
  return index_page_;
}

void HelpWindow::SelectIndexEntry(const QString& typed) {
  const QString keyword = typed.trimmed();
  if (keyword.isEmpty()) return;
  for (int row = 0; row < index_->count(); ++row) {
    QListWidgetItem* item = index_->item(row);
    if (item->data(kNameRole).toString().startsWith(keyword, Qt::CaseInsensitive)) {
      index_->setCurrentItem(item);
      index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
      return;
    }
  }
}

void HelpWindow::ShowLocal(const QString& local) {
  if (local.isEmpty()) return;
  if (const std::optional<TopicLink> link = ResolveLink("/", local.toStdString())) ShowTopic(*link);
}

void HelpWindow::ShowTopic(const TopicLink& topic) {
  if (!topic.path.empty()) browser_->ShowTopic(topic);
}

void HelpWindow::ShowHome() { ShowTopic(book_->default_topic()); }

void HelpWindow::ShowContentsTab() { tabs_->setCurrentWidget(contents_); }

void HelpWindow::ShowIndexTab(const QString& keyword) {
  if (!index_page_) {
    ShowContentsTab();
    return;
  }
  tabs_->setCurrentWidget(index_page_);
  index_search_->setText(keyword);
  SelectIndexEntry(keyword);
}

void HelpWindow::BringToFront() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void HelpWindow::SyncContents(const QUrl& shown) {
  const std::optional<TopicLink> link =
      ResolveLink("/", shown.toString(QUrl::FullyEncoded).toStdString());
  if (!link) return;
  // The selected entry, when it is the page shown (the one just clicked,
  // say), stays selected even if another entry has the same page.
  const std::optional<TopicLink> selected = LinkOf(contents_->currentItem());
  if (selected && AnchorKey(*selected) == AnchorKey(*link)) return;
  auto found = items_by_key_.find(AnchorKey(*link));
  if (found == items_by_key_.end()) found = items_by_key_.find(PathKey(*link));
  if (found == items_by_key_.end()) return;
  contents_->setCurrentItem(found->second);
  contents_->scrollToItem(found->second);
}

}  // namespace tv::help
