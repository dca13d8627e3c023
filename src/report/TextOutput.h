#pragma once
// Where the report's text goes. The tool holds UTF-8; a Windows console gets
// it through the console's wide-character path, files and pipes get the UTF-8
// bytes as they are.
#include <string>
#include <string_view>

class TextOutput {
public:
    virtual ~TextOutput() = default;
    virtual void Write(std::string_view utf8) = 0;
    // Whether a person watches it: a progress line is for them alone.
    virtual bool IsTerminal() const { return false; }
};

// The process's standard output or standard error.
class StandardOutput final : public TextOutput {
public:
    enum class Stream { Output, Error };
    explicit StandardOutput(Stream stream);
    void Write(std::string_view utf8) override;
    bool IsTerminal() const override;

private:
    Stream stream_;
};

// Keeps what is written (tests, and callers that run the tool in-process).
class StringOutput final : public TextOutput {
public:
    void Write(std::string_view utf8) override { Text += utf8; }
    std::string Text;
};
