#pragma once
// JSON text for the report's rows: strings escaped as JSON wants them, and a
// row as one object with its fields in the order of ReportFieldNames.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/ReportRow.h"

// A JSON string: quotes, backslashes and control characters escaped, every
// other byte (the text is UTF-8) as it is.
std::string JsonString(std::string_view text);
std::string JsonOrNull(const std::optional<std::string>& text);

// The row as one object on one line; more: further fields, their values JSON already.
std::string JsonObject(const ReportRow& row, const std::vector<std::pair<const char*, std::string>>& more = {});
