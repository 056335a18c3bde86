// tsubaki's headless jobs (no window): --dump, --upgrade, --layout, --chart, --text, --pdf,
// --heirs and --check.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace app {

// True when `args` (without the program name) ask for a headless job.
bool isHeadlessJob(const std::vector<std::string>& args);

// Runs the headless job of `args`; "KANKYO.TXT" is read from the working directory.
// Returns the exit code (0 success, 1 error with the message on `err`; 2 for --check with an
// error found, and for --chart or --text of a legal chart refused by --strict).
int runHeadlessJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace app
