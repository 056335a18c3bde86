// mokuren's headless jobs (no window): mask, restore, CSV and GEDCOM export and import, each
// doing what the same job does from the forms, with the file names given on the command line
// in place of the file dialogs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace mokuren_cli {

// True when `args` (without the program name) ask for a headless job or for help.
bool isHeadlessJob(const std::vector<std::string>& args);

// Runs the job of `args`. Returns the exit code: 0 done; 1 with the message on `err` for an
// error, a refusal, a declined overwrite or wrong arguments.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace mokuren_cli
