#include "first_row_index.h"

#include <cstring>
#include <functional>

#include "error.h"

namespace tv {
namespace {

std::uint32_t Hash(std::string_view value) {
  const std::uint64_t h = std::hash<std::string_view>{}(value);
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

}  // namespace

const FirstRowIndex::Slot* FirstRowIndex::Probe(std::string_view value, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.row == kEmpty) return &slot;
    if (slot.hash == hash && Value(slot) == value) return &slot;
  }
}

void FirstRowIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  for (const Slot& slot : old) {
    if (slot.row != kEmpty) *const_cast<Slot*>(Probe(Value(slot), slot.hash)) = slot;
  }
}

void FirstRowIndex::Add(std::string_view value, std::uint32_t row) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const std::uint32_t hash = Hash(value);
  Slot* slot = const_cast<Slot*>(Probe(value, hash));
  if (slot->row != kEmpty) return;
  if (value.size() > 0xFFFFFFFFu || keys_.size() > 0xFFFFFFFFu - value.size())
    throw Error("No hay memoria suficiente");
  slot->hash = hash;
  slot->row = row;
  slot->length = static_cast<std::uint32_t>(value.size());
  if (value.size() <= kInline) {
    std::memcpy(slot->inlineValue, value.data(), value.size());
  } else {
    slot->offset = static_cast<std::uint32_t>(keys_.size());
    keys_ += value;
  }
  ++used_;
}

std::optional<std::uint32_t> FirstRowIndex::Find(std::string_view value) const {
  if (slots_.empty()) return std::nullopt;
  const Slot* slot = Probe(value, Hash(value));
  if (slot->row == kEmpty) return std::nullopt;
  return slot->row;
}

void FirstRowIndex::Prefetch(std::string_view value) const {
  if (!slots_.empty()) __builtin_prefetch(&slots_[Hash(value) & (slots_.size() - 1)]);
}

}  // namespace tv
