// A second application that listens to wellbore list changes, in a process
// of its own: finds the service through KELWELL_SERVICE, registers a
// kel_WellBoreListDataChangedEventListener, prints "ready", then for each
// event the line the event itself prints, "callback <kind> <wellbore id>" from
// its callback and "handler <kind>" from its overridden handler. It leaves
// after <count> events, or after <seconds> without one (status 1).
//
//   wellborelist_listener <count> <seconds>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>

#include "kel_Connection.h"
#include "kel_Session.h"
#include "kel_WellBoreListDataChangedEventListener.h"

namespace {

class Listener : public kel_WellBoreListDataChangedEventListener {
public:
  using kel_WellBoreListDataChangedEventListener::kel_WellBoreListDataChangedEventListener;

  void handleWellBoreListDataChangedEvent(const kel_WellBoreListDataChangedEvent& event) override {
    std::cout << "handler " << event.getChangeType() << std::endl;
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_received;
    m_arrived.notify_all();
  }

  // Whether count events arrived, none more than seconds after the one before.
  bool waitFor(int count, int seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    int seen = m_received;
    while (m_received < count) {
      if (!m_arrived.wait_for(lock, std::chrono::seconds(seconds), [&] { return m_received > seen; })) return false;
      seen = m_received;
    }
    return true;
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  int m_received = 0;
};

void onChange(const kel_WellBoreListDataChangedEvent* event, void*) {
  const kel_WellBore bore = event->getBore();
  std::cout << "callback " << event->getChangeType() << " "
            << (bore.isNil() ? std::string("nil") : std::string(bore.getId())) << std::endl;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: wellborelist_listener <count> <seconds>\n";
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const int seconds = std::atoi(argv[2]);
  int status = 0;
  try {
    Listener listener(kel_Session::open("listener"));
    listener.setCallBack(onChange, nullptr);
    listener.registerListener();
    std::cout << "ready" << std::endl;
    if (!listener.waitFor(count, seconds)) status = 1;
    listener.unregisterListener();
  } catch (const kel_Exception& e) {
    std::cerr << "wellborelist_listener: " << e.toString() << "\n";
    status = 1;
  }
  kel_Connection::shutdown();
  return status;
}
