#ifndef KEL_STRINGPAIR_H
#define KEL_STRINGPAIR_H

#include "kel_cppUtil.h"

// A key and a value, both text (identifiers and aliases: "UWI" = "100/01-02-...").
class kel_StringPair {
public:
  kel_StringPair();
  kel_StringPair(const char* key, const char* value);
  kel_cppUtil::String getKey() const;
  kel_cppUtil::String getValue() const;
  bool operator==(const kel_StringPair& other) const;

private:
  kel_cppUtil::String m_key;
  kel_cppUtil::String m_value;
};

#endif
