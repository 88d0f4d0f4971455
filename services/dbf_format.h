// The dBase table file, as this engine reads and writes it.
//
// All multi-byte integers are little-endian unless a field type says
// otherwise; every offset and length read from a file is checked before use.
//
// Header, dBase III, IV, 5 and FoxPro (32-byte field descriptors):
//   OFFSET SIZE DESCRIPTION
//      0     1  version: 0x03 dBase III-5 without memo, 0x83/0x8B with memo,
//               0x30-0x32 Visual FoxPro, 0xF5/0xFB FoxPro with memo
//      1     3  date of the last change: year - 1900, month, day
//      4     4  number of rows (deleted ones included)
//      8     2  header length: up to and including the terminator 0x0D
//               (FoxPro adds a 263-byte block after it)
//     10     2  row length, including the one-byte deleted flag
//     28     1  production index flag (0x01 when a NAME.MDX belongs to it)
//     29     1  language driver: the code page of the texts (kLanguageDrivers)
//     32    32  field descriptor, once per field, then 0x0D
//
// Header, dBase 7 (version & 7 == 4): bytes 0-31 as above, then
//     32    32  language driver name, such as "DBWINUS0"
//     68    48  field descriptor, once per field, then 0x0D
//
// Field descriptor:                 32-byte form    48-byte form (dBase 7)
//   name, ASCII, NUL-padded          0, 11 bytes     0, 32 bytes
//   type letter                     11               32
//   length                          16               33
//   decimal count                   17               34
// FoxPro keeps the high byte of a long character field's length in the
// decimal count.
//
// Rows start at the header length, one after the other, each a flag byte
// (' ' valid, '*' deleted) and the fields packed without separators. After
// the last row comes the end-of-file marker 0x1A; files without it are read
// too.
//
// Field storage:
//   C  text, blank-padded on the right       N, F  ASCII number, right-aligned,
//   L  'T','t','Y','y' / 'F','f','N','n',          blank = no value
//      other = no value                      D  "YYYYMMDD"
//   I, +  4-byte integer: Visual FoxPro little-endian; dBase 7 big-endian
//         with the sign bit flipped, all zero = no value
//   O  8-byte double, dBase 7: big-endian, sign bit flipped when positive,
//      all bits flipped when negative, all zero = no value
//   B  Visual FoxPro: 8-byte little-endian double; elsewhere a memo
//   Y  Visual FoxPro currency: 8-byte integer in ten-thousandths
//   T  Visual FoxPro date and time: 4-byte day number (Julian) and 4-byte
//      milliseconds of the day
//   @  dBase 7 date and time: 8-byte double like O, milliseconds since
//      1 January of year 1, counting that day as day 1
//   M, G, P  memo: a block number in a memo file, which this engine does not
//      read
//
// Tables created here are dBase III with Windows-1252 (language driver
// 0x58) and fields C(n), L, N(11,0) for whole numbers and N(20,4) for
// floating-point numbers; every dBase reader takes them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tv::dbf {

inline std::uint16_t Get16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint32_t Get32BigEndian(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[3]) | static_cast<std::uint32_t>(p[2]) << 8 |
         static_cast<std::uint32_t>(p[1]) << 16 | static_cast<std::uint32_t>(p[0]) << 24;
}
inline std::uint64_t Get64(const unsigned char* p) {
  return Get32(p) | std::uint64_t{Get32(p + 4)} << 32;
}
inline std::uint64_t Get64BigEndian(const unsigned char* p) {
  return Get32BigEndian(p + 4) | std::uint64_t{Get32BigEndian(p)} << 32;
}
inline void Put16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void Put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

constexpr unsigned char kHeaderTerminator = 0x0D;
constexpr unsigned char kEndOfFile = 0x1A;
constexpr unsigned char kValidRow = ' ';
constexpr unsigned char kDeletedRow = '*';
constexpr unsigned char kCreatedVersion = 0x03;
constexpr unsigned char kCreatedLanguageDriver = 0x58;  // Windows-1252, Western European
constexpr int kHeaderPrefix = 32;

// How a field's bytes are decoded.
enum class Storage {
  Text,            // C and unknown types
  Number,          // N, F
  Logical,         // L
  Date,            // D
  IntLittle,       // Visual FoxPro I
  IntDbase7,       // dBase 7 I and +
  DoubleLittle,    // Visual FoxPro B
  DoubleDbase7,    // dBase 7 O
  Currency,        // Visual FoxPro Y
  DateTimeFox,     // Visual FoxPro T
  DateTimeDbase7,  // dBase 7 @
  Memo,            // M, G, P, dBase B
};

struct FieldLayout {
  std::string name;
  char type;
  Storage storage;
  std::uint32_t offset;  // inside the row, after the flag byte
  std::uint32_t length;
  int decimals;
};

struct Layout {
  unsigned char version;
  std::uint32_t rowCount;
  std::uint32_t headerLength;
  std::uint32_t rowLength;
  int codePage;  // of the texts
  std::vector<FieldLayout> fields;
};

// Reads the layout from the first bytes of a file of `fileSize` bytes (at
// least the header length, or all of a shorter file). Throws Error
// "La tabla '<file>' está dañada: <reason>" when the bytes are not a table
// that fits in the file.
Layout ParseHeader(const std::vector<unsigned char>& bytes, std::uint64_t fileSize,
                   const std::string& file);

// How many bytes ParseHeader needs: the header length, from the first 12 bytes.
std::uint32_t HeaderLength(const unsigned char* first12);

}  // namespace tv::dbf
