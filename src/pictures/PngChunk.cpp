// The generic chunk, the chunk-class registry and the chunk list.
#include <cstring>

#include "pictures/PngChunkHeader.h"
#include "pictures/PngCrc.h"
#include "pictures/PngStreamIO.h"
#include "pictures/pngpicture.h"

namespace {

template <class T>
std::unique_ptr<TChunk> CreateChunk(TPngPicture& owner)
{
    return std::make_unique<T>(owner);
}

constexpr std::size_t kClassPrefixLength = 6;  // "TChunk"

}  // namespace

const TChunkClass TChunk::Class{"TChunk", &CreateChunk<TChunk>};
const TChunkClass TChunkIHDR::Class{"TChunkIHDR", &CreateChunk<TChunkIHDR>};
const TChunkClass TChunkPLTE::Class{"TChunkPLTE", &CreateChunk<TChunkPLTE>};
const TChunkClass TChunktRNS::Class{"TChunktRNS", &CreateChunk<TChunktRNS>};
const TChunkClass TChunkIDAT::Class{"TChunkIDAT", &CreateChunk<TChunkIDAT>};
const TChunkClass TChunkgAMA::Class{"TChunkgAMA", &CreateChunk<TChunkgAMA>};
const TChunkClass TChunktIME::Class{"TChunktIME", &CreateChunk<TChunktIME>};
const TChunkClass TChunktEXt::Class{"TChunktEXt", &CreateChunk<TChunktEXt>};
const TChunkClass TChunkzTXt::Class{"TChunkzTXt", &CreateChunk<TChunkzTXt>};
const TChunkClass TChunkIEND::Class{"TChunkIEND", &CreateChunk<TChunkIEND>};

std::string TChunkClass::ChunkName() const
{
    const std::string name = ClassName;
    return name.size() > kClassPrefixLength ? name.substr(kClassPrefixLength) : std::string();
}

TChunk::TChunk(TPngPicture& owner, const TChunkClass& chunkClass)
    : owner_(&owner), class_(&chunkClass)
{
    const std::string name = chunkClass.ChunkName();
    if (name.size() == type_.size())
        std::memcpy(type_.data(), name.data(), type_.size());
}

void TChunk::CopyFrom(const TChunk& source)
{
    if (class_ != source.class_)
        throw EPngError(kIncompatibleChunks);
    type_ = source.type_;
    data_ = source.data_;
}

bool TChunk::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    data_.resize(length);
    ReadFully(stream, data_.data(), length);
    const std::uint32_t stored = ReadBigEndian32(stream);

    std::uint32_t crc = UpdateCrc(kCrcStart, reinterpret_cast<const std::uint8_t*>(type.data()), 4);
    crc = UpdateCrc(crc, data_.data(), data_.size());
    if (crc != stored)
        throw EPngInvalidCRC();
    return true;
}

TChunkClassList& ChunkClassRegistry()
{
    static TChunkClassList registry = [] {
        TChunkClassList list;
        RegisterBuiltInChunkClasses(list);
        return list;
    }();
    return registry;
}

void RegisterBuiltInChunkClasses(TChunkClassList& registry)
{
    for (const TChunkClass* c : {&TChunkIEND::Class, &TChunkIHDR::Class, &TChunkIDAT::Class,
                                 &TChunkPLTE::Class, &TChunkgAMA::Class, &TChunktRNS::Class,
                                 &TChunktIME::Class, &TChunktEXt::Class, &TChunkzTXt::Class})
        registry.push_back(c);
}

void AddChunkClass(const TChunkClass& chunkClass)
{
    ChunkClassRegistry().push_back(&chunkClass);
}

std::unique_ptr<TChunk> NewChunkForType(TPngPicture& owner, const TChunkType& type)
{
    const std::string name(type.data(), type.size());
    const TChunkClass* chosen = &TChunk::Class;
    for (const TChunkClass* c : ChunkClassRegistry())
        if (c->ChunkName() == name) {
            chosen = c;
            break;
        }
    auto chunk = chosen->Create(owner);
    chunk->SetType(type);
    return chunk;
}

void TPNGList::Add(std::unique_ptr<TChunk> chunk)
{
    constexpr std::size_t kGrowth = 10;
    if (items_.size() == items_.capacity())
        items_.reserve(items_.capacity() + kGrowth);
    items_.push_back(std::move(chunk));
}

void TPNGList::Clear()
{
    items_.clear();
}
