#include "kel_Exception.h"

#include <string>

kel_Exception::kel_Exception(const char* message) : m_message(message) {}

kel_Exception::kel_Exception(const char* message, const char* context)
    : m_message(message), m_context(context) {}

// The cause is kept as a copy of its own kind, so that a chain survives the
// stack frames that threw it.
kel_Exception::kel_Exception(const char* message, const char* context, const kel_Exception& cause)
    : m_message(message), m_context(context), m_cause(cause.clone()) {}

kel_Exception::kel_Exception(const kel_Exception& other) = default;

kel_Exception& kel_Exception::operator=(const kel_Exception& other) {
  if (this != &other) {
    m_message = other.m_message;
    m_context = other.m_context;
    m_cause = other.m_cause;
  }
  return *this;
}

kel_Exception::~kel_Exception() = default;

kel_cppUtil::String kel_Exception::getMessage() const { return m_message; }
kel_cppUtil::String kel_Exception::getContext() const { return m_context; }
bool kel_Exception::hasCause() const { return m_cause != nullptr; }

const kel_Exception& kel_Exception::getCause() const {
  if (!m_cause) throw kel_SystemException("This exception has no cause. ", "kel_Exception::getCause method. ");
  return *m_cause;
}

const kel_Exception& kel_Exception::getRootCause() const {
  const kel_Exception* current = this;
  while (current->m_cause) current = current->m_cause.get();
  return *current;
}

bool kel_Exception::isUserException() const { return false; }
bool kel_Exception::isSystemException() const { return false; }
const char* kel_Exception::getKindName() const { return "kel_Exception"; }

namespace {

// Texts end in ". " so that they can be joined; printed, the blank goes.
std::string withoutTrailingBlanks(const kel_cppUtil::String& text) {
  const std::string& s = text.str();
  const std::string::size_type last = s.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

} // namespace

kel_cppUtil::String kel_Exception::toString() const {
  kel_cppUtil::String text;
  const kel_Exception* current = this;
  bool first = true;
  while (current) {
    if (!first) text += "\n  caused by ";
    first = false;
    text += current->getKindName();
    text += ": ";
    text += withoutTrailingBlanks(current->m_message);
    const std::string context = withoutTrailingBlanks(current->m_context);
    if (!context.empty()) {
      text += " [";
      text += context;
      text += "]";
    }
    current = current->m_cause.get();
  }
  return text;
}

kel_Exception* kel_Exception::clone() const { return new kel_Exception(*this); }

kel_SystemException::kel_SystemException(const char* message) : kel_Exception(message) {}
kel_SystemException::kel_SystemException(const char* message, const char* context)
    : kel_Exception(message, context) {}
kel_SystemException::kel_SystemException(const char* message, const char* context,
                                         const kel_Exception& cause)
    : kel_Exception(message, context, cause) {}
bool kel_SystemException::isSystemException() const { return true; }
const char* kel_SystemException::getKindName() const { return "kel_SystemException"; }
kel_Exception* kel_SystemException::clone() const { return new kel_SystemException(*this); }

kel_UserException::kel_UserException(const char* message) : kel_Exception(message) {}
kel_UserException::kel_UserException(const char* message, const char* context)
    : kel_Exception(message, context) {}
kel_UserException::kel_UserException(const char* message, const char* context,
                                     const kel_Exception& cause)
    : kel_Exception(message, context, cause) {}
bool kel_UserException::isUserException() const { return true; }
const char* kel_UserException::getKindName() const { return "kel_UserException"; }
kel_Exception* kel_UserException::clone() const { return new kel_UserException(*this); }
