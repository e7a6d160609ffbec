// Per-receiver queues: a receiver that blocks holds up only itself.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/DeliveryQueues.h"

using kelwelld::DeliveryQueues;

namespace {

// Receivers 0 and 1 block until released; every receiver records what it got.
class Receivers {
public:
  bool take(int receiver, int item) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (receiver < 2) m_changed.wait(lock, [&] { return m_released; });
    m_got[receiver].push_back(item);
    m_changed.notify_all();
    return item >= 0;   // a negative item asks to be dropped
  }
  void release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }
  // What receiver got once it has count items, or after a second.
  std::vector<int> got(int receiver, std::size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(1), [&] { return m_got[receiver].size() >= count; });
    return m_got[receiver];
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_released = false;
  std::map<int, std::vector<int>> m_got;
};

} // namespace

TEST(DeliveryQueues, BlockedReceiversHoldUpOnlyThemselvesAndOverflowIsRefused) {
  Receivers receivers;
  DeliveryQueues<int, int> queues(3, 4, [&](const int& r, const int& item) { return receivers.take(r, item); });
  queues.start();
  // Two blocked receivers take two of the three workers.
  for (int r : {0, 1}) EXPECT_TRUE(queues.post(r, 1));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while ((queues.queued(0) || queues.queued(1)) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));   // both now blocked in delivery
  for (int item = 2; item <= 5; ++item)
    for (int r : {0, 1}) EXPECT_TRUE(queues.post(r, item));
  // The others still get everything, in order, each item within a second.
  for (int item = 1; item <= 20; ++item)
    for (int r : {2, 3}) {
      EXPECT_TRUE(queues.post(r, item));
      EXPECT_EQ(receivers.got(r, static_cast<std::size_t>(item)).size(), static_cast<std::size_t>(item));
    }
  const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
  EXPECT_EQ(receivers.got(2, 20), all);
  EXPECT_EQ(receivers.got(3, 20), all);
  // A blocked receiver holds one item and four queued: the next is refused
  // and the receiver forgotten.
  EXPECT_EQ(queues.queued(0), 4u);
  EXPECT_FALSE(queues.post(0, 6));
  EXPECT_EQ(queues.queued(0), 0u);
  receivers.release();
  EXPECT_EQ(receivers.got(0, 1), std::vector<int>{1});
  EXPECT_EQ(receivers.got(1, 5), (std::vector<int>{1, 2, 3, 4, 5}));
  queues.stop();
}

TEST(DeliveryQueues, AReceiverThatAsksToBeDroppedGetsNothingMore) {
  Receivers receivers;
  receivers.release();
  DeliveryQueues<int, int> queues(2, 100, [&](const int& r, const int& item) { return receivers.take(r, item); });
  // Queued before the workers start, so that 4 and 5 are waiting when -3
  // drops the receiver (posted later, they would make it anew).
  for (int item : {1, 2, -3, 4, 5}) queues.post(7, item);
  queues.start();
  EXPECT_EQ(receivers.got(7, 5), (std::vector<int>{1, 2, -3}));
  queues.remove(7);
  queues.stop();
}
