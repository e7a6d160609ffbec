// Reading and writing LAS (Log ASCII Standard) well log files, in-process.
//
//   kelwell::las::LasFile file = kelwell::las::readFile("F03-02.las");
//   const kelwell::las::Curve& depth = file.index();            // first curve of the log set
//   for (const kelwell::las::Curve& curve : file.logs().curves) ...  // curve.doubles, row-major
//   kelwell::las::writeFile(file, "copy.las");                   // LAS 2.0, unwrapped
//
// The reader takes LAS 1.2, 2.0 and 3.0, wrapped or not, in UTF-8 (with or without a byte
// order mark), UTF-16 with a byte order mark, or Latin-1 / Windows-1252; every text it hands
// back is UTF-8. Irregularities it can read past without guessing at data (a missing colon,
// a unit written apart from the dot, a mislabelled WRAP) are recorded in LasFile::warnings;
// anything else throws LasError naming the file, the line and what was wrong. A failed read
// returns nothing at all.
//
// No CORBA and no store here: the `kelwell` command and tests use this module directly.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelwell::las {

// A file that cannot be read: which file, which line (1-based; 0 when the failure is about
// the whole file) and what was wrong, also joined into what() as "FILE:LINE: PROBLEM".
class LasError : public std::runtime_error {
 public:
  LasError(std::string file, std::size_t line, std::string problem);

  const std::string& file() const noexcept { return file_; }
  std::size_t line() const noexcept { return line_; }
  const std::string& problem() const noexcept { return problem_; }

 private:
  std::string file_;
  std::size_t line_;
  std::string problem_;
};

// Something the reader read past, with the line it is about.
struct Warning {
  std::size_t line = 0;
  std::string text;
};

// One header line: "MNEM.UNIT  VALUE : DESCRIPTION {FORMAT} | ASSOCIATION".
struct HeaderItem {
  std::string mnemonic;     // as written
  std::string unit;         // as written, empty when none
  std::string value;
  std::string description;
  std::string format;       // LAS 3.0 "{...}" without the braces, else empty
  std::string association;  // LAS 3.0 "| ..." without the bar, else empty
  std::size_t line = 0;
};

// A header section: ~Version, ~Well, ~Parameter, ~Log_Parameter, ... (not the curve
// definitions, which live in their CurveSet, nor ~Other, which is LasFile::other).
struct Section {
  std::string name;  // as written after '~', without any "| association"
  std::vector<HeaderItem> items;

  // The first item with this mnemonic (case-insensitive), or nullptr.
  const HeaderItem* find(std::string_view mnemonic) const;
};

enum class SampleType { float64, float32, text };

// One curve (one column, or several for an array curve) of a curve set.
struct Curve {
  std::string mnemonic;          // distinct within its set: "GR:1", "GR:2" when GR repeats
  std::string writtenMnemonic;   // as in the file ("GR"; "NMR" for NMR[1]..NMR[5])
  std::string unit;              // as written
  std::string apiCode;           // the value field of the definition line
  std::string description;
  std::string format;            // LAS 3.0 "{...}" content, e.g. "F", "AF;0ms", "S"
  std::size_t elements = 1;      // more than one for an array curve
  std::vector<std::string> elementMnemonics;  // "NMR[1]", ... for an array curve, else empty

  // The samples, row-major (row * elements + element); only the vector of `type` is filled.
  // Nulls keep the file's null value: they are not turned into NaN.
  SampleType type = SampleType::float64;
  std::vector<double> doubles;
  std::vector<float> floats;
  std::vector<std::string> texts;

  std::size_t rows() const;
  // The sample at (row, element) as a double (0 for a text curve).
  double at(std::size_t row, std::size_t element = 0) const;
};

// The rows one data section contributed to its curve set (LAS 3.0 may give a set several
// data sections, e.g. ~Core_Data[1] and ~Core_Data[2]; their rows follow one another).
struct DataSection {
  std::string name;
  std::size_t line = 0;      // of the "~" line
  std::size_t firstRow = 0;
  std::size_t rows = 0;
};

// Curves defined together and sampled together: ~Curve/~Ascii in LAS 1.2 and 2.0,
// ~X_Definition/~X_Data in LAS 3.0 (the set "X"; "Log" for ~Curve/~Log_Definition).
struct CurveSet {
  std::string name;
  std::vector<Curve> curves;
  std::vector<DataSection> data;

  // The curve with this mnemonic (distinct or as written, case-insensitive), or nullptr.
  const Curve* find(std::string_view mnemonic) const;
  std::size_t rows() const { return curves.empty() ? 0 : curves.front().rows(); }
};

enum class IndexKind { depth, time, other };

struct LasFile {
  std::string path;             // as given to readFile, or the name given to parse
  std::string version;          // "1.2", "2.0" or "3.0"
  std::string versionAsWritten; // the VERS value, e.g. "2.00"
  bool wrapped = false;         // read as wrapped: WRAP YES, or records found spanning lines
  char delimiter = ' ';         // ' ' (spaces and tabs), '\t' or ','
  bool decimalComma = false;    // numbers were written with a decimal comma

  std::vector<Section> sections;   // header sections in file order
  std::vector<CurveSet> curveSets; // the log set ("Log") first when there is one
  std::string other;               // the ~Other text, lines joined with '\n'

  // The well section's NULL, STRT, STOP, STEP as numbers, when they are numbers.
  std::optional<double> nullValue;
  std::string nullText;            // NULL as written
  std::optional<double> start, stop, step;  // step 0 means "not regular"

  std::vector<Warning> warnings;

  const Section* section(std::string_view name) const;  // case-insensitive, exact name
  const Section& well() const;        // ~Well (empty when absent)
  const Section& parameters() const;  // ~Parameter or ~Log_Parameter (empty when absent)
  const CurveSet& logs() const;       // the log curve set (empty when absent)
  const Curve& index() const;         // first curve of the log set; throws when none
  IndexKind indexKind() const;        // by the index curve's unit, else its mnemonic
};

struct ReadOptions {
  // float32 halves the memory for large files; samples are parsed as doubles and rounded once.
  SampleType samples = SampleType::float64;
};

// Reads a LAS file. Throws LasError.
LasFile readFile(const std::string& path, const ReadOptions& options = {});
// Reads LAS text already in memory; `name` is the file name errors carry. Throws LasError.
LasFile parse(std::string_view text, std::string name, const ReadOptions& options = {});

// To write traces that did not come from a file, fill a LasFile by hand: a CurveSet named
// "Log" whose first curve is the index (mnemonic and writtenMnemonic set, doubles or floats
// filled, type to match), a Section named "Well" with the well items, nullValue and step.
//
// Writes the log set (and the ~Version, ~Well, ~Parameter, ~Other content) as LAS 2.0,
// unwrapped, space-delimited, with '.' decimals; each sample in the shortest text that reads
// back to the same double (float64) or float (float32) bits. Throws std::invalid_argument when
// the model cannot be written (no curves, curves of unequal length, text curves).
std::string write(const LasFile& file);
// write() into a file; throws LasError when the file cannot be written.
void writeFile(const LasFile& file, const std::string& path);

}  // namespace kelwell::las
