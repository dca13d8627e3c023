#pragma once
// The names in a folder, and the folder and name parts of a path, in UTF-8 on
// every platform (Windows' wide calls underneath).
#include <string>
#include <vector>

// The names of the entries in a folder, "." and ".." left out; empty when it cannot be listed.
std::vector<std::string> NamesInFolder(const std::string& folder);

// The folder part of a path ("." for a bare name) and the name after it. Windows takes "\" as well as "/".
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
// A name in a folder, joined with the separator the folder's path uses.
std::string PathIn(const std::string& folder, const std::string& name);
