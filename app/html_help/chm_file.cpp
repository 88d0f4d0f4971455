#include "chm_file.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

namespace tv::help {
namespace {

// A damaged directory can claim any length; no object of a help file comes
// near this, and refusing it keeps a bad file from exhausting memory.
constexpr LONGUINT64 kMaxObjectSize = 256ull * 1024 * 1024;

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t LittleEndian16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The text at `at` up to the next NUL (or the end).
std::string CString(const std::string& bytes, std::size_t at) {
  if (at >= bytes.size()) return {};
  const std::size_t end = bytes.find('\0', at);
  return bytes.substr(at, (end == std::string::npos ? bytes.size() : end) - at);
}

std::uint64_t LittleEndian64(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint64_t>(LittleEndian32(bytes, at)) |
         static_cast<std::uint64_t>(LittleEndian32(bytes, at + 4)) << 32;
}

// Where section 0, the objects' data, starts in the file, by the ITSF
// header; nothing when the header is not one.
std::optional<std::uint64_t> ContentOffset(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string header(0x60, '\0');
  in.read(header.data(), static_cast<std::streamsize>(header.size()));
  if (in.gcount() < 0x58 || header.compare(0, 4, "ITSF") != 0) return std::nullopt;
  const std::uint32_t version = LittleEndian32(header, 4);
  const std::uint32_t length = LittleEndian32(header, 8);
  if (version >= 3 && length >= 0x60 && in.gcount() >= 0x60) return LittleEndian64(header, 0x58);
  // Older headers: section 0 follows the directory (header section 1).
  return LittleEndian64(header, 0x48) + LittleEndian64(header, 0x50);
}

}  // namespace

void ChmFile::Closer::operator()(chmFile* file) const { chm_close(file); }

std::optional<ChmFile> ChmFile::Open(const std::filesystem::path& file) {
  // chm_open does not tell folders from files: reading one just fails, but
  // only after it has been handed to the parser.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  const std::optional<std::uint64_t> content = ContentOffset(file);
  if (ec || !content || *content > size) return std::nullopt;
  chmFile* handle = chm_open(file.c_str());
  if (!handle) return std::nullopt;
  ChmFile chm(handle, *content, size);
  // chmlib reads a truncated file without noticing and hands out whatever
  // its buffers held for the missing part; so the compressed stream, where
  // the pages are, must lie whole inside the file.
  chmUnitInfo stream{};
  if (chm_resolve_object(handle, "::DataSpace/Storage/MSCompressed/Content", &stream) ==
          CHM_RESOLVE_SUCCESS &&
      !chm.Inside(stream)) {
    return std::nullopt;
  }
  return chm;
}

bool ChmFile::Inside(const chmUnitInfo& info) const {
  return info.space != CHM_UNCOMPRESSED ||
         (info.start <= file_size_ && info.length <= file_size_ &&
          content_offset_ + info.start + info.length <= file_size_);
}

bool ChmFile::Contains(std::string_view path) const {
  if (path.empty() || path.back() == '/') return false;
  chmUnitInfo info{};
  const std::string name(path);
  return chm_resolve_object(file_.get(), name.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
  if (path.empty() || path.back() == '/') return std::nullopt;
  chmUnitInfo info{};
  const std::string name(path);
  if (chm_resolve_object(file_.get(), name.c_str(), &info) != CHM_RESOLVE_SUCCESS) {
    return std::nullopt;
  }
  if (info.length > kMaxObjectSize || !Inside(info)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.length), '\0');
  LONGUINT64 done = 0;
  while (done < info.length) {
    const LONGINT64 got = chm_retrieve_object(file_.get(), &info,
                                              reinterpret_cast<unsigned char*>(bytes.data()) + done,
                                              done, static_cast<LONGINT64>(info.length - done));
    // A truncated or damaged file reads short: refuse rather than show half.
    if (got <= 0) return std::nullopt;
    done += static_cast<LONGUINT64>(got);
  }
  return bytes;
}

std::vector<std::string> ChmFile::ObjectPaths() const {
  std::vector<std::string> paths;
  auto collect = +[](chmFile*, chmUnitInfo* info, void* context) -> int {
    // An exception must not unwind through chmlib's C frames.
    try {
      const std::size_t length = ::strnlen(info->path, CHM_MAX_PATHLEN);
      const std::string_view path(info->path, length);
      if (!path.empty() && path.back() != '/')
        static_cast<std::vector<std::string>*>(context)->emplace_back(path);
      return CHM_ENUMERATOR_CONTINUE;
    } catch (...) {
      return CHM_ENUMERATOR_FAILURE;
    }
  };
  chm_enumerate(file_.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &paths);
  return paths;
}

std::optional<std::string> ChmFile::SystemText(int code) const {
  const std::optional<std::string> system = Read("/#SYSTEM");
  if (!system) return std::nullopt;
  // A version DWORD, then records: WORD code, WORD length, `length` bytes.
  std::size_t at = 4;
  while (at + 4 <= system->size()) {
    const int record_code = LittleEndian16(*system, at);
    const std::size_t length = LittleEndian16(*system, at + 2);
    at += 4;
    if (at + length > system->size()) break;
    if (record_code == code) {
      std::string text = CString(system->substr(at, length), 0);
      if (text.empty()) return std::nullopt;
      return text;
    }
    at += length;
  }
  return std::nullopt;
}

std::optional<std::string> ChmFile::ContextAlias(std::uint32_t context) const {
  const std::optional<std::string> ivb = Read("/#IVB");
  if (!ivb || ivb->size() < 4) return std::nullopt;
  // A DWORD with the byte count of what follows, then pairs of DWORDs:
  // context number, offset of the topic's name in /#STRINGS.
  const std::size_t size = std::min<std::size_t>(LittleEndian32(*ivb, 0), ivb->size() - 4);
  for (std::size_t at = 4; at + 8 <= 4 + size; at += 8) {
    if (LittleEndian32(*ivb, at) != context) continue;
    const std::optional<std::string> strings = Read("/#STRINGS");
    if (!strings) return std::nullopt;
    std::string alias = CString(*strings, LittleEndian32(*ivb, at + 4));
    if (alias.empty()) return std::nullopt;
    return alias;
  }
  return std::nullopt;
}

}  // namespace tv::help
