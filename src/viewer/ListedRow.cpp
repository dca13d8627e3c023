#include "viewer/ListedRow.h"

#include <charconv>
#include <cstdio>

#include "history/UserAssistValue.h"

namespace {

constexpr std::uint32_t MillisecondsPerSecond = 1000;

// In the shortcuts subkey the focus-time field holds the run count again,
// and 16-byte records have no focus fields at all.
bool ShowsFocus(const TStartItem& item)
{
    return item.Layout == UserAssistLayout::Current && StartItemTypeOfSubKey(item.SubKey) != sitShortcut;
}

template <typename Number>
std::optional<Number> NumberOf(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The milliseconds of an h:mm:ss text, to the whole second; none for an empty cell.
std::optional<std::uint32_t> FocusTimeOfText(std::string_view text)
{
    std::uint32_t seconds = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        const std::optional<std::uint32_t> part = NumberOf<std::uint32_t>(rest.substr(0, colon));
        if (!part)
            return std::nullopt;
        seconds = seconds * 60 + *part;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    if (text.empty())
        return std::nullopt;
    return seconds * MillisecondsPerSecond;
}

}  // namespace

std::string FocusTimeText(std::uint32_t milliseconds)
{
    const std::uint32_t seconds = milliseconds / MillisecondsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

TListedRow ListedRowOf(int number, const TStartItem& item)
{
    const bool focus = ShowsFocus(item);
    return {number,
            item.FileName,
            StartItemTypeToStr(item.ItemType),
            item.ExecCount,
            item.LastExecutedText,
            item.LastExecuted,
            focus ? std::optional(item.FocusCount) : std::nullopt,
            focus ? std::optional(item.FocusTime) : std::nullopt,
            item.Note};
}

TListedRow ListedRowFromCells(const TListedCells& cells, TDateTime lastExecuted)
{
    return {NumberOf<int>(cells[lcCount]).value_or(0),
            cells[lcFileName],
            cells[lcType],
            NumberOf<std::int32_t>(cells[lcExecCount]).value_or(0),
            cells[lcLastExecuted],
            lastExecuted,
            NumberOf<std::uint32_t>(cells[lcFocusCount]),
            FocusTimeOfText(cells[lcFocusTime]),
            cells[lcNote]};
}

TListedCells ListedRowCells(const TListedRow& row)
{
    return {std::to_string(row.Number),
            row.FileName,
            row.TypeText,
            std::to_string(row.ExecCount),
            row.FocusCount ? std::to_string(*row.FocusCount) : std::string(),
            row.FocusTime ? FocusTimeText(*row.FocusTime) : std::string(),
            row.LastExecutedText,
            row.Note};
}
