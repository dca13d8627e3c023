#include "pictures/PngErrors.h"

const char* const kNoSuchPaletteEntry = "There is no such palette entry.";
const char* const kCannotResize =
    "The \"Portable Network Graphics\" image can not be resize by changing width and height "
    "properties. Try assigning the image from a bitmap.";
const char* const kIncompatibleChunks = "The chunks must be compatible to be assigned.";

EPNGInvalidFileHeader::EPNGInvalidFileHeader()
    : Exception("The file being readed is not a valid \"Portable Network Graphics\" image because "
                "it contains an invalid header. This file may be corruped, try obtaining it again.")
{
}

EPngUnexpectedEnd::EPngUnexpectedEnd()
    : Exception("This \"Portable Network Graphics\" image is invalid because the decoder found an "
                "unexpected end of the file.")
{
}

EPNGIHDRNotFirst::EPNGIHDRNotFirst()
    : Exception("This \"Portable Network Graphics\" image is not supported or it might be "
                "invalid.\r\n(IHDR chunk is not the first)")
{
}

EPNGUnknownCriticalChunk::EPNGUnknownCriticalChunk()
    : Exception("This \"Portable Network Graphics\" image contains an unknown critical part which "
                "could not be decoded.")
{
}

EPngInvalidCRC::EPngInvalidCRC()
    : Exception("This \"Portable Network Graphics\" image is not valid because it contains invalid "
                "pieces of data (crc error)")
{
}

EPngInvalidIHDR::EPngInvalidIHDR()
    : Exception("The \"Portable Network Graphics\" image could not be loaded because one of its "
                "main piece of data (ihdr) might be corrupted")
{
}

EPNGSizeExceeds::EPNGSizeExceeds()
    : Exception("This \"Portable Network Graphics\" image is not supported because either it's "
                "width or height exceeds the maximum size, which is 65535 pixels length.")
{
}

EPNGUnknownCompression::EPNGUnknownCompression()
    : Exception("This \"Portable Network Graphics\" image is encoded with an unknown compression "
                "scheme which could not be decoded.")
{
}

EPNGUnknownInterlace::EPNGUnknownInterlace()
    : Exception("This \"Portable Network Graphics\" image uses an unknown interlace scheme which "
                "could not be decoded.")
{
}

EPNGInvalidPalette::EPNGInvalidPalette()
    : Exception("The \"Portable Network Graphics\" image contains an invalid palette.")
{
}

EPNGMissingMultipleIDAT::EPNGMissingMultipleIDAT()
    : Exception("This \"Portable Network Graphics\" image is invalid because it has missing image "
                "parts.")
{
}

EPNGNoImageData::EPNGNoImageData()
    : Exception("This \"Portable Network Graphics\" image contains no data.")
{
}

EPNGHeaderNotPresent::EPNGHeaderNotPresent()
    : Exception("This operation is not valid because the current image contains no valid header.")
{
}

EPNGOutMemory::EPNGOutMemory()
    : Exception("Some operation could not be performed because the system is out of resources. "
                "Close some windows and try again.")
{
}

EPNGZLIBError::EPNGZLIBError(int zlibCode)
    : Exception("Could not decompress the image because it contains invalid compressed data.\r\n"
                " Description: " + InflateCodeText(zlibCode))
{
}

std::string InflateCodeText(int zlibCode)
{
    switch (zlibCode) {
    case -6: return "incompatible version (-6)";
    case -5: return "buffer error (-5)";
    case -4: return "insufficient memory (-4)";
    case -3: return "data error (-3)";
    case -2: return "stream error (-2)";
    case -1: return "file error (-1)";
    case 0: return "(0)";
    case 1: return "stream end (1)";
    case 2: return "need dictionary (2)";
    default: break;
    }
    std::string text = "(";
    text += std::to_string(zlibCode);
    text += ")";
    return text;
}
