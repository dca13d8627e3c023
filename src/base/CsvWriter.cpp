#include "base/CsvWriter.h"

namespace {

template <typename Fields>
std::string JoinRecord(const Fields& fields)
{
    std::string record;
    bool first = true;
    for (const auto& field : fields) {
        if (!first)
            record += ',';
        record += CsvField(field);
        first = false;
    }
    record += "\r\n";
    return record;
}

}  // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CsvRecord(std::initializer_list<std::string_view> fields)
{
    return JoinRecord(fields);
}

std::string CsvRecord(const std::vector<std::string>& fields)
{
    return JoinRecord(fields);
}
