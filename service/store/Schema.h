// The store's own tables, as numbered migrations that every engine applies
// at start-up from the same portable description (TableDefinition). The
// entity kinds add their tables from their record descriptions
// (entity/RecordTable.h); these are the tables no kind owns.
//
// Applied migrations are listed in schema_migrations (number, applied), so a
// store tells which of them it has, and a service refuses a store written by
// a newer one. A migration only adds: tables, columns, indexes; applying one
// to a store that already has its tables (a store created before the list
// existed) changes nothing.
#ifndef KELWELLD_SCHEMA_H
#define KELWELLD_SCHEMA_H

#include <string>
#include <vector>

#include "store/Store.h"

namespace kelwelld {

struct Migration {
  int number;
  const char* what;
  std::vector<TableDefinition> tables;
};

// In order of number, from 1 with no gaps.
const std::vector<Migration>& migrations();

// Brings the store behind writer up to date in one transaction and returns
// its name (defaultName for a store being created). shown names the store
// in failure messages.
std::string migrateStore(Connection& writer, const std::string& shown, const std::string& defaultName);

} // namespace kelwelld

#endif
