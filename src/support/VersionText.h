#pragma once
// The version text and link date of an executable, from its raw figures.
#include <array>
#include <cstdint>
#include <string>

#include "support/DateTime.h"

struct TExeVersion {
    std::uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
};

// Letters for the last digit of the build number, indexed 1 to 9 (index 0,
// a build ending in 0, has no letter).
extern const std::array<const char*, 10> BuildLetters;

// Major, ".", minor and release without a separator, then the letter of the
// build's last digit: 1.0.0.10 gives "1.00", 2.1.3.13 gives "2.13e".
std::string FormatVersionText(const TExeVersion& version);

// An image header's link time stamp (seconds since 1 January 1970 UTC,
// unsigned) as a date-time value, with no time-zone shift.
TDateTime LinkTimeStampToDateTime(std::uint32_t timeDateStamp);
