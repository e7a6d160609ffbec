// The LAS reader: headers line by line, then each data section in one pass over its text.
#include "Las.h"
#include "LasText.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <system_error>

namespace kelwell::las {
namespace {

using text::equalsIgnoreCase;
using text::isBlank;
using text::trim;

// What the reader says when it stops; each text is the end of "FILE:LINE: ...".
namespace problem {
constexpr const char* kCannotOpen = "cannot be opened";
constexpr const char* kNotLas = "no line starts a section with '~': not a LAS file";
constexpr const char* kVersion = "unsupported LAS version '";                 // + VERS + "'"
constexpr const char* kDelimiter = "DLM must be SPACE, TAB or COMMA, not '";  // + DLM + "'"
constexpr const char* kNoDefinition = "data section for curve set '";         // + set + kNoDefinitionEnd
constexpr const char* kNoDefinitionEnd = "' comes before any definition of its curves";
constexpr const char* kTwoDefinitions = "second definition of curve set '";   // + set + "'"
constexpr const char* kTwoDataSections = "second data section for the log curves";
constexpr const char* kValueCount = " values where the curves ask for ";      // N + ... + M
constexpr const char* kNotANumber = " is not a number (curve ";               // 'X' + ... + C + ")"
constexpr const char* kRecordCut = "the data ends inside a record: ";         // + "K of N values"
}  // namespace problem

// What the reader read past.
namespace note {
constexpr const char* kTextBeforeFirstSection = "text before the first section is ignored";
constexpr const char* kNoVersion = "no VERS item: read as LAS 2.0";
constexpr const char* kNoColon = "no ':' before the description: the rest of the line is the value";
constexpr const char* kNoDot = "no '.' after the mnemonic: read as a mnemonic without unit";
constexpr const char* kNotAnItem = "not a header line: ignored";
constexpr const char* kUnitApart = "unit written apart from the '.': taken as the unit";
constexpr const char* kWrapWord = "WRAP is neither YES nor NO: the data decides";
constexpr const char* kWrappedAfterAll = "WRAP says NO but a record spans lines: read as wrapped";
constexpr const char* kUnknownSection = "section of unknown kind kept as it is";
constexpr const char* kTrailingText = "text after the data is ignored";
constexpr const char* kOverflowField = "a field of '*' (a number too wide to write) is read as the null value";
constexpr const char* kDecimalComma = "numbers are written with a decimal comma";
constexpr const char* kCommaSeparated = "data values are separated by commas";
constexpr const char* kNotANumberHeader = " is not a number";  // NAME + " value 'X'" + ...
}  // namespace note

// One line at a time: "\n", "\r\n" and a lone "\r" (old Mac files) all end a line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ >= text_.size(); }
  std::size_t position() const { return pos_; }
  std::size_t lineNumber() const { return line_; }  // of the line last returned
  void seek(std::size_t pos, std::size_t line) { pos_ = pos, line_ = line; }

  std::string_view next() {
    const std::size_t start = pos_;
    std::size_t end = start;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
    return text_.substr(start, end - start);
  }

  // Whether the next line starts a section, without moving.
  bool nextStartsSection() const {
    std::size_t p = pos_;
    while (p < text_.size() && isBlank(text_[p])) ++p;
    return p < text_.size() && text_[p] == '~';
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
};

enum class Kind { version, well, parameter, definition, data, other, unknown };

struct Title {
  Kind kind = Kind::unknown;
  std::string name;  // as written, without "~" and "| association"
  std::string set;   // the curve set of a definition or data section
};

bool endsWithIgnoreCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && equalsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
}

bool isVersion3SectionWord(std::string_view word) {
  for (std::string_view known : {"Version", "Well", "Curve", "Parameter", "Other", "Ascii"}) {
    if (text::startsWithIgnoreCase(word, known)) return true;
  }
  return false;
}

// "~Core_Data[1] | Core_Definition", "~A  DEPTH  GR", "~Log_Definition", "~Well Information".
Title classify(std::string_view line, bool version3) {
  line = trim(line);
  line.remove_prefix(1);  // '~'
  Title title;
  std::string_view association;
  if (const std::size_t bar = line.find('|'); bar != std::string_view::npos) {
    association = trim(line.substr(bar + 1));
    line = line.substr(0, bar);
  }
  line = trim(line);
  title.name = std::string(line);
  // LAS 3.0 names: SET_Definition, SET_Data[n], SET_Parameter.
  std::string_view word = line.substr(0, std::min(line.find_first_of(" \t"), line.size()));
  std::string_view bare = word.substr(0, std::min(word.find('['), word.size()));
  if (endsWithIgnoreCase(bare, "_Definition")) {
    title.kind = Kind::definition;
    title.set = std::string(bare.substr(0, bare.size() - 11));
  } else if (endsWithIgnoreCase(bare, "_Data")) {
    title.kind = Kind::data;
    title.set = std::string(bare.substr(0, bare.size() - 5));
    if (endsWithIgnoreCase(association, "_Definition")) {
      title.set = std::string(association.substr(0, association.size() - 11));
    }
  } else if (endsWithIgnoreCase(bare, "_Parameter")) {
    title.kind = Kind::parameter;
  } else if (!word.empty() && (!version3 || word.size() == 1 || isVersion3SectionWord(word))) {
    // LAS 1.2 and 2.0: only the first letter counts; LAS 3.0 spells the names out.
    switch (std::toupper(static_cast<unsigned char>(word[0]))) {
      case 'V': title.kind = Kind::version; break;
      case 'W': title.kind = Kind::well; break;
      case 'P': title.kind = Kind::parameter; break;
      case 'O': title.kind = Kind::other; break;
      case 'C': title.kind = Kind::definition, title.set = "Log"; break;
      case 'A': title.kind = Kind::data, title.set = "Log"; break;
      default: break;
    }
  }
  if (equalsIgnoreCase(title.set, "Log") || equalsIgnoreCase(title.set, "Curve")) title.set = "Log";
  return title;
}

// A format names text when it is "S" or a date or time pattern.
bool formatIsText(std::string_view format) {
  format = trim(format);
  return (!format.empty() && (format[0] == 'S' || format[0] == 's')) ||
         format.find('/') != std::string_view::npos || format.find(':') != std::string_view::npos;
}

bool looksNumeric(std::string_view s) {
  double ignored = 0;
  return text::parseNumber(s, false, ignored) || text::parseNumber(s, true, ignored);
}

// "NMR[3]" -> ("NMR", 3); anything else -> (name, 0).
std::pair<std::string_view, int> arrayElement(std::string_view mnemonic) {
  if (mnemonic.size() < 4 || mnemonic.back() != ']') return {mnemonic, 0};
  const std::size_t open = mnemonic.rfind('[');
  if (open == std::string_view::npos || open == 0) return {mnemonic, 0};
  int index = 0;
  const char* first = mnemonic.data() + open + 1;
  const char* last = mnemonic.data() + mnemonic.size() - 1;
  const auto result = std::from_chars(first, last, index);
  if (result.ptr != last || result.ec != std::errc() || index <= 0) return {mnemonic, 0};
  return {mnemonic.substr(0, open), index};
}

// Where one column of a data section goes.
struct Column {
  Curve* curve;
  bool text;
  bool declaredNumeric;  // a numeric format or the index: a word there is an error, not text
};

class Reader {
 public:
  Reader(std::string_view bytes, std::string name, const ReadOptions& options)
      : name_(std::move(name)), options_(options) {
    text::Encoding encoding;
    text_ = text::toUtf8(bytes, decoded_, encoding);
    // DOS end-of-file marks and padding NULs are not part of the text.
    while (!text_.empty() && (text_.back() == '\x1A' || text_.back() == '\0')) text_.remove_suffix(1);
  }

  LasFile read();

 private:
  [[noreturn]] void fail(std::size_t line, const std::string& what) const { throw LasError(name_, line, what); }
  void warn(std::size_t line, std::string what) { file_.warnings.push_back({line, std::move(what)}); }

  bool isVersion3() const { return file_.version == "3.0"; }
  std::optional<HeaderItem> parseItem(std::string_view line, std::size_t number, Kind kind);
  void readItems(LineCursor& cursor, Section& section, Kind kind);
  void applyVersionSection(const Section& section);
  void applyWellSection(Section& section);
  std::optional<double> headerNumber(const Section& section, std::string_view mnemonic);
  void defineCurves(const Title& title, std::size_t titleLine, const Section& definitions);
  enum class DataPass { done, restart };
  void readData(LineCursor& cursor, const Title& title, std::size_t titleLine);
  DataPass readDataOnce(LineCursor& cursor, CurveSet& set, const Title& title, std::size_t titleLine,
                        std::size_t firstRow);
  DataPass finishData(CurveSet& set, const Title& title, std::size_t titleLine, std::size_t firstRow,
                      std::size_t rows, bool wrapped);
  void chooseDecimalMark(std::string_view firstLine, std::size_t columns, std::size_t number);

  std::string name_;
  ReadOptions options_;
  std::string decoded_;
  std::string_view text_;
  LasFile file_;
  bool wrapDeclared_ = false;
  bool wrapKnown_ = false;
  bool delimiterDeclared_ = false;
  bool markChosen_ = false;  // the meaning of ',' is decided once, on the first data line holding one
};

std::optional<HeaderItem> Reader::parseItem(std::string_view line, std::size_t number, Kind kind) {
  HeaderItem item;
  item.line = number;
  std::string_view rest = trim(line);

  // LAS 3.0 adds "{format}" and "| association" after the description.
  std::size_t colon = std::string_view::npos;
  int depth = 0;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '{') ++depth;
    if (rest[i] == '}' && depth > 0) --depth;
    // The last colon ends the value (values such as times may hold colons of their own).
    if (rest[i] == ':' && depth == 0) colon = i;
  }
  std::string_view description;
  if (colon == std::string_view::npos) {
    if (rest.find('.') == std::string_view::npos) {
      warn(number, note::kNotAnItem);
      return std::nullopt;
    }
    warn(number, note::kNoColon);
  } else {
    description = rest.substr(colon + 1);
    rest = rest.substr(0, colon);
  }
  if (isVersion3()) {
    if (const std::size_t bar = description.rfind('|'); bar != std::string_view::npos) {
      item.association = std::string(trim(description.substr(bar + 1)));
      description = description.substr(0, bar);
    }
    description = trim(description);
    if (!description.empty() && description.back() == '}') {
      if (const std::size_t open = description.rfind('{'); open != std::string_view::npos) {
        item.format = std::string(trim(description.substr(open + 1, description.size() - open - 2)));
        description = description.substr(0, open);
      }
    }
  }
  item.description = std::string(trim(description));

  // The mnemonic runs to the first '.', the unit from there to the first blank.
  rest = trim(rest);
  std::size_t dot = rest.find('.');
  if (dot != std::string_view::npos && trim(rest.substr(0, dot)).find_first_of(" \t") != std::string_view::npos) {
    dot = std::string_view::npos;  // that dot belongs to a value: "STRT  1670.0"
  }
  if (dot == std::string_view::npos) {
    const std::size_t blank = std::min(rest.find_first_of(" \t"), rest.size());
    item.mnemonic = std::string(rest.substr(0, blank));
    item.value = std::string(trim(rest.substr(blank)));
    warn(number, note::kNoDot);
  } else {
    item.mnemonic = std::string(trim(rest.substr(0, dot)));
    const std::string_view afterDot = rest.substr(dot + 1);
    const std::size_t blank = std::min(afterDot.find_first_of(" \t"), afterDot.size());
    item.unit = std::string(afterDot.substr(0, blank));
    item.value = std::string(trim(afterDot.substr(blank)));
    // "MD.  M  : Measured Depth": a curve's lone word after a detached dot is its unit.
    if (kind == Kind::definition && item.unit.empty() && !item.value.empty() &&
        item.value.find_first_of(" \t") == std::string::npos && !looksNumeric(item.value)) {
      item.unit = std::move(item.value);
      item.value.clear();
      warn(number, note::kUnitApart);
    }
  }
  if (item.mnemonic.empty()) {
    warn(number, note::kNotAnItem);
    return std::nullopt;
  }
  return item;
}

void Reader::readItems(LineCursor& cursor, Section& section, Kind kind) {
  while (!cursor.atEnd() && !cursor.nextStartsSection()) {
    const std::string_view line = cursor.next();
    const std::string_view content = trim(line);
    if (content.empty() || content[0] == '#') continue;
    if (kind == Kind::other) {
      if (!file_.other.empty()) file_.other += '\n';
      file_.other += std::string(content);
      continue;
    }
    if (std::optional<HeaderItem> item = parseItem(line, cursor.lineNumber(), kind)) {
      section.items.push_back(std::move(*item));
    }
  }
}

void Reader::applyVersionSection(const Section& section) {
  if (const HeaderItem* vers = section.find("VERS")) {
    file_.versionAsWritten = vers->value;
    double number = 0;
    const std::string_view value = trim(vers->value);
    const std::string_view first = value.substr(0, std::min(value.find_first_of(" \t"), value.size()));
    if (!text::parseNumber(first, false, number) && !text::parseNumber(first, true, number)) number = -1;
    if (number >= 1.0 && number < 2.0) {
      file_.version = "1.2";
    } else if (number >= 2.0 && number < 3.0) {
      file_.version = "2.0";
    } else if (number >= 3.0 && number < 4.0) {
      file_.version = "3.0";
    } else {
      fail(vers->line, std::string(problem::kVersion) + vers->value + "'");
    }
  } else {
    warn(0, note::kNoVersion);
  }
  if (const HeaderItem* wrap = section.find("WRAP")) {
    const std::string word = text::upper(trim(wrap->value));
    if (word == "YES" || word == "Y") {
      wrapDeclared_ = wrapKnown_ = true;
    } else if (word == "NO" || word == "N") {
      wrapDeclared_ = false, wrapKnown_ = true;
    } else {
      warn(wrap->line, note::kWrapWord);
    }
  }
  if (const HeaderItem* dlm = section.find("DLM")) {
    const std::string word = text::upper(trim(dlm->value));
    if (word == "SPACE" || word.empty()) {
      file_.delimiter = ' ';
    } else if (word == "TAB") {
      file_.delimiter = '\t';
    } else if (word == "COMMA") {
      file_.delimiter = ',';
    } else {
      fail(dlm->line, std::string(problem::kDelimiter) + dlm->value + "'");
    }
    delimiterDeclared_ = true;
  }
}

std::optional<double> Reader::headerNumber(const Section& section, std::string_view mnemonic) {
  const HeaderItem* item = section.find(mnemonic);
  if (!item) return std::nullopt;
  std::string_view value = trim(item->value);
  if (value.empty()) return std::nullopt;
  double number = 0;
  if (text::parseNumber(value, false, number)) return number;
  // "1670,5": the file writes decimal commas.
  if (value.find('.') == std::string_view::npos && text::parseNumber(value, true, number)) {
    file_.decimalComma = true;
    return number;
  }
  // "-999.25 garbage": the number, then text that is no part of it.
  const std::string_view first = value.substr(0, std::min(value.find_first_of(" \t"), value.size()));
  if (text::parseNumber(first, false, number)) return number;
  warn(item->line, std::string(mnemonic) + " value '" + item->value + "'" + note::kNotANumberHeader);
  return std::nullopt;
}

void Reader::applyWellSection(Section& section) {
  // LAS 1.2 writes most well items as "MNEM.  DESCRIPTION : VALUE".
  if (file_.version == "1.2") {
    for (HeaderItem& item : section.items) {
      const bool numeric = equalsIgnoreCase(item.mnemonic, "STRT") || equalsIgnoreCase(item.mnemonic, "STOP") ||
                           equalsIgnoreCase(item.mnemonic, "STEP") || equalsIgnoreCase(item.mnemonic, "NULL");
      if (!numeric) std::swap(item.value, item.description);
    }
  }
  file_.start = headerNumber(section, "STRT");
  file_.stop = headerNumber(section, "STOP");
  file_.step = headerNumber(section, "STEP");
  file_.nullValue = headerNumber(section, "NULL");
  if (const HeaderItem* null = section.find("NULL")) file_.nullText = null->value;
}

void Reader::defineCurves(const Title& title, std::size_t titleLine, const Section& definitions) {
  for (const CurveSet& set : file_.curveSets) {
    if (equalsIgnoreCase(set.name, title.set)) fail(titleLine, std::string(problem::kTwoDefinitions) + title.set + "'");
  }
  CurveSet set;
  set.name = title.set;
  const std::vector<HeaderItem>& items = definitions.items;
  for (std::size_t i = 0; i < items.size();) {
    const HeaderItem& first = items[i];
    Curve curve;
    curve.writtenMnemonic = first.mnemonic;
    curve.unit = first.unit;
    curve.apiCode = first.value;
    curve.description = first.description;
    curve.format = first.format;
    // NMR[1], NMR[2], ... in a row make one array curve NMR.
    const auto [base, index] = arrayElement(first.mnemonic);
    std::size_t count = 1;
    if (index == 1) {
      while (i + count < items.size()) {
        const auto [nextBase, nextIndex] = arrayElement(items[i + count].mnemonic);
        if (nextBase != base || nextIndex != static_cast<int>(count) + 1) break;
        ++count;
      }
    }
    if (count > 1) {
      curve.writtenMnemonic = std::string(base);
      curve.elements = count;
      for (std::size_t e = 0; e < count; ++e) curve.elementMnemonics.push_back(items[i + e].mnemonic);
    }
    curve.type = formatIsText(curve.format) ? SampleType::text : options_.samples;
    set.curves.push_back(std::move(curve));
    i += count;
  }
  // A repeated mnemonic stays visible as written; each copy gets a distinct name.
  std::map<std::string, int> seen;
  for (const Curve& curve : set.curves) ++seen[text::upper(curve.writtenMnemonic)];
  std::map<std::string, int> numbered;
  for (Curve& curve : set.curves) {
    const std::string key = text::upper(curve.writtenMnemonic);
    curve.mnemonic = seen[key] > 1 ? curve.writtenMnemonic + ":" + std::to_string(++numbered[key])
                                   : curve.writtenMnemonic;
  }
  if (equalsIgnoreCase(set.name, "Log")) {
    file_.curveSets.insert(file_.curveSets.begin(), std::move(set));
  } else {
    file_.curveSets.push_back(std::move(set));
  }
}

// Fields of one data line, for the decisions taken on the first line and for error texts.
std::vector<std::string_view> splitFields(std::string_view line, char delimiter) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i]) && !(delimiter == '\t' && line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::size_t end = i;
    if (line[i] == '"') {
      end = line.find('"', i + 1);
      end = end == std::string_view::npos ? line.size() : end + 1;
    }
    if (delimiter == ' ') {
      while (end < line.size() && !isBlank(line[end])) ++end;
    } else {
      while (end < line.size() && line[end] != delimiter) ++end;
    }
    fields.push_back(trim(line.substr(i, end - i)));
    i = end;
    if (delimiter != ' ' && i < line.size()) ++i;  // past the delimiter
  }
  return fields;
}

void Reader::chooseDecimalMark(std::string_view firstLine, std::size_t columns, std::size_t number) {
  if (firstLine.find(',') == std::string_view::npos) return;  // decided by the first line with a comma
  markChosen_ = true;
  if (file_.delimiter == ',') return;
  // "1,5": a decimal comma when the header said so, or when every comma sits between digits
  // and reading commas as separators would not give one value per curve.
  const std::vector<std::string_view> blankSplit = splitFields(firstLine, file_.delimiter);
  bool commaBetweenDigits = true;
  for (std::string_view field : blankSplit) {
    const std::size_t comma = field.find(',');
    if (comma == std::string_view::npos) continue;
    if (field.find(',', comma + 1) != std::string_view::npos || field.find('.') != std::string_view::npos ||
        comma == 0 || comma + 1 >= field.size() || !std::isdigit(static_cast<unsigned char>(field[comma - 1])) ||
        !std::isdigit(static_cast<unsigned char>(field[comma + 1]))) {
      commaBetweenDigits = false;
    }
  }
  const std::size_t commaSplit = splitFields(firstLine, ',').size();
  // A wrapped record starts with the index alone on its line.
  const bool wrappedIndexLine = wrapKnown_ && wrapDeclared_ && blankSplit.size() == 1;
  const bool decimal = commaBetweenDigits && (file_.decimalComma || delimiterDeclared_ || wrappedIndexLine ||
                                              commaSplit != columns || blankSplit.size() == columns);
  if (decimal) {
    file_.decimalComma = true;
    warn(number, note::kDecimalComma);
  } else {
    file_.delimiter = ',';
    warn(number, note::kCommaSeparated);
  }
}

// One field of a data line starting at or after `p`: its text (quotes and blanks around it
// taken off) and where the next field's search starts. Empty text when the line has no more.
struct Field {
  std::string_view text;
  std::size_t next;
  bool found;
};

Field nextField(std::string_view all, std::size_t p, std::size_t lineEnd, char delimiter) {
  while (p < lineEnd && isBlank(all[p]) && !(delimiter == '\t' && all[p] == '\t')) ++p;
  if (p >= lineEnd) return {{}, lineEnd, false};
  std::size_t q = p;
  std::size_t after;
  if (all[p] == '"') {
    const std::size_t close = all.find('"', p + 1);
    q = close == std::string_view::npos || close > lineEnd ? lineEnd : close;
    ++p;
    after = std::min(q + 1, lineEnd);
  } else if (delimiter == ' ') {
    while (q < lineEnd && !isBlank(all[q])) ++q;
    after = q;
  } else {
    while (q < lineEnd && all[q] != delimiter) ++q;
    after = q;
  }
  std::string_view field = all.substr(p, q - p);
  if (delimiter != ' ') {
    field = trim(field);
    // Past the delimiter; anything between a closing quote and it is dropped.
    while (after < lineEnd && all[after] != delimiter) ++after;
    if (after < lineEnd) ++after;
  }
  return {field, after, true};
}

// Whether any line from `pos` to the next section starts with a number.
bool moreDataFollows(std::string_view all, std::size_t pos, char delimiter, bool decimalComma) {
  LineCursor rest(all);
  rest.seek(pos, 0);
  while (!rest.atEnd() && !rest.nextStartsSection()) {
    const std::vector<std::string_view> fields = splitFields(trim(rest.next()), delimiter);
    double ignored;
    if (!fields.empty() && !fields[0].empty() && fields[0][0] != '#' &&
        text::parseNumber(fields[0], decimalComma, ignored)) {
      return true;
    }
  }
  return false;
}

void Reader::readData(LineCursor& cursor, const Title& title, std::size_t titleLine) {
  CurveSet* set = nullptr;
  for (CurveSet& candidate : file_.curveSets) {
    if (equalsIgnoreCase(candidate.name, title.set)) set = &candidate;
  }
  if (!set) fail(titleLine, std::string(problem::kNoDefinition) + title.set + problem::kNoDefinitionEnd);
  if (!isVersion3() && !set->data.empty()) fail(titleLine, problem::kTwoDataSections);

  const std::size_t firstRow = set->rows();
  const std::size_t warningsBefore = file_.warnings.size();
  // A word in a column of undeclared type makes that column text (LAS 3.0 only); the section
  // is then read again from its start.
  DataPass pass = DataPass::restart;
  while (pass == DataPass::restart) {
    file_.warnings.resize(warningsBefore);
    pass = readDataOnce(cursor, *set, title, titleLine, firstRow);
  }
}

// Undoes a data section's rows; a column turned text keeps its earlier sections' numbers as text.
void undoRows(CurveSet& set, std::size_t firstRow) {
  for (Curve& curve : set.curves) {
    const std::size_t keep = firstRow * curve.elements;
    curve.doubles.resize(std::min(curve.doubles.size(), keep));
    curve.floats.resize(std::min(curve.floats.size(), keep));
    curve.texts.resize(std::min(curve.texts.size(), keep));
    if (curve.type == SampleType::text && curve.texts.size() < keep) {
      for (double v : curve.doubles) curve.texts.push_back(text::formatDouble(v));
      for (float v : curve.floats) curve.texts.push_back(text::formatFloat(v));
      curve.doubles.clear();
      curve.floats.clear();
    }
  }
}

Reader::DataPass Reader::readDataOnce(LineCursor& cursor, CurveSet& set, const Title& title, std::size_t titleLine,
                                      std::size_t firstRow) {
  std::vector<Column> columns;
  for (Curve& curve : set.curves) {
    const bool declaredNumeric = !curve.format.empty() && !formatIsText(curve.format);
    for (std::size_t e = 0; e < curve.elements; ++e) {
      columns.push_back({&curve, curve.type == SampleType::text, declaredNumeric || columns.empty()});
    }
  }
  const std::size_t width = columns.size();
  const std::string_view all = text_;
  const bool storeFloats = options_.samples == SampleType::float32;

  bool wrapped = wrapKnown_ && wrapDeclared_;
  bool firstLine = true;
  bool reserved = false;
  std::size_t k = 0;  // the next column of the record being filled
  std::size_t rowsDone = 0;
  std::size_t pos = cursor.position();
  std::size_t line = cursor.lineNumber();
  std::size_t lastDataLine = line;
  while (pos < all.size()) {
    // One line: [lineStart, lineEnd); the next begins at `next`.
    const std::size_t lineStart = pos;
    std::size_t lineEnd = pos;
    while (lineEnd < all.size() && all[lineEnd] != '\n' && all[lineEnd] != '\r') ++lineEnd;
    std::size_t next = lineEnd;
    if (next < all.size() && all[next] == '\r') ++next;
    if (next < all.size() && all[next] == '\n') ++next;
    std::size_t p = lineStart;
    while (p < lineEnd && isBlank(all[p])) ++p;
    if (p < lineEnd && all[p] == '~') break;  // the next section
    pos = next;
    ++line;
    if (p == lineEnd || all[p] == '#') continue;
    const std::string_view content = all.substr(p, lineEnd - p);
    if (!markChosen_) chooseDecimalMark(content, width, line);
    const char delimiter = file_.delimiter;
    const bool comma = file_.decimalComma;
    auto valueCountProblem = [&] {
      return std::to_string(splitFields(content, delimiter).size()) + problem::kValueCount + std::to_string(width);
    };

    std::size_t fieldsInLine = 0;
    for (Field field = nextField(all, p, lineEnd, delimiter); field.found;
         field = nextField(all, field.next, lineEnd, delimiter)) {
      if (k == 0 && !wrapped && fieldsInLine > 0) fail(line, valueCountProblem());
      const Column& column = columns[k];
      if (column.text) {
        column.curve->texts.emplace_back(field.text);
      } else {
        double value;
        if ((comma || !text::parseSimpleNumber(field.text, value)) &&
            !text::parseNumber(field.text, comma, value)) {
          // A word where a number belongs.
          const std::string notANumber =
              "'" + std::string(field.text) + "'" + problem::kNotANumber + column.curve->mnemonic + ")";
          if (!field.text.empty() && field.text.find_first_not_of('*') == std::string_view::npos &&
              file_.nullValue) {
            value = *file_.nullValue;
            warn(line, note::kOverflowField);
          } else if (k == 0 && fieldsInLine == 0 && rowsDone > 0 && !moreDataFollows(all, next, delimiter, comma)) {
            warn(line, note::kTrailingText);
            LineCursor skip(all);
            skip.seek(lineStart, line - 1);
            while (!skip.atEnd() && !skip.nextStartsSection()) skip.next();
            cursor.seek(skip.position(), skip.lineNumber());
            return finishData(set, title, titleLine, firstRow, rowsDone, wrapped);
          } else if (isVersion3() && !column.declaredNumeric) {
            column.curve->type = SampleType::text;
            undoRows(set, firstRow);
            return DataPass::restart;
          } else {
            fail(line, notANumber);
          }
        }
        if (storeFloats) {
          column.curve->floats.push_back(static_cast<float>(value));
        } else {
          column.curve->doubles.push_back(value);
        }
      }
      ++fieldsInLine;
      if (++k == width) {
        k = 0;
        ++rowsDone;
      }
    }
    if (fieldsInLine == 0) continue;
    lastDataLine = line;
    if (k != 0 && !wrapped) {
      // A first line short of a record: wrapped data, whatever WRAP said.
      if (!firstLine || width == 1) fail(line, valueCountProblem());
      wrapped = true;
      if (wrapKnown_) warn(line, note::kWrappedAfterAll);
    }
    if (!reserved && rowsDone >= 1) {
      reserved = true;
      // Room for the rest of the section at the density of its first record.
      const std::size_t estimate =
          (all.size() - cursor.position()) / std::max<std::size_t>(1, next - cursor.position()) + 1;
      for (const Column& c : columns) {
        if (c.curve->type == SampleType::float64) c.curve->doubles.reserve(estimate * c.curve->elements);
        if (c.curve->type == SampleType::float32) c.curve->floats.reserve(estimate * c.curve->elements);
      }
    }
    firstLine = false;
  }
  if (k != 0) {
    fail(lastDataLine,
         std::string(problem::kRecordCut) + std::to_string(k) + " of " + std::to_string(width) + " values");
  }
  cursor.seek(pos, line);
  return finishData(set, title, titleLine, firstRow, rowsDone, wrapped);
}

Reader::DataPass Reader::finishData(CurveSet& set, const Title& title, std::size_t titleLine, std::size_t firstRow,
                                    std::size_t rows, bool wrapped) {
  file_.wrapped = file_.wrapped || wrapped;
  set.data.push_back({title.name, titleLine, firstRow, rows});
  return DataPass::done;
}

LasFile Reader::read() {
  file_.path = name_;
  file_.version = "2.0";
  LineCursor cursor(text_);
  bool sawSection = false;
  bool sawVersion = false;
  while (!cursor.atEnd()) {
    if (!cursor.nextStartsSection()) {
      const std::string_view line = trim(cursor.next());
      if (!line.empty() && line[0] != '#') warn(cursor.lineNumber(), note::kTextBeforeFirstSection);
      continue;
    }
    const std::string_view titleLine = cursor.next();
    const std::size_t titleNumber = cursor.lineNumber();
    const Title title = classify(titleLine, isVersion3());
    sawSection = true;
    if (title.kind == Kind::data) {
      readData(cursor, title, titleNumber);
      continue;
    }
    Section section;
    section.name = title.name;
    readItems(cursor, section, title.kind);
    switch (title.kind) {
      case Kind::version:
        if (!sawVersion) applyVersionSection(section);
        sawVersion = true;
        break;
      case Kind::well: applyWellSection(section); break;
      case Kind::definition: defineCurves(title, titleNumber, section); continue;
      case Kind::other: continue;
      case Kind::unknown: warn(titleNumber, note::kUnknownSection); break;
      default: break;
    }
    file_.sections.push_back(std::move(section));
  }
  if (!sawSection) fail(0, problem::kNotLas);
  if (!sawVersion) warn(0, note::kNoVersion);
  return std::move(file_);
}

}  // namespace

LasFile parse(std::string_view text, std::string name, const ReadOptions& options) {
  return Reader(text, std::move(name), options).read();
}

LasFile readFile(const std::string& path, const ReadOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LasError(path, 0, problem::kCannotOpen);
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
  }
  if (!in && size > 0) throw LasError(path, 0, problem::kCannotOpen);
  return parse(bytes, path, options);
}

}  // namespace kelwell::las
