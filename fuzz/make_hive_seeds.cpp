// make-hive-seeds DIR: writes the seeds of the hive fuzz targets, built here
// rather than cut from the shared hives: DIR/hive holds small hives with a
// UserAssist area (both record layouts, every list kind on the way), and
// DIR/logs the same dirty, framed with new-format logs that bring it up to
// date in two entries over two files, and with an old-format log.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "FuzzHiveInput.h"
#include "SyntheticHive.h"

namespace {

std::vector<std::uint8_t> Record(std::size_t size, std::uint8_t runs)
{
    // The run count at 4 in both layouts, then a FILETIME at 8 or 60.
    std::vector<std::uint8_t> record(size);
    const std::size_t time = size == 16 ? 8 : 60;
    record[4] = runs;
    record[time] = 0x60;
    record[time + 7] = 0x01;
    return record;
}

// Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist with a subkey of each layout.
std::vector<std::uint8_t> UserAssistHive(std::uint8_t runs, std::uint32_t minorVersion)
{
    SyntheticKey current{"{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}", false, "li"};
    current.Values = {{"Version", 4, {5, 0, 0, 0}}};
    current.SubKeys = {{"Count",
                        false,
                        "lh",
                        {},
                        {{"HRZR_PGYFRFFVBA", 3, Record(72, runs)},
                         {"{1NP14R77-02R7-4R5Q-O744-2RO1NR5198O7}\\pnyp.rkr", 3, Record(72, runs)},
                         {"HRZR_PGYPHNPbhag:pgbe", 3, Record(72, 0)}}}};
    SyntheticKey classic{"{75048700-EF1F-11D0-9888-006097DEACF9}", true, "lf"};
    classic.SubKeys = {{"Count", false, "lf", {}, {{"HRZR_EHACNGU:P:\\ABGRCNQ.RKR", 3, Record(16, runs)}}}};
    SyntheticKey path{"UserAssist", false, "ri", {current, classic}};
    for (const char* name : {"Explorer", "CurrentVersion", "Windows", "Microsoft", "Software"})
        path = {name, false, "lf", {path}};
    SyntheticKey root{"ROOT", false, "lh", {path}};
    SyntheticHive hive;
    return hive.Bytes(hive.AddKey(root).Key, minorVersion);
}

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make-hive-seeds DIR\n", stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "hive");
    std::filesystem::create_directories(dir / "logs");
    Write(dir / "hive" / "current.dat", UserAssistHive(3, 5));
    Write(dir / "hive" / "version-1.3.dat", UserAssistHive(3, 3));

    std::vector<std::uint8_t> hive = UserAssistHive(1, 5);
    const std::vector<std::uint8_t> second = UserAssistHive(2, 5);
    const std::vector<std::uint8_t> third = UserAssistHive(3, 5);
    const std::vector<std::uint8_t> log1 = NewFormatLogOf(hive, 1, {LogEntryBetween(hive, second, 1)});
    const std::vector<std::uint8_t> log2 = NewFormatLogOf(hive, 2, {LogEntryBetween(second, third, 2)});
    MarkDirty(hive);
    std::vector<std::uint8_t> framed = hive;
    for (const std::vector<std::uint8_t>* log : {&log1, &log2}) {
        framed.insert(framed.end(), LogSeparator.begin(), LogSeparator.end());
        framed.insert(framed.end(), log->begin(), log->end());
    }
    Write(dir / "logs" / "two-logs.bin", framed);

    // The same change in a log of Windows XP to 8, which cannot make the hive grow.
    std::vector<std::uint8_t> classic = UserAssistHive(1, 3);
    const std::vector<std::uint8_t> log = OldFormatLogBetween(classic, UserAssistHive(2, 3));
    MarkDirty(classic);
    classic.insert(classic.end(), LogSeparator.begin(), LogSeparator.end());
    classic.insert(classic.end(), log.begin(), log.end());
    Write(dir / "logs" / "old-format.bin", classic);
    return 0;
}
