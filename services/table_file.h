// The operating-system side of a table file: opening it under a lock,
// positioned reads and writes, and finding files whatever their letter case.
//
// Locks are open-file-description locks on the whole file: a shared open
// takes a read lock, an exclusive open a write lock, so an exclusive open
// keeps out every other table object, in this process or another, and a
// shared open keeps out exclusive ones. They are advisory: they keep out
// programs that lock too, as every open here does and as Wine does for the
// Windows programs it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <future>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TableFile {
 public:
  // Opens and locks an existing file, read-write, or read-only when the file
  // cannot be written. Throws Error naming the file: missing, in use, or the
  // system's reason.
  TableFile(std::filesystem::path file, bool exclusive);
  ~TableFile();
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  const std::filesystem::path& path() const { return file_; }
  bool writable() const { return writable_; }
  std::uint64_t Size() const;
  // Reads up to n bytes at an offset; returns how many were read. Throws
  // Error on a read failure.
  std::size_t ReadAt(void* buffer, std::size_t n, std::uint64_t offset) const;
  // Writes n bytes at an offset; returns 0 or the errno value of the failure.
  int WriteAt(const void* buffer, std::size_t n, std::uint64_t offset);
  // Appending through memory maps: a store into the returned bytes reaches
  // the file at once, without a system call, and survives the process.
  //
  // The `n` bytes at `offset`, where the file is `size` bytes long once they
  // are written. Only a window of the file's end is mapped, so memory does
  // not grow with the file; the file grows in steps ahead of `size`, and is
  // cut back to `size` when the appending ends. While rows go into one
  // window, the next is prepared on another thread. Null when the system
  // cannot map the file or the file cannot grow (then WriteAt serves and
  // gives the reason).
  unsigned char* AppendArea(std::uint64_t offset, std::size_t n, std::uint64_t size);
  // The file's first page, for the header; null as above.
  unsigned char* HeaderArea();
  // Unmaps the file and cuts it to its size without the room reserved for
  // appending. The destructor does it too.
  void FinishAppending();
  void Truncate(std::uint64_t size);

 private:
  std::filesystem::path file_;
  int fd_ = -1;
  bool writable_ = false;
  bool mappable_ = true;
  unsigned char* header_ = nullptr;  // the first page, mapped
  unsigned char* window_ = nullptr;  // a window of the file's end, mapped
  std::uint64_t windowStart_ = 0;
  std::uint64_t reserved_ = 0;  // the file's length with the room reserved for appending
  std::uint64_t size_ = 0;      // its length without it
  // The window after the current one, being mapped on another thread, and
  // where it starts (0 before any).
  std::future<unsigned char*> next_;
  std::uint64_t nextStart_ = 0;

  // Maps the window for the n bytes at offset, or gives up mapping for good.
  bool MakeWindow(std::uint64_t offset, std::size_t n);
  // Starts mapping the window at `start` on another thread. It overlaps the
  // current one by a page, so that it holds the row crossing its end.
  void PrepareNextWindow(std::uint64_t start);
  // Takes the prepared window if it holds the n bytes at offset.
  bool TakeNextWindow(std::uint64_t offset, std::size_t n);
};

// Whether some open elsewhere holds a lock on the file that keeps out a
// write (so the file must not be replaced or deleted).
bool IsTableFileInUse(const std::filesystem::path& file);

// The file named `name` in `dir` whatever its letter case (the first match of
// the directory listing); dir/name when none exists.
std::filesystem::path FindFile(const std::filesystem::path& dir, std::string_view name);
// Every file of `dir` whose name equals `name` whatever the letter case.
std::vector<std::filesystem::path> FindCaseVariants(const std::filesystem::path& dir,
                                                    std::string_view name);

// The Spanish messages of table failures, shared by the engine.
std::string TableInUseMessage(const std::filesystem::path& file);

}  // namespace tv
