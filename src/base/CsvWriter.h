#pragma once
// Comma-separated values as RFC 4180 has them: fields joined by commas, every
// record ended by CRLF, and a field that holds a comma, a double quote, CR or
// LF enclosed in double quotes with its own double quotes doubled. Fields are
// bytes: the text's encoding is the caller's.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// One field, quoted when it must be.
std::string CsvField(std::string_view text);

// One record, CRLF included.
std::string CsvRecord(std::initializer_list<std::string_view> fields);
std::string CsvRecord(const std::vector<std::string>& fields);
