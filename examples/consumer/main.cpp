// The application start of examples/README.md: a new project, a well, a
// water depth in two units, the project's wells.
#include <iostream>

#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_Well.h"

int main(int argc, char** argv) {
  try {
    kel_Connection::initialize(argc, argv);            // the ORB; -ORB... options are consumed
    const kel_Session session = kel_Session::open();   // the current user
    const kel_Project project = kel_Project::create(session, "North Sea");

    kel_Well well = kel_Well::createNewWell(project, "F/3-2", kel_StringPair("UWI", "F/3-2"), session);
    well.setField("WILDCAT");
    well.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 138.0f));
    const kel_FloatQuantity metres = well.getWaterDepth(kel_Unit::getUnit("m"));
    std::cout << "water depth: " << metres.getValue() << " m\n";

    const kel_Array<kel_Well> wells = kel_Well::getWellsInProject(project);
    for (unsigned i = 0; i < wells.size(); ++i) std::cout << wells[i].getIdentifier().getValue() << '\n';
    kel_Connection::shutdown();
  } catch (const kel_Exception& failure) {
    std::cerr << failure.toString() << '\n';   // kind, message and context of every level
    return 1;
  }
  return 0;
}
