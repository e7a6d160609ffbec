#ifndef KEL_PROJECT_H
#define KEL_PROJECT_H

#include "kel_Array.h"
#include "kel_Entity.h"

class kel_Session;

// A named project (EpSession::Project); its store name names the data store
// that keeps the project's wells.
class kel_Project : public kel_Entity {
public:
  kel_Project();                                            // nil
  kel_Project(const kel_RemoteStub& stub, bool duplicate = true);
  kel_Project(const kel_Project& other, bool duplicate = true);
  kel_Project& operator=(const kel_Project& other);
  ~kel_Project() override;

  // kel_UserException when the name is taken (create) or unknown (open).
  static kel_Project create(const kel_Session& session, const char* name);
  static kel_Project open(const kel_Session& session, const char* name);
  static kel_Array<kel_Project> list(const kel_Session& session);

  kel_cppUtil::String getName() const;

  bool operator==(const kel_Project& other) const;  // same identifier

protected:
  void* getBaseObject() const override;
};

#endif
