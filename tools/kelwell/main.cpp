// kelwell: LAS and survey import and export, listings and log plots, against the well data service.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "Command.h"
#include "LasExport.h"
#include "LasImport.h"
#include "Listing.h"
#include "PlotCommand.h"
#include "References.h"
#include "SurveyImport.h"
#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"

namespace {

using namespace kelwell::cmd;
using json = nlohmann::ordered_json;

const char* const kExitCodes =
    "Exit codes: 0 everything was done; 1 some input was refused or an operation failed (the rest was\n"
    "done, and the output says what); 2 the command line was wrong; 3 the service could not be reached.\n"
    "The service is found through KELWELL_SERVICE, -ORBInitRef KelWell=<reference>, or else at\n"
    "corbaloc:iiop:127.0.0.1:18110/kelwell. References: PROJECT[/WELL[/WELLBORE[/TRACE]]], each part a\n"
    "name or @ID (see docs/kelwell.md).";

// A session, or exit code 3 saying where the service was looked for.
kel_Session openSession() {
  try {
    return kel_Session::open();
  } catch (const kel_Exception& failure) {
    throw CommandError(kUnreachable, "cannot reach the well data service at " +
                                         text(kel_Connection::getServiceLocation()) + ": " + text(failure.getMessage()));
  }
}

std::vector<std::string> splitList(const std::string& list) {
  std::vector<std::string> out;
  std::string item;
  for (char c : list) {
    if (c == ',') {
      if (!item.empty()) out.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) out.push_back(item);
  return out;
}

const char* outcomeName(ImportedFile::Outcome outcome) {
  switch (outcome) {
    case ImportedFile::Outcome::imported: return "imported";
    case ImportedFile::Outcome::skipped: return "skipped";
    default: return "refused";
  }
}

int reportImport(const std::vector<ImportedFile>& outcomes, bool asJson) {
  std::size_t imported = 0, skipped = 0, refused = 0, created = 0, kept = 0;
  json files = json::array();
  for (const ImportedFile& f : outcomes) {
    imported += f.outcome == ImportedFile::Outcome::imported;
    skipped += f.outcome == ImportedFile::Outcome::skipped;
    refused += f.outcome == ImportedFile::Outcome::refused;
    created += f.tracesCreated.size();
    kept += f.tracesSkipped.size();
    files.push_back(json{{"file", f.file},
                         {"outcome", outcomeName(f.outcome)},
                         {"well", f.well},
                         {"wellbore", f.wellbore},
                         {"wellCreated", f.wellCreated},
                         {"wellboreCreated", f.wellboreCreated},
                         {"tracesCreated", f.tracesCreated},
                         {"tracesSkipped", f.tracesSkipped},
                         {"notes", f.notes},
                         {"error", f.error},
                         {"leftBehind", f.leftBehind}});
  }
  if (asJson) {
    std::cout << json{{"files", files},
                      {"imported", imported},
                      {"skipped", skipped},
                      {"refused", refused},
                      {"tracesCreated", created},
                      {"tracesSkipped", kept}}
                     .dump(2)
              << '\n';
  } else {
    for (const ImportedFile& f : outcomes) {
      if (f.outcome == ImportedFile::Outcome::refused) {
        std::cout << "refused   " << f.error << '\n';
        if (!f.leftBehind.empty()) {
          std::cout << "          left in the service:";
          for (const std::string& left : f.leftBehind) std::cout << ' ' << left << ';';
          std::cout << '\n';
        }
      } else {
        std::cout << outcomeName(f.outcome) << (f.outcome == ImportedFile::Outcome::imported ? "  " : "   ") << f.file
                  << ": well " << f.well << (f.wellCreated ? " (new)" : "") << ", wellbore " << f.wellbore
                  << (f.wellboreCreated ? " (new)" : "") << ", " << f.tracesCreated.size() << " traces created";
        if (!f.tracesSkipped.empty()) std::cout << ", " << f.tracesSkipped.size() << " already there";
        std::cout << '\n';
      }
      for (const std::string& note : f.notes) std::cout << "          note: " << note << '\n';
    }
    std::cout << outcomes.size() << " files: " << imported << " imported, " << skipped << " skipped, " << refused
              << " refused; " << created << " log traces created, " << kept << " already there\n";
  }
  return refused ? kRefused : kOk;
}

// "[#####.....] 3/8 files" on standard error, redrawn in place.
void drawProgress(std::size_t done, std::size_t total) {
  const int width = 30;
  const int filled = static_cast<int>(width * done / (total ? total : 1));
  std::fprintf(stderr, "\r[%s%s] %zu/%zu files", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(width - filled), '.').c_str(), done, total);
  if (done == total) std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    kel_Connection::initialize(argc, argv);  // takes the -ORB arguments away
  } catch (const kel_Exception& failure) {
    std::cerr << "kelwell: the service reference is not usable: " << failure.getMessage().str() << '\n';
    return kUnreachable;
  }

  CLI::App app{"kelwell: load LAS files and surveys into the well data service, list, show and export them."};
  app.footer(kExitCodes);
  app.require_subcommand(1);
  bool asJson = false;

  // import las / import survey
  CLI::App* import = app.add_subcommand("import", "Import LAS files or a survey")->require_subcommand(1);
  import->footer(kExitCodes);
  std::vector<std::string> lasFiles;
  std::string projectName;
  bool createProject = true;
  unsigned threads = 4;
  bool quiet = false;
  CLI::App* importLas = import->add_subcommand(
      "las", "One well and wellbore per file (matched by UWI, else created), one log trace per curve");
  importLas->footer(kExitCodes);
  importLas->add_option("FILE", lasFiles, "LAS files (1.2, 2.0, 3.0)")->required()->check(CLI::ExistingFile);
  importLas->add_option("--project", projectName, "Project to import into")->required();
  importLas->add_flag("!--no-create", createProject, "Refuse a project that does not exist instead of creating it");
  importLas->add_option("--threads", threads, "Files imported at once")->capture_default_str()->check(CLI::Range(1, 64));
  importLas->add_flag("--quiet,-q", quiet, "No progress bar");
  importLas->add_flag("--json", asJson, "The summary as JSON");

  std::string surveyFile, surveyBore, mdUnit, columns, method;
  CLI::App* importSurveyCmd = import->add_subcommand("survey", "Survey stations (MD, inclination, azimuth) as a wellbore's path");
  importSurveyCmd->footer(kExitCodes);
  importSurveyCmd->add_option("FILE", surveyFile, "CSV or whitespace-separated table")->required()->check(CLI::ExistingFile);
  importSurveyCmd->add_option("--wellbore", surveyBore, "PROJECT/WELL/WELLBORE")->required();
  importSurveyCmd->add_option("--md-unit", mdUnit, "Unit of the measured depths (default: from the MD heading, else m)");
  importSurveyCmd->add_option("--columns", columns, "The MD, inclination and azimuth columns: headings or numbers (MD,INC,AZI)");
  importSurveyCmd->add_option("--method", method, "Calculation method of the path")
      ->check(CLI::IsMember(calculationMethodNames()));

  // export las
  CLI::App* exportCmd = app.add_subcommand("export", "Export a wellbore's log traces")->require_subcommand(1);
  exportCmd->footer(kExitCodes);
  std::string exportBore, exportOut, exportCurves;
  CLI::App* exportLas = exportCmd->add_subcommand("las", "LAS 2.0, samples written to read back bit for bit");
  exportLas->footer(kExitCodes);
  exportLas->add_option("WELLBORE", exportBore, "PROJECT/WELL/WELLBORE")->required();
  exportLas->add_option("--out", exportOut, "The LAS file to write")->required();
  exportLas->add_option("--curves", exportCurves, "Trace names, comma-separated (default: all)");

  // ls / show
  std::string lsKind = "projects", lsReference;
  CLI::App* ls = app.add_subcommand("ls", "List projects, wells, wellbores, traces, picks or wellbore lists");
  ls->footer(kExitCodes);
  ls->add_option("KIND", lsKind, "projects | wells | wellbores | traces | picks | lists")
      ->check(CLI::IsMember(listKinds()))
      ->capture_default_str();
  ls->add_option("REF", lsReference, "PROJECT, PROJECT/WELL or PROJECT/WELL/WELLBORE");
  ls->add_flag("--json", asJson, "JSON for programs");
  std::string showReference;
  CLI::App* show = app.add_subcommand("show", "Show one project, well, wellbore or log trace");
  show->footer(kExitCodes);
  show->add_option("REF", showReference, "PROJECT[/WELL[/WELLBORE[/TRACE]]]")->required();
  show->add_flag("--json", asJson, "JSON for programs");

  // plot
  std::string plotBore, plotOut, plotCurves, plotIndex = "md";
  CLI::App* plot = app.add_subcommand("plot", "A log plot of a wellbore (SVG or PNG)");
  plot->footer(kExitCodes);
  plot->add_option("WELLBORE", plotBore, "PROJECT/WELL/WELLBORE")->required();
  plot->add_option("--out", plotOut, "FILE.svg or FILE.png")->required();
  plot->add_option("--curves", plotCurves, "Trace names, comma-separated (default: all)");
  plot->add_option("--index", plotIndex, "Vertical axis")->check(CLI::IsMember({"md", "tvd", "twt"}))->capture_default_str();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? kOk : kUsage;
  }

  try {
    if (importLas->parsed()) {
      const kel_Session session = openSession();
      kel_Project project;
      try {
        project = kel_Project::open(session, projectName.c_str());
      } catch (const kel_UserException&) {
        if (!createProject) throw CommandError(kRefused, "no project \"" + projectName + "\" (--no-create)");
        project = kel_Project::create(session, projectName.c_str());
      }
      ImportOptions options;
      options.threads = threads;
      if (!quiet && !asJson && isatty(STDERR_FILENO)) options.progress = drawProgress;
      return reportImport(importLasFiles(session, project, lasFiles, options), asJson);
    }
    if (importSurveyCmd->parsed()) {
      const SurveyTable table = readSurvey(surveyFile, columns);  // before the service: a bad file costs nothing
      const kel_Session session = openSession();
      kel_WellBore bore = resolveWellBore(session, surveyBore);
      const std::string unit = !mdUnit.empty() ? mdUnit : !table.mdUnit.empty() ? table.mdUnit : "m";
      importSurvey(bore, table, unit, method);
      std::cout << "imported  " << surveyFile << ": " << table.md.size() << " stations (MD in " << unit << ") to "
                << surveyBore << '\n';
      return kOk;
    }
    if (exportLas->parsed()) {
      const kel_Session session = openSession();
      const kel_WellBore bore = resolveWellBore(session, exportBore);
      const kelwell::las::LasFile file = exportWellBore(bore, splitList(exportCurves));
      kelwell::las::writeFile(file, exportOut);
      std::cout << "exported  " << exportBore << ": " << file.logs().curves.size() - 1 << " curves, "
                << file.logs().rows() << " rows to " << exportOut << '\n';
      return kOk;
    }
    if (ls->parsed()) {
      const kel_Session session = openSession();
      const json rows = listObjects(session, lsKind, lsReference);
      if (asJson) std::cout << rows.dump(2) << '\n';
      else printTable(std::cout, rows);
      return kOk;
    }
    if (show->parsed()) {
      const kel_Session session = openSession();
      const json object = showObject(session, showReference);
      if (asJson) std::cout << object.dump(2) << '\n';
      else printFields(std::cout, object);
      return kOk;
    }
    if (plot->parsed()) {
      const kel_Session session = openSession();
      const kel_WellBore bore = resolveWellBore(session, plotBore);
      return runPlot(bore, plotOut, splitList(plotCurves), plotIndex);
    }
  } catch (const CommandError& error) {
    std::cerr << "kelwell: " << error.what() << '\n';
    return error.code();
  } catch (const kelwell::las::LasError& error) {
    std::cerr << "kelwell: " << error.what() << '\n';
    return kRefused;
  } catch (const kel_SystemException& failure) {
    std::cerr << "kelwell: " << failure.toString().str() << '\n';
    return kRefused;
  } catch (const kel_Exception& failure) {
    std::cerr << "kelwell: " << failure.toString().str() << '\n';
    return kRefused;
  } catch (const std::exception& failure) {
    std::cerr << "kelwell: " << failure.what() << '\n';
    return kRefused;
  }
  return kUsage;
}
