#include "report/JsonText.h"

#include <iterator>

std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char Hex[] = "0123456789abcdef";
                json += "\\u00";
                json += Hex[c >> 4];
                json += Hex[c & 0xF];
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

std::string JsonOrNull(const std::optional<std::string>& text)
{
    return text ? JsonString(*text) : "null";
}

std::string JsonObject(const ReportRow& row, const std::vector<std::pair<const char*, std::string>>& more)
{
    const std::string values[] = {
        JsonOrNull(row.Source),
        JsonString(row.SubKey),
        std::to_string(row.Layout),
        JsonString(row.StoredName),
        JsonString(row.FileName),
        JsonString(row.Kind),
        std::to_string(row.RunCount),
        NumberOr(row.FocusCount, "null"),
        NumberOr(row.FocusTimeMs, "null"),
        JsonOrNull(row.LastRun),
        row.SeededByWindows ? "true" : "false",
        JsonOrNull(row.PairedWith),
        NumberOr(row.CounterResets, "null"),
        JsonOrNull(row.Note),
        JsonOrNull(row.User),
    };
    static_assert(std::size(values) == ReportFieldNames.size());
    std::string object = "{";
    for (std::size_t i = 0; i < ReportFieldNames.size(); ++i)
        object += (i ? ", " : "") + JsonString(ReportFieldNames[i]) + ": " + values[i];
    for (const auto& [name, value] : more)
        object += ", " + JsonString(name) + ": " + value;
    return object + "}";
}
