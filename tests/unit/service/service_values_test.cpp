// Pure parts of the service: ISO 8601 dates, entity ids, the command line.
#include <gtest/gtest.h>

#include "Options.h"
#include "servants/EntityKinds.h"
#include "core/Time.h"

using namespace kelwelld;

TEST(IsoDates, AcceptDatesAndDateTimesThatExist) {
  for (const char* good : {"2024-05-17", "2024-02-29", "2000-02-29", "2024-05-17T08:30", "2024-05-17T08:30:00",
                           "2024-05-17T08:30:00Z", "2024-05-17T08:30:00.125Z", "2024-05-17T08:30:00+02:00",
                           "2024-05-17T08:30:00-0330", "2016-12-31T23:59:60Z"})
    EXPECT_TRUE(isIsoDate(good)) << good;
  for (const char* bad : {"", "2023-02-29", "1900-02-29", "2024-04-31", "2024-00-10", "2024-13-01", "2024-5-17",
                          "17.05.2024", "2024-05-17 08:30", "2024-05-17T24:00", "2024-05-17T08:60",
                          "2024-05-17T08:30:00.", "2024-05-17T08:30:00ZZ", "2024-05-17T08:30+15:00",
                          "2024-05-17junk"})
    EXPECT_FALSE(isIsoDate(bad)) << bad;
  EXPECT_TRUE(isIsoDate(nowUtc()));
}

TEST(EntityIds, ParseOnlyTheServicesOwnForms) {
  EXPECT_EQ(formatId(Kind::StorelessWellBore, 12), "storeless-wellbore:12");
  const auto key = parseId("wellbore:7");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->kind, Kind::WellBore);
  EXPECT_EQ(key->number, 7);
  for (const char* bad : {"", "well", "well:", "well:0", "well:-1", "well:1x", "marker:3", "well:99999999999999999999",
                          ":4"})
    EXPECT_FALSE(parseId(bad)) << bad;
  EXPECT_FALSE(numberOf("well:3", Kind::WellBore));
  EXPECT_EQ(numberOf("pick:3", Kind::Pick).value_or(0), 3);   // picks are a kind of their own now
  EXPECT_EQ(numberOf("project:3", Kind::Project).value_or(0), 3);
}

TEST(EntityIds, ParseOnlyTheCanonicalSpellingOfANumber) {
  // Each of these would otherwise reach well 1 under a second id.
  for (const char* other : {"well:01", "well:000001", "well:+1", "well: 1", "well:1 ", "well:0x1"})
    EXPECT_FALSE(parseId(other)) << other;
  EXPECT_TRUE(parseId("well:10"));
  EXPECT_TRUE(parseId("well:100000000000000000"));
}

TEST(CommandLine, TakesTheDocumentedOptionsAndRefusesTheRest) {
  const Options options = parseOptions({"--store", "/tmp/x.db", "--host", "0.0.0.0", "--port=0", "--ior-file",
                                        "/tmp/ior", "--unit-system", "field", "--crs", "EPSG:32631",
                                        "--max-message-mb", "64", "--fault-injection"});
  EXPECT_EQ(options.store, "/tmp/x.db");
  EXPECT_EQ(options.host, "0.0.0.0");
  EXPECT_EQ(options.port, 0u);
  EXPECT_EQ(options.iorFile, "/tmp/ior");
  EXPECT_EQ(options.unitSystem, "field");
  EXPECT_EQ(options.crs, "EPSG:32631");
  EXPECT_EQ(options.maxMessageMb, 64u);
  EXPECT_TRUE(options.faultInjection);

  const Options defaults = parseOptions({"--store", ":memory:"});
  EXPECT_EQ(defaults.host, "127.0.0.1");
  EXPECT_EQ(defaults.port, 18110u);
  EXPECT_EQ(defaults.maxMessageMb, 512u);
  EXPECT_FALSE(defaults.faultInjection);
  EXPECT_TRUE(parseOptions({"--help"}).help);

  auto refusal = [](std::vector<std::string> arguments) -> std::string {
    try {
      parseOptions(arguments);
    } catch (const UsageError& e) {
      return e.what();
    }
    return "accepted";
  };
  EXPECT_EQ(refusal({}), "--store PATH is required (see --help)");
  EXPECT_EQ(refusal({"--store"}), "--store needs a value");
  EXPECT_EQ(refusal({"--store", "a", "--port", "70000"}), "--port must lie between 0 and 65535, not 70000");
  EXPECT_EQ(refusal({"--store", "a", "--port", "-1"}), "--port needs a whole number, not \"-1\"");
  EXPECT_EQ(refusal({"--store", "a", "--unit-system", "imperial"}),
            "--unit-system must be metric or field, not \"imperial\"");
  EXPECT_EQ(refusal({"--store", "a", "--max-message-mb", "0"}),
            "--max-message-mb must lie between 1 and 4095, not 0");
  EXPECT_EQ(refusal({"--store", "a", "--verbose"}), "unknown option \"--verbose\" (see --help)");
}

TEST(CommandLine, TakesTheLimitsOfResourcesWithinTheirRanges) {
  const Options defaults = parseOptions({"--store", "x.db"});
  EXPECT_EQ(defaults.maxConnections, 1000u);
  EXPECT_EQ(defaults.maxThreads, 128u);
  const struct {
    const char* option;
    const char* good;
    unsigned long Options::*member;
    const char* tooSmall;
    const char* tooLarge;
  } cases[] = {
      {"--max-text-kb", "4", &Options::maxTextKb, "0", "4194305"},
      {"--max-name-bytes", "64", &Options::maxNameBytes, "0", "1048577"},
      {"--max-sessions", "5", &Options::maxSessions, "0", "10000001"},
      {"--session-idle-s", "30", &Options::sessionIdleS, "0", "31536001"},
      {"--max-threads", "8", &Options::maxThreads, "1", "10001"},
      {"--max-connections", "50", &Options::maxConnections, "0", "60001"},
      {"--idle-connection-s", "10", &Options::idleConnectionS, "0", "86401"},
      {"--request-timeout-ms", "2000", &Options::requestTimeoutMs, "99", "86400001"},
      {"--stall-timeout-ms", "0", &Options::stallTimeoutMs, "-1", "3600001"},
      {"--event-queue", "7", &Options::eventQueue, "0", "1000001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    EXPECT_EQ(parseOptions({"--store", "x.db", c.option, c.good}).*c.member, std::stoul(c.good));
    for (const char* bad : {c.tooSmall, c.tooLarge, "many"})
      EXPECT_THROW(parseOptions({"--store", "x.db", c.option, bad}), UsageError) << bad;
  }
}

TEST(CommandLine, TakesTlsFilesOnlyTogether) {
  const Options tls = parseOptions({"--store", "x.db", "--tls-key", "k.pem", "--tls-ca", "ca.pem"});
  EXPECT_EQ(tls.tlsKey, "k.pem");
  EXPECT_EQ(tls.tlsCa, "ca.pem");
  EXPECT_THROW(parseOptions({"--store", "x.db", "--tls-key", "k.pem"}), UsageError);
  EXPECT_THROW(parseOptions({"--store", "x.db", "--tls-ca", "ca.pem"}), UsageError);
}
