#pragma once
// How the hive fuzz targets and their seed maker frame one input: a hive's
// bytes, then each transaction log's, each log preceded by a separator.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

inline constexpr std::string_view LogSeparator = "|next log|";

inline std::vector<std::span<const std::uint8_t>> SplitFuzzHiveInput(std::span<const std::uint8_t> input)
{
    std::vector<std::span<const std::uint8_t>> parts;
    for (;;) {
        const auto at = std::search(input.begin(), input.end(), LogSeparator.begin(), LogSeparator.end());
        parts.push_back(input.first(static_cast<std::size_t>(at - input.begin())));
        if (at == input.end())
            return parts;
        input = input.subspan(parts.back().size() + LogSeparator.size());
    }
}
