// An older application on the earlier interface level: every text it hands
// the library or gets back is a kel_String. It makes a project with a well,
// a wellbore and a wellbore list, reads them back, and finds the well again
// from its stringified reference. Exit status 0 when all of it held.
#include <iostream>

#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_String.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellBoreList.h"

namespace {

int failures = 0;

void expect(bool held, const kel_String& what) {
  if (!held) {
    std::cerr << "not as expected: " << what << '\n';
    ++failures;
  }
}

} // namespace

int main(int argc, char** argv) {
  try {
    kel_Connection::initialize(argc, argv);
    const kel_Session session = kel_Session::open();
    const kel_String projectName = argc > 1 ? argv[1] : "Older project";
    const kel_Project project = kel_Project::create(session, projectName);

    const kel_String name("F/3");
    kel_Well well = kel_Well::createNewWell(project, name + "-2", kel_StringPair("UWI", "F/3-2"), session);
    well.setField(kel_String("WILD") + "CAT");
    const kel_String field = well.getField();
    expect(field == "WILDCAT" && field.length() == 7, "the field read back: " + field);

    const kel_String reference = well.getStringifiedReference();
    const kel_Well again = kel_Well::getFromString(reference);
    expect(again == well, "the well found from its reference");
    const kel_String entityType = kel_Well::getEntityType();
    expect(entityType == "EpiWell_Well", "the entity type: " + entityType);

    kel_WellBore bore = kel_WellBore::createNewWellBore(well, kel_StringPair("Bore", "00"), session);
    const kel_Array<kel_String> statuses = kel_WellBore::getValidBoreStatuses();
    expect(statuses.size() > 0, "valid wellbore statuses");
    if (statuses.size() > 0) {
      bore.setBoreStatus(statuses[0]);
      expect(bore.getBoreStatus() == statuses[0], "the wellbore status read back");
    }

    kel_Array<kel_WellBore> bores(1);
    bores.set(0, bore);
    kel_WellBoreList list = kel_WellBoreList::createNewWellBoreList(project, "Study", "by hand", bores, session);
    list.setName("Study A");
    const kel_String listName = list.getName();
    expect(listName == "Study A", "the list's name: " + listName);
    expect(list.getBores().size() == 1, "the list's one member");

    std::cout << "well " << well.getIdentifier().getValue() << " in " << projectName << ", field " << field
              << ", " << statuses.size() << " wellbore statuses, list " << listName << '\n';
    kel_Connection::shutdown();
  } catch (const kel_Exception& failure) {
    std::cerr << failure.toString() << '\n';
    return 1;
  }
  return failures == 0 ? 0 : 1;
}
