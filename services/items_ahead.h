// Items made in order on a second thread, ahead of the thread that uses them:
// a pipeline of two stages, for a loop whose every step splits into two
// halves of like cost, such as finding what a row holds and writing the row.
//
// `make(i, item)` is called for i = 0, 1, ..., count - 1, in that order, on
// the worker thread; Next hands the items over in the same order. The worker
// runs at most kBatches batches of kBatch items ahead, and each side tells
// the other once per batch, so the handing over costs little per item.
//
// An error raised by `make` ends the worker. The Next that would have handed
// over that item raises it instead, so the user meets every item before it,
// then the error, as if the items were made on its own thread. Destroying the
// object, on any path, stops the worker and waits for it.
//
// `make` must touch nothing that the using thread touches before the object is
// destroyed. Should no thread be available, the items are made by Next.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace tv {

template <typename Item>
class ItemsAhead {
 public:
  using Make = std::function<void(std::size_t index, Item& item)>;

  ItemsAhead(std::size_t count, Make make)
      : count_(count), make_(std::move(make)), ring_(kBatch * kBatches) {
    if (count_ == 0) return;
    try {
      worker_ = std::thread(&ItemsAhead::Work, this);
    } catch (const std::system_error&) {
      // No thread to spare: Next makes each item itself.
    }
  }
  ~ItemsAhead() {
    if (!worker_.joinable()) return;
    stop_.store(true);
    used_.store(count_ + ring_.size());
    used_.notify_one();
    worker_.join();
  }
  ItemsAhead(const ItemsAhead&) = delete;
  ItemsAhead& operator=(const ItemsAhead&) = delete;

  // The next item, valid until the following Next.
  Item& Next() {
    if (next_ >= count_) throw std::logic_error("ItemsAhead::Next past the last item");
    Item& item = ring_[next_ % ring_.size()];
    if (!worker_.joinable()) {
      make_(next_++, item);
      return item;
    }
    // The items of the batches before are no longer in use.
    if (next_ % kBatch == 0) {
      used_.store(next_, std::memory_order_release);
      used_.notify_one();
    }
    for (std::size_t made = made_.load(std::memory_order_acquire); made <= next_;
         made = made_.load(std::memory_order_acquire)) {
      made_.wait(made, std::memory_order_acquire);
    }
    if (next_ == errorAt_.load(std::memory_order_relaxed)) std::rethrow_exception(error_);
    ++next_;
    return item;
  }

 private:
  static constexpr std::size_t kBatch = 1024, kBatches = 8;

  void Work() {
    for (std::size_t i = 0; i < count_;) {
      const std::size_t end = std::min(count_, i + kBatch);
      // Wait until the user is done with the items this batch replaces.
      for (std::size_t used = used_.load(std::memory_order_acquire); end > used + ring_.size();
           used = used_.load(std::memory_order_acquire)) {
        used_.wait(used, std::memory_order_acquire);
      }
      if (stop_.load()) return;
      for (; i < end; ++i) {
        try {
          make_(i, ring_[i % ring_.size()]);
        } catch (...) {
          error_ = std::current_exception();
          errorAt_.store(i, std::memory_order_relaxed);
          Publish(i + 1);
          return;
        }
      }
      Publish(end);
    }
  }
  void Publish(std::size_t made) {
    made_.store(made, std::memory_order_release);
    made_.notify_one();
  }

  // Each side's own state stands on its own cache lines, so that neither
  // side's writes slow the other's reads.
  static constexpr std::size_t kLine = 64;
  const std::size_t count_;
  const Make make_;
  std::vector<Item> ring_;
  alignas(kLine) std::size_t next_ = 0;              // of the user
  alignas(kLine) std::atomic<std::size_t> made_{0};  // items made, published per batch
  std::atomic<std::size_t> errorAt_{static_cast<std::size_t>(-1)};
  std::exception_ptr error_;                         // published with made_
  alignas(kLine) std::atomic<std::size_t> used_{0};  // items the user is done with, per batch
  std::atomic<bool> stop_{false};
  alignas(kLine) std::thread worker_;  // last: started once the rest exists
};

}  // namespace tv
