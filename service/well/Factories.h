// The well and wellbore factories, stored and storeless.
#ifndef KELWELLD_FACTORIES_H
#define KELWELLD_FACTORIES_H

#include <EpiWell.hh>

#include "../core/Context.h"

namespace kelwelld {

class NewWellFactoryServant : public POA_EpiWell::NewWellFactory {
public:
  explicit NewWellFactoryServant(Context& context) : m_context(context) {}
  EpiWell::Well_ptr createWell(EpSession::Project_ptr project, const char* name,
                               const CosPropertyService::Property& identifier,
                               EpSession::Session_ptr session) override;

private:
  Context& m_context;
};

class StorelessWellFactoryServant : public POA_EpiWell::StorelessWellFactory {
public:
  explicit StorelessWellFactoryServant(Context& context) : m_context(context) {}
  EpiWell::Well_ptr createWell(EpSession::Project_ptr project, const CosPropertyService::Property& identifier,
                               EpSession::Session_ptr session) override;

private:
  Context& m_context;
};

class NewWellBoreFactoryServant : public POA_EpiWell::NewWellBoreFactory {
public:
  explicit NewWellBoreFactoryServant(Context& context) : m_context(context) {}
  EpiWell::WellBore_ptr createWellBore(EpiWell::Well_ptr well, const CosPropertyService::Property& identifier,
                                       EpSession::Session_ptr session) override;

private:
  Context& m_context;
};

class StorelessWellBoreFactoryServant : public POA_EpiWell::StorelessWellBoreFactory {
public:
  explicit StorelessWellBoreFactoryServant(Context& context) : m_context(context) {}
  EpiWell::WellBore_ptr createWellBore(EpiWell::Well_ptr well, const CosPropertyService::Property& identifier,
                                       EpSession::Session_ptr session) override;

private:
  Context& m_context;
};

} // namespace kelwelld

#endif
