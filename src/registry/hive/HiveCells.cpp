#include "registry/hive/HiveCells.h"

#include <algorithm>
#include <cstdio>

#include "base/LittleEndian.h"
#include "registry/hive/BaseBlock.h"

namespace {

constexpr std::string_view BinSignature = "hbin";
constexpr std::uint32_t BinHeaderSize = 32;
constexpr std::uint32_t BinAlignment = 4096;
// Cells begin 8-byte aligned, since bins begin on 4,096 bytes and their headers take 32.
constexpr std::uint32_t CellAlignment = 8;
constexpr std::uint32_t CellSizeFieldSize = 4;
constexpr std::uint32_t ListHeaderSize = 4;  // signature and count

bool SignatureIs(std::span<const std::uint8_t> data, std::string_view signature)
{
    return data.size() >= signature.size() && std::equal(signature.begin(), signature.end(), data.begin());
}

std::string FileOffsetText(std::size_t offset)
{
    return std::to_string(HiveBaseBlockSize + offset);
}

}  // namespace

std::string CellOffsetText(std::uint32_t offset)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(offset));
    return text;
}

HiveCells::HiveCells(std::span<const std::uint8_t> bins, std::uint32_t declaredSize)
    : bins_(bins.first(std::min<std::size_t>(bins.size(), declaredSize)))
{
    ReadBins(declaredSize);
}

void HiveCells::ReadBins(std::uint32_t declaredSize)
{
    if (bins_.size() < declaredSize)
        binProblems_.push_back("the file ends at byte " + FileOffsetText(bins_.size()) +
                               ", before the end of its last hive bin at " + FileOffsetText(declaredSize));
    std::uint32_t at = 0;
    while (at < bins_.size()) {
        const std::span<const std::uint8_t> header = bins_.subspan(at);
        const std::uint32_t size = ReadLittleEndian32(header, 8);
        std::string problem;
        if (header.size() < BinHeaderSize)
            break;  // a file cut short, told above
        if (!SignatureIs(header, BinSignature))
            problem = "it has no \"hbin\" signature";
        else if (ReadLittleEndian32(header, 4) != at)
            problem = "it gives its offset as " + CellOffsetText(ReadLittleEndian32(header, 4));
        else if (size < BinAlignment || size % BinAlignment != 0)
            problem = "its size of " + std::to_string(size) + " bytes is no multiple of 4096";
        else if (size > header.size()) {
            if (bins_.size() == declaredSize)
                problem = "it runs past the end of the hive bins data";
            else
                chain_.push_back({at, static_cast<std::uint32_t>(bins_.size())});  // cut short, told above
        }
        if (!problem.empty()) {
            binProblems_.push_back("the hive bin at offset " + CellOffsetText(at) + " is damaged: " + problem);
            break;
        }
        if (size > header.size())
            break;
        chain_.push_back({at, at + size});
        at += size;
    }
    chainEnd_ = chain_.empty() ? 0 : chain_.back().End;
}

HiveCells::Bin HiveCells::BinOf(std::uint32_t offset) const
{
    if (offset >= chainEnd_)  // past a break in the chain: only the data's end is known
        return {chainEnd_, static_cast<std::uint32_t>(bins_.size())};
    return *std::prev(std::upper_bound(chain_.begin(), chain_.end(), offset,
                                       [](std::uint32_t at, const Bin& bin) { return at < bin.Start; }));
}

std::span<const std::uint8_t> HiveCells::Cell(std::uint32_t offset) const
{
    const std::string where = "the cell at offset " + CellOffsetText(offset);
    if (offset == NoCell)
        throw EHiveDamaged("an offset of 0xFFFFFFFF points to no cell");
    const Bin bin = BinOf(offset);
    const std::uint32_t limit = bin.End;
    if (offset % CellAlignment != 0 || (offset < chainEnd_ && offset - bin.Start < BinHeaderSize))
        throw EHiveDamaged(where + " is not where a cell can begin");
    if (offset >= limit || limit - offset < CellSizeFieldSize)
        throw EHiveDamaged(where + " lies outside the hive bins data");
    const auto size = static_cast<std::int32_t>(ReadLittleEndian32(bins_, offset));
    if (size >= 0)
        throw EHiveDamaged(where + " is not allocated");
    const std::int64_t length = -static_cast<std::int64_t>(size);
    if (length < CellSizeFieldSize || length > limit - offset)
        throw EHiveDamaged(where + " has a size of " + std::to_string(length) + " bytes, past the end of its hive bin");
    return bins_.subspan(offset + CellSizeFieldSize, static_cast<std::size_t>(length) - CellSizeFieldSize);
}

std::span<const std::uint8_t> HiveCells::Record(std::uint32_t offset, std::string_view signature) const
{
    const std::span<const std::uint8_t> cell = Cell(offset);
    if (!SignatureIs(cell, signature))
        throw EHiveDamaged("the cell at offset " + CellOffsetText(offset) + " holds no \"" + std::string(signature) +
                           "\" record");
    return cell;
}

std::vector<std::uint32_t> HiveCells::SubKeyOffsets(std::uint32_t listOffset, std::vector<std::string>& problems) const
{
    const std::span<const std::uint8_t> list = Cell(listOffset);
    if (!SignatureIs(list, "ri"))
        return LeafOffsets(listOffset, problems);
    // An index root lists leaves alone, so a root that lists itself or another root is refused, not followed.
    std::vector<std::uint32_t> offsets;
    for (const std::uint32_t leaf :
         Offsets(listOffset, ListHeaderSize, ReadLittleEndian16(list, 2), sizeof(std::uint32_t), problems)) {
        try {
            const std::vector<std::uint32_t> keys = LeafOffsets(leaf, problems);
            offsets.insert(offsets.end(), keys.begin(), keys.end());
        } catch (const EHiveDamaged& error) {
            problems.push_back(error.Message());
        }
    }
    return offsets;
}

std::vector<std::uint32_t> HiveCells::LeafOffsets(std::uint32_t listOffset, std::vector<std::string>& problems) const
{
    const std::span<const std::uint8_t> list = Cell(listOffset);
    // "li" lists key nodes alone; "lf" and "lh" add four bytes of name hint or hash to each.
    std::size_t stride = 0;
    if (SignatureIs(list, "li"))
        stride = 4;
    else if (SignatureIs(list, "lf") || SignatureIs(list, "lh"))
        stride = 8;
    else
        throw EHiveDamaged("the cell at offset " + CellOffsetText(listOffset) + " is no leaf of a subkey list");
    return Offsets(listOffset, ListHeaderSize, ReadLittleEndian16(list, 2), stride, problems);
}

std::vector<std::uint32_t> HiveCells::OffsetList(std::uint32_t listOffset, std::uint32_t count,
                                                 std::vector<std::string>& problems) const
{
    return Offsets(listOffset, 0, count, sizeof(std::uint32_t), problems);
}

std::vector<std::uint32_t> HiveCells::Offsets(std::uint32_t listOffset, std::size_t skip, std::size_t count,
                                              std::size_t stride, std::vector<std::string>& problems) const
{
    const std::span<const std::uint8_t> list = Cell(listOffset);
    const std::size_t fits = list.size() < skip ? 0 : (list.size() - skip) / stride;
    if (count > fits)
        problems.push_back("the list at offset " + CellOffsetText(listOffset) + " names " + std::to_string(count) +
                           " cells but has room for " + std::to_string(fits));
    std::vector<std::uint32_t> offsets(std::min(count, fits));
    for (std::size_t i = 0; i < offsets.size(); ++i)
        offsets[i] = ReadLittleEndian32(list, skip + i * stride);
    return offsets;
}
