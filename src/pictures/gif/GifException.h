#pragma once
// The GIF reader's one exception class, its fixed message texts, the block
// start bytes and the small reads every block reader uses.
#include <cstddef>
#include <cstdint>

#include "pictures/Graphic.h"
#include "pictures/Stream.h"

class GIFException : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

// Message texts of errors and warnings, word for word as users and tests see them.
namespace gif_message {
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* InvalidSignature = "Invalid GIF signature";
inline constexpr const char* UnknownBlockType = "Unknown GIF block type";
inline constexpr const char* InvalidExtensionIntroducer = "Invalid extension introducer";
inline constexpr const char* UnknownExtensionType = "Unknown extension type";
inline constexpr const char* ExtensionLabelMismatch =
    "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* UnsupportedAppExtensionSize = "Unsupported Application Extension block size";
inline constexpr const char* InvalidData = "Invalid GIF data";
inline constexpr const char* ImageExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* BitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* CircularTableEntry = "Circular decoder table entry";
inline constexpr const char* InvalidTrailer = "Invalid Image trailer";
inline constexpr const char* NoColorTable = "No global or local color table defined";
inline constexpr const char* DibAllocation = "Failed to allocate memory for GIF DIB";
// Our own: LZW code sizes above 11 would overrun the 4096-entry decoder tables.
inline constexpr const char* InvalidCodeSize = "Invalid LZW code size";
// Our own: a frame declares more pixels than its image data could ever encode.
inline constexpr const char* ImageDataTooShort = "Image data too short for image size";
inline constexpr const char* OutOfMemory = "Out of memory for image data";
}  // namespace gif_message

// The bytes that start the blocks of a GIF stream.
namespace gif_block {
inline constexpr std::uint8_t ExtensionIntroducer = '!';
inline constexpr std::uint8_t ImageSeparator = ',';
inline constexpr std::uint8_t Trailer = ';';
}  // namespace gif_block

// Reads count bytes or raises GIFException "Premature end of data".
void ReadExact(Stream& stream, void* buffer, std::size_t count);

// Reads one byte; false at the end of the stream.
bool ReadByte(Stream& stream, std::uint8_t& byte);

inline void StepBack(Stream& stream) { stream.Seek(-1, SeekOrigin::Current); }
