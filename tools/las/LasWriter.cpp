// The LAS 2.0 writer: one line per depth step, every sample in its shortest exact text.
#include "Las.h"
#include "LasText.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace kelwell::las {
namespace {

using text::equalsIgnoreCase;

// "MNEM.UNIT  VALUE : DESCRIPTION", the columns lined up for a person reading the file.
void appendItem(std::string& out, std::string_view mnemonic, std::string_view unit, std::string_view value,
                std::string_view description) {
  std::string head = " " + std::string(mnemonic) + "." + std::string(unit);
  if (head.size() < 16) head.resize(16, ' ');
  out += head;
  out += ' ';
  std::string valueField(value);
  if (valueField.size() < 24) valueField.insert(0, 24 - valueField.size(), ' ');
  out += valueField;
  out += " : ";
  out += description;
  out += '\n';
}

bool isIndexItem(std::string_view mnemonic) {
  return equalsIgnoreCase(mnemonic, "STRT") || equalsIgnoreCase(mnemonic, "STOP") ||
         equalsIgnoreCase(mnemonic, "STEP") || equalsIgnoreCase(mnemonic, "NULL");
}

void appendSample(std::string& out, const Curve& curve, std::size_t i) {
  char buffer[64];
  if (curve.type == SampleType::float64) {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, curve.doubles[i]);
    out.append(buffer, result.ptr);
  } else {
    out += text::formatFloat(curve.floats[i]);
  }
}

void check(const LasFile& file) {
  const CurveSet& logs = file.logs();
  if (logs.curves.empty()) throw std::invalid_argument("no log curves to write");
  const std::size_t rows = logs.curves.front().rows();
  for (const Curve& curve : logs.curves) {
    if (curve.type == SampleType::text) {
      throw std::invalid_argument("curve " + curve.mnemonic + " holds text, which LAS 2.0 data cannot carry");
    }
    const std::size_t count = curve.type == SampleType::float64 ? curve.doubles.size() : curve.floats.size();
    if (curve.elements == 0 || count != rows * curve.elements) {
      throw std::invalid_argument("curve " + curve.mnemonic + " has " + std::to_string(count) + " samples where " +
                                  std::to_string(rows) + " rows of " + std::to_string(curve.elements) +
                                  " are expected");
    }
  }
}

}  // namespace

std::string write(const LasFile& file) {
  check(file);
  const CurveSet& logs = file.logs();
  const Curve& index = logs.curves.front();
  const std::size_t rows = index.rows();
  std::string out;
  out.reserve(rows * 16 * (logs.curves.size() + 1) + 4096);

  out += "~Version Information\n";
  appendItem(out, "VERS", "", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0");
  appendItem(out, "WRAP", "", "NO", "ONE LINE PER DEPTH STEP");

  // STRT, STOP, STEP and NULL in the index unit; the header's numbers when it has them.
  out += "~Well Information\n";
  const double first = rows ? index.at(0) : (file.start ? *file.start : 0.0);
  const double last = rows ? index.at(rows - 1) : (file.stop ? *file.stop : 0.0);
  const double step = file.step ? *file.step : 0.0;
  appendItem(out, "STRT", index.unit, text::formatDouble(file.start && !rows ? *file.start : first), "START");
  appendItem(out, "STOP", index.unit, text::formatDouble(file.stop && !rows ? *file.stop : last), "STOP");
  appendItem(out, "STEP", index.unit, text::formatDouble(step), "STEP");
  appendItem(out, "NULL", "", file.nullValue ? text::formatDouble(*file.nullValue) : "-999.25", "NULL VALUE");
  for (const HeaderItem& item : file.well().items) {
    if (!isIndexItem(item.mnemonic)) appendItem(out, item.mnemonic, item.unit, item.value, item.description);
  }

  out += "~Curve Information\n";
  for (const Curve& curve : logs.curves) {
    for (std::size_t e = 0; e < curve.elements; ++e) {
      const std::string name = curve.elements == 1            ? curve.writtenMnemonic
                               : curve.elementMnemonics.size() == curve.elements
                                   ? curve.elementMnemonics[e]
                                   : curve.writtenMnemonic + "[" + std::to_string(e + 1) + "]";
      appendItem(out, name, curve.unit, curve.apiCode, curve.description);
    }
  }

  const Section& parameters = file.parameters();
  if (!parameters.items.empty()) {
    out += "~Parameter Information\n";
    for (const HeaderItem& item : parameters.items) {
      appendItem(out, item.mnemonic, item.unit, item.value, item.description);
    }
  }
  if (!file.other.empty()) {
    out += "~Other Information\n";
    out += file.other;
    out += '\n';
  }

  out += "~ASCII Log Data\n";
  for (std::size_t row = 0; row < rows; ++row) {
    bool firstValue = true;
    for (const Curve& curve : logs.curves) {
      for (std::size_t e = 0; e < curve.elements; ++e) {
        if (!firstValue) out += ' ';
        firstValue = false;
        appendSample(out, curve, row * curve.elements + e);
      }
    }
    out += '\n';
  }
  return out;
}

void writeFile(const LasFile& file, const std::string& path) {
  const std::string text = write(file);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw LasError(path, 0, "cannot be written");
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw LasError(path, 0, "cannot be written");
}

}  // namespace kelwell::las
