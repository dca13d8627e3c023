#pragma once
// The names in a folder, and the folder and name parts of a path, in UTF-8 on
// every platform (Windows' wide calls underneath).
#include <optional>
#include <string>
#include <vector>

// The names of the entries in a folder, "." and ".." left out; empty when it cannot be listed.
std::vector<std::string> NamesInFolder(const std::string& folder);

// An entry of a folder as a walk needs it: links and other reparse points are
// neither folders nor files to it.
struct FolderEntry {
    enum class Kind { File, Folder, Other };
    std::string Name;
    Kind Type = Kind::Other;
};
// The entries of a folder, "." and ".." left out; nothing when it cannot be
// opened, and whyNot then says why.
std::optional<std::vector<FolderEntry>> EntriesInFolder(const std::string& folder, std::string& whyNot);

// The path made absolute against the current folder, as the system resolves it;
// the path as given when it cannot be.
std::string AbsolutePath(const std::string& path);

// The folder part of a path ("." for a bare name) and the name after it. Windows takes "\" as well as "/".
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
// A name in a folder, joined with the separator the folder's path uses.
std::string PathIn(const std::string& folder, const std::string& name);
