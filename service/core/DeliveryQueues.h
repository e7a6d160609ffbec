// Delivery of items to many receivers, each with its own bounded queue,
// by a few worker threads. A receiver gets its items one at a time and in
// order; one that is slow holds up only itself (and, while it blocks, one
// worker), and one whose queue overflows is dropped.
#ifndef KELWELLD_CORE_DELIVERYQUEUES_H
#define KELWELLD_CORE_DELIVERYQUEUES_H

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelwelld {

template <class Key, class Item>
class DeliveryQueues {
public:
  // Hands one item to a receiver, without any lock held; false drops the
  // receiver (its queue goes with it).
  using Deliver = std::function<bool(const Key&, const Item&)>;

  DeliveryQueues(std::size_t workers, std::size_t perReceiver, Deliver deliver)
      : m_workerCount(workers), m_perReceiver(perReceiver), m_deliver(std::move(deliver)) {}
  ~DeliveryQueues() { stop(); }
  DeliveryQueues(const DeliveryQueues&) = delete;
  DeliveryQueues& operator=(const DeliveryQueues&) = delete;

  void start() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_workers.empty()) return;
    m_stopping = false;
    for (std::size_t i = 0; i < m_workerCount; ++i) m_workers.emplace_back([this] { work(); });
  }

  // Stops the workers once their current deliveries return; queued items are dropped.
  void stop() {
    std::vector<std::thread> workers;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopping = true;
      m_receivers.clear();
      m_ready.clear();
      workers.swap(m_workers);
    }
    m_wake.notify_all();
    for (auto& worker : workers) worker.join();
  }

  // Queues item for key. False when the queue was full: the receiver is
  // then dropped, and the caller should forget it too.
  bool post(const Key& key, Item item) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_stopping) return true;
      Receiver& receiver = m_receivers[key];
      if (receiver.pending.size() >= m_perReceiver) {
        m_receivers.erase(key);
        return false;
      }
      receiver.pending.push_back(std::move(item));
      if (receiver.scheduled) return true;
      receiver.scheduled = true;
      m_ready.push_back(key);
    }
    m_wake.notify_one();
    return true;
  }

  // Forgets a receiver and what was queued for it.
  void remove(const Key& key) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receivers.erase(key);
  }

  std::size_t queued(const Key& key) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_receivers.find(key);
    return found == m_receivers.end() ? 0 : found->second.pending.size();
  }

private:
  struct Receiver {
    std::deque<Item> pending;
    bool scheduled = false;   // in m_ready, or being served by a worker
  };

  void work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_wake.wait(lock, [this] { return m_stopping || !m_ready.empty(); });
      if (m_stopping) return;
      const Key key = m_ready.front();
      m_ready.pop_front();
      auto found = m_receivers.find(key);
      if (found == m_receivers.end() || found->second.pending.empty()) continue;
      Item item = std::move(found->second.pending.front());
      found->second.pending.pop_front();
      lock.unlock();
      const bool keep = m_deliver(key, item);
      lock.lock();
      found = m_receivers.find(key);   // it may have gone meanwhile
      if (found == m_receivers.end()) continue;
      if (!keep) {
        m_receivers.erase(found);
      } else if (found->second.pending.empty()) {
        found->second.scheduled = false;
      } else {
        m_ready.push_back(key);   // behind the others: one item per turn
        m_wake.notify_one();
      }
    }
  }

  const std::size_t m_workerCount;
  const std::size_t m_perReceiver;
  const Deliver m_deliver;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::map<Key, Receiver> m_receivers;
  std::deque<Key> m_ready;
  std::vector<std::thread> m_workers;
  bool m_stopping = false;
};

} // namespace kelwelld

#endif
