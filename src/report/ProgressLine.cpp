#include "report/ProgressLine.h"

#include <algorithm>

#include "report/ReportRow.h"

namespace {

// Narrower than any terminal, so that the line never wraps and "\r" always
// goes back to its start.
constexpr std::size_t Widest = 79;

std::size_t CharactersOf(const std::string& utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The end of a long path says more than its start.
std::string TailOf(const std::string& utf8, std::size_t characters)
{
    if (CharactersOf(utf8) <= characters)
        return utf8;
    std::size_t start = utf8.size();
    for (std::size_t kept = 0; start > 0 && kept < characters - 3;)
        if ((static_cast<unsigned char>(utf8[--start]) & 0xC0) != 0x80)
            ++kept;
    return "..." + utf8.substr(start);
}

}  // namespace

void ProgressLine::Show(std::size_t done, std::size_t found, const std::string& current)
{
    if (!shown_)
        return;
    const std::string head = std::to_string(done) + " of " + std::to_string(found) + " files: ";
    const std::string line = head + TailOf(PrintableLine(current), Widest - std::min(Widest, head.size()));
    const std::size_t width = CharactersOf(line);
    // Blanks cover what is left of a longer line before.
    err_.Write("\r" + line + std::string(width_ > width ? width_ - width : 0, ' '));
    width_ = std::max(width, width_);
}

void ProgressLine::Clear()
{
    if (!shown_ || width_ == 0)
        return;
    err_.Write("\r" + std::string(width_, ' ') + "\r");
    width_ = 0;
}
