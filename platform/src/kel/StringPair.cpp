#include "kel_StringPair.h"

kel_StringPair::kel_StringPair() = default;
kel_StringPair::kel_StringPair(const char* key, const char* value) : m_key(key), m_value(value) {}
kel_cppUtil::String kel_StringPair::getKey() const { return m_key; }
kel_cppUtil::String kel_StringPair::getValue() const { return m_value; }
bool kel_StringPair::operator==(const kel_StringPair& other) const {
  return m_key == other.m_key && m_value == other.m_value;
}
