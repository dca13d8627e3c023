#pragma once
// A file named without saying what it is (the viewer's File menu, its
// command line, a file dropped on it) is read as what its content says.
#include <string>

#include "sources/SourceSpec.h"

// A hive when the file begins with the hive signature "regf", and also when
// it cannot be read (the hive reader then says why); else a registry export,
// whose reader says so when the first line is no export's header.
SourceSpec SourceOfFile(const std::string& utf8Path);
