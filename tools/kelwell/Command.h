// What every kelwell subcommand shares: exit codes, the error that ends a command, and text
// conversions between the library's strings and the standard library's.
#pragma once

#include <stdexcept>
#include <string>

#include "kel_cppUtil.h"

namespace kelwell::cmd {

// The command's exit codes, as `kelwell --help` and docs/kelwell.md list them.
enum ExitCode : int {
  kOk = 0,           // everything asked for was done
  kRefused = 1,      // some input was refused or an operation failed (the rest was done)
  kUsage = 2,        // the command line was wrong: nothing was done
  kUnreachable = 3,  // the service could not be reached: nothing was done
};

// Ends a command with a message for a person and the exit code it stands for.
class CommandError : public std::runtime_error {
 public:
  CommandError(ExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ExitCode code() const noexcept { return code_; }

 private:
  ExitCode code_;
};

inline std::string text(const kel_cppUtil::String& value) { return value.str(); }

}  // namespace kelwell::cmd
