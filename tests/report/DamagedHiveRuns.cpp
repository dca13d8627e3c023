// damaged-hive-runs: runs the report tool in-process on damaged copies of one
// hive, one process per hive, with a fixed seed. The copies are cut at many
// points, or have bytes flipped in the cells on the path to the UserAssist
// values: the key cells, their subkey and value lists, the value cells and
// their data. Every run must end: with rows and a message, with a message
// alone, or, where the damage leaves a hive that reads (a flipped count, say),
// with rows; always with exit code 0, 1 or 5, JSON that is closed, and every
// message naming the file. A cut before the hive's end must be told. Runs
// that lose rows without a message are listed as UNTOLD. The copies have no
// logs beside them, so every run reads the hive as stored (--no-logs).
//
// usage: damaged-hive-runs HIVE SCRATCH_DIR [--seed N] [--cuts N] [--flips N]
// Prints one summary line per outcome; exits 1 when a run broke a rule.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/AsciiCase.h"
#include "base/LittleEndian.h"
#include "report/ReportTool.h"

namespace {

namespace fs = std::filesystem;

// A stretch of the file that belongs to one cell.
struct Cell {
    std::size_t Start;
    std::size_t Size;
    const char* What;
};

constexpr std::size_t BaseBlockSize = 4096;
constexpr const char* UserAssistPath[] = {"Microsoft", "Windows", "CurrentVersion", "Explorer", "UserAssist"};

// Finds the cells on the way to the UserAssist values with a reading of the
// hive format of its own (the tool's own would only find what it finds).
class CellWalk {
public:
    explicit CellWalk(const std::vector<std::uint8_t>& hive) : hive_(hive) {}

    std::vector<Cell> Run()
    {
        std::size_t key = 0;
        if (!CellAt(ReadLittleEndian32(hive_, 0x24), "root key", key))
            return cells_;
        if (const std::optional<std::size_t> software = Child(key, "Software"))
            key = *software;  // else a hive of the Software subtree alone
        for (const char* name : UserAssistPath) {
            const std::optional<std::size_t> child = Child(key, name);
            if (!child)
                return cells_;
            key = *child;
        }
        for (const std::size_t guid : Children(key)) {
            Values(guid);
            if (const std::optional<std::size_t> count = Child(guid, "Count"))
                Values(*count);
        }
        return cells_;
    }

private:
    std::uint32_t U32(std::size_t at) const { return ReadLittleEndian32(hive_, at); }
    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(U32(at) & 0xFFFF); }

    // The record of the cell at a hive-bins offset; false when it lies outside.
    bool CellAt(std::uint32_t offset, const char* what, std::size_t& record)
    {
        const std::size_t start = BaseBlockSize + offset;
        if (offset == 0xFFFFFFFF || start + 8 > hive_.size())
            return false;
        const std::int32_t size = static_cast<std::int32_t>(U32(start));
        const std::size_t length = size < 0 ? static_cast<std::size_t>(-static_cast<std::int64_t>(size)) : 0;
        if (length < 8 || start + length > hive_.size())
            return false;
        cells_.push_back({start, length, what});
        record = start + 4;
        return true;
    }

    std::vector<std::size_t> Children(std::size_t key)
    {
        std::vector<std::size_t> children;
        std::size_t list = 0;
        if (U32(key + 0x14) == 0 || !CellAt(U32(key + 0x1C), "subkey list", list))
            return children;
        ListEntries(list, children, 0);
        return children;
    }

    void ListEntries(std::size_t list, std::vector<std::size_t>& children, int depth)
    {
        const std::uint16_t count = U16(list + 2);
        const char kind[3] = {static_cast<char>(hive_[list]), static_cast<char>(hive_[list + 1]), 0};
        const bool indexRoot = std::strcmp(kind, "ri") == 0;
        const std::size_t stride = std::strcmp(kind, "lf") == 0 || std::strcmp(kind, "lh") == 0 ? 8 : 4;
        for (std::size_t i = 0; i < count && list + 4 + i * stride + 4 <= hive_.size(); ++i) {
            std::size_t entry = 0;
            if (!CellAt(U32(list + 4 + i * stride), indexRoot ? "subkey list" : "key", entry))
                continue;
            if (indexRoot && depth == 0)
                ListEntries(entry, children, 1);
            else if (!indexRoot)
                children.push_back(entry);
        }
    }

    std::string KeyName(std::size_t key) const
    {
        const std::size_t length = U16(key + 0x48);
        std::string name;
        const bool singleBytes = (U16(key + 0x02) & 0x20) != 0;
        for (std::size_t i = 0; i < length && key + 0x4C + i < hive_.size(); i += singleBytes ? 1 : 2)
            name += static_cast<char>(hive_[key + 0x4C + i]);
        return name;
    }

    std::optional<std::size_t> Child(std::size_t key, const char* name)
    {
        for (const std::size_t child : Children(key))
            if (SameTextIgnoringAsciiCase(KeyName(child), name))
                return child;
        return std::nullopt;
    }

    void Values(std::size_t key)
    {
        std::size_t list = 0;
        const std::uint32_t count = U32(key + 0x24);
        if (count == 0 || !CellAt(U32(key + 0x28), "value list", list))
            return;
        for (std::uint32_t i = 0; i < count && list + 4 * i + 4 <= hive_.size(); ++i) {
            std::size_t value = 0;
            if (!CellAt(U32(list + 4 * i), "value", value))
                continue;
            std::size_t data = 0;
            if ((U32(value + 4) & 0x80000000) == 0)  // else the data lies in the offset field
                CellAt(U32(value + 8), "value data", data);
        }
    }

    const std::vector<std::uint8_t>& hive_;
    std::vector<Cell> cells_;
};

struct Damage {
    std::string Description;
    std::vector<std::uint8_t> Bytes;
    bool Cut = false;
};

const char* currentDamage = "";

void OnAlarm(int)
{
    const char message[] = "damaged-hive-runs: a run hangs: ";
    (void)!write(2, message, sizeof message - 1);
    (void)!write(2, currentDamage, std::strlen(currentDamage));
    (void)!write(2, "\n", 1);
    std::abort();
}

class CaptureOutput final : public TextOutput {
public:
    void Write(std::string_view text) override { Text += text; }
    std::string Text;
};

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

std::string Indented(const std::string& text)
{
    std::string indented;
    for (const std::string& line : SplitLines(text))
        indented += "    " + line + "\n";
    return indented;
}

int RowCount(const std::string& json)
{
    int rows = 0;
    for (std::size_t at = json.find("{\"source\""); at != std::string::npos; at = json.find("{\"source\"", at + 1))
        ++rows;
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: damaged-hive-runs HIVE SCRATCH_DIR [--seed N] [--cuts N] [--flips N]\n", stderr);
        return 2;
    }
    const fs::path hivePath = argv[1];
    const fs::path scratch = argv[2];
    unsigned seed = 9, cuts = 100, flips = 400;
    for (int i = 3; i + 1 < argc; i += 2) {
        const unsigned value = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        if (std::strcmp(argv[i], "--seed") == 0)
            seed = value;
        else if (std::strcmp(argv[i], "--cuts") == 0)
            cuts = value;
        else if (std::strcmp(argv[i], "--flips") == 0)
            flips = value;
    }

    std::ifstream in(hivePath, std::ios::binary);
    const std::vector<std::uint8_t> hive{std::istreambuf_iterator<char>(in), {}};
    const std::vector<Cell> cells = CellWalk(hive).Run();
    if (hive.size() < BaseBlockSize || cells.empty()) {
        std::fprintf(stderr, "damaged-hive-runs: %s: no UserAssist cells found\n", hivePath.c_str());
        return 2;
    }
    const std::size_t hiveEnd = std::min(hive.size(), BaseBlockSize + ReadLittleEndian32(hive, 0x28));

    std::mt19937 random(seed);
    const auto below = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
    };
    std::vector<Damage> damages;
    for (unsigned i = 0; i < cuts; ++i) {
        // Half anywhere before the hive's end, half inside the cells that matter.
        const Cell& cell = cells[below(cells.size())];
        const std::size_t at = i % 2 ? below(hiveEnd) : cell.Start + below(cell.Size);
        damages.push_back({"cut at " + std::to_string(at), {hive.begin(), hive.begin() + static_cast<long>(at)}, true});
    }
    for (unsigned i = 0; i < flips; ++i) {
        Damage damage{"", hive, false};
        const unsigned count = 1 + static_cast<unsigned>(below(3));
        for (unsigned j = 0; j < count; ++j) {
            const Cell& cell = cells[below(cells.size())];
            const std::size_t at = cell.Start + below(cell.Size);
            const auto mask = static_cast<std::uint8_t>(1 + below(255));
            damage.Bytes[at] ^= mask;
            char text[96];
            std::snprintf(text, sizeof text, "%sbyte %zu (%s cell at %zu) ^= 0x%02x", j ? ", " : "flip ", at, cell.What,
                          cell.Start, mask);
            damage.Description += text;
        }
        damages.push_back(std::move(damage));
    }

    fs::create_directories(scratch);
    int wholeRows = 0;
    {
        CaptureOutput out;
        CaptureOutput err;
        RunReport({"--hive", hivePath.string(), "--no-logs", "--format", "json"}, out, err);
        wholeRows = RowCount(out.Text);
    }
    const fs::path copy = scratch / ("damaged-" + hivePath.filename().string());
    std::signal(SIGALRM, OnAlarm);
    std::map<std::string, int> outcomes;
    std::map<int, int> codes;
    int broken = 0;
    for (const Damage& damage : damages) {
        std::ofstream(copy, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(damage.Bytes.data()),
                   static_cast<std::streamsize>(damage.Bytes.size()));
        currentDamage = damage.Description.c_str();
        alarm(60);
        CaptureOutput out;
        CaptureOutput err;
        const int code = RunReport({"--hive", copy.string(), "--no-logs", "--format", "json"}, out, err);
        alarm(0);

        const int rowCount = RowCount(out.Text);
        const bool rows = rowCount > 0;
        const bool message = !err.Text.empty();
        std::string problem;
        if (code != 0 && code != 1 && code != 5 && !(damage.Cut && code == 4))
            problem = "exit code " + std::to_string(code);
        else if (!out.Text.starts_with("[") || !out.Text.ends_with("]\n"))
            problem = "the JSON is not closed";
        else if (damage.Cut && code != 4 && code != 5)
            problem = "a cut hive was not told damaged";
        for (const std::string& line : SplitLines(err.Text))
            if (problem.empty() && !line.starts_with(copy.string() + ": "))
                problem = "a message that does not name the file";
        if (!problem.empty()) {
            ++broken;
            const fs::path kept = scratch / ("broken-" + std::to_string(broken) + "-" + hivePath.filename().string());
            fs::copy_file(copy, kept, fs::copy_options::overwrite_existing);
            std::printf("BROKEN: %s: %s (kept as %s)\n%s", damage.Description.c_str(), problem.c_str(), kept.c_str(),
                        Indented(err.Text).c_str());
        }
        // Damage no reader can tell from a real hive (a flipped count or
        // name) loses rows silently: listed, so that it can be looked at.
        if (!message && rowCount < wholeRows)
            std::printf("UNTOLD: %s: %d of %d rows\n", damage.Description.c_str(), rowCount, wholeRows);
        ++codes[code];
        ++outcomes[std::string(damage.Cut ? "cut" : "flip") + ", " +
                   (rows && message         ? "rows and a message"
                    : message               ? "a message alone"
                    : rowCount == wholeRows ? "rows alone, all of them"
                    : rows                  ? "rows alone, fewer"
                                            : "nothing")];
    }
    fs::remove(copy);

    std::printf("%s: %zu damaged copies (seed %u, %zu target cells, %d rows whole)\n", hivePath.filename().c_str(),
                damages.size(), seed, cells.size(), wholeRows);
    for (const auto& [outcome, count] : outcomes)
        std::printf("  %-36s %d\n", outcome.c_str(), count);
    for (const auto& [code, count] : codes)
        std::printf("  exit code %d: %d\n", code, count);
    std::printf("  broken rules: %d\n", broken);
    return broken == 0 ? 0 : 1;
}
