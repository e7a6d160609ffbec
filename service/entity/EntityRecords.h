// The records of one entity kind, stored or storeless, driven by its
// RecordTable. Stored records live in the store: reads run on a Reader of
// their own, each change in one Transaction (load, change, save). Storeless
// records live in memory for the life of the service, behind a shared mutex:
// readers share it, a change holds it alone. A change function that throws
// leaves the record as it was.
#ifndef KELWELLD_ENTITYRECORDS_H
#define KELWELLD_ENTITYRECORDS_H

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <type_traits>
#include <vector>

#include <EpDataStore.hh>

#include "core/RemoteErrors.h"
#include "entity/RecordTable.h"

namespace kelwelld {

template <class Record, class = void>
struct HasAliases : std::false_type {};
template <class Record>
struct HasAliases<Record, std::void_t<decltype(std::declval<Record>().aliases)>> : std::true_type {};

// How many times a change overtaken by another process's write runs.
constexpr int conflictAttempts = 5;

template <class Record>
class EntityRecords {
public:
  // Makes the kind's tables when the store does not have them yet: a kind
  // added to the service brings its tables with it.
  EntityRecords(Store& store, const RecordTable<Record>& table) : m_store(store), m_table(table) {
    const std::string attempted = std::string("Could not prepare the store for the ") + m_table.what + " records";
    Transaction transaction(m_store, attempted);
    for (const TableDefinition& definition : m_table.tableDefinitions())
      transaction.connection().ensureTable(definition, attempted);
    transaction.commit();
  }

  Store& store() { return m_store; }
  const RecordTable<Record>& table() const { return m_table; }

  std::optional<long long> storedNumber(const std::string& id) const { return numberOf(id, m_table.storedPrefix); }
  std::optional<long long> storelessNumber(const std::string& id) const {
    if (!m_table.storelessPrefix) return std::nullopt;
    return numberOf(id, m_table.storelessPrefix);
  }

  // The whole record with its aliases; nullopt for no such record or an id
  // of another kind.
  std::optional<Record> find(const std::string& id) {
    if (const auto number = storedNumber(id)) {
      Reader reader(m_store);
      return load(reader, *number);
    }
    if (const auto number = storelessNumber(id)) {
      std::shared_lock<std::shared_mutex> lock(m_mutex);
      const auto found = m_storeless.find(*number);
      if (found != m_storeless.end()) return found->second;
    }
    return std::nullopt;
  }

  // Whether there is such a record.
  bool exists(const std::string& id) {
    if (const auto number = storedNumber(id)) {
      Reader reader(m_store);
      Statement query(reader, m_table.existsSql, Caching::Kept);
      query.describe(std::string("Could not read the ") + m_table.what + " " + id).bind(1, *number);
      return query.step();
    }
    if (const auto number = storelessNumber(id)) {
      std::shared_lock<std::shared_mutex> lock(m_mutex);
      return m_storeless.count(*number) > 0;
    }
    return false;
  }

  // Just the field that fills member, read from its own columns; nullopt as find.
  template <class T>
  std::optional<T> field(const std::string& id, T Record::*member) {
    if constexpr (std::is_same_v<T, std::string>) {
      if (member == &Record::id) return exists(id) ? std::optional<T>(id) : std::nullopt;
    }
    if (const auto number = storedNumber(id)) {
      const Field<Record>* field = m_table.fieldOf(member);
      if (!field) {   // not kept in a column of its own: from the whole record
        const auto record = find(id);
        return record ? std::optional<T>((*record).*member) : std::nullopt;
      }
      Reader reader(m_store);
      Statement query(reader, m_table.selectFieldSql(*field), Caching::Kept);
      query.describe(std::string("Could not read the ") + m_table.what + " " + id).bind(1, *number);
      if (!query.step()) return std::nullopt;
      Record record;
      int column = 0;
      field->load(query, column, record);
      return std::move(record.*member);
    }
    if (const auto number = storelessNumber(id)) {
      std::shared_lock<std::shared_mutex> lock(m_mutex);
      const auto found = m_storeless.find(*number);
      if (found != m_storeless.end()) return found->second.*member;
    }
    return std::nullopt;
  }

  // Applies change and saves in one write; the saved record, or nullopt for
  // no such record. alongside, when given, writes what belongs to the record
  // beyond its row (sample series) in the same transaction; for a storeless
  // record it runs with a null transaction under the records' lock.
  std::optional<Record> modify(const std::string& id, const std::function<void(Record&)>& change,
                               const std::function<void(Transaction*)>& alongside = {}) {
    if (const auto number = storelessNumber(id)) {
      std::unique_lock<std::shared_mutex> lock(m_mutex);
      const auto found = m_storeless.find(*number);
      if (found == m_storeless.end()) return std::nullopt;
      Record changed = found->second;
      change(changed);
      if (alongside) alongside(nullptr);
      found->second = changed;
      return changed;
    }
    const auto number = storedNumber(id);
    if (!number) return std::nullopt;
    // A write that another process overtook changed nothing: it runs again
    // on what that process wrote, a few times before the client hears of it.
    for (int attempt = 1;; ++attempt) {
      try {
        Transaction transaction(m_store, std::string("Could not change the ") + m_table.what + " " + id);
        auto record = load(transaction, *number);
        if (!record) return std::nullopt;
        const Record before = *record;
        change(*record);
        save(transaction, *number, *record, aliasesDiffer(before, *record));
        if (alongside) alongside(&transaction);
        transaction.commit();
        return record;
      } catch (const EpDataStore::StoreException& e) {
        if (attempt >= conflictAttempts || !isConflict(e.detail.in())) throw;
      }
    }
  }

  // ------------------------------------- building blocks of a kind's writes

  // The stored record, with its aliases, as the scope sees it.
  std::optional<Record> load(Scope& scope, long long number) {
    const std::string id = formatId(m_table.storedPrefix, number);
    Statement query(scope, m_table.selectSql, Caching::Kept);
    query.describe(std::string("Could not read the ") + m_table.what + " " + id).bind(1, number);
    if (!query.step()) return std::nullopt;
    Record record;
    m_table.load(query, record);
    record.id = id;
    if constexpr (HasAliases<Record>::value) {
      if (m_table.aliases.table) {
        Statement aliases(scope, m_table.selectAliasesSql, Caching::Kept);
        aliases.describe("Could not read the aliases of " + id).bind(1, number);
        while (aliases.step()) record.aliases.push_back({aliases.text(0), aliases.text(1)});
      }
    }
    return record;
  }

  // Inserts a stored record with its aliases; sets its id. attempted: what
  // a failure says was attempted ("Could not create a <what>" when empty).
  void insert(Transaction& transaction, Record& record, std::string attempted = {}) {
    if (attempted.empty()) attempted = std::string("Could not create a ") + m_table.what;
    Statement insert(transaction, m_table.insertSql, Caching::Kept);
    insert.describe(attempted);
    m_table.bindInsert(insert, record);
    if (!insert.step()) throwStore(attempted, "the store answered with no id");
    const long long number = insert.integer(0);
    insert.run();
    record.id = formatId(m_table.storedPrefix, number);
    if constexpr (HasAliases<Record>::value) {
      if (!record.aliases.empty()) saveAliases(transaction, number, record);
    }
  }

  void save(Transaction& transaction, long long number, const Record& record, bool aliasesChanged) {
    Statement update(transaction, m_table.updateSql, Caching::Kept);
    update.describe(std::string("Could not write the ") + m_table.what + " " + record.id);
    m_table.bindUpdate(update, record, number);
    update.run();
    if constexpr (HasAliases<Record>::value) {
      if (aliasesChanged) saveAliases(transaction, number, record);
    }
  }

  // Adds a storeless record; sets its id.
  Record addStoreless(Record record) {
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    const long long number = ++m_lastStoreless;
    record.id = formatId(m_table.storelessPrefix, number);
    m_storeless.emplace(number, record);
    return record;
  }

  // The storeless records, for a caller holding storelessMutex().
  std::shared_mutex& storelessMutex() { return m_mutex; }
  std::map<long long, Record>& storeless() { return m_storeless; }

private:
  static bool aliasesDiffer(const Record& before, const Record& after) {
    if constexpr (HasAliases<Record>::value)
      return before.aliases != after.aliases;
    else
      return false;
  }

  void saveAliases(Transaction& transaction, long long number, const Record& record) {
    const std::string attempted = "Could not replace the aliases of " + record.id;
    Statement remove(transaction, m_table.deleteAliasesSql, Caching::Kept);
    remove.describe(attempted).bind(1, number).run();
    long long position = 0;
    for (const Alias& alias : record.aliases) {
      Statement insert(transaction, m_table.insertAliasSql, Caching::Kept);
      insert.describe(attempted).bind(1, number).bind(2, position++).bind(3, alias.name).bind(4, alias.value).run();
    }
  }

  Store& m_store;
  const RecordTable<Record>& m_table;
  std::shared_mutex m_mutex;   // the storeless records
  long long m_lastStoreless = 0;
  std::map<long long, Record> m_storeless;
};

} // namespace kelwelld

#endif
