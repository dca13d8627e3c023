#pragma once
// zlib's inflate behind RAII: the stream is ended on every way out.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <zlib.h>

class Inflater {
public:
    // EPNGZLIBError when zlib cannot start.
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    z_stream& Stream() { return stream_; }

private:
    z_stream stream_{};
};

// The whole zlib stream inflated, or nothing when it is damaged, incomplete,
// would grow beyond maxSize bytes or zlib cannot start.
std::optional<std::string> InflateText(const std::uint8_t* data, std::size_t size, std::size_t maxSize);
