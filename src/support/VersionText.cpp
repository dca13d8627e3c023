#include "support/VersionText.h"

const std::array<const char*, 10> BuildLetters{nullptr, "c", "d", "e", "f", "g", "h", "i", "j", "k"};

std::string FormatVersionText(const TExeVersion& version)
{
    std::string text = std::to_string(version.Major) + "." + std::to_string(version.Minor) +
                       std::to_string(version.Release);
    if (const int digit = version.Build % 10; digit != 0)
        text += BuildLetters[static_cast<std::size_t>(digit)];
    return text;
}

TDateTime LinkTimeStampToDateTime(std::uint32_t timeDateStamp)
{
    constexpr TDateTime kUnixEpoch = 25569.0;  // 1 January 1970
    constexpr double kSecondsPerDay = 86400.0;
    return timeDateStamp / kSecondsPerDay + kUnixEpoch;
}
