#include "registry/RegFile.h"

#include <charconv>
#include <string_view>

#include "base/TextEncoding.h"
#include "registry/RegistrySource.h"

namespace {

// The headers of the two kinds of export: the current one in Unicode, and the
// one of Windows 95 to NT 4, in the system's ANSI code page.
constexpr std::string_view UnicodeHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view AnsiHeader = "REGEDIT4";

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The file's lines, one at a time, with their numbers.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line)
    {
        if (at_ > text_.size())
            return false;
        const std::size_t end = std::min(text_.find('\n', at_), text_.size());
        line = text_.substr(at_, end - at_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        at_ = end + 1;
        ++number_;
        return true;
    }
    int Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int number_ = 0;
};

// The first line that holds more than blanks; "" when there is none.
std::string_view FirstLine(Lines& lines)
{
    std::string_view line;
    while (lines.Next(line))
        if (!TrimBlanks(line).empty())
            return TrimBlanks(line);
    return {};
}

// The export's text in UTF-8: UTF-16LE after its byte-order mark, UTF-8 after
// one or without one, and an ANSI export converted from its code page.
std::string DecodeText(std::span<const std::uint8_t> file)
{
    if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE)
        return Utf16LeToUtf8(file.subspan(2));
    std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        return std::string(text.substr(3));
    Lines lines(text);
    return FirstLine(lines) == AnsiHeader ? AnsiToUtf8(text) : std::string(text);
}

class LineParser {
public:
    LineParser(Lines& lines, RegFileSink& sink) : lines_(lines), sink_(sink) {}

    void Run()
    {
        std::string_view line;
        while (lines_.Next(line)) {
            line = TrimBlanks(line);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[')
                KeyLine(line);
            else
                ValueLine(line);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& problem) const { throw ERegFileSyntax(lines_.Number(), problem); }

    void KeyLine(std::string_view line)
    {
        if (!line.ends_with(']'))
            Fail("a key line must end with \"]\"");
        std::string_view path = line.substr(1, line.size() - 2);
        const bool deletion = path.starts_with('-');
        if (deletion)
            path.remove_prefix(1);
        if (path.empty())
            Fail("a key line must name a key");
        inKey_ = !deletion;
        if (deletion)
            sink_.DeleteKey(std::string(path));
        else
            sink_.Key(std::string(path));
    }

    void ValueLine(std::string_view line)
    {
        if (!inKey_)
            Fail("a value must follow a key line");
        std::string name;
        if (line.starts_with('@'))
            line.remove_prefix(1);
        else if (line.starts_with('"'))
            name = QuotedText(line);
        else
            Fail("a value line must begin with a quoted name or \"@\"");
        line = TrimBlanks(line);
        if (!line.starts_with('='))
            Fail("\"=\" must follow the value's name");
        line = TrimBlanks(line.substr(1));
        if (line == "-") {
            sink_.DeleteValue(name);
        } else if (line.starts_with('"')) {
            std::string text = QuotedText(line);
            if (!TrimBlanks(line).empty())
                Fail("nothing may follow a string's closing quote");
            sink_.Value(name, RegistryType::String, StringData(text));
        } else if (line.starts_with("dword:")) {
            sink_.Value(name, RegistryType::DWord, DWordData(line.substr(6)));
        } else if (line.starts_with("hex")) {
            HexValue(name, line.substr(3));
        } else {
            Fail("unknown kind of value data");
        }
    }

    // Reads a quoted text from the line's start, undoing the backslash
    // escapes, and leaves the line after the closing quote.
    std::string QuotedText(std::string_view& line) const
    {
        std::string text;
        std::size_t i = 1;
        for (; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\') {
                if (++i == line.size() || (line[i] != '\\' && line[i] != '"'))
                    Fail("a backslash in quotes must escape \"\\\" or '\"'");
            }
            text += line[i];
        }
        if (i == line.size())
            Fail("a quoted text has no closing quote");
        line.remove_prefix(i + 1);
        return text;
    }

    static std::vector<std::uint8_t> StringData(const std::string& text)
    {
        std::vector<std::uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        return data;
    }

    std::vector<std::uint8_t> DWordData(std::string_view digits) const
    {
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || digits.size() > 8 || error != std::errc{} || end != digits.data() + digits.size())
            Fail("a dword must be one to eight hexadecimal digits");
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }

    // "hex:" or "hex(type):", then two-digit bytes between commas, going on
    // over the next lines while a line ends with a backslash.
    void HexValue(const std::string& name, std::string_view line)
    {
        std::uint32_t type = RegistryType::Binary;
        if (line.starts_with('(')) {
            const std::size_t close = line.find(')');
            const auto [end, error] =
                std::from_chars(line.data() + 1, line.data() + std::min(close, line.size()), type, 16);
            if (close == std::string_view::npos || close == 1 || error != std::errc{} || end != line.data() + close)
                Fail("a hex value's type must be a hexadecimal number in parentheses");
            line.remove_prefix(close + 1);
        }
        if (!line.starts_with(':'))
            Fail("\":\" must follow \"hex\" and its type");
        line.remove_prefix(1);

        std::vector<std::uint8_t> data;
        while (true) {
            line = TrimBlanks(line);
            const bool continues = line.ends_with('\\');
            if (continues)
                line.remove_suffix(1);
            AppendHexBytes(line, data, continues);
            if (!continues)
                break;
            if (!lines_.Next(line))
                Fail("the file ends inside a hex list");
        }
        sink_.Value(name, type, std::move(data));
    }

    void AppendHexBytes(std::string_view list, std::vector<std::uint8_t>& data, bool continues) const
    {
        list = TrimBlanks(list);
        if (list.empty())
            return;
        std::size_t at = 0;
        while (true) {
            const std::size_t comma = std::min(list.find(',', at), list.size());
            const std::string_view digits = TrimBlanks(list.substr(at, comma - at));
            std::uint8_t byte = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), byte, 16);
            if (digits.size() != 2 || error != std::errc{} || end != digits.data() + digits.size())
                Fail("hex data must be two-digit bytes separated by commas");
            data.push_back(byte);
            if (comma == list.size())
                return;
            at = comma + 1;
            if (at == list.size() && continues)
                return;  // a wrapped list ends its line with a comma
        }
    }

    Lines& lines_;
    RegFileSink& sink_;
    bool inKey_ = false;
};

}  // namespace

ERegFileSyntax::ERegFileSyntax(int line, const std::string& problem)
    : Exception("line " + std::to_string(line) + ": " + problem), line_(line)
{
}

void ReadRegFile(std::span<const std::uint8_t> file, RegFileSink& sink)
{
    const std::string text = DecodeText(file);
    Lines lines(text);
    const std::string_view header = FirstLine(lines);
    if (header != UnicodeHeader && header != AnsiHeader)
        throw ERegFileFormat("not a registry export: the first line is neither \"" + std::string(UnicodeHeader) +
                             "\" nor \"" + std::string(AnsiHeader) + "\"");
    LineParser(lines, sink).Run();
}
