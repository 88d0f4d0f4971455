// The application's help system: help requests go to the viewers registered
// with it, never to a help program directly.
//
// A viewer registers and receives its id (counting up from 1 in order of
// registration) and a help manager; a selector chooses where several viewers
// offer the same help. Requests: the table of contents, a help context, a
// keyword, a topic, and quitting help. Viewers are shared: the system's lists
// and its selector slot each hold one, and a viewer goes with its last holder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tv {

// What every viewer offers (the first nine operations of a viewer).
class CustomHelpViewer {
 public:
  virtual ~CustomHelpViewer() = default;
  virtual std::string ViewerName() = 0;
  virtual int KeywordMatchCount(const std::string& keyword) = 0;
  virtual std::vector<std::string> KeywordEntries(const std::string& keyword) = 0;
  virtual bool HasContents() = 0;
  virtual void ShowContents() = 0;
  virtual void ShowKeyword(const std::string& keyword) = 0;
  virtual void SetViewerId(int id) = 0;
  virtual void CloseHelpWindows() = 0;
  virtual void Detach() = 0;
};

// A viewer that also serves topics and help contexts.
class ExtendedHelpViewer : public CustomHelpViewer {
 public:
  virtual bool HasTopic(const std::string& topic) = 0;
  virtual void ShowTopic(const std::string& topic) = 0;
  virtual bool HasContext(int context, const std::string& helpFile) = 0;
  virtual void ShowContext(int context, const std::string& helpFile) = 0;
};

// Chooses among viewers that offer the same help.
class HelpSelector {
 public:
  virtual ~HelpSelector() = default;
  // The index of the keyword entry to show.
  virtual int PickKeywordEntry(const std::vector<std::string>& entries) = 0;
  // The index of the viewer whose contents to show, or -1.
  virtual int PickContentsViewer(const std::vector<std::string>& viewerNames) = 0;
};

// What the help system tells a registered viewer.
class HelpManager {
 public:
  virtual ~HelpManager() = default;
  // The window that owns help windows: none here.
  virtual std::uintptr_t OwnerWindow() = 0;
  // The help file of the request being served.
  virtual std::string HelpFile() = 0;
  // Removes the viewer with this id from every list of the help system.
  virtual void Release(int viewerId) = 0;
};

class HelpSystem : private HelpManager {
 public:
  // Gives the viewer its id and returns the manager it keeps.
  HelpManager* Register(std::shared_ptr<CustomHelpViewer> viewer);
  // Puts a selector in the selector slot, replacing any earlier one.
  void AssignSelector(std::shared_ptr<HelpSelector> selector);
  // Drops the selector and every viewer: the end of the help system.
  void Clear();

  // The table of contents of the help file.
  void ShowTableOfContents(const std::string& helpFile);
  // The page of a help context.
  void ShowHelpContext(int context, const std::string& helpFile);
  // A keyword of the help file's index.
  void ShowKeyword(const std::string& keyword, const std::string& helpFile);
  // A topic of the help file.
  void ShowTopic(const std::string& topic, const std::string& helpFile);
  // Closes the windows of every viewer.
  void Quit();

  // What requests leave here for the managers' help file.
  const std::string& CurrentHelpFile() const { return helpFile_; }

 private:
  struct Entry {
    int id;
    std::shared_ptr<CustomHelpViewer> viewer;
  };
  std::uintptr_t OwnerWindow() override { return 0; }
  std::string HelpFile() override { return helpFile_; }
  void Release(int viewerId) override;

  std::vector<Entry> viewers_;
  std::shared_ptr<HelpSelector> selector_;
  int nextId_ = 1;
  std::string helpFile_;
};

// The application's side of help: its help file (a bare name, found beside
// the program) and its help system.
struct ApplicationHelp {
  std::string helpFile;
  HelpSystem system;
};

}  // namespace tv
