#pragma once
// Byte streams the picture readers load from: a position, a size, and reads
// that may return fewer bytes than asked for at the end of the data.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Moves the position (clamped to 0 .. Size()) and returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Size() const = 0;

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
};

// A read-only stream over bytes that the caller keeps alive.
class MemoryStream : public Stream {
public:
    explicit MemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};
