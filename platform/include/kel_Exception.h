// The platform's exceptions: a message, a context saying where and what was
// caught, and an optional cause, forming a chain down to the first failure.
#ifndef KEL_EXCEPTION_H
#define KEL_EXCEPTION_H

#include <memory>

#include "kel_cppUtil.h"

class kel_Exception {
public:
  explicit kel_Exception(const char* message);
  kel_Exception(const char* message, const char* context);
  kel_Exception(const char* message, const char* context, const kel_Exception& cause);
  kel_Exception(const kel_Exception& other);
  kel_Exception& operator=(const kel_Exception& other);
  virtual ~kel_Exception();

  kel_cppUtil::String getMessage() const;
  kel_cppUtil::String getContext() const;     // "" when none was given
  bool hasCause() const;
  // The exception this one wraps; throws kel_SystemException when there is none.
  const kel_Exception& getCause() const;
  // The innermost exception of the chain (this one when it has no cause).
  const kel_Exception& getRootCause() const;

  // The kind, kept by copies and by causes.
  virtual bool isUserException() const;
  virtual bool isSystemException() const;
  virtual const char* getKindName() const;   // "kel_Exception", "kel_UserException", ...

  // The whole chain, one exception per line with its kind, message and context,
  // as a person reads it in a log.
  kel_cppUtil::String toString() const;

  // A copy of the same kind.
  virtual kel_Exception* clone() const;

private:
  kel_cppUtil::String m_message;
  kel_cppUtil::String m_context;
  std::shared_ptr<const kel_Exception> m_cause;
};

// A failure of the system (remote service, ORB, store, conversion): not the caller's doing.
class kel_SystemException : public kel_Exception {
public:
  explicit kel_SystemException(const char* message);
  kel_SystemException(const char* message, const char* context);
  kel_SystemException(const char* message, const char* context, const kel_Exception& cause);
  bool isSystemException() const override;
  const char* getKindName() const override;
  kel_Exception* clone() const override;
};

// A failure the caller can act on (bad value, unknown name, refused write).
class kel_UserException : public kel_Exception {
public:
  explicit kel_UserException(const char* message);
  kel_UserException(const char* message, const char* context);
  kel_UserException(const char* message, const char* context, const kel_Exception& cause);
  bool isUserException() const override;
  const char* getKindName() const override;
  kel_Exception* clone() const override;
};

#endif
