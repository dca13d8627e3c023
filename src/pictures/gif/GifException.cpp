#include "pictures/gif/GifException.h"

void ReadExact(Stream& stream, void* buffer, std::size_t count)
{
    if (stream.Read(buffer, count) < count)
        throw GIFException(gif_message::PrematureEnd);
}

bool ReadByte(Stream& stream, std::uint8_t& byte) { return stream.Read(&byte, 1) == 1; }
