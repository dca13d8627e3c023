#include "viewer/LoadedEntries.h"

#include "sources/SourceOfFile.h"

namespace {

// Every message about the file, each on a line of its own and named by the
// file, as the report tool writes them.
std::string ReadingMessages(const SourceSpec& source, const SourceReading& reading)
{
    std::string text;
    for (const std::string& message : reading.Messages)
        text += (text.empty() ? "" : "\n") + SourceName(source) + ": " + message;
    return text;
}

}  // namespace

TLoadedEntries::TLoadedEntries(const std::optional<std::string>& file)
{
    if (!file) {
        history_ = std::make_unique<TStartHistory>();
        history_->ReadHistory();
        return;
    }
    const SourceSpec source = SourceOfFile(*file);
    SourceReading reading = ReadSource(source);
    // A file read in part would show a list that looks whole.
    if (reading.Code != ExitCode::Success)
        throw EFileNotRead(ReadingMessages(source, reading));
    reading_ = std::move(reading);
}

TLoadedEntries::~TLoadedEntries() = default;

int TLoadedEntries::Count() const
{
    return reading_ ? static_cast<int>(reading_->Items.size()) : history_->Count();
}

void TLoadedEntries::GetItem(int index, TStartItem& item) const
{
    if (reading_)
        item = reading_->Items.at(static_cast<std::size_t>(index));
    else
        history_->GetItem(index, item);
}

std::string TLoadedEntries::LogReport() const
{
    return reading_ ? reading_->LogReport : std::string();
}
