// The PostgreSQL engine of the store, for a database that several service
// processes share. Each process has one writer connection (its writes go one
// at a time, as with SQLite) and a pool of reader connections. Writes run at
// REPEATABLE READ: when another process changed the same rows since this
// write began, the write is refused whole with a StoreException the client
// may retry, and nothing of it is kept (no lost update). Ids come from the
// tables' identity sequences, shared by every process on the database.
#ifndef KELWELLD_POSTGRESSTORE_H
#define KELWELLD_POSTGRESSTORE_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "store/Store.h"

namespace kelwelld {

class PostgresConnection;

class PostgresStore : public Store {
public:
  // url: a libpq connection URL ("postgresql://user@host:port/database").
  explicit PostgresStore(const std::string& url);
  ~PostgresStore() override;

  const std::string& name() const override { return m_name; }
  // The URL without its password.
  const std::string& path() const override { return m_shown; }
  Lease leaseReader() override;
  Lease leaseWriter() override;
  // LISTEN/NOTIFY on a channel named after the database's current schema.
  std::unique_ptr<StoreChannel> openChannel() override;

  // The URL to connect with (password included): for listeners of this
  // store's notifications.
  const std::string& url() const { return m_url; }

private:
  std::unique_ptr<PostgresConnection> connect() const;

  std::string m_url;
  std::string m_shown;
  std::string m_name;
  std::string m_channelName;
  std::mutex m_writerMutex;
  std::unique_ptr<PostgresConnection> m_writer;
  std::mutex m_poolMutex;
  std::vector<std::unique_ptr<PostgresConnection>> m_idleReaders;
};

// The URL with any password replaced by "***", for messages and logs.
std::string withoutPassword(const std::string& url);

// The SQL text of the store's portable dialect in PostgreSQL's: "?" becomes
// "$1", "$2", ...; LIKE becomes ILIKE, which ignores case as SQLite's LIKE
// does. Quoted literals are left alone.
std::string postgresDialect(const std::string& sql);

} // namespace kelwelld

#endif
