#pragma once
// Whether two paths name one file, by the file system's identity of the file
// (device and inode, or volume and file index on Windows), not by its name:
// links, case and "..\" cannot hide it.
#include <string>

// False when either cannot be opened.
bool SameFile(const std::string& a, const std::string& b);
