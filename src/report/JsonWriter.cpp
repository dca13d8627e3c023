#include "report/JsonText.h"
#include "report/ReportWriter.h"

namespace {

// One array of objects, one object a line.
class JsonWriter final : public ReportWriter {
public:
    explicit JsonWriter(TextOutput& out) : out_(out) { out_.Write("["); }

    void Write(const std::string&, const std::vector<ReportRow>& rows) override
    {
        std::string text;
        for (const ReportRow& row : rows) {
            text += (empty_ ? "\n  " : ",\n  ") + JsonObject(row);
            empty_ = false;
        }
        out_.Write(text);
    }

    void Finish() override { out_.Write(empty_ ? "]\n" : "\n]\n"); }

private:
    TextOutput& out_;
    bool empty_ = true;
};

// JSON Lines: an object a line and nothing around them, for jq and the like.
class JsonLinesWriter final : public ReportWriter {
public:
    explicit JsonLinesWriter(TextOutput& out) : out_(out) {}

    void Write(const std::string&, const std::vector<ReportRow>& rows) override
    {
        std::string text;
        for (const ReportRow& row : rows)
            text += JsonObject(row) + "\n";
        out_.Write(text);
    }

    void Finish() override {}

private:
    TextOutput& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeJsonWriter(TextOutput& out)
{
    return std::make_unique<JsonWriter>(out);
}

std::unique_ptr<ReportWriter> MakeJsonLinesWriter(TextOutput& out)
{
    return std::make_unique<JsonLinesWriter>(out);
}
