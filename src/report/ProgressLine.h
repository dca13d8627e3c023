#pragma once
// One line on a terminal that says how far a long run has come, replaced in
// place as it goes and gone at the end; nothing at all on a file or a pipe.
#include <cstddef>
#include <string>

#include "report/TextOutput.h"

class ProgressLine {
public:
    // shown: whether to show anything (a terminal, and more than one file).
    ProgressLine(TextOutput& err, bool shown) : err_(err), shown_(shown) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // "12 of 340 files: <current file>".
    void Show(std::size_t done, std::size_t found, const std::string& current);
    // Takes the line away, before a message of its own line or at the end.
    void Clear();

private:
    TextOutput& err_;
    bool shown_;
    std::size_t width_ = 0;  // of the line on screen now
};
