#include "report/ReportWriter.h"

namespace {

// A JSON string: quotes, backslashes and control characters escaped, every
// other byte (the text is UTF-8) as it is.
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

class JsonWriter final : public ReportWriter {
public:
    explicit JsonWriter(TextOutput& out) : out_(out) { out_.Write("["); }

    void Write(const std::string&, const std::vector<ReportRow>& rows) override
    {
        std::string text;
        for (const ReportRow& row : rows) {
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
            text += empty_ ? "\n  {" : ",\n  {";
            for (std::size_t i = 0; i < ReportFieldNames.size(); ++i)
                text += (i ? ", " : "") + JsonString(ReportFieldNames[i]) + ": " + values[i];
            text += "}";
            empty_ = false;
        }
        out_.Write(text);
    }

    void Finish() override { out_.Write(empty_ ? "]\n" : "\n]\n"); }

private:
    TextOutput& out_;
    bool empty_ = true;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeJsonWriter(TextOutput& out)
{
    return std::make_unique<JsonWriter>(out);
}
