#include "GifTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

std::optional<std::filesystem::path> TestDataDir(const std::string& subfolder)
{
    const char* overridden = std::getenv("TALLYGLASS_TESTDATA");
    const std::filesystem::path root = overridden != nullptr ? overridden : TALLYGLASS_TESTDATA_DIR;
    std::error_code error;
    const std::filesystem::path folder = root / subfolder;
    if (!std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

Bytes ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> LoadResult::WarningTexts() const
{
    std::vector<std::string> texts;
    for (const ReceivedWarning& warning : warnings)
        texts.push_back(warning.message);
    return texts;
}

LoadResult LoadGif(const Bytes& bytes)
{
    LoadResult result;
    result.picture->WarningHandler = [&result](const GifPersistent&, int severity, const std::string& message) {
        result.warnings.push_back({severity, message});
    };
    MemoryStream stream(bytes);
    try {
        result.picture->LoadFromStream(stream);
    } catch (const GIFException& e) {
        result.error = e.what();
    }
    result.positionAfter = stream.Position();
    result.picture->WarningHandler = nullptr;
    return result;
}
