#include "pictures/gif/GifAppExtensions.h"

#include "pictures/gif/GifException.h"
#include "pictures/gif/GifExtensionRegistry.h"

namespace {

// Refinement of the application extension from its block size byte.
const TGIFExtensionClass* RefineApplicationExtension(Stream& stream)
{
    std::uint8_t size;
    if (!ReadByte(stream, size))
        return nullptr;
    if (size == 10) {
        std::uint8_t skipped[10];
        stream.Read(skipped, sizeof skipped);
        return &TGIFUnknownAppExtension::Class;
    }
    if (size == 11) {
        TGIFApplicationExtension::Identifier identifier{};
        if (stream.Read(identifier.data(), identifier.size()) < identifier.size())
            return &TGIFUnknownAppExtension::Class;
        const TGIFExtensionClass* found = AppExtensionRegistry().Find(identifier);
        return found != nullptr ? found : &TGIFUnknownAppExtension::Class;
    }
    return nullptr;
}

void SkipSubBlocks(Stream& stream)
{
    std::uint8_t size;
    while (ReadByte(stream, size) && size != 0)
        stream.Seek(size, SeekOrigin::Current);
}

}  // namespace

const TGIFExtensionClass TGIFApplicationExtension::Class{
    "TGIFApplicationExtension", Label, RefineApplicationExtension,
    CreateGifExtension<TGIFApplicationExtension>};

void TGIFApplicationExtension::LoadBody(Stream& stream)
{
    std::uint8_t size;
    ReadExact(stream, &size, 1);
    if (size < 10)
        throw GIFException(gif_message::UnsupportedAppExtensionSize);
    identifier_.fill(0);
    if (size == 10) {
        ReadExact(stream, identifier_.data(), 10);
    } else {
        ReadExact(stream, identifier_.data(), identifier_.size());
        stream.Seek(size - static_cast<int>(IdentifierSize), SeekOrigin::Current);
    }
    ReadApplicationData(stream);
}

void TGIFApplicationExtension::ReadApplicationData(Stream& stream) { SkipSubBlocks(stream); }

const TGIFExtensionClass TGIFAppExtNSLoop::Class{"TGIFAppExtNSLoop", Label, nullptr,
                                                 CreateGifExtension<TGIFAppExtNSLoop>};

void TGIFAppExtNSLoop::ReadApplicationData(Stream& stream)
{
    constexpr int LoopBlock = 1;
    constexpr int BufferBlock = 2;
    for (;;) {
        std::uint8_t size;
        ReadExact(stream, &size, 1);
        if (size == 0)
            return;
        std::uint8_t id;
        ReadExact(stream, &id, 1);
        int remaining = size - 1;
        std::uint8_t value[4];
        if ((id & 7) == LoopBlock) {
            if (size < 3)
                throw GIFException(gif_message::InvalidData);
            ReadExact(stream, value, 2);
            loops_ = static_cast<std::uint16_t>(value[0] | value[1] << 8);
            remaining -= 2;
        } else if ((id & 7) == BufferBlock) {
            if (size < 5)
                throw GIFException(gif_message::InvalidData);
            ReadExact(stream, value, 4);
            bufferSize_ = static_cast<std::uint32_t>(value[0]) | static_cast<std::uint32_t>(value[1]) << 8 |
                          static_cast<std::uint32_t>(value[2]) << 16 |
                          static_cast<std::uint32_t>(value[3]) << 24;
            remaining -= 4;
        }
        stream.Seek(remaining, SeekOrigin::Current);
    }
}

const TGIFExtensionClass TGIFUnknownAppExtension::Class{
    "TGIFUnknownAppExtension", Label, nullptr, CreateGifExtension<TGIFUnknownAppExtension>};

void TGIFUnknownAppExtension::ReadApplicationData(Stream& stream)
{
    std::uint8_t size;
    while (ReadByte(stream, size) && size != 0) {
        std::vector<std::uint8_t> data(size);
        ReadExact(stream, data.data(), size);
        blocks_.emplace_back(std::move(data));
    }
}
