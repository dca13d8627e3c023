#include "registry/hive/Marvin32.h"

#include <bit>
#include <cstring>

namespace {

struct State {
    std::uint32_t Lo;
    std::uint32_t Hi;

    void Mix(std::uint32_t word)
    {
        Lo += word;
        Hi ^= Lo;
        Lo = std::rotl(Lo, 20) + Hi;
        Hi = std::rotl(Hi, 9) ^ Lo;
        Lo = std::rotl(Lo, 27) + Hi;
        Hi = std::rotl(Hi, 19);
    }
};

// A little-endian word, read whole: the hash runs over megabytes of log entries.
std::uint32_t WordAt(const std::uint8_t* bytes)
{
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = (word >> 24) | ((word >> 8) & 0xFF00) | ((word << 8) & 0xFF0000) | (word << 24);
    return word;
}

}  // namespace

std::uint64_t Marvin32(std::span<const std::uint8_t> data, std::uint64_t seed)
{
    State state{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
    std::size_t offset = 0;
    for (; offset + 4 <= data.size(); offset += 4)
        state.Mix(WordAt(data.data() + offset));
    // The 0 to 3 bytes left, then the 0x80 that closes the data, as one word.
    std::uint32_t last = 0x80;
    for (std::size_t i = data.size(); i > offset; --i)
        last = last << 8 | data[i - 1];
    state.Mix(last);
    state.Mix(0);
    return std::uint64_t{state.Hi} << 32 | state.Lo;
}
