#pragma once
// The tomkrin command line: `tomkrin COMMAND ARGS...`. Returns the exit status: 0 ok, 1 a failed
// operation (or `check` found something), 2 a wrong command line. Every failure is one line on
// `err`, "tomkrin: FILE: what is wrong".
#include <ostream>

int runTomkrin(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
               bool outIsTerminal);
