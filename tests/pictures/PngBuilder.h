#pragma once
// Hand-made PNG files for the tests, chunk by chunk, damaged where asked.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

Bytes Deflate(const Bytes& raw);
// Each row prefixed with the given filter-type byte.
Bytes WithFilterByte(const std::vector<Bytes>& rows, std::uint8_t filterType);

class PngBuilder {
public:
    PngBuilder();  // starts with the signature

    // A chunk with its length and CRC (zlib's, independent of the reader's).
    PngBuilder& Chunk(const std::string& type, const Bytes& data);
    PngBuilder& Ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                     std::uint8_t colorType, std::uint8_t interlace = 0);
    // The rows (filter bytes included) deflated into one IDAT chunk.
    PngBuilder& ImageData(const Bytes& filteredRows);
    PngBuilder& Iend() { return Chunk("IEND", {}); }

    const Bytes& Data() const { return bytes_; }
    operator const Bytes&() const { return bytes_; }

private:
    Bytes bytes_;
};

Bytes BigEndian(std::uint32_t value);

// "ok" when the picture loads, else the class name of the exception it raised.
// Exceptions that are not the program's own escape and fail the test.
class TPngPicture;
std::string LoadOutcome(const Bytes& file);
std::string LoadOutcome(TPngPicture& picture, const Bytes& file);
