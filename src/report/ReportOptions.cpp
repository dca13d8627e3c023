#include "report/ReportOptions.h"

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

// Walks the arguments; an option's value may follow it or come after "=".
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool Next(std::string& option, std::optional<std::string>& attached)
    {
        if (at_ == arguments_.size())
            return false;
        option = arguments_[at_++];
        attached.reset();
        if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != std::string::npos) {
            attached = option.substr(equals + 1);
            option.resize(equals);
        }
        return true;
    }

    std::string Value(const std::string& option, std::optional<std::string>& attached)
    {
        if (attached)
            return *std::exchange(attached, std::nullopt);
        if (at_ == arguments_.size())
            throw EUsage(option + " needs a value");
        return arguments_[at_++];
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t at_ = 0;
};

template <typename T>
void SetOnce(std::optional<T>& setting, T value, const std::string& option)
{
    if (setting)
        throw EUsage(option + " is given twice");
    setting = std::move(value);
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
    ReportOptions options;
    std::optional<ReportFormat> format;
    std::optional<TDateChoice> period;
    std::optional<std::string> text;
    std::optional<std::string> saveRecoveredHive;
    ArgumentReader reader(arguments);
    std::string option;
    std::optional<std::string> attached;
    while (reader.Next(option, attached)) {
        if (option == "--help" || option == "-h") {
            options.Help = true;
        } else if (option == "--hive") {
            options.Sources.push_back({SourceKind::Hive, reader.Value(option, attached)});
        } else if (option == "--reg") {
            options.Sources.push_back({SourceKind::RegExport, reader.Value(option, attached)});
        } else if (option == "--format") {
            SetOnce(format, static_cast<ReportFormat>(Lookup(Formats, option, reader.Value(option, attached))), option);
        } else if (option == "--period") {
            SetOnce(period, static_cast<TDateChoice>(Lookup(Periods, option, reader.Value(option, attached))), option);
        } else if (option == "--text") {
            SetOnce(text, reader.Value(option, attached), option);
        } else if (option == "--no-logs") {
            options.ReplayLogs = false;
        } else if (option == "--save-recovered-hive") {
            SetOnce(saveRecoveredHive, reader.Value(option, attached), option);
        } else if (option.starts_with("-")) {
            throw EUsage("unknown option \"" + option + "\"");
        } else {
            throw EUsage("\"" + option + "\": name each file with --hive or --reg");
        }
        if (attached)
            throw EUsage(option + " takes no value");
    }
    if (options.Help)
        return options;

    if (text) {
        options.Needle = NormalizeFilterText(*text);
        if (options.Needle->empty())
            throw EUsage("--text needs a text that is not blank");
    }
    options.Format = format.value_or(ReportFormat::Table);
    options.Period = period;
    if (saveRecoveredHive) {
        // The recovered hive is one file's: anything else would leave it unclear which.
        if (options.Sources.size() != 1 || options.Sources.front().Kind != SourceKind::Hive)
            throw EUsage("--save-recovered-hive needs exactly one --hive and no other source");
        options.SaveRecoveredHive = std::move(saveRecoveredHive);
    }
    if (options.Sources.empty()) {
        if (!platform.HasLiveRegistry)
            throw EUsage("name a hive file with --hive or a registry export with --reg");
        options.Sources.push_back({SourceKind::LiveRegistry, {}});
    }
    return options;
}

std::string ReportUsage(const ReportPlatform& platform)
{
    std::string usage = "usage: tallyglass-report [--hive FILE | --reg FILE]... [--format table|csv|json]\n"
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
    usage += "                 several files may be named; each is read in turn\n"
             "  --format F     table (the default), csv or json\n"
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
