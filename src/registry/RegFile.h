#pragma once
// The registry export files that regedit and "reg export" write (.reg):
// "Windows Registry Editor Version 5.00" in UTF-16LE with a byte-order mark,
// or in UTF-8 with or without one; and the older "REGEDIT4" in the ANSI code
// page (Windows-1252 where there is none). Their text is handed on in UTF-8.
//
// A file is a header line, then key lines ("[path]", "[-path]" to delete a
// key) each followed by its value lines ("name"=data or @=data for the
// default value, with =- to delete a value). Names and strings escape "\" and
// '"' with a backslash; hex lists may go on over lines that end with "\";
// lines beginning with ";" are comments.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Exception.h"

// The text is not a registry export at all (its first line is no header).
class ERegFileFormat : public Exception {
public:
    using Exception::Exception;
};

// A line of an export that cannot be read; the message names the line.
class ERegFileSyntax : public Exception {
public:
    ERegFileSyntax(int line, const std::string& problem);
    int Line() const { return line_; }

private:
    int line_;
};

// What an export says, in the order it says it.
class RegFileSink {
public:
    virtual ~RegFileSink() = default;
    // The key of the value lines that follow, by its full path ("HKEY_...\...").
    virtual void Key(const std::string& path) = 0;
    virtual void DeleteKey(const std::string& path) = 0;
    // A value of the current key; "" names the default value. Strings come as
    // their UTF-8 bytes with a terminating zero.
    virtual void Value(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) = 0;
    virtual void DeleteValue(const std::string& name) = 0;
};

// Reads a whole export into the sink. ERegFileFormat when it is no export,
// ERegFileSyntax at the first line that cannot be read (the sink has then seen
// every line before it).
void ReadRegFile(std::span<const std::uint8_t> file, RegFileSink& sink);
