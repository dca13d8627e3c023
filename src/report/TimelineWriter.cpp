#include <algorithm>
#include <tuple>

#include "report/JsonText.h"
#include "report/ReportWriter.h"

namespace {

// 1970-01-01 00:00 UTC as a file time: timelines count seconds from there.
constexpr std::uint64_t UnixEpoch = 116'444'736'000'000'000;
constexpr std::uint64_t TicksPerSecond = 10'000'000;

// mactime has no escape: a "|" would split a field and a line break a line,
// and it drops such lines. Every text of a timeline goes through this.
std::string TimelineText(std::string text)
{
    for (char& c : text)
        if (c == '|' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '_';
    return text;
}

std::optional<std::string> TimelineText(const std::optional<std::string>& text)
{
    return text ? std::optional<std::string>(TimelineText(*text)) : std::nullopt;
}

ReportRow WithTimelineTexts(ReportRow row)
{
    row.Source = TimelineText(row.Source);
    row.SubKey = TimelineText(row.SubKey);
    row.StoredName = TimelineText(row.StoredName);
    row.FileName = TimelineText(row.FileName);
    row.Kind = TimelineText(row.Kind);
    row.PairedWith = TimelineText(row.PairedWith);
    row.Note = TimelineText(row.Note);
    row.User = TimelineText(row.User);
    return row;
}

std::string Runs(std::int32_t count)
{
    return std::to_string(count) + (count == 1 ? " run" : " runs");
}

std::string NoteAfter(const ReportRow& row)
{
    return row.Note ? " - " + *row.Note : "";
}

std::string SecondsSince1970(const ReportRow& row)
{
    return std::to_string((row.LastRunFileTime - UnixEpoch) / TicksPerSecond);
}

// MD5|name|inode|mode|UID|GID|size|atime|mtime|ctime|crtime, the last run as mtime.
std::string BodyfileLine(const ReportRow& row)
{
    return "0|UserAssist (" + row.User.value_or("-") + "): " + row.FileName + " [" + row.Kind + ", " +
           Runs(row.RunCount) + "]" + NoteAfter(row) + "|0|0|0|0|0|0|" + SecondsSince1970(row) + "|0|0\n";
}

// time|source|host|user|description
std::string TlnLine(const ReportRow& row)
{
    return SecondsSince1970(row) + "|REG||" + row.User.value_or("") + "|UserAssist - " + row.FileName + " (" +
           std::to_string(row.RunCount) + ")" + NoteAfter(row) + "\n";
}

// The row's JSON with the three fields Timesketch needs to import it as it is.
std::string TimesketchLine(const ReportRow& row)
{
    return JsonObject(row, {{"message", JsonString("UserAssist: " + row.FileName + ", " + Runs(row.RunCount))},
                            {"datetime", JsonOrNull(row.LastRun)},
                            {"timestamp_desc", JsonString("Last run")}}) +
           "\n";
}

class TimelineWriter final : public ReportWriter {
public:
    TimelineWriter(TextOutput& out, std::string (*line)(const ReportRow&)) : out_(out), line_(line) {}

    // Rows with a time since 1970, by time, then by user, subkey and stored
    // name in byte order: a source's lines come out the same every run.
    void Write(const std::string&, const std::vector<ReportRow>& rows) override
    {
        std::vector<ReportRow> dated;
        for (const ReportRow& row : rows) {
            if (row.LastRun && row.LastRunFileTime >= UnixEpoch)
                dated.push_back(WithTimelineTexts(row));
            else
                ++leftOut_;
        }
        std::sort(dated.begin(), dated.end(), [](const ReportRow& a, const ReportRow& b) {
            return std::tie(a.LastRunFileTime, a.User, a.SubKey, a.StoredName) <
                   std::tie(b.LastRunFileTime, b.User, b.SubKey, b.StoredName);
        });
        std::string text;
        for (const ReportRow& row : dated)
            text += line_(row);
        out_.Write(text);
    }

    void Finish() override {}
    std::size_t RowsLeftOut() const override { return leftOut_; }

private:
    TextOutput& out_;
    std::string (*line_)(const ReportRow&);
    std::size_t leftOut_ = 0;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeTimelineWriter(ReportFormat format, TextOutput& out)
{
    switch (format) {
    case ReportFormat::Bodyfile:
        return std::make_unique<TimelineWriter>(out, BodyfileLine);
    case ReportFormat::Tln:
        return std::make_unique<TimelineWriter>(out, TlnLine);
    default:
        return std::make_unique<TimelineWriter>(out, TimesketchLine);
    }
}
