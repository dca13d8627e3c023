#include "registry/HiveRegistrySource.h"

#include <libregf.h>

#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string_view>
#include <utility>

#include "base/AsciiCase.h"
#include "base/LittleEndian.h"
#include "base/TextEncoding.h"
#include "registry/RegistryPath.h"

namespace {

// One libregf (or libbfio) error, freed with its owner.
class LibraryError {
public:
    LibraryError() = default;
    LibraryError(const LibraryError&) = delete;
    LibraryError& operator=(const LibraryError&) = delete;
    ~LibraryError() { libregf_error_free(&error_); }

    libregf_error_t** Out() { return &error_; }
    libbfio_error_t** BfioOut() { return reinterpret_cast<libbfio_error_t**>(&error_); }

    // The deepest cause that libregf itself tells in the error's chain,
    // without the name of the function: "unable to read hive bin header
    // data", say. (The lines below it come from its I/O library.)
    std::string Text() const
    {
        if (!error_)
            return "unknown error";
        char buffer[4096] = {};
        libregf_error_backtrace_sprint(error_, buffer, sizeof buffer);
        std::string_view lines(buffer);
        std::string_view cause = lines.substr(0, lines.find('\n'));
        for (std::string_view rest = lines; !rest.empty();) {
            const std::string_view line = rest.substr(0, rest.find('\n'));
            if (line.starts_with("libregf_")) {
                cause = line;
                break;
            }
            rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        }
        if (const std::size_t colon = cause.find(": "); colon != std::string_view::npos)
            cause.remove_prefix(colon + 2);
        while (cause.ends_with('.'))
            cause.remove_suffix(1);
        return cause.empty() ? "unknown error" : std::string(cause);
    }

private:
    libregf_error_t* error_ = nullptr;
};

template <typename Object, int (*Free)(Object**, libregf_error_t**)>
class Owned {
public:
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Owned()
    {
        if (object_)
            Free(&object_, nullptr);
    }

    Object* Get() const { return object_; }
    Object** Out() { return &object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    Object* object_ = nullptr;
};

using OwnedKey = Owned<libregf_key_t, libregf_key_free>;
using OwnedValue = Owned<libregf_value_t, libregf_value_free>;

// A hive's base block: its signature, then the primary and the secondary
// sequence number, which Windows makes equal once a write is complete.
constexpr std::string_view HiveSignature = "regf";
constexpr std::size_t PrimarySequenceOffset = 4;
constexpr std::size_t SecondarySequenceOffset = 8;
// 0 for a hive itself; its transaction logs begin with a copy of the base
// block that says 1, 2 or 6 here.
constexpr std::size_t FileTypeOffset = 0x1C;
// The size of the hive bins that follow the 4,096-byte base block.
constexpr std::size_t HiveBinsSizeOffset = 0x28;
constexpr std::size_t BaseBlockSize = 4096;

// The hive's bytes as a file for libregf. libbfio's own memory range copies
// a read that crosses the end of the range whole, past the end of the memory
// (the damaged-hive runs found it under AddressSanitizer, with a cut hive):
// this one stops at the end, as a file does.
class MemoryFile {
public:
    explicit MemoryFile(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // A libbfio handle over this file, which stays this object's.
    bool MakeHandle(libbfio_handle_t** handle, libbfio_error_t** error)
    {
        return libbfio_handle_initialize(handle, reinterpret_cast<intptr_t*>(this), nullptr, nullptr, Open, Close, Read,
                                         Write, Seek, Exists, IsOpen, GetSize, LIBBFIO_FLAG_IO_HANDLE_NON_MANAGED,
                                         error) == 1;
    }

private:
    static MemoryFile& Of(intptr_t* handle) { return *reinterpret_cast<MemoryFile*>(handle); }

    static int Open(intptr_t* handle, int, libbfio_error_t**)
    {
        Of(handle).open_ = true;
        Of(handle).at_ = 0;
        return 1;
    }
    static int Close(intptr_t* handle, libbfio_error_t**)
    {
        Of(handle).open_ = false;
        return 0;
    }
    static ssize_t Read(intptr_t* handle, std::uint8_t* buffer, std::size_t size, libbfio_error_t**)
    {
        MemoryFile& file = Of(handle);
        const std::size_t at = std::min(file.at_, file.bytes_.size());
        const std::size_t count = std::min(size, file.bytes_.size() - at);
        std::copy_n(file.bytes_.begin() + static_cast<std::ptrdiff_t>(at), count, buffer);
        file.at_ = at + count;
        return static_cast<ssize_t>(count);
    }
    static ssize_t Write(intptr_t*, const std::uint8_t*, std::size_t, libbfio_error_t**) { return -1; }
    static off64_t Seek(intptr_t* handle, off64_t offset, int whence, libbfio_error_t**)
    {
        MemoryFile& file = Of(handle);
        const off64_t base = whence == SEEK_CUR   ? static_cast<off64_t>(file.at_)
                             : whence == SEEK_END ? static_cast<off64_t>(file.bytes_.size())
                                                  : 0;
        if (offset < -base)
            return -1;
        file.at_ = static_cast<std::size_t>(base + offset);
        return base + offset;
    }
    static int Exists(intptr_t*, libbfio_error_t**) { return 1; }
    static int IsOpen(intptr_t* handle, libbfio_error_t**) { return Of(handle).open_ ? 1 : 0; }
    static int GetSize(intptr_t* handle, size64_t* size, libbfio_error_t**)
    {
        *size = Of(handle).bytes_.size();
        return 1;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool open_ = false;
};

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A stored name in UTF-8. libregf hands out the bytes as stored: one byte per
// character when the hive marks the name so, UTF-16LE otherwise. Its count of
// UTF-16 code units tells them apart: a name of n single bytes has n of them,
// a UTF-16 name of 2n bytes has n. (libregf's own UTF-8 forms would read the
// single bytes as Windows-1252, which Windows does not.)
template <typename Object>
std::optional<std::string> StoredName(Object* object, int (*getSize)(Object*, std::size_t*, libregf_error_t**),
                                      int (*getName)(Object*, std::uint8_t*, std::size_t, libregf_error_t**),
                                      int (*getUtf16Size)(Object*, std::size_t*, libregf_error_t**),
                                      std::string& problem)
{
    LibraryError error;
    std::size_t size = 0;
    if (getSize(object, &size, error.Out()) != 1) {
        problem = error.Text();
        return std::nullopt;
    }
    if (size == 0)
        return std::string();
    std::vector<std::uint8_t> bytes(size);
    if (getName(object, bytes.data(), size, error.Out()) != 1) {
        problem = error.Text();
        return std::nullopt;
    }
    std::size_t utf16Size = 0;  // with a terminating zero
    LibraryError ignored;
    const bool utf16 =
        getUtf16Size(object, &utf16Size, ignored.Out()) == 1 && utf16Size > 0 && size == 2 * (utf16Size - 1);
    if (utf16)
        return Utf16LeToUtf8(bytes);
    return Latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

class HiveRegistrySource::Hive {
public:
    explicit Hive(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)), memoryFile_(bytes_)
    {
        const std::string_view start(reinterpret_cast<const char*>(bytes_.data()),
                                     std::min<std::size_t>(bytes_.size(), 4));
        if (start != HiveSignature)
            throw ENotAHive("not a registry hive: it does not begin with \"regf\"");
        if (ReadLittleEndian32(bytes_, FileTypeOffset) != 0)
            throw ENotAHive("not a registry hive but one of its transaction logs");
        closedCleanly_ =
            ReadLittleEndian32(bytes_, PrimarySequenceOffset) == ReadLittleEndian32(bytes_, SecondarySequenceOffset);

        // A file cut short: told before anything libregf says of it.
        const std::size_t end = BaseBlockSize + ReadLittleEndian32(bytes_, HiveBinsSizeOffset);
        if (bytes_.size() < end)
            Note("the file ends at byte " + std::to_string(bytes_.size()) +
                 ", before the end of its last hive bin at " + std::to_string(end));

        LibraryError error;
        if (!memoryFile_.MakeHandle(&io_, error.BfioOut()) || libregf_file_initialize(&file_, error.Out()) != 1 ||
            libregf_file_open_file_io_handle(file_, io_, LIBREGF_OPEN_READ, error.Out()) != 1) {
            const std::string reason = problems_.empty() ? error.Text() : problems_.front();
            Release();
            throw EHiveDamaged(reason);
        }
        opened_ = true;
    }

    ~Hive() { Release(); }
    Hive(const Hive&) = delete;
    Hive& operator=(const Hive&) = delete;

    bool ClosedCleanly() const { return closedCleanly_; }

    std::vector<std::string> Problems() const
    {
        std::vector<std::string> problems = problems_;
        LibraryError error;
        if (libregf_file_is_corrupted(file_, error.Out()) == 1)
            problems.push_back("libregf marks the file as corrupted");
        return problems;
    }

    void MountAt(std::string path) { mount_ = std::move(path); }

    std::optional<RegistryKey> Open(RegistryRoot root, const std::string& path, std::uint32_t access)
    {
        if (root != RegistryRoot::CurrentUser || (access & ~RegistryAccess::Read) != 0)
            return std::nullopt;  // a file read here is never written
        const std::optional<std::string> inHive = PathInHive(path);
        const auto parts = inHive ? SplitRegistryPath(*inHive) : std::nullopt;
        if (!parts)
            return std::nullopt;

        LibraryError error;
        OwnedKey key;
        const int found = libregf_file_get_root_key(file_, key.Out(), error.Out());
        if (found != 1) {
            Note(found == 0 ? std::string("it has no root key") : "the root key cannot be read: " + error.Text());
            return std::nullopt;
        }
        std::string walked;
        for (const std::string& part : *parts) {
            OwnedKey child = SubKey(key.Get(), walked, part);
            if (!child)
                return std::nullopt;
            walked += (walked.empty() ? "" : "\\") + part;
            key = std::move(child);
            CheckKey(key.Get(), walked);
        }
        const std::uintptr_t handle = nextHandle_++;
        open_.emplace(handle, OpenedKey{std::move(key), walked, std::nullopt});
        return static_cast<RegistryKey>(handle);
    }

    void Close(RegistryKey key) { open_.erase(static_cast<std::uintptr_t>(key)); }

    std::vector<std::string> SubKeyNames(RegistryKey handle)
    {
        std::vector<std::string> names;
        OpenedKey* key = Find(handle);
        if (!key)
            return names;
        ForEachSubKey(key->Key.Get(), key->Path, [&](int, libregf_key_t*, const std::string& name) {
            names.push_back(name);
            return true;
        });
        return names;
    }

    std::vector<std::string> ValueNames(RegistryKey handle)
    {
        OpenedKey* key = Find(handle);
        if (!key)
            return {};
        std::vector<std::string> names;
        key->ListedValues.emplace();
        ForEachValue(*key, [&](int index, libregf_value_t*, const std::string& name) {
            names.push_back(name);
            key->ListedValues->push_back(index);
            return true;
        });
        return names;
    }

    std::optional<RegistryIndexedValue> ValueByName(RegistryKey handle, const std::string& name)
    {
        OpenedKey* key = Find(handle);
        std::optional<RegistryIndexedValue> found;
        if (key)
            ForEachValue(*key, [&](int, libregf_value_t* value, const std::string& valueName) {
                if (!SameTextIgnoringAsciiCase(valueName, name))
                    return true;
                found = ReadValueObject(value, key->Path, valueName);
                return false;
            });
        return found;
    }

    std::optional<RegistryIndexedValue> ValueAt(RegistryKey handle, std::uint32_t index)
    {
        OpenedKey* key = Find(handle);
        if (!key)
            return std::nullopt;
        if (!key->ListedValues)
            ValueNames(handle);
        if (index >= key->ListedValues->size())
            return std::nullopt;
        const int libraryIndex = (*key->ListedValues)[index];
        LibraryError error;
        OwnedValue value;
        if (libregf_key_get_value(key->Key.Get(), libraryIndex, value.Out(), error.Out()) != 1) {
            Note(Where(key->Path) + "value " + std::to_string(libraryIndex) + " cannot be read: " + error.Text());
            return std::nullopt;
        }
        std::string problem;
        const std::optional<std::string> name = ValueName(value.Get(), problem);
        if (!name) {
            Note(Where(key->Path) + "the name of value " + std::to_string(libraryIndex) +
                 " cannot be read: " + problem);
            return std::nullopt;
        }
        return ReadValueObject(value.Get(), key->Path, *name);
    }

private:
    struct OpenedKey {
        OwnedKey Key;
        std::string Path;
        // libregf's index of each value ValueNames listed, in its order: a
        // value whose name cannot be read is left out of both.
        std::optional<std::vector<int>> ListedValues;
    };

    void Release()
    {
        open_.clear();
        if (file_) {
            if (opened_)
                libregf_file_close(file_, nullptr);
            libregf_file_free(&file_, nullptr);
        }
        if (io_)
            libbfio_handle_free(&io_, nullptr);
    }

    void Note(const std::string& problem)
    {
        if (noted_.insert(problem).second)
            problems_.push_back(problem);
    }

    static std::string Where(const std::string& path)
    {
        return "key \"" + (path.empty() ? std::string("(root)") : path) + "\": ";
    }

    std::optional<std::string> PathInHive(const std::string& path) const
    {
        if (mount_.empty())
            return path;
        if (SameTextIgnoringAsciiCase(path, mount_))
            return std::string();
        if (path.size() > mount_.size() && path[mount_.size()] == '\\' && StartsWithIgnoringAsciiCase(path, mount_))
            return path.substr(mount_.size() + 1);
        return std::nullopt;
    }

    OpenedKey* Find(RegistryKey key)
    {
        const auto open = open_.find(static_cast<std::uintptr_t>(key));
        return open == open_.end() ? nullptr : &open->second;
    }

    // libregf 20201007 marks every key without values as corrupted (their
    // value-list offset is unset, as Windows leaves it), so only the mark of
    // a key that has values says anything.
    void CheckKey(libregf_key_t* key, const std::string& path)
    {
        LibraryError error;
        int values = 0;
        if (libregf_key_get_number_of_values(key, &values, error.Out()) == 1 && values > 0 &&
            libregf_key_is_corrupted(key, error.Out()) == 1)
            Note(Where(path) + "libregf marks it as corrupted");
    }

    std::optional<std::string> KeyName(libregf_key_t* key, std::string& problem)
    {
        return StoredName(key, libregf_key_get_name_size, libregf_key_get_name, libregf_key_get_utf16_name_size,
                          problem);
    }

    std::optional<std::string> ValueName(libregf_value_t* value, std::string& problem)
    {
        return StoredName(value, libregf_value_get_name_size, libregf_value_get_name, libregf_value_get_utf16_name_size,
                          problem);
    }

    // The subkey of this name, matched as the registry does without regard to
    // the case of a-z. libregf finds an ASCII name through the key's hashed
    // list; any other name is compared with the names as this source decodes them.
    OwnedKey SubKey(libregf_key_t* parent, const std::string& parentPath, const std::string& name)
    {
        OwnedKey child;
        if (IsAscii(name)) {
            LibraryError error;
            const int found = libregf_key_get_sub_key_by_utf8_name(
                parent, reinterpret_cast<const std::uint8_t*>(name.data()), name.size(), child.Out(), error.Out());
            if (found == -1)
                Note(Where(parentPath) + "subkey \"" + name + "\" cannot be read: " + error.Text());
            return found == 1 ? std::move(child) : OwnedKey();
        }
        ForEachSubKey(parent, parentPath, [&](int index, libregf_key_t*, const std::string& subKeyName) {
            if (!SameTextIgnoringAsciiCase(subKeyName, name))
                return true;
            LibraryError error;
            libregf_key_get_sub_key(parent, index, child.Out(), error.Out());
            return false;
        });
        return child;
    }

    template <typename Visit>
    void ForEachSubKey(libregf_key_t* key, const std::string& path, Visit visit)
    {
        LibraryError error;
        int count = 0;
        if (libregf_key_get_number_of_sub_keys(key, &count, error.Out()) != 1) {
            Note(Where(path) + "its subkeys cannot be counted: " + error.Text());
            return;
        }
        for (int index = 0; index < count; ++index) {
            LibraryError subKeyError;
            OwnedKey subKey;
            if (libregf_key_get_sub_key(key, index, subKey.Out(), subKeyError.Out()) != 1) {
                Note(Where(path) + "subkey " + std::to_string(index) + " cannot be read: " + subKeyError.Text());
                continue;
            }
            std::string problem;
            const std::optional<std::string> name = KeyName(subKey.Get(), problem);
            if (!name) {
                Note(Where(path) + "the name of subkey " + std::to_string(index) + " cannot be read: " + problem);
                continue;
            }
            if (!visit(index, subKey.Get(), *name))
                return;
        }
    }

    template <typename Visit>
    void ForEachValue(OpenedKey& key, Visit visit)
    {
        LibraryError error;
        int count = 0;
        if (libregf_key_get_number_of_values(key.Key.Get(), &count, error.Out()) != 1) {
            Note(Where(key.Path) + "its values cannot be counted: " + error.Text());
            return;
        }
        for (int index = 0; index < count; ++index) {
            LibraryError valueError;
            OwnedValue value;
            if (libregf_key_get_value(key.Key.Get(), index, value.Out(), valueError.Out()) != 1) {
                Note(Where(key.Path) + "value " + std::to_string(index) + " cannot be read: " + valueError.Text());
                continue;
            }
            std::string problem;
            const std::optional<std::string> name = ValueName(value.Get(), problem);
            if (!name) {
                Note(Where(key.Path) + "the name of value " + std::to_string(index) + " cannot be read: " + problem);
                continue;
            }
            if (!visit(index, value.Get(), *name))
                return;
        }
    }

    // Name, type, size and data of a value; no data when they cannot be read.
    RegistryIndexedValue ReadValueObject(libregf_value_t* value, const std::string& keyPath, const std::string& name)
    {
        RegistryIndexedValue result{name, {}, {}};
        const std::string where = Where(keyPath) + "value \"" + name + "\": ";
        LibraryError error;
        // libregf gives a value it cannot follow to its data a size of 0 and
        // marks it corrupted: its data is unknown, not empty.
        if (libregf_value_is_corrupted(value, error.Out()) == 1) {
            Note(where + "its data cannot be found (libregf marks it as corrupted)");
            return result;
        }
        std::size_t size = 0;
        if (libregf_value_get_value_type(value, &result.Info.Type, error.Out()) != 1 ||
            libregf_value_get_value_data_size(value, &size, error.Out()) != 1) {
            Note(where + "its type or size cannot be read: " + error.Text());
            return result;
        }
        if (size > bytes_.size()) {  // a damaged size: no hive holds that much
            Note(where + "its size of " + std::to_string(size) + " bytes exceeds the file");
            return result;
        }
        result.Info.Size = static_cast<std::uint32_t>(size);
        std::vector<std::uint8_t> data(size);
        if (size > 0 && libregf_value_get_value_data(value, data.data(), size, error.Out()) != 1) {
            Note(where + "its data cannot be read: " + error.Text());
            return result;
        }
        result.Data = std::move(data);
        return result;
    }

    std::vector<std::uint8_t> bytes_;
    MemoryFile memoryFile_;
    libbfio_handle_t* io_ = nullptr;
    libregf_file_t* file_ = nullptr;
    bool opened_ = false;
    bool closedCleanly_ = true;
    std::string mount_;
    std::map<std::uintptr_t, OpenedKey> open_;
    std::uintptr_t nextHandle_ = 1;
    std::vector<std::string> problems_;
    std::set<std::string> noted_;
};

HiveRegistrySource::HiveRegistrySource(std::vector<std::uint8_t> hive) : hive_(std::make_unique<Hive>(std::move(hive)))
{
}

HiveRegistrySource::~HiveRegistrySource() = default;

void HiveRegistrySource::MountAt(std::string currentUserPath)
{
    hive_->MountAt(std::move(currentUserPath));
}

bool HiveRegistrySource::ClosedCleanly() const
{
    return hive_->ClosedCleanly();
}

std::vector<std::string> HiveRegistrySource::Problems() const
{
    return hive_->Problems();
}

std::optional<RegistryKey> HiveRegistrySource::OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    return hive_->Open(root, path, access);
}

std::vector<std::string> HiveRegistrySource::SubKeyNames(RegistryKey key)
{
    return hive_->SubKeyNames(key);
}

std::vector<std::string> HiveRegistrySource::ValueNames(RegistryKey key)
{
    return hive_->ValueNames(key);
}

std::optional<RegistryValueInfo> HiveRegistrySource::QueryValue(RegistryKey key, const std::string& name)
{
    const std::optional<RegistryIndexedValue> value = hive_->ValueByName(key, name);
    if (!value)
        return std::nullopt;
    return value->Info;
}

bool HiveRegistrySource::ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size)
{
    const std::optional<RegistryIndexedValue> value = hive_->ValueByName(key, name);
    if (!value || !value->Data || value->Data->size() > size)
        return false;
    std::copy(value->Data->begin(), value->Data->end(), static_cast<std::uint8_t*>(buffer));
    size = static_cast<std::uint32_t>(value->Data->size());
    return true;
}

std::optional<RegistryIndexedValue> HiveRegistrySource::ReadValueAt(RegistryKey key, std::uint32_t index)
{
    return hive_->ValueAt(key, index);
}

void HiveRegistrySource::CloseKey(RegistryKey key)
{
    hive_->Close(key);
}
