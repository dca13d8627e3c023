#pragma once
// A transaction log in the format of Windows XP to 8: a copy of the base
// block (file type 1, or 2 in Windows 2000), then at offset 512 a dirty
// vector ("DIRT" and a bitmap with a bit per 512-byte page of the hive bins
// data), then from the next 512-byte boundary the dirty pages, one after
// another in the order of their bits. The layout and the rules are those of
// the registry file format document.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "registry/hive/LogReplay.h"

// Why an old-format log cannot be applied to this primary, if it cannot: its
// sequence numbers differ, it has no dirty vector or a bitmap too short for
// its hive bins, or it was written at another time than the primary (the
// first hive bin's timestamp stands in for a primary whose base block is damaged).
std::optional<std::string> OldFormatLogRefusal(std::span<const std::uint8_t> log, const HiveBaseBlock& logBase,
                                               std::span<const std::uint8_t> hive, const HiveBaseBlock& primary);

// Writes the dirty pages of the latest of the logs (by last-written time),
// a hive bin at a time; the first hive bin that the pages would leave damaged
// stops the replay, and what came before it stays. A hive whose base block is
// damaged takes the log's.
void ReplayOldFormatLog(std::vector<std::uint8_t>& hive, const HiveBaseBlock& primary,
                        const std::vector<CandidateLog>& logs, LogReplayResult& result);
