// A record described once, by its fields: which member of the record each
// field fills and from which columns. The SELECT, INSERT and UPDATE of the
// record, and its loading and saving, all come from that description, so a
// column is named in one place and never counted by hand.
//
//   const RecordTable<WellRecord> table{
//       "wells", "well", "storeless-well", "well",
//       {reference("project_id", &WellRecord::projectId, "project", Written::OnCreate),
//        text("name", &WellRecord::name),
//        quantity("water_depth", &WellRecord::waterDepth), ...},
//       {"well_aliases", "well_id"}};
#ifndef KELWELLD_RECORDTABLE_H
#define KELWELLD_RECORDTABLE_H

#include <any>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Ids.h"
#include "entity/RecordValues.h"
#include "store/Store.h"

namespace kelwelld {

// When a field is written: with every save, only when the record is created
// (its parent, its creation stamp), or never (computed when read).
enum class Written { Always, OnCreate, Never };

// name is an SQL expression for a computed field.
using Column = TableDefinition::Column;

template <class Record>
struct Field {
  std::vector<Column> columns;
  Written written = Written::Always;
  std::any member;   // the member pointer, to find the field by it
  // Bind the field's values from parameter index on / load them from column
  // index on; both advance index past the field's columns.
  std::function<void(Statement&, int&, const Record&)> bind;
  std::function<void(const Statement&, int&, Record&)> load;
};

// Where a kind keeps its aliases: a table of (owner, position, name, value).
struct AliasTable {
  const char* table = nullptr;   // nullptr: the kind has none
  const char* ownerColumn = nullptr;
};

template <class Record>
class RecordTable {
public:
  RecordTable(const char* tableName, const char* storedIdPrefix, const char* storelessIdPrefix,
              const char* whatItIs, std::vector<Field<Record>> fieldList, AliasTable aliasTable = {})
      : table(tableName), storedPrefix(storedIdPrefix), storelessPrefix(storelessIdPrefix), what(whatItIs),
        fields(std::move(fieldList)), aliases(aliasTable) {
    std::string selected, inserted, placeholders, updated;
    for (const Field<Record>& field : fields) {
      for (const Column& column : field.columns) {
        append(selected, column.name);
        if (field.written == Written::Never) continue;
        append(inserted, column.name);
        append(placeholders, "?");
        if (field.written == Written::Always) append(updated, column.name + " = ?");
      }
    }
    for (const Field<Record>& field : fields) {
      std::string columns;
      for (const Column& column : field.columns) append(columns, column.name);
      m_selectField.push_back("SELECT " + columns + " FROM " + table + " WHERE id = ?");
    }
    selectSql = "SELECT " + selected + " FROM " + table + " WHERE id = ?";
    existsSql = "SELECT 1 FROM " + std::string(table) + " WHERE id = ?";
    insertSql = "INSERT INTO " + std::string(table) + " (" + inserted + ") VALUES (" + placeholders +
                ") RETURNING id";
    updateSql = "UPDATE " + std::string(table) + " SET " + updated + " WHERE id = ?";
    if (aliases.table) {
      selectAliasesSql = "SELECT name, value FROM " + std::string(aliases.table) + " WHERE " +
                         aliases.ownerColumn + " = ? ORDER BY position";
      deleteAliasesSql = "DELETE FROM " + std::string(aliases.table) + " WHERE " + aliases.ownerColumn + " = ?";
      insertAliasSql = "INSERT INTO " + std::string(aliases.table) + " (" + aliases.ownerColumn +
                       ", position, name, value) VALUES (?, ?, ?, ?)";
    }
  }

  // The tables that keep the records: the record's own and its aliases'.
  std::vector<TableDefinition> tableDefinitions() const {
    std::vector<TableDefinition> tables{{table, {}, {}, {}}};
    for (const Field<Record>& field : fields) {
      if (field.written == Written::Never) continue;
      tables[0].columns.insert(tables[0].columns.end(), field.columns.begin(), field.columns.end());
      // Records are listed by their parent (a well's wellbores), in id order.
      if (field.written == Written::OnCreate && field.columns.size() == 1 &&
          field.columns[0].type == ColumnType::Integer)
        tables[0].indexes.push_back({std::string(table) + "_by_" + parentName(field.columns[0].name),
                                     {field.columns[0].name, "id"}});
    }
    if (aliases.table)
      tables.push_back({aliases.table,
                        {{aliases.ownerColumn, ColumnType::Integer},
                         {"position", ColumnType::Integer},
                         {"name", ColumnType::Text},
                         {"value", ColumnType::Text}},
                        {aliases.ownerColumn, "position"},
                        {}});
    return tables;
  }

  // The field that fills member; nullptr when none does.
  template <class T>
  const Field<Record>* fieldOf(T Record::*member) const {
    for (const Field<Record>& field : fields) {
      const auto* candidate = std::any_cast<T Record::*>(&field.member);
      if (candidate && *candidate == member) return &field;
    }
    return nullptr;
  }

  // "SELECT <the field's columns> FROM <table> WHERE id = ?"
  const std::string& selectFieldSql(const Field<Record>& field) const {
    return m_selectField[static_cast<std::size_t>(&field - fields.data())];
  }

  // Loads every field of the row the statement stands on.
  void load(const Statement& row, Record& record) const {
    int column = 0;
    for (const Field<Record>& field : fields) field.load(row, column, record);
  }
  // Binds what INSERT writes from parameter 1 on.
  void bindInsert(Statement& statement, const Record& record) const { bindWritten(statement, record, false); }
  // Binds what UPDATE writes from parameter 1 on; the id goes last.
  void bindUpdate(Statement& statement, const Record& record, long long number) const {
    const int next = bindWritten(statement, record, true);
    statement.bind(next, number);
  }

  const char* table;
  const char* storedPrefix;
  const char* storelessPrefix;   // nullptr: the kind is stored only
  const char* what;              // "well", in messages
  std::vector<Field<Record>> fields;
  AliasTable aliases;
  std::string selectSql, existsSql, insertSql, updateSql;
  std::string selectAliasesSql, deleteAliasesSql, insertAliasSql;

private:
  std::vector<std::string> m_selectField;   // one per field, in order

  // "project" for the column "project_id".
  static std::string parentName(const std::string& column) {
    const std::string suffix = "_id";
    if (column.size() > suffix.size() && column.compare(column.size() - suffix.size(), suffix.size(), suffix) == 0)
      return column.substr(0, column.size() - suffix.size());
    return column;
  }
  static void append(std::string& list, const std::string& item) {
    if (!list.empty()) list += ", ";
    list += item;
  }
  int bindWritten(Statement& statement, const Record& record, bool updating) const {
    int index = 1;
    for (const Field<Record>& field : fields) {
      if (field.written == Written::Never || (updating && field.written == Written::OnCreate)) continue;
      field.bind(statement, index, record);
    }
    return index;
  }
};

// ------------------------------------------------------------ field kinds

template <class Record>
Field<Record> text(const char* column, std::string Record::*member, Written written = Written::Always) {
  return {{{column, ColumnType::Text}},
          written,
          member,
          [member](Statement& s, int& i, const Record& r) { s.bind(i++, r.*member); },
          [member](const Statement& s, int& i, Record& r) { r.*member = s.text(i++); }};
}

template <class Record>
Field<Record> integer(const char* column, short Record::*member) {
  return {{{column, ColumnType::Integer}},
          Written::Always,
          member,
          [member](Statement& s, int& i, const Record& r) { s.bind(i++, static_cast<long long>(r.*member)); },
          [member](const Statement& s, int& i, Record& r) { r.*member = static_cast<short>(s.integer(i++)); }};
}

// An entity id kept as its number: "project:3" is stored as 3. column may be
// an SQL expression when the field is computed (Written::Never).
template <class Record>
Field<Record> reference(const char* column, std::string Record::*member, const char* prefix,
                        Written written = Written::Always) {
  return {{{column, ColumnType::Integer}},
          written,
          member,
          [member, prefix](Statement& s, int& i, const Record& r) {
            const auto number = numberOf(r.*member, prefix);
            if (number)
              s.bind(i++, *number);
            else
              s.bindNull(i++);
          },
          [member, prefix](const Statement& s, int& i, Record& r) {
            r.*member = s.isNull(i) ? std::string() : formatId(prefix, s.integer(i));
            ++i;
          }};
}

// A quantity in two columns, <prefix>_value (NULL when never written) and <prefix>_unit.
template <class Record>
Field<Record> quantity(const std::string& prefix, Quantity Record::*member) {
  return {{{prefix + "_value", ColumnType::Real}, {prefix + "_unit", ColumnType::Text}},
          Written::Always,
          member,
          [member](Statement& s, int& i, const Record& r) {
            s.bind(i++, (r.*member).value);
            s.bind(i++, (r.*member).unit);
          },
          [member](const Statement& s, int& i, Record& r) {
            r.*member = {s.optionalReal(i), s.text(i + 1)};
            i += 2;
          }};
}

// A location in <prefix>_system, _x, _y, _z; coordinates NULL when not set.
template <class Record>
Field<Record> location(const std::string& prefix, Location Record::*member) {
  return {{{prefix + "_system", ColumnType::Text},
           {prefix + "_x", ColumnType::Real},
           {prefix + "_y", ColumnType::Real},
           {prefix + "_z", ColumnType::Real}},
          Written::Always,
          member,
          [member](Statement& s, int& i, const Record& r) {
            const Location& l = r.*member;
            s.bind(i++, l.set ? l.system : std::string());
            for (double value : {l.x, l.y, l.z}) {
              if (l.set)
                s.bind(i++, value);
              else
                s.bindNull(i++);
            }
          },
          [member](const Statement& s, int& i, Record& r) {
            Location& l = r.*member;
            l = Location{};
            if (!s.isNull(i + 1)) l = {true, s.text(i), s.real(i + 1), s.real(i + 2), s.real(i + 3)};
            i += 4;
          }};
}

} // namespace kelwelld

#endif
