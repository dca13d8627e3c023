#pragma once
// The PNG reader's failures: one class per kind, each straight below Exception,
// each with its fixed message.
#include <string>

#include "base/Exception.h"

class EPNGInvalidFileHeader : public Exception { public: EPNGInvalidFileHeader(); };
class EPngUnexpectedEnd : public Exception { public: EPngUnexpectedEnd(); };
class EPNGIHDRNotFirst : public Exception { public: EPNGIHDRNotFirst(); };
class EPNGUnknownCriticalChunk : public Exception { public: EPNGUnknownCriticalChunk(); };
class EPngInvalidCRC : public Exception { public: EPngInvalidCRC(); };
class EPngInvalidIHDR : public Exception { public: EPngInvalidIHDR(); };
class EPNGSizeExceeds : public Exception { public: EPNGSizeExceeds(); };
class EPNGUnknownCompression : public Exception { public: EPNGUnknownCompression(); };
class EPNGUnknownInterlace : public Exception { public: EPNGUnknownInterlace(); };
class EPNGInvalidPalette : public Exception { public: EPNGInvalidPalette(); };
class EPNGMissingMultipleIDAT : public Exception { public: EPNGMissingMultipleIDAT(); };
class EPNGNoImageData : public Exception { public: EPNGNoImageData(); };
class EPNGHeaderNotPresent : public Exception { public: EPNGHeaderNotPresent(); };
class EPNGOutMemory : public Exception { public: EPNGOutMemory(); };

// inflate returned a negative code.
class EPNGZLIBError : public Exception {
public:
    explicit EPNGZLIBError(int zlibCode);
};

// Misuse of a picture: a palette index out of range, a size set, chunks of
// different classes assigned.
class EPngError : public Exception {
public:
    using Exception::Exception;
};

// The description of a zlib result code, as EPNGZLIBError shows it.
std::string InflateCodeText(int zlibCode);

extern const char* const kNoSuchPaletteEntry;
extern const char* const kCannotResize;
extern const char* const kIncompatibleChunks;
