#pragma once
// The PNG picture: reads any PNG file (every colour type and bit depth, both
// interlace methods) into a DIB-shaped image plus, for images with an alpha
// channel, a separate alpha plane. The file is kept as a list of chunk objects;
// the decoded image belongs to the header chunk.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "pictures/DibImage.h"
#include "pictures/Graphic.h"
#include "pictures/PngErrors.h"
#include "pictures/Stream.h"

class TPngPicture;
class TChunk;

// Four characters, as stored in the file; compared exactly, case included.
using TChunkType = std::array<char, 4>;

// What a chunk class is to the reader: its name and how to make one. The chunk
// type a class reads is its name without the leading "TChunk".
struct TChunkClass {
    const char* ClassName;
    std::unique_ptr<TChunk> (*Create)(TPngPicture& owner);

    std::string ChunkName() const;
};

// --- Chunks -------------------------------------------------------------------

// A chunk of any type. Unknown ancillary chunks are kept as plain TChunks.
class TChunk {
public:
    static const TChunkClass Class;

    explicit TChunk(TPngPicture& owner) : TChunk(owner, Class) {}
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    const TChunkClass& ChunkClass() const { return *class_; }
    const TChunkType& Type() const { return type_; }
    void SetType(const TChunkType& type) { type_ = type; }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    std::uint32_t DataSize() const { return static_cast<std::uint32_t>(data_.size()); }
    TPngPicture& Owner() const { return *owner_; }

    // Copies type and data (and a subclass's own fields); the source must be of
    // the same class, else EPngError.
    virtual void CopyFrom(const TChunk& source);

    // Reads the chunk's data and CRC; the stream stands after the type. Returns
    // whether reading goes on. The length was checked against the stream.
    virtual bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length);

protected:
    TChunk(TPngPicture& owner, const TChunkClass& chunkClass);

    TPngPicture* owner_;
    const TChunkClass* class_;
    TChunkType type_{};
    std::vector<std::uint8_t> data_;
};

// The image header, and the owner of the decoded image.
class TChunkIHDR : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkIHDR(TPngPicture& owner) : TChunk(owner, Class) {}

    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    std::uint8_t BitDepth() const { return bitDepth_; }
    std::uint8_t ColorType() const { return colorType_; }
    std::uint8_t CompressionMethod() const { return compressionMethod_; }
    std::uint8_t FilterMethod() const { return filterMethod_; }
    std::uint8_t InterlaceMethod() const { return interlaceMethod_; }

    // The decoded image: a DIB of DibInfo's format, bottom-up, RowStride bytes a
    // row; the alpha plane (colour types 4 and 6, else null) has Width bytes a
    // row, top row first.
    const TDibInfo& DibInfo() const { return dibInfo_; }
    TDibInfo& DibInfo() { return dibInfo_; }
    bool UsesColorTable() const { return usesColorTable_; }
    std::size_t RowStride() const { return rowStride_; }
    std::uint8_t* PixelBits() const { return pixelBits_; }
    std::uint8_t* AlphaPlane() const { return alphaPlane_.get(); }
    // The pixel memory as the allocator made it (a DIB section on Windows).
    ImageMemory* Image() const { return image_.get(); }
#ifdef _WIN32
    // The DIB section holding the image and the memory device context it is
    // selected into; null unless the image lives in a DIB section (see
    // UsePngDibSections).
    HBITMAP DibHandle() const;
    HDC DibDC() const;
#endif

    // The DIB row and alpha row of image row y (0 = top).
    std::uint8_t* ScanLine(std::uint32_t y) const
    {
        return pixelBits_ + (static_cast<std::size_t>(height_) - 1 - y) * rowStride_;
    }
    std::uint8_t* AlphaLine(std::uint32_t y) const
    {
        return alphaPlane_.get() + static_cast<std::size_t>(y) * width_;
    }

private:
    struct FreeDeleter {
        void operator()(std::uint8_t* p) const;
    };

    void AllocateImage();
    void ReleaseImage();

    TDibInfo dibInfo_{};
    bool usesColorTable_ = false;
    std::size_t rowStride_ = 0;
    std::unique_ptr<ImageMemory> image_;
    std::uint8_t* pixelBits_ = nullptr;
    std::unique_ptr<std::uint8_t, FreeDeleter> alphaPlane_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint8_t bitDepth_ = 0;
    std::uint8_t colorType_ = 0;
    std::uint8_t compressionMethod_ = 0;
    std::uint8_t filterMethod_ = 0;
    std::uint8_t interlaceMethod_ = 0;
};

// The palette; its entries live in the header's colour table.
class TChunkPLTE : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkPLTE(TPngPicture& owner) : TChunk(owner, Class) {}

    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;

    std::uint32_t Count() const { return count_; }
    // The entry as the colour table holds it (gamma applied); EPngError past Count.
    TRGBQuad Item(std::uint32_t index) const;

private:
    std::uint32_t count_ = 0;
};

class TChunktRNS : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunktRNS(TPngPicture& owner) : TChunk(owner, Class) {}

    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;

    // Colour types 0 and 2: always; colour type 3: exactly one entry below 255.
    bool SingleKey() const { return singleKey_; }
    // The data bytes, padded with 255 to 256 entries.
    const std::array<std::uint8_t, 256>& AlphaByIndex() const { return alphaByIndex_; }

private:
    bool singleKey_ = false;
    std::array<std::uint8_t, 256> alphaByIndex_{};
};

// The image data. The first IDAT chunk decodes the whole image, reading on
// through the IDAT chunks that follow it; it keeps no data of its own.
class TChunkIDAT : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkIDAT(TPngPicture& owner) : TChunk(owner, Class) {}

    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;
};

// gAMA keeps its 4-byte value in the chunk data and fills the picture's tables.
class TChunkgAMA : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkgAMA(TPngPicture& owner) : TChunk(owner, Class) {}

    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;
};

class TChunktIME : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunktIME(TPngPicture& owner) : TChunk(owner, Class) {}

    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;

    std::uint16_t Year = 0;
    std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunktEXt(TPngPicture& owner) : TChunk(owner, Class) {}

    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;

    std::string Keyword;
    std::string Text;

protected:
    TChunktEXt(TPngPicture& owner, const TChunkClass& chunkClass) : TChunk(owner, chunkClass) {}
    // Takes the keyword up to the first zero byte; returns where the rest starts.
    std::size_t SplitKeyword();
};

// Compressed text: the text is inflated when read; text that cannot be inflated
// (or that would inflate beyond kMaxTextSize) is left empty.
class TChunkzTXt : public TChunktEXt {
public:
    static const TChunkClass Class;
    static constexpr std::size_t kMaxTextSize = 1 << 20;
    explicit TChunkzTXt(TPngPicture& owner) : TChunktEXt(owner, Class) {}

    bool ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length) override;
};

class TChunkIEND : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkIEND(TPngPicture& owner) : TChunk(owner, Class) {}
};

// --- The chunk-class registry -------------------------------------------------

using TChunkClassList = std::vector<const TChunkClass*>;

// The process-wide registry, filled with the built-in classes on first use.
// Add classes at start-up only: loading reads it without a lock.
TChunkClassList& ChunkClassRegistry();
// Appends IEND, IHDR, IDAT, PLTE, gAMA, tRNS, tIME, tEXt, zTXt, in this order.
void RegisterBuiltInChunkClasses(TChunkClassList& registry);
void AddChunkClass(const TChunkClass& chunkClass);
// The first registered class for the type (else TChunk), made with its type set.
std::unique_ptr<TChunk> NewChunkForType(TPngPicture& owner, const TChunkType& type);

// --- The chunk list -----------------------------------------------------------

// Owns the chunks in file order. Loading reserves room for 10, grows by 10 and
// trims to the count at the end, so that Capacity() tells what loading did.
class TPNGList {
public:
    std::size_t Count() const { return items_.size(); }
    std::size_t Capacity() const { return items_.capacity(); }
    TChunk& Item(std::size_t index) const { return *items_.at(index); }
    void Add(std::unique_ptr<TChunk> chunk);
    void Clear();
    void Reserve(std::size_t capacity) { items_.reserve(capacity); }
    void Trim() { items_.shrink_to_fit(); }

    // The first chunk of class T or a class derived from it, or null.
    template <class T>
    T* FindChunk() const
    {
        for (const auto& item : items_)
            if (auto* chunk = dynamic_cast<T*>(item.get()))
                return chunk;
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<TChunk>> items_;
};
using TPNGPointerList = TPNGList;

// --- The picture --------------------------------------------------------------

// How drawing puts the picture on a canvas; decided by the image data alone.
enum TAlphaDrawMode { admOpaque, admColorKey, admBlend };

using TGammaTable = std::array<std::uint8_t, 256>;

class TPngPicture : public TGraphic {
public:
    static constexpr int kDefaultCompressionLevel = 7;
    static constexpr std::uint32_t kMinMaxIdatSize = 65535;

    TPngPicture();
    ~TPngPicture() override;

    // Replaces the content with the PNG file the stream holds, or raises. When
    // loading fails, the chunks read so far stay.
    void LoadFromStream(Stream& stream) override;
    // Frees every chunk and resets both gamma tables to the identity.
    void ResetPicture();
    // Copies writer settings, interlace kind, gamma tables and every chunk.
    void Assign(const TPngPicture& source);

    int Width() const override;
    int Height() const override;
    bool Empty() const override { return chunks_.Count() == 0; }
    bool Transparent() const override { return AlphaDrawMode() != admOpaque; }
    // A PNG cannot be resized this way: both raise EPngError.
    [[noreturn]] void SetWidth(int value);
    [[noreturn]] void SetHeight(int value);

    // The first chunk as the header; EPNGHeaderNotPresent when there is none.
    TChunkIHDR& Header() const;
    TPNGList& ChunkItems() { return chunks_; }
    const TPNGList& ChunkItems() const { return chunks_; }

    TGammaTable& GammaLookup() { return gamma_; }
    const TGammaTable& GammaLookup() const { return gamma_; }
    TGammaTable& GammaInverseLookup() { return gammaInverse_; }
    const TGammaTable& GammaInverseLookup() const { return gammaInverse_; }
    // 0 none, 1 Adam7, as the header said.
    std::uint8_t InterlaceKind() const { return interlaceKind_; }
    void SetInterlaceKind(std::uint8_t kind) { interlaceKind_ = kind; }

    // admOpaque for an empty picture.
    TAlphaDrawMode AlphaDrawMode() const;
    // The colour the DIB shows for the tRNS key; black without tRNS.
    TColor KeyColor() const;

#ifdef _WIN32
    // Draws the whole picture into the rectangle: stretched straight on when
    // opaque, through a mask when one colour is transparent, blended over what
    // the canvas shows when it has alpha. Draws nothing when empty; raises
    // EPNGHeaderNotPresent without a header and EPNGOutMemory when GDI cannot
    // give what drawing needs (nothing is drawn then).
    void Draw(HDC dc, const RECT& rect) override;
    // The logical palette of a greyscale or palette image, made from its
    // colour table on first request and kept until the image is prepared
    // again; null for other images.
    HPALETTE Palette() const;
#endif
    // Drops the cached palette: the colour table it was made from is gone.
    void ReleasePalette();

    // Writer settings; the reader only carries them along.
    int CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(int level);
    std::uint32_t MaxIdatSize() const { return maxIdatSize_; }
    void SetMaxIdatSize(std::uint32_t size);

private:
    void ReadChunks(Stream& stream);

    TPNGList chunks_;
    TGammaTable gamma_{};
    TGammaTable gammaInverse_{};
    std::uint8_t interlaceKind_ = 0;
    int compressionLevel_ = kDefaultCompressionLevel;
    std::uint32_t maxIdatSize_ = kMinMaxIdatSize;
#ifdef _WIN32
    struct PaletteDeleter {
        void operator()(HPALETTE palette) const;
    };
    mutable std::unique_ptr<std::remove_pointer_t<HPALETTE>, PaletteDeleter> palette_;
#endif
};
