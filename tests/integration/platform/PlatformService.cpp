#include "PlatformService.h"

#include <stdexcept>

#include <EpiWell.hh>

#include "kel_util.h"

namespace platform_test {

std::string createWell(const kel_Session& session, const kel_Project& project, const char* name) {
  auto remoteSession = static_cast<EpSession::Session_ptr>(session.getRemoteObject(kel_Internal()));
  auto remoteProject = static_cast<EpSession::Project_ptr>(project.getRemoteObject(kel_Internal()));
  CORBA::Object_var object = kel_util::FactoryFinder::findFactory(
      remoteSession, EpiWell::_tc_NewWellFactory->id(), nullptr, project.getStoreName());
  EpiWell::NewWellFactory_var factory = EpiWell::NewWellFactory::_narrow(object.in());
  if (CORBA::is_nil(factory.in())) throw std::runtime_error("no well factory");
  CosPropertyService::Property identifier;
  identifier.property_name = CORBA::string_dup("UWI");
  identifier.property_value <<= name;
  EpiWell::Well_var well = factory->createWell(remoteProject, name, identifier, remoteSession);
  CORBA::String_var id = well->getId();
  return id.in();
}

} // namespace platform_test
