#include "help_command.h"

#include <QApplication>
#include <QPointer>
#include <QThread>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "help_book.h"
#include "help_window.h"
#include "text_decoding.h"

namespace tv::help {
namespace {

// The open help windows by the canonical path of their file. Left alive at
// exit on purpose: by then QApplication may be gone, and these pointers
// have nothing to clean up.
std::map<std::string, QPointer<HelpWindow>>& Windows() {
  static auto* windows = new std::map<std::string, QPointer<HelpWindow>>;
  return *windows;
}

std::string KeyOf(const std::string& file) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, ec);
  return ec ? file : canonical.string();
}

// The window of `file`, made when there is none yet (`created` tells);
// nullptr when the file does not open.
HelpWindow* WindowFor(const std::string& file, bool* created) {
  const std::string key = KeyOf(file);
  if (const auto found = Windows().find(key); found != Windows().end() && found->second) {
    return found->second.data();
  }
  std::shared_ptr<const HelpBook> book = HelpBook::Open(file);
  if (!book) return nullptr;
  auto* window = new HelpWindow(std::move(book));
  Windows()[key] = window;
  *created = true;
  return window;
}

void CloseAll() {
  // Deleted now rather than by deleteLater: the program may unload this
  // library before the event loop would get to them.
  for (auto& entry : Windows()) delete entry.second.data();
  Windows().clear();
}

bool OnApplicationThread() {
  const auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  return application && QThread::currentThread() == application->thread();
}

// The parts of HTML Help's file argument: "PATH[::TOPIC][>WINDOW]".
struct FileArgument {
  std::string path;
  std::optional<std::string> topic;
};

FileArgument Split(std::string text) {
  FileArgument argument;
  // A window type follows a '>' that has no '/' after it.
  if (const std::size_t window = text.rfind('>');
      window != std::string::npos && text.find('/', window) == std::string::npos) {
    text.erase(window);
  }
  if (const std::size_t separator = text.find("::"); separator != std::string::npos) {
    argument.topic = text.substr(separator + 2);
    text.erase(separator);
  }
  argument.path = std::move(text);
  return argument;
}

}  // namespace

QWidget* RunHelpCommand(const char* file, unsigned command, std::uintptr_t data) {
  if (!OnApplicationThread()) return nullptr;
  if (command == kCloseAll) {
    CloseAll();
    return nullptr;
  }
  if (command != kDisplayTopic && command != kDisplayToc && command != kDisplayIndex &&
      command != kHelpContext) {
    return nullptr;
  }
  if (!file || !*file) return nullptr;
  const FileArgument argument = Split(file);
  bool created = false;
  HelpWindow* window = WindowFor(argument.path, &created);
  if (!window) return nullptr;

  const HelpBook& book = window->book();
  std::optional<TopicLink> wanted;
  switch (command) {
    case kDisplayTopic: {
      std::string topic = argument.topic.value_or(std::string());
      if (!argument.topic && data != 0) topic = reinterpret_cast<const char*>(data);
      wanted = book.Topic(topic);
      break;
    }
    case kDisplayToc:
      window->ShowContentsTab();
      // An open window keeps the page it shows.
      if (!created) {
        window->BringToFront();
        return window;
      }
      break;
    case kDisplayIndex: {
      const std::string keyword = data != 0 ? reinterpret_cast<const char*>(data) : "";
      wanted = book.KeywordTopic(keyword);
      window->ShowIndexTab(QString::fromStdString(DecodeGuessing(keyword)));
      break;
    }
    case kHelpContext:
      wanted = book.ContextTopic(static_cast<std::uint32_t>(data));
      break;
  }
  window->ShowTopic(wanted.value_or(book.default_topic()));
  window->BringToFront();
  return window;
}

}  // namespace tv::help
