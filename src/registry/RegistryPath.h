#pragma once
// A key path below a root, split into its key names: "" is the root itself,
// and a path with an empty part (a leading, doubled or trailing backslash) is
// no path at all, as the Windows registry refuses it too.
#include <optional>
#include <string>
#include <vector>

std::optional<std::vector<std::string>> SplitRegistryPath(const std::string& path);
