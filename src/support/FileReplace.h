#pragma once
// Writing a whole file so that a failure never leaves a half-written one.
#include <string>
#include <string_view>

#include "base/Exception.h"

class EWriteError : public Exception {
public:
    using Exception::Exception;
};

// Writes the bytes to a new temporary file in the target's folder and only
// then renames it over the target, which an earlier file of that name may
// hold. On failure the temporary file is removed, the target is left as it
// was, and EWriteError says why.
void ReplaceFileContents(const std::string& path, std::string_view bytes);
