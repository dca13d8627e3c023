#include "report/ReportOptions.h"

#include <CLI/App.hpp>
#include <CLI/Config.hpp>
#include <CLI/Formatter.hpp>
#include <charconv>
#include <utility>

namespace {

struct Named {
    const char* Name;
    int Value;
};

constexpr Named Formats[] = {
    {"table", static_cast<int>(ReportFormat::Table)},
    {"csv", static_cast<int>(ReportFormat::Csv)},
    {"json", static_cast<int>(ReportFormat::Json)},
    {"jsonl", static_cast<int>(ReportFormat::JsonLines)},
    {"bodyfile", static_cast<int>(ReportFormat::Bodyfile)},
    {"tln", static_cast<int>(ReportFormat::Tln)},
    {"timesketch", static_cast<int>(ReportFormat::Timesketch)},
};

constexpr Named Periods[] = {
    {"today", dcToday}, {"3days", dcLast3Days}, {"7days", dcLast7Days}, {"month", dcThisMonth}, {"year", dcThisYear},
};

template <std::size_t N>
int Lookup(const Named (&table)[N], const std::string& option, const std::string& value)
{
    std::string choices;
    for (const Named& named : table) {
        if (value == named.Name)
            return named.Value;
        choices += std::string(choices.empty() ? "" : "|") + named.Name;
    }
    throw EUsage(option + " takes " + choices + ", not \"" + value + "\"");
}

// The one value an option that may appear once was given, if any.
std::optional<std::string> OnlyValue(const std::vector<std::string>& values, const std::string& option)
{
    if (values.size() > 1)
        throw EUsage(option + " is given twice");
    return values.empty() ? std::nullopt : std::optional<std::string>(values.front());
}

unsigned JobsOf(const std::string& text)
{
    unsigned jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs == 0)
        throw EUsage("--jobs takes a number of at least 1, not \"" + text + "\"");
    return jobs;
}

// CLI11 words its own errors over two lines and exits with codes of its own;
// the tool says what went wrong in its own words, and exits 2.
[[noreturn]] void ThrowUsage(const CLI::App& app, const CLI::ParseError& error)
{
    const std::string what = error.what();
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& longName : option->get_lnames()) {
            const std::string name = "--" + longName;
            if (!what.starts_with(name + ":") && !what.starts_with(longName + " "))
                continue;
            if (what.find("flag override") != std::string::npos)
                throw EUsage(name + " takes no value");
            // "--text=" is a text left blank rather than none.
            throw EUsage(name + (name == "--text" ? " needs a text that is not blank" : " needs a value"));
        }
    }
    throw EUsage(what);
}

// Left over after the options: a file named without saying what it is, or an option the tool does not know.
[[noreturn]] void ThrowLeftOver(const std::string& argument)
{
    if (argument.starts_with("-"))
        throw EUsage("unknown option \"" + argument.substr(0, argument.find('=')) + "\"");
    throw EUsage("\"" + argument + "\": name each file with --hive, --reg or --dir");
}

}  // namespace

ReportPlatform ThisPlatform()
{
#ifdef _WIN32
    return {true};
#else
    return {false};
#endif
}

ReportOptions ParseReportArguments(const std::vector<std::string>& arguments, const ReportPlatform& platform)
{
    CLI::App app;
    app.set_help_flag();  // the tool's own --help, below
    app.allow_extras();   // left-overs are worded here
    ReportOptions options;
    app.add_flag("-h,--help", options.Help)->disable_flag_override();
    bool noLogs = false;
    app.add_flag("--no-logs", noLogs)->disable_flag_override();
    std::vector<std::string> hives, exports, trees, formats, periods, texts, saves, jobs;
    const auto addRepeatable = [&app](const char* name, std::vector<std::string>& values) {
        return app.add_option(name, values)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    };
    const CLI::Option* hiveOption = addRepeatable("--hive", hives);
    const CLI::Option* exportOption = addRepeatable("--reg", exports);
    const CLI::Option* treeOption = addRepeatable("--dir", trees);
    addRepeatable("--format", formats);
    addRepeatable("--period", periods);
    addRepeatable("--text", texts);
    addRepeatable("--save-recovered-hive", saves);
    addRepeatable("--jobs", jobs);

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        ThrowUsage(app, error);
    }
    if (!app.remaining().empty())
        ThrowLeftOver(app.remaining().front());
    if (options.Help)
        return options;

    // Sources are read in the order named, whatever their kind.
    std::size_t taken[3] = {};
    for (const CLI::Option* option : app.parse_order()) {
        const struct {
            const CLI::Option* Option;
            SourceKind Kind;
            const std::vector<std::string>& Values;
        } kinds[] = {{hiveOption, SourceKind::Hive, hives},
                     {exportOption, SourceKind::RegExport, exports},
                     {treeOption, SourceKind::Tree, trees}};
        for (std::size_t k = 0; k < std::size(kinds); ++k)
            if (option == kinds[k].Option)
                options.Sources.push_back({kinds[k].Kind, kinds[k].Values.at(taken[k]++)});
    }
    if (const std::optional<std::string> text = OnlyValue(texts, "--text")) {
        options.Needle = NormalizeFilterText(*text);
        if (options.Needle->empty())
            throw EUsage("--text needs a text that is not blank");
    }
    if (const std::optional<std::string> format = OnlyValue(formats, "--format"))
        options.Format = static_cast<ReportFormat>(Lookup(Formats, "--format", *format));
    if (const std::optional<std::string> period = OnlyValue(periods, "--period"))
        options.Period = static_cast<TDateChoice>(Lookup(Periods, "--period", *period));
    if (const std::optional<std::string> count = OnlyValue(jobs, "--jobs"))
        options.Jobs = JobsOf(*count);
    options.ReplayLogs = !noLogs;
    if (std::optional<std::string> saveRecoveredHive = OnlyValue(saves, "--save-recovered-hive")) {
        // The recovered hive is one file's: anything else would leave it unclear which.
        if (options.Sources.size() != 1 || options.Sources.front().Kind != SourceKind::Hive)
            throw EUsage("--save-recovered-hive needs exactly one --hive and no other source");
        options.SaveRecoveredHive = std::move(saveRecoveredHive);
    }
    if (options.Sources.empty()) {
        if (!platform.HasLiveRegistry)
            throw EUsage("name a hive file with --hive, a registry export with --reg or a folder with --dir");
        options.Sources.push_back({SourceKind::LiveRegistry, {}});
    }
    return options;
}

std::string ReportUsage(const ReportPlatform& platform)
{
    std::string usage = "usage: tallyglass-report [--hive FILE | --reg FILE | --dir DIR]... [--jobs N]\n"
                        "                         [--format table|csv|json|jsonl|bodyfile|tln|timesketch]\n"
                        "                         [--period today|3days|7days|month|year] [--text TEXT]\n"
                        "                         [--no-logs] [--save-recovered-hive FILE]\n"
                        "\n"
                        "Lists what Windows Explorer recorded in a user's UserAssist registry area:\n"
                        "each program, shortcut and app started, with its run count, focus count,\n"
                        "focus time and last run time (UTC).\n"
                        "\n";
    usage += "  --hive FILE    read a registry hive file, such as a user's NTUSER.DAT, and\n"
             "                 replay the transaction logs beside it if it is dirty\n"
             "  --reg FILE     read a registry export (.reg) of the UserAssist key\n";
    if (platform.HasLiveRegistry)
        usage += "                 (with neither, the current user's own registry is read)\n";
    usage += "  --dir DIR      read every file named NTUSER.DAT below DIR (links not\n"
             "                 followed), in the order of their paths\n"
             "                 several sources may be named; they are read in turn\n"
             "  --jobs N       read N files at once (all cores by default); the output\n"
             "                 is the same for any N\n"
             "  --format F     table (the default), csv, json or jsonl (JSON Lines); or a\n"
             "                 timeline of the rows with a time: bodyfile (The Sleuth Kit's\n"
             "                 mactime), tln or timesketch (JSON Lines Timesketch imports)\n"
             "  --period P     only entries last run since midnight today, 3 or 7 days\n"
             "                 ago, the 1st of this month or 1 January (local clock)\n"
             "  --text TEXT    only entries whose file name holds TEXT (a-z in any case)\n"
             "  --no-logs      read a hive as it is, without replaying its transaction logs\n"
             "  --save-recovered-hive FILE\n"
             "                 write the one --hive as read after replaying its logs\n"
             "\n"
             "Exit codes: 0 all read, 1 a value was refused, 2 usage error, 3 file missing\n"
             "or unreadable, 4 not a hive or export, 5 damaged hive, 6 malformed .reg line,\n"
             "7 the recovered hive was not written.\n";
    return usage;
}
