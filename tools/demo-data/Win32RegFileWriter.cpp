#include "Win32RegFileWriter.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/AsciiCase.h"
#include "base/TextEncoding.h"
#include "registry/RegFile.h"

namespace {

std::wstring Wide(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    return {wide.begin(), wide.end()};
}

void Check(LONG status, const std::string& what)
{
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(what + " failed with error " + std::to_string(status));
}

class CurrentUserWriter final : public RegFileSink {
public:
    ~CurrentUserWriter() override { Close(); }

    void Key(const std::string& path) override
    {
        Close();
        Check(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(BelowCurrentUser(path)).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key_, nullptr),
              "creating " + path);
    }
    void DeleteKey(const std::string& path) override
    {
        Close();
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(BelowCurrentUser(path)).c_str());
    }
    void Value(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) override
    {
        Check(RegSetValueExW(key_, name.empty() ? nullptr : Wide(name).c_str(), 0, type, data.data(),
                             static_cast<DWORD>(data.size())),
              "writing " + name);
    }
    void DeleteValue(const std::string& name) override { RegDeleteValueW(key_, Wide(name).c_str()); }

private:
    static std::string BelowCurrentUser(const std::string& path)
    {
        constexpr std::string_view Root = "HKEY_CURRENT_USER\\";
        if (!StartsWithIgnoringAsciiCase(path, Root))
            throw std::runtime_error("not below HKEY_CURRENT_USER: " + path);
        return path.substr(Root.size());
    }
    void Close()
    {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
    }

    HKEY key_ = nullptr;
};

}  // namespace

void WriteRegFileToCurrentUser(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    CurrentUserWriter writer;
    ReadRegFile(bytes, writer);
}
