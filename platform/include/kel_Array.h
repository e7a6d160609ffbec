// kel_Array<T>: the platform's reference-counted array.
//
// Handles share one counted body until one of them changes it: set (on a
// shared body), addElement, removeElement and resize give that handle a body
// of its own, copying every kept element with T's assignment. setSize changes
// the shared body itself. There is no spare capacity.
//
// Two locks: the handle's (taken by the mutators and findElement) and the
// body's (taken around count changes and element writes); where both are held
// the handle's is taken first. get, operator[], size, count, operator== and
// operator< take none; a reference from get stays valid until the next change
// of that handle's body.
//
// Bulk numbers (samples, depths) move through fill and read instead of
// element by element: one lock for the whole array and one copy, so that a
// conversion of millions of values costs what copying them costs; adopt takes
// over a buffer someone else filled, without copying it at all.
#ifndef KEL_ARRAY_H
#define KEL_ARRAY_H

#include "kel_cppUtil.h"

// Thrown by value for a bad index or size; not a kel_Exception.
class kel_ArrayOutOfBoundsException {};

template <class T>
class kel_Array : public kel_cppUtil::Mutex {
public:
  enum kel_ReallocationMode {
    KEEP_LEADING = 0,   // resize
    UNSHARE = 1,        // set
    APPEND = 2,         // addElement
    DROP_INDEX = 3      // removeElement
  };

  kel_Array() : m_body(new Body(0)) {}
  explicit kel_Array(unsigned n) : m_body(new Body(n)) {}

  kel_Array(const kel_Array& other) : kel_cppUtil::Mutex(), m_body(other.m_body) {
    try {
      kel_cppUtil::MutexLock bodyLock(*m_body);
      ++m_body->count;
    } catch (...) {
      throw kel_ArrayOutOfBoundsException();
    }
  }

  ~kel_Array() { giveUp(m_body); }

  kel_Array& operator=(const kel_Array& other) {
    if (this == &other) return *this;
    Body* shared = other.m_body;
    {
      kel_cppUtil::MutexLock bodyLock(*shared);
      ++shared->count;
    }
    Body* old = m_body;
    m_body = shared;
    giveUp(old);
    return *this;
  }

  unsigned size() const { return m_body->size; }
  unsigned count() const { return m_body->count; }

  const T& get(unsigned i) const {
    if (i >= m_body->size) throw kel_ArrayOutOfBoundsException();
    return m_body->elements[i];
  }
  const T& operator[](unsigned i) const { return get(i); }

  void set(unsigned i, const T& value) {
    if (i >= m_body->size) throw kel_ArrayOutOfBoundsException();
    kel_cppUtil::MutexLock handleLock(*this);
    reallocate(m_body->size, UNSHARE, 0);
    kel_cppUtil::MutexLock bodyLock(*m_body);
    m_body->elements[i] = value;
  }

  void addElement(const T& value) {
    kel_cppUtil::MutexLock handleLock(*this);
    reallocate(m_body->size + 1, APPEND, 0);
    kel_cppUtil::MutexLock bodyLock(*m_body);
    m_body->elements[m_body->size - 1] = value;
  }
  void addElement(T& value) { addElement(static_cast<const T&>(value)); }

  void removeElement(unsigned i) {
    if (i >= m_body->size) throw kel_ArrayOutOfBoundsException();
    kel_cppUtil::MutexLock handleLock(*this);
    reallocate(m_body->size - 1, DROP_INDEX, i);
  }

  void resize(unsigned n) {
    kel_cppUtil::MutexLock handleLock(*this);
    reallocate(n, KEEP_LEADING, 0);
  }

  // Shrinks the shared body in place: every handle sharing it sees the new size.
  void setSize(unsigned n) {
    if (n > m_body->size) throw kel_ArrayOutOfBoundsException();
    kel_cppUtil::MutexLock handleLock(*this);
    kel_cppUtil::MutexLock bodyLock(*m_body);
    m_body->size = n;
  }

  // First index whose element equals value, else -1; the handle lock is held
  // for the whole scan.
  long findElement(T& value) {
    kel_cppUtil::MutexLock handleLock(*this);
    for (unsigned i = 0; i < m_body->size; ++i)
      if (m_body->elements[i] == value) return static_cast<long>(i);
    return -1;
  }
  // The same, taking the handle lock around each comparison.
  long findElement(const T& value) {
    for (unsigned i = 0; i < m_body->size; ++i) {
      kel_cppUtil::MutexLock handleLock(*this);
      if (i < m_body->size && m_body->elements[i] == value) return static_cast<long>(i);
    }
    return -1;
  }

  // Replaces the contents with n elements written in place by
  // writer(T* elements, unsigned n), under the handle lock and the new body's
  // lock. The elements are not initialised first: writer sets every one.
  // This handle gets a body of its own; handles that shared the old one keep
  // it. When writer throws, nothing has changed.
  template <class Write>
  void fill(unsigned n, Write&& writer) {
    kel_cppUtil::MutexLock handleLock(*this);
    Body* fresh = new Body(n, Body::uninitialised);
    try {
      kel_cppUtil::MutexLock freshLock(*fresh);
      writer(fresh->elements, n);
    } catch (...) {
      delete fresh;
      throw;
    }
    Body* old = m_body;
    m_body = fresh;
    giveUp(old);
  }

  // The contents replaced by elements, n of them, allocated with new T[] (at
  // least one): the array owns and frees them from now on, without a copy.
  // Handles that shared the old body keep it; when it throws, the caller
  // still owns elements.
  void adopt(T* elements, unsigned n) {
    kel_cppUtil::MutexLock handleLock(*this);
    Body* old = m_body;
    m_body = new Body(elements, n);
    giveUp(old);
  }

  // The contents replaced by a copy of the n elements from first on.
  void assign(const T* first, unsigned n) {
    fill(n, [first](T* elements, unsigned count) {
      for (unsigned i = 0; i < count; ++i) elements[i] = first[i];
    });
  }

  // Calls reader(const T* elements, unsigned size) under the body lock, so that
  // it sees no element half written by another handle's set.
  template <class Read>
  void read(Read&& reader) const {
    kel_cppUtil::MutexLock bodyLock(*m_body);
    reader(static_cast<const T*>(m_body->elements), m_body->size);
  }

  bool operator==(const kel_Array& other) const {
    if (this == &other) return true;
    if (m_body->size != other.m_body->size) return false;
    for (unsigned i = 0; i < m_body->size; ++i)
      if (!(m_body->elements[i] == other.m_body->elements[i])) return false;
    return true;
  }
  // Compares sizes only.
  bool operator<(const kel_Array& other) const { return m_body->size < other.m_body->size; }

private:
  struct Body : public kel_cppUtil::Mutex {
    // One element is allocated even for an empty body; elements start
    // value-initialised (nil wrappers, zero numbers).
    explicit Body(unsigned n) : elements(new T[n ? n : 1]()), count(1), size(n) {}
    // For fill, which writes every element: numbers are left unset rather
    // than zeroed first, which would touch the whole array twice.
    enum Uninitialised { uninitialised };
    Body(unsigned n, Uninitialised) : elements(new T[n ? n : 1]), count(1), size(n) {}
    // For adopt: elements allocated by the caller with new T[].
    Body(T* adopted, unsigned n) : elements(adopted), count(1), size(n) {}
    ~Body() { delete[] elements; }
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;
    T* elements;
    unsigned count;
    unsigned size;
  };

  // Lowers body's count; the handle that takes it to 0 destroys it.
  static void giveUp(Body* body) {
    bool last;
    {
      kel_cppUtil::MutexLock bodyLock(*body);
      last = --body->count == 0;
    }
    if (last) delete body;
  }

  // Called under the handle lock. The new body is filled completely before it
  // replaces the old one, so a failing element assignment leaves this handle
  // and its sharers as they were.
  void reallocate(unsigned newSize, kel_ReallocationMode mode, unsigned index) {
    Body* old = m_body;
    const unsigned oldSize = old->size;
    unsigned sharers;
    {
      // Another handle may be giving the body up at this moment.
      kel_cppUtil::MutexLock bodyLock(*old);
      sharers = old->count;
    }
    if (sharers <= 1 && mode == UNSHARE) return;
    Body* fresh = new Body(newSize);
    try {
      if (mode == DROP_INDEX) {
        unsigned target = 0;
        for (unsigned i = 0; i <= newSize && i < oldSize; ++i) {
          if (i == index) continue;
          kel_cppUtil::MutexLock freshLock(*fresh);
          fresh->elements[target++] = old->elements[i];
        }
      } else {
        const unsigned kept = oldSize < newSize ? oldSize : newSize;
        for (unsigned i = 0; i < kept; ++i) {
          kel_cppUtil::MutexLock freshLock(*fresh);
          fresh->elements[i] = old->elements[i];
        }
      }
    } catch (...) {
      delete fresh;
      throw;
    }
    m_body = fresh;
    giveUp(old);
  }

  Body* m_body;
};

#endif
