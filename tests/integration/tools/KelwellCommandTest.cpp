// The kelwell command against a real kelwelld: every LAS file of tests/data/las imported and
// exported round trip bit for bit, broken files refused with their exact errors and nothing
// stored, surveys checked against their reference TVDs, and the program's listings, JSON and
// exit codes.
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Command.h"
#include "Las.h"
#include "LasExport.h"
#include "LasImport.h"
#include "LibraryFixture.h"
#include "References.h"
#include "SurveyImport.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_WellLogTrace.h"

namespace {

namespace fs = std::filesystem;
namespace las = kelwell::las;
using json = nlohmann::json;
using kelwell::cmd::ImportedFile;
using Trace = kel_WellLogTrace;

const std::string kData = KELWELL_TEST_DATA_DIR;

std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
  std::vector<std::uint32_t> bits(values.size());
  if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
  return bits;
}

std::vector<float> valuesOf(const kel_Array<float>& array) {
  std::vector<float> values;
  array.read([&](const float* in, unsigned n) { values.assign(in, in + n); });
  return values;
}

// A trace's samples as the service keeps them: index, then each element.
struct Samples {
  std::vector<std::uint32_t> index;
  std::vector<std::vector<std::uint32_t>> elements;
  bool operator==(const Samples& other) const { return index == other.index && elements == other.elements; }
};

std::map<std::string, Samples> samplesOf(const kel_WellBore& bore) {
  std::map<std::string, Samples> out;
  const kel_Array<Trace> traces = bore.getLogTraces();
  for (unsigned i = 0; i < traces.size(); ++i) {
    Trace trace = traces[i];
    const Trace::TraceData data = trace.getTraceData(kel_Unit(), trace.getNativeIndexKind());
    Samples samples;
    samples.index = bitsOf(valuesOf(data.index.getValues()));
    for (unsigned e = 0; e < data.trace.getValues().size(); ++e)
      samples.elements.push_back(bitsOf(valuesOf(data.trace.getValues()[e])));
    out[trace.getTraceName().str()] = samples;
  }
  return out;
}

struct Outcome {
  int code = -1;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct KelwellTest : kelwell_test::LibraryFixture {
  KelwellTest() : LibraryFixture("kelwell", "Kelwell") {}

  void SetUp() override {
    scratch = fs::temp_directory_path() / ("kelwell-test-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
  }
  void TearDown() override {
    fs::remove_all(scratch);
    LibraryFixture::TearDown();
  }

  std::string projectName() const { return project.getName().str(); }

  std::string scratchFile(const std::string& name, const std::string& content) const {
    const std::string path = (scratch / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // The program with these arguments (each quoted), its exit code and what it wrote.
  Outcome kelwell(const std::vector<std::string>& args, const std::string& environment = "") const {
    std::string line = environment + " '" KELWELL_COMMAND "'";
    for (const std::string& arg : args) line += " '" + arg + "'";
    const std::string out = (scratch / "stdout").string(), err = (scratch / "stderr").string();
    const int status = std::system((line + " >'" + out + "' 2>'" + err + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
  }

  std::vector<ImportedFile> import(const std::vector<std::string>& files, const kel_Project& into) const {
    return kelwell::cmd::importLasFiles(session, into, files);
  }

  kel_WellBore boreOf(const kel_Project& in, const ImportedFile& file) const {
    const std::string key = file.well.substr(0, file.well.find('='));
    const std::vector<kel_Well> wells =
        kelwell::cmd::wellsWithIdentifier(in, key, file.well.substr(file.well.find('=') + 1));
    EXPECT_EQ(wells.size(), 1u) << file.well;
    return kelwell::cmd::findWellBore(in, wells.at(0), file.wellbore);
  }

  fs::path scratch;
};

std::vector<std::string> lasFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(kData + "/las")) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".las" || ext == ".LAS") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// ---------------------------------------------------------------- round trip

TEST_F(KelwellTest, EveryLasFileImportsAndExportsRoundTripBitForBit) {
  const std::vector<std::string> files = lasFiles();
  ASSERT_GE(files.size(), 8u);
  for (const std::string& lasPath : files) {
    // A project each way for each file: several sample files describe the same well (one UWI).
    const kel_Project into = newProject(), second = newProject();
    const ImportedFile file = import({lasPath}, into).at(0);
    SCOPED_TRACE(file.file);
    ASSERT_EQ(file.outcome, ImportedFile::Outcome::imported) << file.error;
    const kel_WellBore bore = boreOf(into, file);
    const std::map<std::string, Samples> stored = samplesOf(bore);
    EXPECT_EQ(stored.size(), file.tracesCreated.size());

    // The stored samples are the file's, as single-precision floats, in increasing index order.
    las::ReadOptions asFloats;
    asFloats.samples = las::SampleType::float32;
    const las::LasFile original = las::readFile(file.file, asFloats);
    std::vector<std::string> setsLeftOut;
    for (const las::CurveSet& set : original.curveSets) {
      const bool leftOut = std::any_of(file.notes.begin(), file.notes.end(), [&](const std::string& note) {
        return note.rfind("curve set " + set.name + " not imported: ", 0) == 0;
      });
      if (leftOut) {
        setsLeftOut.push_back(set.name);
        continue;
      }
      std::vector<float> index = set.curves.front().floats;
      const bool reversed = index.size() > 1 && index.front() > index.back();
      if (reversed) std::reverse(index.begin(), index.end());
      for (std::size_t c = 1; c < set.curves.size(); ++c) {
        const las::Curve& curve = set.curves[c];
        if (curve.type == las::SampleType::text) continue;
        const std::string name = (set.name == "Log" ? "" : set.name + "_") + curve.mnemonic;
        ASSERT_EQ(stored.count(name), 1u) << name;
        const Samples& s = stored.at(name);
        EXPECT_EQ(s.index, bitsOf(index)) << name;
        ASSERT_EQ(s.elements.size(), curve.elements) << name;
        for (std::size_t e = 0; e < curve.elements; ++e) {
          std::vector<float> element;
          for (std::size_t r = 0; r < curve.rows(); ++r) element.push_back(curve.floats[r * curve.elements + e]);
          if (reversed) std::reverse(element.begin(), element.end());
          EXPECT_EQ(s.elements[e], bitsOf(element)) << name << " element " << e;
        }
      }
    }

    // Exported (one file per curve set: each set has its own index) and imported again: the same samples.
    std::map<std::string, std::vector<std::string>> bySet;
    for (const las::CurveSet& set : original.curveSets) {
      if (std::find(setsLeftOut.begin(), setsLeftOut.end(), set.name) != setsLeftOut.end()) continue;
      for (std::size_t c = 1; c < set.curves.size(); ++c) {
        if (set.curves[c].type != las::SampleType::text)
          bySet[set.name].push_back((set.name == "Log" ? "" : set.name + "_") + set.curves[c].mnemonic);
      }
    }
    for (const auto& [setName, names] : bySet) {
      const las::LasFile exported = kelwell::cmd::exportWellBore(bore, names);
      const std::string path = (scratch / (fs::path(file.file).stem().string() + "-" + setName + ".las")).string();
      las::writeFile(exported, path);
      const std::vector<ImportedFile> again = import({path}, second);
      ASSERT_EQ(again.at(0).outcome, ImportedFile::Outcome::imported) << again.at(0).error;
      const std::map<std::string, Samples> back = samplesOf(boreOf(second, again.at(0)));
      for (const std::string& name : names) {
        ASSERT_EQ(back.count(name), 1u) << name;
        EXPECT_TRUE(back.at(name) == stored.at(name)) << name;
      }
      fs::remove(path);
    }
  }
}

// The wellbore lists a file's traces in the file's curve order, and an export of all of them
// writes its curves in that order; several files imported at once keep their own orders.
TEST_F(KelwellTest, ImportedTracesKeepTheFilesCurveOrder) {
  const std::vector<std::string> paths = {kData + "/las/P-135_out.LAS", kData + "/las/F03-02.las"};
  const std::vector<ImportedFile> files = import(paths, project);
  for (std::size_t f = 0; f < paths.size(); ++f) {
    SCOPED_TRACE(paths[f]);
    ASSERT_EQ(files.at(f).outcome, ImportedFile::Outcome::imported) << files.at(f).error;
    const las::LasFile original = las::readFile(paths[f]);
    std::vector<std::string> fileOrder;
    for (std::size_t c = 1; c < original.logs().curves.size(); ++c) fileOrder.push_back(original.logs().curves[c].mnemonic);
    ASSERT_GE(fileOrder.size(), 12u);

    const kel_WellBore bore = boreOf(project, files.at(f));
    const kel_Array<Trace> traces = bore.getLogTraces();
    std::vector<std::string> boreOrder;
    for (unsigned i = 0; i < traces.size(); ++i) boreOrder.push_back(Trace(traces[i]).getTraceName().str());
    EXPECT_EQ(boreOrder, fileOrder);

    const las::LasFile exported = kelwell::cmd::exportWellBore(bore, {});
    std::vector<std::string> exportOrder;
    for (std::size_t c = 1; c < exported.logs().curves.size(); ++c) exportOrder.push_back(exported.logs().curves[c].mnemonic);
    EXPECT_EQ(exportOrder, fileOrder);
  }
}

TEST_F(KelwellTest, ImportingAFileAgainSkipsItAndAnUnknownUnitIsKeptAsText) {
  const std::string path = scratchFile("unit.las",
                                       "~V\nVERS. 2.0 :\nWRAP. NO :\n~W\nSTRT.M 10 :\nSTOP.M 12 :\nSTEP.M 1 :\n"
                                       "NULL. -999.25 :\nWELL. Odd Units :\nUWI. ODD-1 :\nCOMP. Acme :\n"
                                       "~C\nDEPT.M :\nXYZ.FOO : a unit nobody knows\nGR.GAPI : gamma\n"
                                       "~A\n10 1 -999.25\n11 2 20\n12 3 30\n");
  const std::vector<ImportedFile> first = import({path}, project);
  ASSERT_EQ(first.at(0).outcome, ImportedFile::Outcome::imported) << first.at(0).error;
  EXPECT_THAT(first.at(0).notes,
              testing::Contains("curve XYZ: the unit \"FOO\" is not in the unit catalogue; kept as text, the trace "
                                "is unitless"));
  const kel_WellBore bore = boreOf(project, first.at(0));
  EXPECT_EQ(bore.getWell().getCurrentOperator().str(), "Acme");
  Trace xyz = kelwell::cmd::findTrace(project, bore, "XYZ");
  EXPECT_EQ(xyz.getTraceUnit().getAcronym().str(), kel_Unit::unitless);
  EXPECT_EQ(xyz.getComment().str(), "LAS unit: FOO");
  const std::string exported = las::write(kelwell::cmd::exportWellBore(bore, {}));
  EXPECT_THAT(exported, testing::HasSubstr(" XYZ.FOO "));
  const las::LasFile back = las::parse(exported, "back");
  EXPECT_EQ(back.logs().find("XYZ")->doubles, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(back.logs().find("GR")->doubles, (std::vector<double>{-999.25, 20, 30}));

  const std::vector<ImportedFile> again = import({path}, project);
  EXPECT_EQ(again.at(0).outcome, ImportedFile::Outcome::skipped);
  EXPECT_THAT(again.at(0).tracesSkipped, testing::UnorderedElementsAre("XYZ", "GR"));
  EXPECT_EQ(kel_Well::getWellsInProject(project).size(), 1u);
  EXPECT_EQ(bore.getLogTraces().size(), 2u);
}

TEST_F(KelwellTest, TheWellSectionDescribesANewWell) {
  const std::string tail = "~C\nDEPT.M :\nGR.GAPI :\n~A\n10 1\n11 2\n";
  const std::string head = "~V\nVERS. 2.0 :\nWRAP. NO :\n~W\nNULL. -999.25 :\n";
  const struct {
    const char* name;
    std::string well;         // well section items
    std::string identifier;   // the well's, as key=value
    std::string system;       // of the location, "" for none
    double x, y;
    std::string spud;         // YYYY-MM-DD, "" for none
    std::string note;         // a note the summary must hold, "" for none
  } cases[] = {
      {"decimal degrees", "UWI. D-1 :\nLATI. 45.5 :\nLONG. -64.25 :\nGDAT. WGS84 :\nSPUD. 1986-03-01 :\n", "UWI=D-1",
       "EPSG:4326", -64.25, 45.5, "1986-03-01", ""},
      {"degrees minutes seconds", "UWI. D-2 :\nLATI. 45 30' 0\" N :\nLONG. 64 15' 0\" W :\nGDAT. NAD83 :\n"
       "SPUD. 01-MAR-1986 :\n", "UWI=D-2", "EPSG:4269", -64.25, 45.5, "1986-03-01", ""},
      {"projected", "UWI. D-3 :\nX. 655701.377 :\nY. 40004.564 :\nHZCS. EPSG:32631 :\n", "UWI=D-3", "EPSG:32631",
       655701.377, 40004.564, "", ""},
      {"no datum", "UWI. D-4 :\nLATI. 45.5 :\nLONG. -64.25 :\n", "UWI=D-4", "", 0, 0, "",
       "location not stored: LATI/LONG without a geodetic datum the command knows (GDAT \"\")"},
      {"ambiguous date", "UWI. D-5 :\nSPUD. 03/01/86 :\n", "UWI=D-5", "", 0, 0, "",
       "spud date \"03/01/86\" is not a date the command reads: not stored"},
      {"null UWI", "UWI. -999.25 :\nWELL. Named :\n", "WELL=Named", "", 0, 0, "", ""},
      {"no latitude", "UWI. D-6 :\nLATI. 145 :\nLONG. 10 :\nGDAT. WGS84 :\n", "UWI=D-6", "", 0, 0, "",
       "location not stored: LATI \"145\" / LONG \"10\" are not a latitude and longitude"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImportedFile outcome = import({scratchFile("well.las", head + c.well + tail)}, project).at(0);
    ASSERT_EQ(outcome.outcome, ImportedFile::Outcome::imported) << outcome.error;
    EXPECT_EQ(outcome.well, c.identifier);
    if (!c.note.empty()) {
      EXPECT_THAT(outcome.notes, testing::Contains(c.note));
    }
    const kel_Well well = boreOf(project, outcome).getWell();
    if (c.system.empty()) {
      EXPECT_TRUE(std::isnan(well.getLocation().getX()));
    } else {
      const kel_Coordinate location = well.getLocation(kel_CoordSystem::getSystem(c.system.c_str()));
      EXPECT_NEAR(location.getX(), c.x, 1e-9);
      EXPECT_NEAR(location.getY(), c.y, 1e-9);
    }
    const kel_Date spud = well.getSpudDate();
    EXPECT_EQ(spud.isNullDate() ? "" : spud.toString().str().substr(0, 10), c.spud);
  }
}

TEST_F(KelwellTest, FilesOfOneWellShareItAndExportOnTheUnionOfTheirIndexes) {
  const std::string head = "~V\nVERS. 2.0 :\nWRAP. NO :\n~W\nNULL. -999.25 :\nUWI. U-1 :\n";
  std::vector<std::string> files;
  for (int f = 0; f < 6; ++f) {
    // Six files of one well on staggered depths, imported on several threads at once.
    std::string data;
    for (int r = 0; r < 3; ++r) data += std::to_string(10 + f + r) + ".5 " + std::to_string(f * 10 + r) + "\n";
    files.push_back(scratchFile("part" + std::to_string(f) + ".las",
                                head + "~C\nDEPT.M :\nC" + std::to_string(f) + ".GAPI :\n~A\n" + data));
  }
  const std::vector<ImportedFile> outcomes = import(files, project);
  int wellsCreated = 0;
  for (const ImportedFile& o : outcomes) {
    EXPECT_EQ(o.outcome, ImportedFile::Outcome::imported) << o.error;
    wellsCreated += o.wellCreated;
  }
  EXPECT_EQ(wellsCreated, 1);
  ASSERT_EQ(kel_Well::getWellsInProject(project).size(), 1u);
  const kel_WellBore bore = boreOf(project, outcomes[0]);
  const las::LasFile exported = las::parse(las::write(kelwell::cmd::exportWellBore(bore, {"C0", "C2"})), "union");
  const las::Curve* c0 = exported.logs().find("C0");
  const las::Curve* c2 = exported.logs().find("C2");
  ASSERT_TRUE(c0 && c2);
  EXPECT_EQ(exported.index().doubles, (std::vector<double>{10.5, 11.5, 12.5, 13.5, 14.5}));
  EXPECT_EQ(c0->doubles, (std::vector<double>{0, 1, 2, -999.25, -999.25}));
  EXPECT_EQ(c2->doubles, (std::vector<double>{-999.25, -999.25, 20, 21, 22}));
  try {
    kelwell::cmd::exportWellBore(bore, {"C0", "NOPE"});
    ADD_FAILURE() << "a missing curve was exported";
  } catch (const kelwell::cmd::CommandError& error) {
    EXPECT_EQ(error.code(), kelwell::cmd::kRefused);
    EXPECT_THAT(std::string(error.what()), testing::StartsWith("the wellbore has no log trace \"NOPE\" (it has: C"));
  }
}

// ---------------------------------------------------------------- broken files

TEST_F(KelwellTest, BrokenFilesAreRefusedWithTheirErrorAndLeaveNothingStored) {
  const std::string head = "~V\nVERS. 2.0 :\nWRAP. NO :\n~W\nNULL. -999.25 :\nWELL. Broken :\nUWI. B-1 :\n";
  const struct {
    const char* name;
    std::string content;
    std::string error;  // after "<path>:" (a LAS reader's error names the line)
  } cases[] = {
      {"word-in-data", head + "~C\nDEPT.M :\nGR.GAPI :\n~A\n10 1\n11 abc\n", "13: 'abc' is not a number (curve GR)"},
      {"index-repeats", head + "~C\nDEPT.M :\nGR.GAPI :\n~A\n10 1\n11 2\n11 3\n",
       " the index curve DEPT does not keep increasing (or decreasing) at data row 3: 11.000000 follows 11.000000 "
       "(compared as single-precision floats)"},
      {"index-unit-unknown", head + "~C\nDEPT.QQQ :\nGR.GAPI :\n~A\n10 1\n",
       " the index curve DEPT is in \"QQQ\", which the unit catalogue does not know"},
      {"index-not-depth-or-time", head + "~C\nDEPT.KG/M3 :\nGR.GAPI :\n~A\n10 1\n",
       " the index curve DEPT is in KG/M3, which measures density: an index must be a depth or a time"},
      {"index-without-unit", head + "~C\nDEPT. :\nGR.GAPI :\n~A\n10 1\n", " the index curve DEPT has no unit"},
      {"too-large-for-a-float", head + "~C\nDEPT.M :\nGR.GAPI :\n~A\n10 1\n11 1e39\n",
       " curve GR holds a value that is not a finite single-precision number in data row 2"},
      {"only-an-index", head + "~C\nDEPT.M :\n~A\n10\n11\n", " no numeric curve besides the index: nothing to import"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = scratchFile(std::string(c.name) + ".las", c.content);
    const std::vector<ImportedFile> outcome = import({path}, project);
    EXPECT_EQ(outcome.at(0).outcome, ImportedFile::Outcome::refused);
    EXPECT_EQ(outcome.at(0).error, path + ":" + c.error);
    EXPECT_TRUE(outcome.at(0).leftBehind.empty());
    EXPECT_EQ(kel_Well::getWellsInProject(project).size(), 0u);
  }
}

TEST_F(KelwellTest, ARefusalAfterTheWellWasCreatedSaysExactlyWhatWasLeft) {
  const std::string path = scratchFile("fault.las",
                                       "~V\nVERS. 2.0 :\nWRAP. NO :\n~W\nNULL. -999.25 :\nUWI. FLT-1 :\n"
                                       "~C\nDEPT.M :\nGR.GAPI :\n~A\n10 1\n11 2\n");
  raise("createWellLogTrace", "EpDataStore::StoreException", "The disk is full. ", "store");
  const ImportedFile outcome = import({path}, project).at(0);
  EXPECT_EQ(outcome.outcome, ImportedFile::Outcome::refused);
  EXPECT_THAT(outcome.error, testing::StartsWith(path + ": the service refused it: "));
  EXPECT_THAT(outcome.error, testing::HasSubstr("The disk is full. "));
  const std::vector<kel_Well> wells = kelwell::cmd::wellsWithIdentifier(project, "UWI", "FLT-1");
  ASSERT_EQ(wells.size(), 1u);
  const kel_Array<kel_WellBore> bores = kel_WellBore::getWellBoresOfWell(wells[0]);
  ASSERT_EQ(bores.size(), 1u);
  EXPECT_EQ(outcome.leftBehind, (std::vector<std::string>{"well UWI=FLT-1 (@" + wells[0].getId().str() + ")",
                                                          "wellbore FLT-1 (@" + bores[0].getId().str() + ")"}));
  EXPECT_EQ(bores[0].getLogTraces().size(), 0u);

  // Imported again once the service takes it: the same well and wellbore, now with their trace.
  const ImportedFile again = import({path}, project).at(0);
  EXPECT_EQ(again.outcome, ImportedFile::Outcome::imported) << again.error;
  EXPECT_FALSE(again.wellCreated);
  EXPECT_EQ(again.tracesCreated, std::vector<std::string>{"GR"});
}

// ---------------------------------------------------------------- surveys

// One column of a comma-separated survey below its headings; lines end in \n, \r\n or \r.
std::vector<double> column(const std::string& path, std::size_t at) {
  std::string all = slurp(path);
  std::replace(all.begin(), all.end(), '\r', '\n');
  std::vector<double> values;
  std::istringstream lines(all);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    std::istringstream fields(line);
    std::string field;
    for (std::size_t k = 0; k <= at; ++k) std::getline(fields, field, ',');
    values.push_back(std::stod(field));
  }
  return values;
}

TEST_F(KelwellTest, SurveysGiveTheReferenceTvds) {
  const struct {
    const char* file;
    const char* unit;
    std::size_t tvdColumn;
    double tolerance;
  } cases[] = {
      {"well10.csv", "ft", 3, 0.01},  // single-precision floats of TVDs to 10000 ft
      // The operator's TVD is coarse: whole metres equal to MD down to 247 m despite 3 degrees of inclination.
      {"P-130_deviation_survey.csv", "m", 3, 0.82},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    kel_Well well = newWell(c.file, c.file);
    kel_WellBore bore = newBore(well);
    const std::string path = kData + "/surveys/" + c.file;
    const Outcome run = kelwell({"import", "survey", path, "--wellbore", projectName() + "/" + c.file + "/00",
                             "--method", "minimum-curvature"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<double> reference = column(path, c.tvdColumn);
    const kel_Unit unit = kel_Unit::getUnit(c.unit);
    const kel_WellBore::PathData path3 = bore.getBoreData(unit, unit, kel_Unit::getUnit("s"));
    const std::vector<float> tvd = valuesOf(path3.column1.getValues());
    ASSERT_EQ(tvd.size(), reference.size());
    for (std::size_t i = 0; i < tvd.size(); ++i) EXPECT_NEAR(tvd[i], reference[i], c.tolerance) << "station " << i;
    EXPECT_EQ(bore.getCalcMethod(), kel_WellBore::CALCULATION_METHOD_0);
  }
}

TEST_F(KelwellTest, ASurveyThatCannotBeReadChangesNothing) {
  kel_Well well = newWell("S", "S-1");
  kel_WellBore bore = newBore(well);
  const std::string ref = projectName() + "/S-1/00";
  const struct {
    const char* name;
    const char* content;
    int code;
    const char* error;
  } cases[] = {
      {"word", "MD,INC,AZI\n0,0,0\n100,x,0\n", 1, ":3: column 2 is not a number (\"x\")"},
      {"no-azimuth", "MD,INC\n0,0\n", 1, ":1: no column \"AZI\" among the headings (use --columns)"},
      {"md-backwards", "MD INC AZI\n100 0 0\n50 1 0\n", 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = scratchFile(std::string(c.name) + ".csv", c.content);
    const Outcome run = kelwell({"import", "survey", path, "--wellbore", ref});
    EXPECT_EQ(run.code, c.code) << run.out << run.err;
    if (*c.error) {
      EXPECT_EQ(run.err, "kelwell: " + path + c.error + "\n");
    }
    EXPECT_EQ(bore.getBoreData().column0.getValues().size(), 0u);
  }
}

TEST_F(KelwellTest, SurveyTablesInTheirUsualShapes) {
  const struct {
    const char* name;
    const char* content;
    const char* columns;
    std::vector<double> md, inclination, azimuth;
    const char* mdUnit;
  } cases[] = {
      {"whitespace, headings", "MD INC AZI\n0 0 0\n100.5 1.5 45\n", "", {0, 100.5}, {0, 1.5}, {0, 45}, ""},
      {"semicolons, CR only", "MD;INC;AZI\r0;0;0\r10;2;3\r", "", {0, 10}, {0, 2}, {0, 3}, ""},
      {"long headings with units", "Measured Depth ( ft ),Inclination ( deg ),Azimuth Grid ( deg )\r\n1,2,3\r\n",
       "", {1}, {2}, {3}, "ft"},
      {"columns by heading", "AZ,DEPTH,DIP\n30,5,1\n", "DEPTH,DIP,AZ", {5}, {1}, {30}, ""},
      {"columns by number, comments", "# a survey\n7 9 8 # first\n", "1,3,2", {7}, {8}, {9}, ""},
      {"no headings", "1 2 3\n4 5 6\n", "", {1, 4}, {2, 5}, {3, 6}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const kelwell::cmd::SurveyTable table = kelwell::cmd::readSurvey(scratchFile("s.txt", c.content), c.columns);
    EXPECT_EQ(table.md, c.md);
    EXPECT_EQ(table.inclination, c.inclination);
    EXPECT_EQ(table.azimuth, c.azimuth);
    EXPECT_EQ(table.mdUnit, c.mdUnit);
  }
}

TEST_F(KelwellTest, ReferencesSplitOnSingleSlashes) {
  EXPECT_EQ(kelwell::cmd::splitReference("North Sea/F//3-2/@wellbore:4"),
            (std::vector<std::string>{"North Sea", "F/3-2", "@wellbore:4"}));
  EXPECT_EQ(kelwell::cmd::splitReference("P"), std::vector<std::string>{"P"});
  for (const char* bad : {"", "P/", "/W", "P/W/"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(kelwell::cmd::splitReference(bad), kelwell::cmd::CommandError);
  }
}

// ---------------------------------------------------------------- the program

TEST_F(KelwellTest, ImportListShowAndExportThroughTheProgram) {
  const std::string file = kData + "/las/lasio_2.0_sample_2.0.las";
  const Outcome imported = kelwell({"import", "las", file, "--project", projectName(), "--json"});
  ASSERT_EQ(imported.code, 0) << imported.err;
  const json summary = json::parse(imported.out);
  EXPECT_EQ(summary["imported"], 1);
  EXPECT_EQ(summary["refused"], 0);
  const std::string well = summary["files"][0]["well"].get<std::string>();
  const std::string uwi = well.substr(well.find('=') + 1);
  const std::string boreRef = projectName() + "/" + uwi + "/" + summary["files"][0]["wellbore"].get<std::string>();

  const json projects = json::parse(kelwell({"ls", "projects", "--json"}).out);
  EXPECT_TRUE(std::any_of(projects.begin(), projects.end(), [&](const json& p) { return p["name"] == projectName(); }));
  const json wells = json::parse(kelwell({"ls", "wells", projectName(), "--json"}).out);
  ASSERT_EQ(wells.size(), 1u);
  EXPECT_EQ(wells[0]["identifier"], well);
  const json traces = json::parse(kelwell({"ls", "traces", boreRef, "--json"}).out);
  EXPECT_EQ(traces.size(), summary["files"][0]["tracesCreated"].size());
  const json dt = json::parse(kelwell({"show", boreRef + "/" + traces[0]["name"].get<std::string>(), "--json"}).out);
  EXPECT_EQ(dt["kind"], "log trace");
  EXPECT_EQ(dt["samples"], traces[0]["samples"]);
  EXPECT_EQ(dt["id"], traces[0]["id"]);
  const json byId = json::parse(kelwell({"show", boreRef + "/@" + traces[0]["id"].get<std::string>(), "--json"}).out);
  EXPECT_EQ(byId["name"], traces[0]["name"]);

  const std::string out = (scratch / "out.las").string();
  const Outcome exported = kelwell({"export", "las", boreRef, "--out", out, "--curves", traces[0]["name"]});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(las::readFile(out).logs().curves.size(), 2u);
  const Outcome table = kelwell({"ls", "wellbores", projectName()});
  EXPECT_THAT(table.out, testing::StartsWith("ID  "));
}

TEST_F(KelwellTest, ExitCodesSayWhatWentWrong) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string environment;
    int code;
    std::string error;  // the start of standard error
  } cases[] = {
      {"no subcommand", {}, "", 2, ""},
      {"unknown option", {"ls", "--frobnicate"}, "", 2, ""},
      {"help", {"import", "las", "--help"}, "", 0, ""},
      {"unknown project", {"ls", "wells", "No Such Project"}, "", 1, "kelwell: no project \"No Such Project\"\n"},
      {"not a wellbore", {"export", "las", "P/W", "--out", "x.las"}, "", 2,
       "kelwell: \"P/W\" does not name a wellbore: write PROJECT/WELL/WELLBORE\n"},
      {"unreachable", {"ls"}, "KELWELL_SERVICE=corbaloc:iiop:127.0.0.1:1/kelwell", 3,
       "kelwell: cannot reach the well data service at corbaloc:iiop:127.0.0.1:1/kelwell"},
      {"unreadable file refused", {"import", "las", kData + "/surveys/well10.csv", "--project", projectName(), "-q"}, "", 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = kelwell(c.args, c.environment);
    EXPECT_EQ(run.code, c.code) << run.out << run.err;
    EXPECT_THAT(run.err, testing::StartsWith(c.error));
  }
  EXPECT_THAT(kelwell({"--help"}).out, testing::HasSubstr("Exit codes: 0"));
}

}  // namespace
