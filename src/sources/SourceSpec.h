#pragma once
// Where UserAssist entries are read from: a hive file, a registry export or
// the current user's own registry.
#include <string>

enum class SourceKind { Hive, RegExport, LiveRegistry };

struct SourceSpec {
    SourceKind Kind = SourceKind::LiveRegistry;
    std::string File;  // as given, in UTF-8; empty for the live registry
};
