// `kelwell import las`: LAS files into a project, one well and wellbore per file, one log trace
// per curve.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "kel_Project.h"
#include "kel_Session.h"

namespace kelwell::cmd {

// What became of one file.
struct ImportedFile {
  enum class Outcome { imported, skipped, refused };
  std::string file;
  Outcome outcome = Outcome::refused;
  std::string well;      // "UWI=..." (identifier key=value), once known
  std::string wellbore;  // the wellbore's identifier value
  bool wellCreated = false;
  bool wellboreCreated = false;
  std::vector<std::string> tracesCreated;
  std::vector<std::string> tracesSkipped;  // already on the wellbore: kept as they were
  std::vector<std::string> notes;          // read past, kept as text, not stored: never guessed
  std::string error;                       // why the file was refused
  std::vector<std::string> leftBehind;     // created before the refusal and still stored
};

struct ImportOptions {
  unsigned threads = 4;       // files at once
  // Called after each file, from the thread that finished it (calls never overlap).
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// Imports each file; the result is in the order of `files`. Nothing throws for one file's
// failure: it is that file's outcome.
std::vector<ImportedFile> importLasFiles(const kel_Session& session, const kel_Project& project,
                                         const std::vector<std::string>& files, const ImportOptions& options = {});

// The key under which a trace keeps a unit text the unit catalogue does not know (in its comment).
inline constexpr const char* kUnitNoteKey = "LAS unit: ";
// The identifier key of the wellbore an imported file makes.
inline constexpr const char* kWellBoreKey = "Wellbore";

}  // namespace kelwell::cmd
