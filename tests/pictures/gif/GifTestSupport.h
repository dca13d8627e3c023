#pragma once
// Helpers shared by the GIF reader tests.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "GifWriter.h"
#include "pictures/gifpicture.h"

// The shared conformance data folder (TALLYGLASS_TESTDATA overrides the
// built-in path), or nothing when it is absent.
std::optional<std::filesystem::path> TestDataDir(const std::string& subfolder);
Bytes ReadFileBytes(const std::filesystem::path& path);

struct ReceivedWarning {
    int severity;
    std::string message;
};

// The outcome of loading bytes into a fresh picture.
struct LoadResult {
    std::unique_ptr<TGifPicture> picture = std::make_unique<TGifPicture>();
    std::vector<ReceivedWarning> warnings;
    std::optional<std::string> error;  // the GIFException's message
    std::int64_t positionAfter = 0;
    std::vector<std::string> WarningTexts() const;
};
// Loads bytes; a GIFException is caught into error, anything else escapes.
LoadResult LoadGif(const Bytes& bytes);
