// The LAS reader: the sample files' headers and samples, hand-made broken files with the
// exact error, the irregular files it reads past, encodings, decimal commas, wrapped data.
#include "Las.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace kelwell::las;

std::string dataFile(const std::string& name) { return std::string(KELWELL_LAS_DATA_DIR) + "/" + name; }

bool hasWarning(const LasFile& file, const std::string& text) {
  for (const Warning& warning : file.warnings) {
    if (warning.text == text) return true;
  }
  return false;
}

// A minimal LAS 2.0 header with curves DEPT (m) and GR; data follows.
std::string header(const std::string& wrap = "NO") {
  return "~VERSION INFORMATION\n"
         " VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\n"
         " WRAP.   " + wrap + " : wrap\n"
         "~WELL INFORMATION\n"
         " NULL.   -999.25 : NULL VALUE\n"
         "~CURVE INFORMATION\n"
         " DEPT.M   : depth\n"
         " GR  .GAPI : gamma ray\n"
         "~A\n";  // line 9; data from line 10
}

class LasReadTest : public ::testing::Test {
 protected:
  static LasFile read(const std::string& text) { return parse(text, "hand.las"); }
  static std::vector<double> column(const LasFile& file, const std::string& mnemonic) {
    const Curve* curve = file.logs().find(mnemonic);
    return curve ? curve->doubles : std::vector<double>{};
  }
};

// ---------------------------------------------------------------------------------------------
// The sample files: what their headers say, as the reader hands it back.

struct HeaderCase {
  const char* file;
  const char* section;  // "well", "parameters", or a section name
  const char* mnemonic;
  const char* unit;
  const char* value;
  const char* description;
};

TEST_F(LasReadTest, SampleFileHeaderItemsReadAsTheFilesWriteThem) {
  const HeaderCase cases[] = {
      {"F03-02.las", "well", "WELL", "", "F/3-2", "Well Name"},
      {"F03-02.las", "well", "STAT", "", "NORTH SEA", "State"},
      {"F03-02.las", "well", "CTRY", "", "", "Country"},
      {"F03-02.las", "parameters", "DENS", "", "800.", ""},
      {"P-135_out.LAS", "well", "WELL", "", "Eastrock Lauren #1", "WELL NAME"},
      {"P-135_out.LAS", "well", "LATI", "deg", "45\xE2\x88\x9E 39' 26.518\" N", "LATITUDE"},
      {"P-135_out.LAS", "well", "APD", "m", "4.00000",
       "Elevation of Depth Reference (LMF) Above Permanent Datum"},
      {"P-135_out.LAS", "well", "DATE", "", "12/30/2011",
       "LOG DATE(Composite Date for Composite LAP) (MM/DD/YYYY)"},
      // LAS 1.2 writes the value after the colon.
      {"lasio_1.2_sample.las", "well", "UWI", "", "100091604920W300", "UNIQUE WELL ID"},
      {"lasio_1.2_sample.las", "well", "COMP", "", "# ANY OIL COMPANY LTD.", "COMPANY"},
      {"lasio_1.2_sample.las", "parameters", "BHT", "DEGC", "35.5000", "BOTTOM HOLE TEMPERATURE"},
      {"lasio_1.2_sample_wrapped.las", "well", "UWI", "", "", "UNIQUE WELL ID"},
      {"lasio_2.0_sample_2.0.las", "parameters", "MUD", "", "GEL CHEM", "MUD TYPE"},
      {"lasio_2.0_sample_2.0_minimal.las", "well", "COMP", "", "ANY OIL COMPANY INC.", "COMPANY"},
      {"lasio_3.0_sample_3.0.las", "well", "LATI", "DEG", "34.56789", "Latitude"},
      {"lasio_3.0_sample_3.0.las", "well", "DATE", "", "13/12/1986", "LOG DATE"},
      {"lasio_3.0_sample_3.0.las", "Log_Parameter", "RUN_DEPTH", "M", "0, 1500", "Run 1 Depth Interval"},
      {"lasio_3.0_sample_3.0.las", "Log_Parameter", "MATR", "", "SAND", "Neutron Porosity Matrix"},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.mnemonic);
    const LasFile file = readFile(dataFile(c.file));
    const std::string section = c.section;
    const Section& items = section == "well"         ? file.well()
                           : section == "parameters" ? file.parameters()
                                                     : *file.section(section);
    const HeaderItem* item = items.find(c.mnemonic);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->unit, c.unit);
    EXPECT_EQ(item->value, c.value);
    EXPECT_EQ(item->description, c.description);
  }
}

struct ShapeCase {
  const char* file;
  const char* version;
  bool wrapped;
  char delimiter;
  double null;
  std::optional<double> step;
  std::size_t curves;  // in the log set
  std::size_t rows;
  double firstIndex, lastIndex;
  const char* sample;  // a curve, with its value in row 1
  double sampleRow1;
};

TEST_F(LasReadTest, SampleFilesGiveTheirVersionShapeNullAndSamples) {
  const ShapeCase cases[] = {
      {"F03-02.las", "2.0", false, ' ', -999.25, 0.0, 13, 14069, 2153.8647, 9.906, "DEPT", 2153.7124},
      {"P-135_out.LAS", "2.0", true, ' ', -999.25, 0.1524, 23, 4951, 197.5104, 951.8904, "GR", 77.621963501},
      {"lasio_1.2_sample.las", "1.2", false, ' ', -999.25, -0.125, 8, 3, 1670.0, 1669.75, "ILD", 105.6},
      {"lasio_1.2_sample_wrapped.las", "1.2", true, ' ', -999.25, -0.125, 36, 5, 910.0, 909.5, "LSWB", 0.0},
      {"lasio_2.0_sample_2.0.las", "2.0", false, ' ', -999.25, -0.125, 8, 3, 1670.0, 1669.75, "RHOB", 2550.0},
      {"lasio_2.0_sample_2.0_minimal.las", "2.0", false, ' ', -999.25, -0.125, 8, 2, 635.0, 634.875, "SP", 123.4},
      {"lasio_2.0_sample_2.0_wrapped.las", "2.0", true, ' ', -999.25, -0.125, 36, 2, 910.0, 909.875, "RHOB",
       2712.646},
      {"lasio_3.0_sample_3.0.las", "3.0", false, ',', -999.25, -0.125, 11, 3, 1670.0, 1669.75, "YME", 1.47e12},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.file);
    const LasFile file = readFile(dataFile(c.file));
    EXPECT_EQ(file.version, c.version);
    EXPECT_EQ(file.wrapped, c.wrapped);
    EXPECT_EQ(file.delimiter, c.delimiter);
    ASSERT_TRUE(file.nullValue.has_value());
    EXPECT_EQ(*file.nullValue, c.null);
    EXPECT_EQ(file.step, c.step);
    EXPECT_EQ(file.logs().curves.size(), c.curves);
    EXPECT_EQ(file.logs().rows(), c.rows);
    EXPECT_EQ(file.index().at(0), c.firstIndex);
    EXPECT_EQ(file.index().at(c.rows - 1), c.lastIndex);
    EXPECT_EQ(file.indexKind(), IndexKind::depth);
    const Curve* curve = file.logs().find(c.sample);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->at(1), c.sampleRow1);
  }
}

TEST_F(LasReadTest, NullValuesStayAsTheFileWritesThem) {
  // F03-02 declares -999.25 but fills its gaps with -9999: both are kept as they are.
  const LasFile file = readFile(dataFile("F03-02.las"));
  EXPECT_EQ(file.nullText, "-999.2500");
  EXPECT_EQ(file.logs().find("GR")->at(0), -9999.0);
  const LasFile p135 = readFile(dataFile("P-135_out.LAS"));
  EXPECT_EQ(p135.logs().find("CALI")->at(0), -999.25);
}

TEST_F(LasReadTest, Version3CurveSetsArraysTextAndRepeatedMnemonics) {
  const LasFile file = readFile(dataFile("lasio_3.0_sample_3.0.las"));
  std::vector<std::string> sets;
  for (const CurveSet& set : file.curveSets) sets.push_back(set.name + ":" + std::to_string(set.rows()));
  EXPECT_EQ(sets, (std::vector<std::string>{"Log:3", "Drilling:2", "Core:6", "Inclinometry:7", "Test:3",
                                            "TOPS:3", "Perforations:3"}));

  const Curve& nmr = *file.logs().find("NMR");
  EXPECT_EQ(nmr.elements, 5u);
  EXPECT_EQ(nmr.unit, "ms");
  EXPECT_EQ(nmr.format, "AF;0ms");
  EXPECT_EQ(nmr.elementMnemonics.back(), "NMR[5]");
  EXPECT_EQ(nmr.doubles, (std::vector<double>{10, 12, 14, 18, 13, 12, 15, 21, 35, 25, 18, 25, 10, 8, 17}));

  const Curve& description = *file.logs().find("CDES");
  EXPECT_EQ(description.type, SampleType::text);
  EXPECT_EQ(description.texts, (std::vector<std::string>{"DOLOMITE WI/VUGS", "LIMESTOVE", "LOST INTERVAL"}));

  // Two data sections, one after the other; a text column whose format is not declared.
  const CurveSet& core = file.curveSets[2];
  ASSERT_EQ(core.data.size(), 2u);
  EXPECT_EQ(core.data[1].name, "Core_Data[2]");
  EXPECT_EQ(core.data[1].firstRow, 3u);
  EXPECT_EQ(core.find("CORET")->at(3), 655.5);
  const CurveSet& tests = file.curveSets[4];
  EXPECT_EQ(tests.find("DDES")->texts[1], "Oil to surface");
  EXPECT_EQ(tests.find("FSIP")->at(1), 21451.0);

  // PERFT twice: both kept, each under a distinct name, the written one still there.
  const CurveSet& perforations = file.curveSets[6];
  EXPECT_EQ(perforations.curves[0].mnemonic, "PERFT:1");
  EXPECT_EQ(perforations.curves[3].mnemonic, "PERFT:2");
  EXPECT_EQ(perforations.curves[3].writtenMnemonic, "PERFT");
  EXPECT_EQ(perforations.find("PERFT")->unit, "M");
  EXPECT_EQ(perforations.curves[3].texts[0], "BIG HOLE");

  const Section& run = *file.section("Log_Parameter");
  EXPECT_EQ(run.find("RUN_DATE")->format, "DD/MM/YYYY");
  EXPECT_EQ(run.find("RUN_DATE")->association, "Run[1]");
  // "MD.  M  : Measured Depth": the unit stands apart from the dot.
  EXPECT_EQ(file.curveSets[3].find("MD")->unit, "M");
}

TEST_F(LasReadTest, Version3ColumnTurningToTextInALaterDataSectionKeepsItsEarlierRows) {
  const LasFile file = read(
      "~V\n VERS. 3.0 : x\n WRAP. NO : x\n DLM. COMMA : x\n"
      "~Core_Definition\n TOP.M : top {F}\n NOTE. : note\n"
      "~Core_Data[1] | Core_Definition\n 1,5\n 2,6\n"
      "~Core_Data[2] | Core_Definition\n 3,fine sand\n");
  ASSERT_EQ(file.curveSets.size(), 1u);
  const CurveSet& core = file.curveSets[0];
  EXPECT_EQ(core.find("TOP")->doubles, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(core.find("NOTE")->type, SampleType::text);
  EXPECT_EQ(core.find("NOTE")->texts, (std::vector<std::string>{"5", "6", "fine sand"}));
  ASSERT_EQ(core.data.size(), 2u);
  EXPECT_EQ(core.data[1].firstRow, 2u);
  EXPECT_EQ(core.data[1].rows, 1u);
  // No log curves: no index to hand out.
  EXPECT_TRUE(file.logs().curves.empty());
  EXPECT_THROW(file.index(), LasError);
}

// ---------------------------------------------------------------------------------------------
// Files that cannot be read: the file, the line and what was wrong.

struct BrokenCase {
  const char* name;
  std::string text;
  std::size_t line;
  const char* problem;
};

TEST_F(LasReadTest, BrokenFilesNameTheFileLineAndProblem) {
  const BrokenCase cases[] = {
      {"no section at all", "DEPT GR\n1 2\n", 0, "no line starts a section with '~': not a LAS file"},
      {"empty file", "", 0, "no line starts a section with '~': not a LAS file"},
      {"unknown version", "~V\n VERS. 4.0 : future\n~C\n DEPT.M :\n~A\n1\n", 2, "unsupported LAS version '4.0'"},
      {"version not a number", "~V\n VERS. two : x\n", 2, "unsupported LAS version 'two'"},
      {"unknown delimiter", "~V\n VERS. 3.0 : x\n WRAP. NO : x\n DLM . SEMICOLON : x\n", 4,
       "DLM must be SPACE, TAB or COMMA, not 'SEMICOLON'"},
      {"data before curves", "~V\n VERS. 2.0 : x\n WRAP. NO : x\n~A\n1 2\n", 4,
       "data section for curve set 'Log' comes before any definition of its curves"},
      {"too few values on a line", header() + "1 2\n3\n4 5\n", 11, "1 values where the curves ask for 2"},
      {"too many values on a line", header() + "1 2\n3 4 5\n", 11, "3 values where the curves ask for 2"},
      {"a word among numbers", header() + "1 2\n2 abc\n", 11, "'abc' is not a number (curve GR)"},
      {"a word where a record starts, numbers after", header() + "1 2\nx 3\n4 5\n", 11,
       "'x' is not a number (curve DEPT)"},
      {"wrapped data cut short", header("YES") + "1\n 2\n3\n", 12, "the data ends inside a record: 1 of 2 values"},
      {"two curve sections", header() + "1 2\n~C\n X.M :\n", 11, "second definition of curve set 'Log'"},
      {"two data sections", header() + "1 2\n~A\n3 4\n", 11, "second data section for the log curves"},
      {"version 3 data without definition",
       "~V\n VERS. 3.0 : x\n WRAP. NO : x\n~Core_Data | Core_Definition\n1,2\n", 4,
       "data section for curve set 'Core' comes before any definition of its curves"},
      {"version 3 word in a declared number column",
       "~V\n VERS. 3.0 : x\n WRAP. NO : x\n DLM. COMMA : x\n~Log_Definition\n DEPT.M : d {F}\n X. : x {F}\n"
       "~Log_Data | Log_Definition\n1,2\n2,abc\n",
       10, "'abc' is not a number (curve X)"},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      read(c.text);
      ADD_FAILURE() << "read without error";
    } catch (const LasError& error) {
      EXPECT_EQ(error.file(), "hand.las");
      EXPECT_EQ(error.line(), c.line);
      EXPECT_EQ(error.problem(), c.problem);
      const std::string where = c.line ? "hand.las:" + std::to_string(c.line) + ": " : "hand.las: ";
      EXPECT_EQ(std::string(error.what()), where + c.problem);
    }
  }
}

TEST_F(LasReadTest, AMissingFileSaysItCannotBeOpened) {
  try {
    readFile("/nonexistent/well.las");
    FAIL() << "read without error";
  } catch (const LasError& error) {
    EXPECT_EQ(std::string(error.what()), "/nonexistent/well.las: cannot be opened");
  }
}

// ---------------------------------------------------------------------------------------------
// Irregular files read anyway, each with its note.

struct IrregularCase {
  const char* name;
  std::string text;
  std::vector<double> depths;  // DEPT as read
  std::vector<double> gammas;  // GR as read
  const char* warning;         // expected among the warnings, or ""
  std::function<void(const LasFile&)> check = nullptr;
};

TEST_F(LasReadTest, IrregularFilesAreReadWithANote) {
  const std::string curves = "~C\n DEPT.M : depth\n GR.GAPI : gamma\n~A\n";
  const std::string version = "~V\n VERS. 2.0 : x\n WRAP. NO : x\n";
  const IrregularCase cases[] = {
      {"missing colon", version + "~W\n STRT.M 10\n" + curves + "10 1\n", {10}, {1},
       "no ':' before the description: the rest of the line is the value",
       [](const LasFile& f) { EXPECT_EQ(f.start, 10.0); }},
      {"missing dot", version + "~W\n NULL   -999.25 : null value\n" + curves + "1 -999.25\n", {1}, {-999.25},
       "no '.' after the mnemonic: read as a mnemonic without unit",
       [](const LasFile& f) { EXPECT_EQ(f.nullValue, -999.25); }},
      {"unit apart from the dot", version + "~C\n DEPT.  M : depth\n GR.GAPI : gamma\n~A\n1 2\n", {1}, {2},
       "unit written apart from the '.': taken as the unit",
       [](const LasFile& f) { EXPECT_EQ(f.index().unit, "M"); }},
      {"unit glued to the colon", version + "~C\n DEPT.M: depth\n GR.GAPI:gamma\n~A\n1 2\n", {1}, {2}, "",
       [](const LasFile& f) {
         EXPECT_EQ(f.index().unit, "M");
         EXPECT_EQ(f.logs().find("GR")->description, "gamma");
       }},
      {"value holding a colon", version + "~W\n TIME. 13:45 : start time\n" + curves + "1 2\n", {1}, {2}, "",
       [](const LasFile& f) { EXPECT_EQ(f.well().find("TIME")->value, "13:45"); }},
      {"blank lines and comments", version + "\n~W\n\n # a comment\n STRT.M 1 : s\n\n" + curves + "\n1 2\n\n#x\n3 4\n\n",
       {1, 3}, {2, 4}, ""},
      {"tabs", "~V\n VERS.\t2.0\t:\tx\n WRAP.\tNO\t:\tx\n~C\n DEPT\t.M\t:\tdepth\n GR\t.GAPI\t:\tg\n~A\n1\t2\n\t3\t4\t\n",
       {1, 3}, {2, 4}, "", [](const LasFile& f) { EXPECT_EQ(f.index().unit, "M"); }},
      {"trailing text after the data", header() + "1 2\n3 4\nEND OF DATA\n", {1, 3}, {2, 4},
       "text after the data is ignored"},
      {"trailing DOS end-of-file mark", header() + "1 2\n3 4\n\x1A", {1, 3}, {2, 4}, ""},
      {"WRAP NO over wrapped data", header("NO") + "1\n 2\n3\n 4\n", {1, 3}, {2, 4},
       "WRAP says NO but a record spans lines: read as wrapped",
       [](const LasFile& f) { EXPECT_TRUE(f.wrapped); }},
      {"WRAP neither yes nor no", header("MAYBE") + "1 2\n3 4\n", {1, 3}, {2, 4},
       "WRAP is neither YES nor NO: the data decides"},
      {"numbers in unusual spellings", header() + "+1 1.5D+02\n2 NaN\n3 1.#IND\n4 1e400\n", {1, 2, 3, 4},
       {150, NAN, NAN, INFINITY}, ""},
      {"a field of stars", header() + "1 ******\n", {1}, {-999.25},
       "a field of '*' (a number too wide to write) is read as the null value"},
      {"old Mac line ends", std::string("~V\r VERS. 2.0 : x\r WRAP. NO : x\r") + "~C\r DEPT.M : d\r GR. : g\r~A\r1 2\r3 4\r",
       {1, 3}, {2, 4}, ""},
      {"no version section", "~C\n DEPT.M : depth\n GR.GAPI : gamma\n~A\n1 2\n", {1}, {2}, "no VERS item: read as LAS 2.0"},
      {"text before the first section", "LAS file written by hand\n" + header() + "1 2\n", {1}, {2},
       "text before the first section is ignored"},
      {"header only", version + curves, {}, {}, ""},
      {"repeated mnemonic", version + "~C\n DEPT.M : d\n GR.GAPI : first\n GR.CPS : second\n~A\n1 2 3\n", {1}, {},
       "", [](const LasFile& f) {
         ASSERT_EQ(f.logs().curves.size(), 3u);
         EXPECT_EQ(f.logs().curves[1].mnemonic, "GR:1");
         EXPECT_EQ(f.logs().curves[2].mnemonic, "GR:2");
         EXPECT_EQ(f.logs().find("GR:2")->unit, "CPS");
         EXPECT_EQ(f.logs().find("GR")->description, "first");
       }},
      {"time index", version + "~C\n ETIM.S : elapsed time\n GR.GAPI : g\n~A\n0 1\n", {}, {1}, "",
       [](const LasFile& f) { EXPECT_EQ(f.indexKind(), IndexKind::time); }},
  };
  for (const IrregularCase& c : cases) {
    SCOPED_TRACE(c.name);
    LasFile file;
    try {
      file = read(c.text);
    } catch (const LasError& error) {
      ADD_FAILURE() << error.what();
      continue;
    }
    if (!c.depths.empty()) {
      EXPECT_EQ(column(file, "DEPT"), c.depths);
    }
    if (!c.gammas.empty()) {
      const std::vector<double> gammas = column(file, "GR");
      ASSERT_EQ(gammas.size(), c.gammas.size());
      for (std::size_t i = 0; i < gammas.size(); ++i) {
        if (std::isnan(c.gammas[i])) {
          EXPECT_TRUE(std::isnan(gammas[i]));
        } else {
          EXPECT_EQ(gammas[i], c.gammas[i]);
        }
      }
    }
    if (std::string(c.warning).empty()) {
      EXPECT_TRUE(file.warnings.empty()) << file.warnings.front().text;
    } else {
      EXPECT_TRUE(hasWarning(file, c.warning)) << "no warning: " << c.warning;
    }
    if (c.check) c.check(file);
  }
}

// ---------------------------------------------------------------------------------------------
// Encodings and decimal marks.

std::string utf16le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST_F(LasReadTest, TextOfEveryEncodingArrivesAsUtf8) {
  const std::string well = "~V\n VERS. 2.0 : x\n WRAP. NO : x\n~W\n COMP. ";
  const std::string rest = " : company\n~C\n DEPT.M : d\n~A\n1\n";
  const struct {
    const char* name;
    std::string text;
    const char* company;
  } cases[] = {
      {"Latin-1", well + "Temp\xE9rature S\xF8r" + rest, "Temp\xC3\xA9rature S\xC3\xB8r"},
      {"Windows-1252", well + "\x80 Oil \x96 Gas" + rest, "\xE2\x82\xAC Oil \xE2\x80\x93 Gas"},
      {"UTF-8", well + "\xC3\x98rsted" + rest, "\xC3\x98rsted"},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + well + "\xC3\x98rsted" + rest, "\xC3\x98rsted"},
      {"UTF-16 with a byte order mark", utf16le(well + "North Oil" + rest), "North Oil"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LasFile file = read(c.text);
    EXPECT_EQ(file.well().find("COMP")->value, c.company);
    EXPECT_EQ(file.index().doubles, std::vector<double>{1.0});
  }
}

TEST_F(LasReadTest, DecimalCommasWhenTheFileSaysSoOrTheDataLeavesNoDoubt) {
  const std::string v2 = "~V\n VERS. 2.0 : x\n WRAP. NO : x\n";
  const std::string curves = "~C\n DEPT.M : d\n GR.GAPI : g\n~A\n";
  const struct {
    const char* name;
    std::string text;
    bool decimalComma;
    char delimiter;
  } cases[] = {
      {"header numbers with commas", v2 + "~W\n STRT.M 1,5 : s\n" + curves + "1,5 2,25\n3,5 4\n", true, ' '},
      {"data alone, unambiguous", v2 + curves + "1,5 2,25\n3,5 4,0\n", true, ' '},
      {"commas between values", v2 + curves + "1.5,2.25\n3.5,4.0\n", false, ','},
      {"version 3 with DLM SPACE", "~V\n VERS. 3.0 : x\n WRAP. NO : x\n DLM. SPACE : x\n" + curves + "1,5 2,25\n3,5 4\n",
       true, ' '},
      {"version 3 with DLM COMMA", "~V\n VERS. 3.0 : x\n WRAP. NO : x\n DLM. COMMA : x\n" + curves + "1.5, 2.25\n3.5,4\n",
       false, ','},
      {"wrapped", "~V\n VERS. 2.0 : x\n WRAP. YES : x\n" + curves + "1,5\n 2,25\n3,5\n 4\n", true, ' '},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LasFile file = read(c.text);
    EXPECT_EQ(file.decimalComma, c.decimalComma);
    EXPECT_EQ(file.delimiter, c.delimiter);
    EXPECT_EQ(column(file, "DEPT"), (std::vector<double>{1.5, 3.5}));
    EXPECT_EQ(column(file, "GR"), (std::vector<double>{2.25, 4.0}));
  }
}

TEST_F(LasReadTest, WrappedRecordsMayBreakAnywhereBetweenValues) {
  const std::string text = "~V\n VERS. 2.0 : x\n WRAP. YES : x\n~C\n DEPT.M : d\n A. : a\n B. : b\n C. : c\n~A\n"
                           "10\n 1 2\n 3\n11\n 4\n 5 6\n";
  const LasFile file = read(text);
  EXPECT_TRUE(file.wrapped);
  EXPECT_EQ(column(file, "DEPT"), (std::vector<double>{10, 11}));
  EXPECT_EQ(column(file, "C"), (std::vector<double>{3, 6}));
}

TEST_F(LasReadTest, Float32SamplesAreTheDoublesRoundedOnce) {
  ReadOptions options;
  options.samples = SampleType::float32;
  const LasFile asFloats = readFile(dataFile("P-135_out.LAS"), options);
  const LasFile asDoubles = readFile(dataFile("P-135_out.LAS"));
  const Curve& gr = *asFloats.logs().find("GR");
  ASSERT_EQ(gr.type, SampleType::float32);
  ASSERT_EQ(gr.floats.size(), asDoubles.logs().find("GR")->doubles.size());
  for (std::size_t i = 0; i < gr.floats.size(); ++i) {
    ASSERT_EQ(gr.floats[i], static_cast<float>(asDoubles.logs().find("GR")->doubles[i])) << i;
  }
}

}  // namespace
