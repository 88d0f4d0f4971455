// A file written beside its final name and put in place in one step, so that
// a failure or a killed process never leaves a half-written file under that
// name.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tv {

class AtomicFile {
 public:
  // Creates an empty temporary file in the target's folder. Failures throw
  // Error with `failure`, whose two "%s" become the target and the reason.
  explicit AtomicFile(std::filesystem::path target,
                      std::string failure = "No se puede escribir el archivo '%s': %s");
  // Removes the temporary file unless Commit succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The temporary file's descriptor, for writers that want it.
  int descriptor() const { return fd_; }
  void Write(std::string_view bytes);
  // Write without throwing: 0, or the errno value of the failure.
  int TryWrite(std::string_view bytes);
  // Flushes the file to disk and renames it to the target, replacing any file
  // there. Throws Error as the constructor.
  void Commit();
  // Throws the constructor's Error with the reason of an errno value.
  [[noreturn]] void Fail(int errorNumber) const;

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::string failure_;
  int fd_ = -1;
};

}  // namespace tv
