#pragma once
// The shell's known folders, by the GUIDs that Windows 7 and later write at the
// start of UserAssist names in place of the folder's path.
#include <optional>
#include <string>
#include <string_view>

// The folder's name for a braced GUID ("{1AC14E77-...}" gives "System"),
// letters compared without case; nothing for any other text.
std::optional<std::string_view> KnownFolderName(std::string_view bracedGuid);

// The name with a known folder's braced GUID at its very start replaced by the
// folder's name in square brackets ("[System]\cmd.exe"); any other name, a
// GUID elsewhere in it included, stays as it is.
std::string ReplaceKnownFolder(const std::string& name);
