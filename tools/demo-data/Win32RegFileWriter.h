#pragma once
// Writes a registry export's keys and values below HKEY_CURRENT_USER (the
// real one, or the scratch key a test maps onto it) through the wide-character
// calls, so that names keep their UTF-16 form. Wine's own regedit cannot stand
// in: it reads an export without a byte-order mark in the ANSI code page, and
// always writes the prefix's real current user. Raises std::runtime_error for
// a key under another root or a write that fails, and what ReadRegFile raises.
#include <filesystem>

void WriteRegFileToCurrentUser(const std::filesystem::path& file);
