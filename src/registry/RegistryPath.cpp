#include "registry/RegistryPath.h"

std::optional<std::vector<std::string>> SplitRegistryPath(const std::string& path)
{
    std::vector<std::string> parts;
    if (path.empty())
        return parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end - start));
        if (parts.back().empty())
            return std::nullopt;
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
