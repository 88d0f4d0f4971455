// One compiled HTML Help file (.chm) opened with chmlib: its objects by path,
// the records of its /#SYSTEM object and its context numbers. Damaged or
// truncated files give "nothing" answers, never a crash or an exception from
// chmlib's side.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;
struct chmUnitInfo;

namespace tv::help {

// /#SYSTEM record codes this viewer reads.
enum SystemCode : int {
  kContentsFile = 0,  // the .hhc sitemap
  kIndexFile = 1,     // the .hhk sitemap
  kDefaultTopic = 2,
  kTitle = 3,
  kCompiledFile = 6,  // the project's base name; some tools put the index here
};

class ChmFile {
 public:
  // Opens `file`; nothing when it is missing, not a CHM archive, or cut
  // short (a truncated copy).
  static std::optional<ChmFile> Open(const std::filesystem::path& file);

  // The object at `path` (absolute inside the archive: "/tablas.htm"; letter
  // case does not matter, as on Windows), whole. Nothing when there is no
  // such object or it cannot be read in full.
  std::optional<std::string> Read(std::string_view path) const;
  // Whether `path` names an object that is a file (not a folder).
  bool Contains(std::string_view path) const;
  // The paths of the ordinary objects (pages, images, sitemaps; not the
  // internal "/#..." and "/$..." ones), in archive order.
  std::vector<std::string> ObjectPaths() const;

  // The text of /#SYSTEM record `code` up to its first NUL, as stored (in the
  // compiler's code page); nothing when the record is absent or empty.
  std::optional<std::string> SystemText(int code) const;

  // The topic that /#IVB and /#STRINGS give context number `context`: the
  // [ALIAS] target as the compiler stored it, a name relative to the project
  // ("tablas.htm") or, with chmcmd 3.2.2, the absolute path it had on the
  // build machine. Nothing when the number is not there.
  std::optional<std::string> ContextAlias(std::uint32_t context) const;

 private:
  struct Closer {
    void operator()(chmFile* file) const;
  };
  ChmFile(chmFile* file, std::uint64_t content_offset, std::uint64_t file_size)
      : file_(file), content_offset_(content_offset), file_size_(file_size) {}
  // Whether an object stored uncompressed lies inside the file.
  bool Inside(const chmUnitInfo& info) const;

  std::unique_ptr<chmFile, Closer> file_;
  std::uint64_t content_offset_;
  std::uint64_t file_size_;
};

}  // namespace tv::help
