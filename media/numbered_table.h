// Objects under the game's own numbers. The game's numbers are small and looked up thousands
// of times a frame (a sprite for every cannonball), so each small number has a slot of its
// own; any other number still works, through a sorted map.
#pragma once

#include <map>
#include <optional>
#include <vector>

template <typename T>
class NumberedTable {
 public:
  T* find(int n) { return lookUp(*this, n); }
  const T* find(int n) const { return lookUp(*this, n); }

  void clear() {
    for (std::optional<T>& slot : slots_) slot.reset();
    others_.clear();
  }

  // Puts `value` under n, in place of what was there.
  T& put(int n, T value) {
    if (n >= 0 && n < kSlots) return slots_[n].emplace(std::move(value));
    return others_.insert_or_assign(n, std::move(value)).first->second;
  }

 private:
  static constexpr int kSlots = 256;

  // T* or const T*, as the table is.
  template <typename Table>
  static auto lookUp(Table& table, int n) {
    using Found = decltype(&*table.slots_[0]);
    if (n >= 0 && n < kSlots) return table.slots_[n] ? &*table.slots_[n] : Found{nullptr};
    const auto found = table.others_.find(n);
    return found == table.others_.end() ? Found{nullptr} : &found->second;
  }

  std::vector<std::optional<T>> slots_ = std::vector<std::optional<T>>(kSlots);
  std::map<int, T> others_;
};
