#pragma once
// The hive bins data of a hive: the hive bins that follow the base block, the
// cells that fill them, and the lists of cells that records point to. Every
// offset, size and count is checked against the data before it is used; what
// does not fit raises EHiveDamaged, naming the offset.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry/hive/HiveDamage.h"

// An offset that points nowhere.
constexpr std::uint32_t NoCell = 0xFFFFFFFF;

class HiveCells {
public:
    // bins: the hive bins data, from the end of the base block, which the base
    // block says is declaredSize bytes long (a file cut short holds fewer).
    // Problems with the chain of hive bins are noted, and cells past a break
    // in it are bounded by the end of the data alone.
    HiveCells(std::span<const std::uint8_t> bins, std::uint32_t declaredSize);

    // The data of the allocated cell at an offset from the start of the hive
    // bins data, without the cell's size field.
    std::span<const std::uint8_t> Cell(std::uint32_t offset) const;
    // The same, for a cell whose data begins with a record's two-letter signature.
    std::span<const std::uint8_t> Record(std::uint32_t offset, std::string_view signature) const;

    // The key nodes a subkey list names (an "lf", "lh" or "li" list, or an
    // "ri" list of those), in its order. A sublist of an "ri" list that cannot
    // be read is told in problems, and the others are still read.
    std::vector<std::uint32_t> SubKeyOffsets(std::uint32_t listOffset, std::vector<std::string>& problems) const;
    // The elements of a list of count cell offsets (values, data segments); as
    // many as the cell holds, with a problem told when it holds fewer.
    std::vector<std::uint32_t> OffsetList(std::uint32_t listOffset, std::uint32_t count,
                                          std::vector<std::string>& problems) const;

    // What is wrong with the hive bins as a whole, if anything.
    const std::vector<std::string>& BinProblems() const { return binProblems_; }

private:
    struct Bin {
        std::uint32_t Start;
        std::uint32_t End;
    };

    void ReadBins(std::uint32_t declaredSize);
    // The bin a cell at this offset lies in, which it must not run past.
    Bin BinOf(std::uint32_t offset) const;
    // The leaf's key nodes; EHiveDamaged when the cell is no leaf.
    std::vector<std::uint32_t> LeafOffsets(std::uint32_t listOffset, std::vector<std::string>& problems) const;
    // count elements of stride bytes that begin with an offset, after skip
    // bytes of the cell: as many as fit, with a problem told if not all do.
    std::vector<std::uint32_t> Offsets(std::uint32_t listOffset, std::size_t skip, std::size_t count,
                                       std::size_t stride, std::vector<std::string>& problems) const;

    std::span<const std::uint8_t> bins_;
    std::vector<Bin> chain_;      // the bins read in order from the start, up to the first one that is damaged
    std::uint32_t chainEnd_ = 0;  // where that chain ends
    std::vector<std::string> binProblems_;
};

// An offset as the messages show it.
std::string CellOffsetText(std::uint32_t offset);
