// kel_WellBoreList: a named list of wellbores of one project (a study's well
// selection, say), held by the well data service.
//
// Like every wrapper of this library it is a thin handle on one counted
// remote reference; neither the attributes nor the membership are cached.
// Every operation fails with kel_SystemException or kel_UserException.
// At the current interface level other applications learn of each
// membership change through kel_WellBoreListDataChangedEventListener; the
// earlier level has no change events.
#ifndef KEL_WELLBORELIST_H
#define KEL_WELLBORELIST_H

#include "kel_Array.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_WellBore.h"
#include "kel_WellExport.h"
#include "kel_cppUtil.h"

template <class W>
struct kel_WrapperCore;

class KELWELL_EXPORT kel_WellBoreList : public kel_Entity {
public:
  // One change of a list, as the change events carry it.
  struct KELWELL_EXPORT WellBoreListChange {
    // Kind 0, no wellbore.
    WellBoreListChange();
    // The copy refers to the same remote wellbore, with a count of its own.
    WellBoreListChange(const WellBoreListChange& other);
    WellBoreListChange& operator=(const WellBoreListChange& other);
    ~WellBoreListChange();

    // The service's change kind: 0 a wellbore was added, 1 one was removed.
    int changeType;
    // The wellbore the change concerns; nil when the change names none.
    kel_WellBore bore;
  };

  // A nil list.
  kel_WellBoreList();
  // Wraps the stub's reference, which must be a wellbore list's.
  // kel_SystemException for a null, nil or foreign reference.
  explicit kel_WellBoreList(const kel_RemoteStub& stub, bool duplicate = true);
  kel_WellBoreList(const kel_WellBoreList& other, bool duplicate = true);
  ~kel_WellBoreList() override;

  kel_WellBoreList& operator=(const kel_WellBoreList& other);
  // Identity is the identifier alone.
  bool operator==(const kel_WellBoreList& other) const;
  bool operator<(const kel_WellBoreList& other) const;

  static kel_WellBoreList narrow(const kel_Entity& entity, bool mustMatch = true);
  static kel_Array<kel_WellBoreList> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  static kel_WellBoreList getFromString(const kel_WellString& text);
  // All wellbore lists of the project.
  static kel_Array<kel_WellBoreList> getWellBoreListsInProject(const kel_Project& project);

  // "EpiWell_WellBoreList".
  static kel_WellString getEntityType();
  static kel_WellString getRepositoryId();

  // A new list of the project, kept in the project's data store, named
  // name, with the data source and the wellbores given (in that order;
  // every one must be bound).
  static kel_WellBoreList createNewWellBoreList(const kel_Project& project, const kel_WellString& name,
                                                const kel_WellString& dataSource,
                                                const kel_Array<kel_WellBore>& bores, const kel_Session& session);
  // The same, held by the service in memory only.
  static kel_WellBoreList createStorelessWellBoreList(const kel_Project& project, const kel_WellString& name,
                                                      const kel_WellString& dataSource,
                                                      const kel_Array<kel_WellBore>& bores,
                                                      const kel_Session& session);

  kel_WellString getName() const;
  void setName(const kel_WellString& name);
  // Where the selection came from, as plain text.
  kel_WellString getDataSource() const;
  void setDataSource(const kel_WellString& dataSource);
  // When the part of the list named by selector last changed; the service
  // defines the selectors and refuses others (kel_UserException).
  kel_Date getLastModified(kel_WellString selector) const;

  // The member wellbores, in the list's order.
  kel_Array<kel_WellBore> getBores() const;
  // kel_UserException for a nil wellbore (nothing is sent) and for one
  // already in the list; the list is left as it was.
  void addBore(const kel_WellBore& bore);
  // kel_UserException for a nil wellbore (nothing is sent) and for one not
  // in the list; the list is left as it was.
  void removeBore(const kel_WellBore& bore);

protected:
  void assignment(const kel_WellBoreList& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  // The project the list belongs to; a nil project when it has none.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_WellBoreList>;
};

extern template class KELWELL_EXPORT kel_Array<kel_WellBoreList>;

#endif
