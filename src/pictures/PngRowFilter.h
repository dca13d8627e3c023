#pragma once
// Undoing the PNG standard's five row filters.
#include <cstddef>
#include <cstdint>

// Reverses filter types 1 to 4 in place; `prior` is the previous row as
// decoded (all zero before the first row of a pass). Any other filter type,
// 0 or above 4, leaves the row as it is.
void UnfilterRow(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior,
                 std::size_t rowBytes, unsigned bytesPerPixel);
