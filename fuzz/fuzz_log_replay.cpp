// A dirty hive and its transaction logs (framed as FuzzHiveInput.h says): the
// replay, then the report's way over what it made. Log entries carry Marvin32
// hashes that mutated bytes would almost never match, so inputs of even length
// get their entries' hashes made good first, and the checks behind the hash
// are fuzzed too.
#include <cstddef>
#include <cstdint>

#include "FuzzHiveInput.h"
#include "base/LittleEndian.h"
#include "registry/hive/LogReplay.h"
#include "registry/hive/Marvin32.h"
#include "sources/SourceReaders.h"

namespace {

void RehashEntries(std::vector<std::uint8_t>& log)
{
    for (std::size_t at = 512; at + 40 <= log.size() && std::equal(log.begin() + at, log.begin() + at + 4, "HvLE");) {
        const std::uint32_t size = ReadLittleEndian32(log, at + 4);
        if (size < 40 || size > log.size() - at)
            return;
        const std::span<std::uint8_t> entry = std::span(log).subspan(at, size);
        const std::uint64_t hash1 = Marvin32(entry.subspan(40), LogEntryHashSeed);
        WriteLittleEndian32(entry, 24, static_cast<std::uint32_t>(hash1));
        WriteLittleEndian32(entry, 28, static_cast<std::uint32_t>(hash1 >> 32));
        const std::uint64_t hash2 = Marvin32(entry.first(32), LogEntryHashSeed);
        WriteLittleEndian32(entry, 32, static_cast<std::uint32_t>(hash2));
        WriteLittleEndian32(entry, 36, static_cast<std::uint32_t>(hash2 >> 32));
        at += size;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::span<const std::uint8_t>> parts = SplitFuzzHiveInput({data, size});
    std::vector<std::uint8_t> hive(parts.front().begin(), parts.front().end());
    if (!HasHiveSignature(hive) || hive.size() < HiveBaseBlockSize)
        return 0;  // the report reads such a file as it is, which fuzz_hive covers
    std::vector<TransactionLogFile> logs;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        logs.push_back({"fuzz.LOG" + std::to_string(i), {parts[i].begin(), parts[i].end()}});
        if (size % 2 == 0)
            RehashEntries(logs.back().Bytes);
    }
    const LogReplayResult replay = ReplayTransactionLogs(hive, logs);
    if (replay.Applied()) {
        // What a replay makes is a clean primary file of exactly its hive bins.
        const HiveBaseBlock block = ReadHiveBaseBlock(hive);
        if (HiveIsDirty(block) || hive.size() != HiveBaseBlockSize + block.HiveBinsDataSize)
            __builtin_trap();
    }
    SourceReading reading;
    ReadHiveBytes(std::move(hive), reading);
    return 0;
}
