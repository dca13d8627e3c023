#pragma once
// Where UserAssist entries are read from: a hive file, a registry export or
// the current user's own registry; or a folder to walk for users' hives, which
// the report tool turns into hive files before anything is read.
#include <string>

enum class SourceKind { Hive, RegExport, LiveRegistry, Tree };

struct SourceSpec {
    SourceKind Kind = SourceKind::LiveRegistry;
    std::string File;  // as given, in UTF-8 (a folder for a tree); empty for the live registry
};
