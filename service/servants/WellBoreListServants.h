// The WellBoreList servant (one default servant for the stored POA and the
// storeless one) and its factories. Each membership change is reported to
// event subscribers as a data-changed event whose first filterable property,
// "ChangedData", holds the change (its kind and the wellbore), in the order
// the changes were committed.
#ifndef KELWELLD_WELLBORELISTSERVANTS_H
#define KELWELLD_WELLBORELISTSERVANTS_H

#include <EpiWell.hh>

#include "entity/WellBoreLists.h"
#include "servants/EntityServant.h"
#include "servants/Factories.h"

namespace kelwelld {

class WellBoreListServant : public EntityServant<POA_EpiWell::WellBoreList, WellBoreListRecord> {
public:
  explicit WellBoreListServant(Context& context);

  char* getLastModified(const char* selector) override;
  char* getName() override;
  void setName(const char* value) override;
  char* getDataSource() override;
  void setDataSource(const char* value) override;
  EpEntity::EntitySeq* getBores() override;
  void addBore(EpiWell::WellBore_ptr bore) override;
  void removeBore(EpiWell::WellBore_ptr bore) override;

private:
  void setText(const char* operation, std::string WellBoreListRecord::*member, const char* value, const char* what);
};

class NewWellBoreListFactoryServant : public FactoryServant<POA_EpiWell::NewWellBoreListFactory> {
public:
  explicit NewWellBoreListFactoryServant(Context& context);
  EpiWell::WellBoreList_ptr createWellBoreList(EpSession::Project_ptr project, const char* name,
                                               const char* dataSource, const EpiWell::WellBoreSeq& bores,
                                               EpSession::Session_ptr session) override;
};

class StorelessWellBoreListFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellBoreListFactory> {
public:
  explicit StorelessWellBoreListFactoryServant(Context& context);
  EpiWell::WellBoreList_ptr createWellBoreList(EpSession::Project_ptr project, const char* name,
                                               const char* dataSource, const EpiWell::WellBoreSeq& bores,
                                               EpSession::Session_ptr session) override;
};

} // namespace kelwelld

#endif
