#pragma once
// The report tool as a function, so that tests and the damaged-input runs can
// drive it in-process: reads the command line's sources in turn, writes their
// rows to out and their messages to err (one line each, naming the source),
// and returns the exit code.
#include <string>
#include <vector>

#include "report/TextOutput.h"

int RunReport(const std::vector<std::string>& arguments, TextOutput& out, TextOutput& err);
