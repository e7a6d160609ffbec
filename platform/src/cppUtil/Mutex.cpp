#include "kel_cppUtil.h"

namespace kel_cppUtil {

MutexLock::MutexLock(const Mutex& mutex) : m_mutex(&mutex) { m_mutex->lock(); }

MutexLock::MutexLock(MutexLock&& other) noexcept : m_mutex(other.m_mutex) { other.m_mutex = nullptr; }

MutexLock::~MutexLock() {
  if (m_mutex) m_mutex->unlock();
}

Mutex::Mutex() = default;
// A copy guards its own object: it never shares or inherits the lock state.
Mutex::Mutex(const Mutex&) {}
Mutex& Mutex::operator=(const Mutex&) { return *this; }
Mutex::~Mutex() = default;

MutexLock Mutex::getMutexLock() const { return MutexLock(*this); }
void Mutex::lock() const { m_mutex.lock(); }
void Mutex::unlock() const { m_mutex.unlock(); }

} // namespace kel_cppUtil
