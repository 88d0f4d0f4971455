#include "help_browser.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QString>

#include "text_decoding.h"

namespace tv::help {
namespace {

std::string ToStd(const QUrl& url) { return url.toString(QUrl::FullyEncoded).toStdString(); }

QString NotFoundPage(const std::string& path) {
  return QStringLiteral(
             "<html><body><h2>P\u00e1gina no encontrada</h2>"
             "<p>El archivo de ayuda no contiene la p\u00e1gina %1.</p></body></html>")
      .arg(QString::fromStdString(path).toHtmlEscaped());
}

// Qt's HTML reader takes a <link rel="stylesheet"> only with
// type="text/css", which hand-written pages often leave out.
QString WithStyleSheetTypes(QString html) {
  static const QRegularExpression kLink(QStringLiteral("<link\\b[^>]*>"),
                                        QRegularExpression::CaseInsensitiveOption);
  QList<qsizetype> missing;
  for (auto it = kLink.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    const QString tag = match.captured();
    if (tag.contains(QStringLiteral("stylesheet"), Qt::CaseInsensitive) &&
        !tag.contains(QStringLiteral("type"), Qt::CaseInsensitive)) {
      missing.prepend(match.capturedStart() + 5);
    }
  }
  // From the end, so that earlier positions stay right.
  for (const qsizetype at : missing) html.insert(at, QStringLiteral(" type=\"text/css\""));
  return html;
}

}  // namespace

HelpBrowser::HelpBrowser(std::shared_ptr<const HelpBook> book, QWidget* parent)
    : QTextBrowser(parent), book_(std::move(book)) {
  // Links are followed here, not by QTextBrowser, which would hand every
  // address it does not know (ours among them) to the desktop.
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { setSource(url); });
  // Going back and forward in the history bypasses doSetSource.
  connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    if (const std::optional<TopicLink> link = ResolveLink("/", ToStd(url)))
      current_path_ = link->path;
  });
}

QUrl HelpBrowser::UrlOf(const TopicLink& topic) {
  QUrl url;
  url.setScheme(QStringLiteral("chm"));
  url.setPath(QString::fromStdString(topic.path), QUrl::DecodedMode);
  if (!topic.fragment.empty())
    url.setFragment(QString::fromStdString(topic.fragment), QUrl::DecodedMode);
  return url;
}

void HelpBrowser::ShowTopic(const TopicLink& topic) { setSource(UrlOf(topic)); }

std::string HelpBrowser::CurrentPath() const { return current_path_; }

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
  // Runs inside Qt's event handling, where an exception must not go.
  try {
    const std::optional<TopicLink> link = ResolveLink(CurrentPath(), ToStd(name));
    if (link) {
      // Set first: the page's resources load while QTextBrowser still
      // reports the previous page as its source.
      current_path_ = link->path;
      QTextBrowser::doSetSource(UrlOf(*link), type);
    } else if (!name.scheme().isEmpty()) {
      QDesktopServices::openUrl(name);
    }
  } catch (...) {
  }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  try {
    const std::optional<TopicLink> link = ResolveLink(CurrentPath(), ToStd(name));
    if (!link) return {};
    const std::optional<std::string> bytes = book_->file().Read(link->path);
    if (type == QTextDocument::HtmlResource) {
      if (!bytes) return NotFoundPage(link->path);
      return WithStyleSheetTypes(QString::fromStdString(DecodeHtml(*bytes)));
    }
    if (!bytes) return {};
    if (type == QTextDocument::StyleSheetResource)
      return QString::fromStdString(DecodeGuessing(*bytes));
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
  } catch (...) {
    return {};
  }
}

}  // namespace tv::help
