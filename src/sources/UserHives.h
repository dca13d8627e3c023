#pragma once
// Finding the users' hives in a tree of evidence: every file named NTUSER.DAT
// (ASCII case ignored), as a triage collector copied a machine's profiles or
// as they lie on a mounted image.
#include <optional>
#include <string>
#include <vector>

// One step of the walk, in path order: a hive to read, or a folder that could
// not be opened (Problem says why).
struct TreeFinding {
    std::string Path;  // UTF-8
    std::optional<std::string> Problem;
};

// The hives below folder, and the folders that could not be opened, in path
// order: paths compared component by component, each by its UTF-8 bytes, so
// that "/" and "\" order alike. Symbolic links are not followed, nor on
// Windows any other reparse point (junctions such as "Documents and
// Settings"), so a link cannot lead the walk round in a circle or read a
// profile twice. Nothing when folder itself cannot be opened.
std::optional<std::vector<TreeFinding>> FindUserHives(const std::string& folder, std::string& whyNot);

// Whose hive a file is: the user folder in the path Windows last loaded it
// from (the base block's name field, of which only the end is kept), when that
// ends in "\<user>\ntuser.dat"; else the name of the folder holding the file.
std::string UserOfHive(const std::string& baseBlockName, const std::string& path);
