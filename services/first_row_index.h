// The first row that holds each value of one field: the index behind a
// table's Locate. Open addressing over one array of slots and one string of
// keys, so a lookup costs one hash and, mostly, one cache line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class FirstRowIndex {
 public:
  // Records the row for the value unless an earlier row holds it already.
  void Add(std::string_view value, std::uint32_t row);
  // The first row holding the value, or nothing.
  std::optional<std::uint32_t> Find(std::string_view value) const;
  // Starts fetching the memory that Find(value) reads.
  void Prefetch(std::string_view value) const;

 private:
  // Values up to 16 characters, codes and ids, stand in the slot itself;
  // longer ones in keys_.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t row = kEmpty;
    std::uint32_t length = 0;
    std::uint32_t offset = 0;  // of a long value in keys_
    char inlineValue[16] = {};
  };
  static constexpr std::size_t kInline = sizeof(Slot::inlineValue);
  std::string_view Value(const Slot& slot) const {
    return slot.length <= kInline ? std::string_view(slot.inlineValue, slot.length)
                                  : std::string_view(keys_).substr(slot.offset, slot.length);
  }
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  const Slot* Probe(std::string_view value, std::uint32_t hash) const;
  void Grow();

  std::vector<Slot> slots_;
  std::string keys_;
  std::size_t used_ = 0;
};

}  // namespace tv
