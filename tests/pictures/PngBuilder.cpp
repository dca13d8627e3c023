#include "PngBuilder.h"

#include <zlib.h>

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "pictures/pngpicture.h"

Bytes Deflate(const Bytes& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    out.resize(size);
    return out;
}

Bytes WithFilterByte(const std::vector<Bytes>& rows, std::uint8_t filterType)
{
    Bytes out;
    for (const Bytes& row : rows) {
        out.push_back(filterType);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes BigEndian(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

PngBuilder::PngBuilder() : bytes_{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'} {}

PngBuilder& PngBuilder::Chunk(const std::string& type, const Bytes& data)
{
    const Bytes length = BigEndian(static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), length.begin(), length.end());
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    bytes_.insert(bytes_.end(), typed.begin(), typed.end());
    const Bytes crc = BigEndian(static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    bytes_.insert(bytes_.end(), crc.begin(), crc.end());
    return *this;
}

PngBuilder& PngBuilder::Ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                             std::uint8_t colorType, std::uint8_t interlace)
{
    Bytes data = BigEndian(width);
    const Bytes h = BigEndian(height);
    data.insert(data.end(), h.begin(), h.end());
    data.insert(data.end(), {bitDepth, colorType, 0, 0, interlace});
    return Chunk("IHDR", data);
}

PngBuilder& PngBuilder::ImageData(const Bytes& filteredRows)
{
    return Chunk("IDAT", Deflate(filteredRows));
}

std::string LoadOutcome(TPngPicture& picture, const Bytes& file)
{
    MemoryStream stream(file);
    try {
        picture.LoadFromStream(stream);
        return "ok";
    } catch (const Exception& e) {
        int status = 0;
        std::unique_ptr<char, decltype(&std::free)> name(
            abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), &std::free);
        return status == 0 ? name.get() : typeid(e).name();
    }
}

std::string LoadOutcome(const Bytes& file)
{
    TPngPicture picture;
    return LoadOutcome(picture, file);
}
