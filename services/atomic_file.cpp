#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "error.h"

namespace tv {

AtomicFile::AtomicFile(std::filesystem::path target, std::string failure)
    : target_(std::move(target)), failure_(std::move(failure)) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = target_;
    temporary_ += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) Fail(errno);
  }
  if (fd_ < 0) Fail(EEXIST);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
  }
}

int AtomicFile::TryWrite(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

void AtomicFile::Write(std::string_view bytes) {
  if (const int error = TryWrite(bytes)) Fail(error);
}

void AtomicFile::Commit() {
  if (::fsync(fd_) != 0 && errno != EINVAL) Fail(errno);
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary_.c_str());
    Fail(error);
  }
}

void AtomicFile::Fail(int errorNumber) const {
  throw Error(Format(failure_, {target_.string(), SystemErrorText(errorNumber)}));
}

}  // namespace tv
