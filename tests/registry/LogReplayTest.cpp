// The rules of log replay on small hives and logs built for each case: the
// real logs of the shared data (checked by report_checks.py) never break them.
#include <gtest/gtest.h>

#include "SyntheticHive.h"
#include "base/LittleEndian.h"
#include "registry/hive/LogReplay.h"

namespace {

// A hive in three states, each a write later: a value changes, then the hive grows.
struct ThreeStates {
    std::vector<std::uint8_t> First, Second, Third;

    ThreeStates()
    {
        const auto hive = [](std::uint8_t runs, std::size_t extra) {
            SyntheticHive cells;
            SyntheticKey root{"ROOT"};
            root.Values = {{"runs", 4, {runs, 0, 0, 0}}, {"padding", 3, std::vector<std::uint8_t>(extra, runs)}};
            return cells.Bytes(cells.AddKey(root).Key);
        };
        First = hive(1, 100);
        Second = hive(2, 100);
        Third = hive(3, 9000);  // a second 4,096-byte page and more
    }
};

std::vector<std::uint8_t> Spoiled(std::vector<std::uint8_t> entry)
{
    entry[entry.size() - 1] ^= 1;
    return entry;
}

TEST(LogReplay, AppliesEntriesInSequenceAcrossLogsAndStopsAtTheFirstThatIsWrong)
{
    const ThreeStates hive;
    const std::vector<std::uint8_t> e1 = LogEntryBetween(hive.First, hive.Second, 1);
    const std::vector<std::uint8_t> e2 = LogEntryBetween(hive.Second, hive.Third, 2);
    const std::vector<std::uint8_t> e3 = LogEntryBetween(hive.Second, hive.Third, 3);
    std::vector<std::uint8_t> otherHive = NewFormatLogOf(hive.First, 1, {e1, e2});
    otherHive[112] ^= 1;  // its RmId
    WriteLittleEndian32(otherHive, 508, HiveBaseBlockChecksum(otherHive));
    std::vector<std::uint8_t> logOfOldFormat = NewFormatLogOf(hive.First, 1, {});
    logOfOldFormat[28] = 1;
    WriteLittleEndian32(logOfOldFormat, 508, HiveBaseBlockChecksum(logOfOldFormat));

    const struct {
        const char* Case;
        std::vector<TransactionLogFile> Logs;
        std::uint32_t Applied;
        const std::vector<std::uint8_t>* Result;  // the hive the entries applied make
        const char* Said;                         // the stop, or why nothing was applied
    } cases[] = {
        {"one log", {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e1, e2})}}, 2, &hive.Third, ""},
        {"two logs, the later named first",
         {{"a.LOG1", NewFormatLogOf(hive.First, 2, {e2})}, {"a.LOG2", NewFormatLogOf(hive.First, 1, {e1})}},
         2,
         &hive.Third,
         ""},
        {"an older entry left after the last",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e1, e2, e1})}},
         2,
         &hive.Third,
         ""},
        {"a gap",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e1, e3})}},
         1,
         &hive.Second,
         "entry 2 of a.LOG1 is missing: the next entry is 3"},
        {"a damaged entry",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e1, Spoiled(e2)})}},
         1,
         &hive.Second,
         "entry 2 of a.LOG1 stopped the replay: its hash does not match"},
        {"a damaged entry that the other log makes good",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e1, Spoiled(e2)})},
          {"a.LOG2", NewFormatLogOf(hive.First, 2, {e2})}},
         2,
         &hive.Third,
         ""},
        {"a log cut short",
         {{"a.LOG1",
           [&] {
               std::vector<std::uint8_t> log = NewFormatLogOf(hive.First, 1, {e1, e2});
               log.resize(log.size() - 512);
               return log;
           }()}},
         1,
         &hive.Second,
         "entry 2 of a.LOG1 stopped the replay: it runs past the end of the file, which is cut short"},
        {"a first entry that is not the one its log names",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {e2})}},
         0,
         nullptr,
         "the first entry of its logs is not the one the hive needs"},
        {"a damaged first entry",
         {{"a.LOG1", NewFormatLogOf(hive.First, 1, {Spoiled(e1)})}},
         0,
         nullptr,
         "entry 1 of a.LOG1 stopped the replay: its hash does not match"},
        {"a log of another hive", {{"a.LOG1", otherHive}}, 0, nullptr, ""},
        {"an old-format log without its dirty vector", {{"a.LOG", logOfOldFormat}}, 0, nullptr, ""},
        {"no logs", {}, 0, nullptr, "there are no transaction logs beside it"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Case);
        std::vector<std::uint8_t> bytes = hive.First;
        MarkDirty(bytes);
        const std::vector<std::uint8_t> dirty = bytes;
        const LogReplayResult result = ReplayTransactionLogs(bytes, test.Logs);
        EXPECT_EQ(result.EntriesApplied, test.Applied);
        EXPECT_EQ(result.Stop.value_or(result.NothingApplied), test.Said);
        if (!test.Result) {
            EXPECT_EQ(bytes, dirty);  // left as it was
            continue;
        }
        // The hive bins as the last entry left them, under a clean base block that says so.
        EXPECT_TRUE(std::equal(bytes.begin() + 4096, bytes.end(), test.Result->begin() + 4096, test.Result->end()));
        const HiveBaseBlock block = ReadHiveBaseBlock(bytes);
        EXPECT_FALSE(HiveIsDirty(block));
        EXPECT_EQ(block.PrimarySequence, test.Applied);
        EXPECT_EQ(block.HiveBinsDataSize + 4096, bytes.size());
    }
}

TEST(LogReplay, RefusesLogsOfOtherHivesAndOlderLogsAndTrustsNoDamagedBaseBlock)
{
    const ThreeStates hive;
    const std::vector<std::uint8_t> log = NewFormatLogOf(hive.First, 1, {LogEntryBetween(hive.First, hive.Second, 1)});

    std::vector<std::uint8_t> otherHive = log;
    otherHive[112] ^= 1;
    WriteLittleEndian32(otherHive, 508, HiveBaseBlockChecksum(otherHive));
    std::vector<std::uint8_t> bytes = hive.First;
    MarkDirty(bytes);
    LogReplayResult result = ReplayTransactionLogs(bytes, std::vector<TransactionLogFile>{{"x.LOG1", otherHive}});
    EXPECT_EQ(result.Refused, std::vector<std::string>{"x.LOG1 is not used: it belongs to another hive"});

    // A hive written since the log: its secondary sequence number lies above the log's.
    WriteLittleEndian32(bytes, 4, 9);
    WriteLittleEndian32(bytes, 8, 8);
    WriteLittleEndian32(bytes, 508, HiveBaseBlockChecksum(bytes));
    result = ReplayTransactionLogs(bytes, std::vector<TransactionLogFile>{{"x.LOG1", log}});
    EXPECT_EQ(result.NothingApplied, "its logs are older than the hive");

    // A base block with a wrong checksum: its sequence numbers cannot be trusted, the log's base block is taken.
    bytes[508] ^= 0xFF;
    result = ReplayTransactionLogs(bytes, std::vector<TransactionLogFile>{{"x.LOG1", log}});
    EXPECT_EQ(result.EntriesApplied, 1u);
    EXPECT_TRUE(ReadHiveBaseBlock(bytes).ChecksumValid);
}

}  // namespace
