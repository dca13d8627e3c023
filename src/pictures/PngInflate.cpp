#include "pictures/PngInflate.h"

#include <algorithm>

#include "pictures/PngErrors.h"

Inflater::Inflater()
{
    const int result = inflateInit(&stream_);
    if (result != Z_OK)
        throw EPNGZLIBError(result);
}

Inflater::~Inflater()
{
    inflateEnd(&stream_);
}

std::optional<std::string> InflateText(const std::uint8_t* data, std::size_t size, std::size_t maxSize)
{
    // A text is never worth failing the picture for, not even when zlib
    // cannot start for want of memory.
    std::optional<Inflater> inflater;
    try {
        inflater.emplace();
    } catch (const EPNGZLIBError&) {
        return std::nullopt;
    }
    z_stream& z = inflater->Stream();
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);

    std::string text;
    char portion[16384];
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(portion);
        z.avail_out = sizeof portion;
        const int result = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = sizeof portion - z.avail_out;
        if (text.size() + produced > maxSize)
            return std::nullopt;
        text.append(portion, produced);
        if (result == Z_STREAM_END)
            return text;
        // Without progress the input is used up before the stream's end.
        if (result != Z_OK || produced == 0)
            return std::nullopt;
    }
}
