#ifndef KEL_SESSION_H
#define KEL_SESSION_H

#include "kel_RemoteObject.h"
#include "kel_cppUtil.h"

// A session of one user with the well data service (EpSession::Session).
class kel_Session : public kel_RemoteObject {
public:
  kel_Session();                                            // nil
  kel_Session(const kel_RemoteStub& stub, bool duplicate = true);
  kel_Session(const kel_Session& other, bool duplicate = true);
  kel_Session& operator=(const kel_Session& other);
  ~kel_Session() override;

  // A session for the current user ($USER, else the account name).
  static kel_Session open();
  static kel_Session open(const char* user);

  kel_cppUtil::String getUser() const;
};

#endif
