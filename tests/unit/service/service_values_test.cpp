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
