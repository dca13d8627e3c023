#include "pictures/Stream.h"

#include <algorithm>
#include <cstring>

std::size_t MemoryStream::Read(void* buffer, std::size_t count)
{
    const std::size_t available = bytes_.size() - position_;
    const std::size_t n = std::min(count, available);
    if (n > 0) {
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
    }
    return n;
}

std::int64_t MemoryStream::Seek(std::int64_t offset, SeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case SeekOrigin::Begin: base = 0; break;
    case SeekOrigin::Current: base = static_cast<std::int64_t>(position_); break;
    case SeekOrigin::End: base = Size(); break;
    }
    // Compare before adding so that a huge offset cannot overflow.
    std::int64_t target;
    if (offset < 0)
        target = offset < -base ? 0 : base + offset;
    else
        target = offset > Size() - base ? Size() : base + offset;
    position_ = static_cast<std::size_t>(target);
    return target;
}
