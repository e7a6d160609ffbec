// The records of every entity kind over one store: EntityRecords<Record> for
// each record type that has a RecordTable (recordTable<Record>(), defined
// beside the record's description), made when first asked for. The servants
// ask for theirs when they are made, so every kind's tables exist before the
// service answers its first call (and before any Transaction is open).
#ifndef KELWELLD_ENTITIES_H
#define KELWELLD_ENTITIES_H

#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <typeindex>

#include "entity/EntityRecords.h"

namespace kelwelld {

// The description of a record type; each kind defines its own.
template <class Record>
const RecordTable<Record>& recordTable();

class Entities {
public:
  explicit Entities(Store& store) : m_store(store) {}
  Store& store() { return m_store; }

  template <class Record>
  EntityRecords<Record>& of() {
    const std::type_index type(typeid(Record));
    {
      std::shared_lock<std::shared_mutex> lock(m_mutex);
      const auto found = m_records.find(type);
      if (found != m_records.end()) return *static_cast<EntityRecords<Record>*>(found->second.get());
    }
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    auto& slot = m_records[type];
    if (!slot) slot = std::make_shared<EntityRecords<Record>>(m_store, recordTable<Record>());
    return *static_cast<EntityRecords<Record>*>(slot.get());
  }

private:
  Store& m_store;
  std::shared_mutex m_mutex;
  std::map<std::type_index, std::shared_ptr<void>> m_records;
};

} // namespace kelwelld

#endif
