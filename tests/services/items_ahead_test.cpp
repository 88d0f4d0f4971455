#include "items_ahead.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "error.h"

namespace tv {
namespace {

struct Item {
  std::size_t index = 0;
  std::size_t square = 0;
  std::thread::id madeOn;
};

// Makes item i as (i, i * i, this thread), checking that it is asked for the
// items in order, and fails at `failAt`.
struct Maker {
  std::size_t failAt = static_cast<std::size_t>(-1);
  std::shared_ptr<std::atomic<std::size_t>> calls = std::make_shared<std::atomic<std::size_t>>(0);
  void operator()(std::size_t i, Item& item) const {
    if (calls->fetch_add(1) != i) throw std::logic_error("items made out of order");
    if (i == failAt) throw Error("fallo en el elemento " + std::to_string(i));
    item = {i, i * i, std::this_thread::get_id()};
  }
};

TEST(ItemsAheadTest, ItemsArriveInOrderMadeOnAnotherThread) {
  for (const std::size_t count : std::vector<std::size_t>{0, 1, 20000}) {
    ItemsAhead<Item> items(count, Maker{});
    for (std::size_t i = 0; i < count; ++i) {
      const Item& item = items.Next();
      ASSERT_EQ(item.index, i);
      ASSERT_EQ(item.square, i * i);
      ASSERT_NE(item.madeOn, std::this_thread::get_id());
    }
    EXPECT_THROW(items.Next(), std::logic_error) << "past the last item";
  }
}

TEST(ItemsAheadTest, AnErrorComesAfterEveryItemBeforeIt) {
  // At the start, inside a batch, at a batch's end and start, after the
  // ring has turned.
  for (const std::size_t failAt : std::vector<std::size_t>{0, 5, 1023, 1024, 12000}) {
    Maker maker{failAt};
    ItemsAhead<Item> items(20000, maker);
    for (std::size_t i = 0; i < failAt; ++i) ASSERT_EQ(items.Next().index, i);
    try {
      items.Next();
      ADD_FAILURE() << "no error at " << failAt;
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), ("fallo en el elemento " + std::to_string(failAt)).c_str());
    }
    EXPECT_EQ(maker.calls->load(), failAt + 1) << "nothing is made after the error";
  }
}

TEST(ItemsAheadTest, DestroyingStopsTheWorkerEarly) {
  Maker maker;
  {
    ItemsAhead<Item> items(std::size_t{1} << 40, maker);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(items.Next().index, i);
  }
  const std::size_t made = maker.calls->load();
  EXPECT_LT(made, std::size_t{1} << 20) << "the worker ran on";
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(maker.calls->load(), made) << "the worker was waited for";
}

TEST(ItemsAheadTest, WithoutThreadsNextMakesTheItems) {
  // A child process that may start no thread: as an ordinary user with no
  // processes to spare.
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    const rlimit none{0, 0};
    if (setrlimit(RLIMIT_NPROC, &none) != 0) _exit(11);
    ItemsAhead<Item> items(3000, Maker{});
    for (std::size_t i = 0; i < 3000; ++i) {
      const Item& item = items.Next();
      if (item.index != i || item.square != i * i) _exit(12);
      if (item.madeOn != std::this_thread::get_id()) _exit(13);
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace tv
