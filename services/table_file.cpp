#include "table_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <future>
#include <system_error>

#include "error.h"

namespace tv {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, Linux 5.14
constexpr std::uint64_t kPage = 4096;
constexpr std::uint64_t kWindow = 4 << 20;  // the mapped end of a file being appended to

// Maps the window of a file at `start` with its pages faulted in, with one
// call rather than one fault per page (older kernels lack the advice and
// fault them in one by one). Null when the system cannot map it.
unsigned char* MapWindow(int fd, std::uint64_t start) {
  void* p =
      ::mmap(nullptr, kWindow, PROT_READ | PROT_WRITE, MAP_SHARED, fd, static_cast<off_t>(start));
  if (p == MAP_FAILED) return nullptr;
  ::madvise(p, kWindow, kPopulateWrite);
  return static_cast<unsigned char*>(p);
}

// Reserves the room of the window at `start`, then maps it; null when either
// cannot be had.
unsigned char* ReserveAndMapWindow(int fd, std::uint64_t start) {
  if (::posix_fallocate(fd, 0, static_cast<off_t>(start + kWindow)) != 0) return nullptr;
  return MapWindow(fd, start);
}

struct flock WholeFile(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // to the end, however far the file grows
  return lock;
}

}  // namespace

std::string TableInUseMessage(const std::filesystem::path& file) {
  return Format("La tabla '%s' está en uso por otro programa; ciérrelo y vuelva a intentarlo",
                {file.string()});
}

TableFile::TableFile(std::filesystem::path file, bool exclusive) : file_(std::move(file)) {
  fd_ = ::open(file_.c_str(), O_RDWR | O_CLOEXEC);
  writable_ = fd_ >= 0;
  if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd_ = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd_ < 0) {
    if (errno == ENOENT) throw Error(Format("No existe la tabla '%s'", {file_.string()}));
    throw Error(
        Format("No se puede abrir la tabla '%s': %s", {file_.string(), SystemErrorText(errno)}));
  }
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && !S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw Error(
        Format("No se puede abrir la tabla '%s': %s", {file_.string(), "No es un archivo"}));
  }
  // Without write access a write lock cannot be taken; a read lock still
  // keeps out every exclusive open.
  struct flock lock = WholeFile(exclusive && writable_ ? F_WRLCK : F_RDLCK);
  if (::fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
    const int error = errno;
    ::close(fd_);
    if (error == EAGAIN || error == EACCES) throw Error(TableInUseMessage(file_));
    throw Error(
        Format("No se puede abrir la tabla '%s': %s", {file_.string(), SystemErrorText(error)}));
  }
}

TableFile::~TableFile() {
  FinishAppending();
  ::close(fd_);  // also releases the lock
}

std::uint64_t TableFile::Size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    throw Error(
        Format("No se puede leer la tabla '%s': %s", {file_.string(), SystemErrorText(errno)}));
  }
  return static_cast<std::uint64_t>(info.st_size);
}

std::size_t TableFile::ReadAt(void* buffer, std::size_t n, std::uint64_t offset) const {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(fd_, static_cast<char*>(buffer) + done, n - done,
                              static_cast<off_t>(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0)
      throw Error(
          Format("No se puede leer la tabla '%s': %s", {file_.string(), SystemErrorText(errno)}));
    if (r == 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

int TableFile::WriteAt(const void* buffer, std::size_t n, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pwrite(fd_, static_cast<const char*>(buffer) + done, n - done,
                               static_cast<off_t>(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return errno;
    if (r == 0) return ENOSPC;
    done += static_cast<std::size_t>(r);
  }
  return 0;
}

unsigned char* TableFile::HeaderArea() {
  if (!header_ && mappable_) {
    void* p = ::mmap(nullptr, kPage, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) {
      mappable_ = false;
      return nullptr;
    }
    header_ = static_cast<unsigned char*>(p);
  }
  return header_;
}

unsigned char* TableFile::AppendArea(std::uint64_t offset, std::size_t n, std::uint64_t size) {
  if (!mappable_) return nullptr;
  // Until the row is in, the file ends after the end-of-file marker at offset.
  size_ = offset + 1;
  if (!window_ || offset < windowStart_ || offset + n > windowStart_ + kWindow) {
    if (window_) ::munmap(window_, kWindow);
    window_ = nullptr;
    if (!TakeNextWindow(offset, n) && !MakeWindow(offset, n)) return nullptr;
  }
  // The next window once this one is a quarter full: a small table never
  // needs it.
  const std::uint64_t nextStart = windowStart_ + kWindow - kPage;
  if (nextStart_ != nextStart && offset >= windowStart_ + kWindow / 4) PrepareNextWindow(nextStart);
  size_ = size;
  return window_ + (offset - windowStart_);
}

bool TableFile::MakeWindow(std::uint64_t offset, std::size_t n) {
  windowStart_ = offset / kPage * kPage;
  if (n + kPage > kWindow) {
    mappable_ = false;  // a row longer than the window: not with this engine's tables
    return false;
  }
  if (windowStart_ + kWindow > reserved_) {
    if (::posix_fallocate(fd_, 0, static_cast<off_t>(windowStart_ + kWindow)) != 0) {
      // No room for the reserve (a full disk, a file-size limit): give it
      // back and write row by row, so that every row that fits is written
      // and the one that does not gets the system's reason.
      if (::ftruncate(fd_, static_cast<off_t>(size_)) != 0) {
        // The file keeps some spare room at its end, which readers pass over.
      }
      if (header_) ::munmap(header_, kPage);
      header_ = nullptr;
      reserved_ = 0;
      mappable_ = false;
      return false;
    }
    reserved_ = windowStart_ + kWindow;
  }
  window_ = MapWindow(fd_, windowStart_);
  if (!window_) {
    FinishAppending();
    mappable_ = false;
    return false;
  }
  return true;
}

void TableFile::PrepareNextWindow(std::uint64_t start) {
  nextStart_ = start;
  try {
    next_ = std::async(std::launch::async, ReserveAndMapWindow, fd_, start);
  } catch (const std::system_error&) {
    // No thread to spare: the next window is made when it is needed.
  }
}

bool TableFile::TakeNextWindow(std::uint64_t offset, std::size_t n) {
  if (!next_.valid()) return false;
  unsigned char* next = next_.get();
  if (!next) return false;  // made again here, which reports the failure
  if (offset < nextStart_ || offset + n > nextStart_ + kWindow) {
    ::munmap(next, kWindow);
    return false;
  }
  window_ = next;
  windowStart_ = nextStart_;
  reserved_ = std::max(reserved_, nextStart_ + kWindow);
  return true;
}

void TableFile::FinishAppending() {
  // The window being prepared first, so that the file is not grown after
  // it is cut.
  if (next_.valid()) {
    if (unsigned char* next = next_.get()) ::munmap(next, kWindow);
  }
  if (header_) ::munmap(header_, kPage);
  if (window_) ::munmap(window_, kWindow);
  header_ = window_ = nullptr;
  if (reserved_ > 0 && ::ftruncate(fd_, static_cast<off_t>(size_)) != 0) {
    // The file keeps some spare room at its end, which readers pass over.
  }
  reserved_ = 0;
  nextStart_ = 0;
}

void TableFile::Truncate(std::uint64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    throw Error(Format("No se puede escribir en la tabla '%s': %s",
                       {file_.string(), SystemErrorText(errno)}));
  }
}

bool IsTableFileInUse(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock lock = WholeFile(F_WRLCK);
  const bool inUse = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return inUse;
}

std::filesystem::path FindFile(const std::filesystem::path& dir, std::string_view name) {
  std::filesystem::path exact = dir / std::string(name);
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  const auto variants = FindCaseVariants(dir, name);
  return variants.empty() ? exact : variants.front();
}

std::vector<std::filesystem::path> FindCaseVariants(const std::filesystem::path& dir,
                                                    std::string_view name) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (SameIgnoringCase(it->path().filename().string(), name)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace tv
