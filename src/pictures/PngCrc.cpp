#include "pictures/PngCrc.h"

#include <array>

namespace {

// Eight tables for slicing by eight bytes; the table is built once per process,
// on first use.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

CrcTables BuildTables()
{
    CrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (int k = 1; k < 8; ++k)
            t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
    return t;
}

const CrcTables& Tables()
{
    static const CrcTables tables = BuildTables();
    return tables;
}

}  // namespace

std::uint32_t UpdateCrc(std::uint32_t crc, const std::uint8_t* data, std::size_t length)
{
    const CrcTables& t = Tables();
    while (length >= 8) {
        const std::uint32_t low =
            crc ^ (data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24));
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
        data += 8;
        length -= 8;
    }
    while (length-- > 0)
        crc = t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return crc;
}
