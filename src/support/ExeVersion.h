#pragma once
// The running executable's version, from its version resource, and the link
// date of an executable image, from its image header.
#include <string>

#include "base/Exception.h"
#include "support/DateTime.h"
#include "support/VersionText.h"

// An operating-system call failed: "System Error.  Code: %d." CR LF and the
// system's text for the code, or "A call to an OS function failed" when the
// thread's last error is 0.
class EOSError : public Exception {
public:
    EOSError(unsigned long code, const std::string& message) : Exception(message), ErrorCode(code) {}
    unsigned long ErrorCode;
};

[[noreturn]] void RaiseLastOSError();

// Full path of the running executable.
std::string ExePath();

// The fixed file version of the running executable; four zeros when it
// carries no version resource.
TExeVersion GetExeVersion();
std::string FormatExeVersion();

// The link time of an executable image (UTC); EOSError when it cannot be mapped.
TDateTime GetExeLinkDate(const std::string& path);
