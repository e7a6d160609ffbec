// kel_WellBoreList against a real kelwelld, and its change events reaching
// other processes: each listener is a program of its own
// (wellborelist_listener) whose standard output the test reads.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "LibraryService.h"
#include "kel_WellBoreList.h"

using namespace library_test;
using kelwell_test::Kind;
using kelwell_test::Level;

namespace {

std::string idOf(const kel_Entity& entity) { return text(entity.getId()); }

std::vector<std::string> idsOf(const kel_Array<kel_WellBore>& bores) {
  std::vector<std::string> ids;
  for (unsigned i = 0; i < bores.size(); ++i) ids.push_back(idOf(bores[i]));
  return ids;
}

kel_Array<kel_WellBore> arrayOf(const std::vector<kel_WellBore>& bores) {
  kel_Array<kel_WellBore> array(static_cast<unsigned>(bores.size()));
  for (unsigned i = 0; i < bores.size(); ++i) array.set(i, bores[i]);
  return array;
}

#if !KELWELL_EARLIER_INTERFACE   // no change events at the earlier level
// A listener program started with its standard output on a pipe.
class ListenerProcess {
public:
  ListenerProcess(int events, int quietSeconds) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    m_pid = fork();
    if (m_pid == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      const std::string count = std::to_string(events), seconds = std::to_string(quietSeconds);
      execl(WELLBORELIST_LISTENER, WELLBORELIST_LISTENER, count.c_str(), seconds.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    m_out = out[0];
  }
  ~ListenerProcess() {
    kill();
    close(m_out);
  }

  // The next line, or "" when none comes within the time or the program ended.
  std::string line(int timeoutMs = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto newline = m_buffer.find('\n');
      if (newline != std::string::npos) {
        std::string line = m_buffer.substr(0, newline);
        m_buffer.erase(0, newline + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      pollfd ready{m_out, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return "";
      char chunk[4096];
      const ssize_t got = read(m_out, chunk, sizeof chunk);
      if (got <= 0) return "";
      m_buffer.append(chunk, static_cast<std::size_t>(got));
    }
  }

  // Every line until the program ends; its exit status through status.
  std::vector<std::string> rest(int& status) {
    std::vector<std::string> lines;
    for (std::string next = line(); !next.empty(); next = line()) lines.push_back(next);
    status = -1;
    if (m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid) m_pid = -1;
    return lines;
  }

  void kill() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

private:
  pid_t m_pid = -1;
  int m_out = -1;
  std::string m_buffer;
};

// The three lines a listener prints for one change.
std::vector<std::string> linesOf(int kind, const kel_WellBore& bore) {
  return {"kel_WellBoreListDataChangedEvent", "callback " + std::to_string(kind) + " " + idOf(bore),
          "handler " + std::to_string(kind)};
}
#endif

struct WellBoreListTest : Fixture {
  WellBoreListTest() : well(newWell()) {
    for (const char* name : {"A", "B", "C"}) bores.push_back(newBore(well, name));
  }
  kel_Well well;
  std::vector<kel_WellBore> bores;
};

} // namespace

TEST_F(WellBoreListTest, ListsAreCreatedReadAndChangedThroughTheService) {
  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    const auto create = stored ? &kel_WellBoreList::createNewWellBoreList
                               : &kel_WellBoreList::createStorelessWellBoreList;
    kel_WellBoreList list = create(project, "Study A", "picked by hand", arrayOf({bores[1], bores[0]}), session);
    EXPECT_EQ("Study A", text(list.getName()));
    EXPECT_EQ("picked by hand", text(list.getDataSource()));
    EXPECT_TRUE(list.getProject() == project);
    EXPECT_EQ(idsOf(list.getBores()), (std::vector<std::string>{idOf(bores[1]), idOf(bores[0])}));

    list.setName("Study B");
    list.setDataSource("");
    list.addBore(bores[2]);
    list.removeBore(bores[1]);
    EXPECT_EQ("Study B", text(list.getName()));
    EXPECT_EQ("", text(list.getDataSource()));
    EXPECT_EQ(idsOf(list.getBores()), (std::vector<std::string>{idOf(bores[0]), idOf(bores[2])}));
    EXPECT_GE(list.getLastModified("members").getYear(), 2020);

    expectChain(failureOf([&] { list.addBore(bores[0]); }),
                {Level(Kind::User, "Could not add a wellbore to the wellbore list. ",
                       "Caught an EpiWell::WellBoreList::DuplicateBoreException exception in the "
                       "kel_WellBoreList::addBore method. The wellbore " + idOf(bores[0]) +
                           " is already in the list " + idOf(list) + ". ")});
    expectChain(failureOf([&] { list.removeBore(bores[1]); }),
                {Level(Kind::User, "Could not remove the supplied well bore from the wellbore list. ",
                       "Caught an EpiWell::WellBoreList::BoreNotFoundException exception in the "
                       "kel_WellBoreList::removeBore method. The wellbore " + idOf(bores[1]) +
                           " is not in the list " + idOf(list) + ". ")});
    const kel_Project elsewhere = newProject();
    const kel_WellBore far = kel_WellBore::createNewWellBore(
        kel_Well::createNewWell(elsewhere, "Far", kel_StringPair("UWI", "9"), session), kel_StringPair("Bore", "F"),
        session);
    const Failure foreign = failureOf([&] { list.addBore(far); });
    EXPECT_TRUE(foreign.isSystemException());
    EXPECT_EQ("Could not add a wellbore to the wellbore list. ", text(foreign.getMessage()));
    EXPECT_EQ(idsOf(list.getBores()), (std::vector<std::string>{idOf(bores[0]), idOf(bores[2])}));

    const kel_WellBoreList again = kel_WellBoreList::getFromString(list.getStringifiedReference());
    EXPECT_TRUE(again == list);
  }
  const kel_Array<kel_WellBoreList> found = kel_WellBoreList::getWellBoreListsInProject(project);
  ASSERT_EQ(1u, found.size());   // the stored one
  EXPECT_EQ("Study B", text(found[0].getName()));
}

#if !KELWELL_EARLIER_INTERFACE
TEST_F(WellBoreListTest, AnotherProcessHearsEveryChangeInOrderAndAKilledListenerStopsNoOther) {
  kel_WellBoreList list =
      kel_WellBoreList::createNewWellBoreList(project, "Watched", "", kel_Array<kel_WellBore>(), session);
  // The changes, applied in this order: kind 0 added, 1 removed.
  const std::vector<std::pair<int, kel_WellBore>> changes = {
      {0, bores[0]}, {0, bores[1]}, {1, bores[0]}, {0, bores[2]}, {0, bores[0]}, {1, bores[1]}};
  // Two that hear everything, one killed between them.
  ListenerProcess hearing(static_cast<int>(changes.size()), 20);
  ListenerProcess killed(static_cast<int>(changes.size()), 20);
  ListenerProcess alsoHearing(static_cast<int>(changes.size()), 20);
  ASSERT_EQ("ready", hearing.line());
  ASSERT_EQ("ready", killed.line());
  ASSERT_EQ("ready", alsoHearing.line());

  std::vector<std::string> expected;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (i == 2) killed.kill();   // mid-stream
    if (changes[i].first == 0)
      list.addBore(changes[i].second);
    else
      list.removeBore(changes[i].second);
    for (const std::string& line : linesOf(changes[i].first, changes[i].second)) expected.push_back(line);
  }
  for (ListenerProcess* listener : {&hearing, &alsoHearing}) {
    int status = 0;
    EXPECT_EQ(listener->rest(status), expected);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(idsOf(list.getBores()), (std::vector<std::string>{idOf(bores[2]), idOf(bores[0])}));
}
#endif
