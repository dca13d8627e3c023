#pragma once
// Writes UserAssist areas into the Windows registry below HKEY_CURRENT_USER
// (the real one, or whatever a test has mapped onto it). Raises
// std::runtime_error naming the key or value when a write fails.
#include "UserAssistArea.h"

// Deletes "...\Explorer\UserAssist" with everything below it, if present.
void DeleteUserAssistArea();

// Replaces the whole UserAssist area with this one.
void ReplaceUserAssistArea(const UserAssistArea& area);

// Adds one value to "...\UserAssist\<subKey>\Count", creating the keys as
// needed; the name is stored rotated.
void WriteUserAssistValue(const std::string& subKey, const UserAssistFixtureValue& value);
