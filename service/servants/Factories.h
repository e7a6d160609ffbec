// What every factory servant does around the creation itself: enter the
// operation (a RETURN_NIL fault answers nil), create, and answer a reference
// to what was created. A kind's servant file declares its factories as
// FactoryServant<their skeleton> with one override each.
#ifndef KELWELLD_FACTORIES_H
#define KELWELLD_FACTORIES_H

#include <string>

#include "core/FaultInjection.h"
#include "core/PoaSupport.h"
#include "servants/Context.h"

namespace kelwelld {

template <class Skeleton>
class FactoryServant : public Skeleton {
public:
  explicit FactoryServant(Context& context) : m_context(context) {}

protected:
  // create() makes the entity, reports its changes, and returns its id.
  template <class Interface, class Create>
  typename Interface::_ptr_type created(const char* operation, Create create) {
    if (wantsNil(enterFault(operation))) return Interface::_nil();
    return m_context.referenceAs<Interface>(create());
  }

  Context& m_context;
};

// The maker an entity kind's table entry names for a servant of its own.
template <class Servant>
poa::Owned<PortableServer::ServantBase> makeServant(Context& context) {
  return poa::makeOwned<Servant>(context);
}

} // namespace kelwelld

#endif
