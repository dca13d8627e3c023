#include "pictures/DibImage.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace {

// calloc rather than new[]: the zeroing is lazy for large blocks, so memory a
// short image never writes is never touched.
class HeapImage : public ImageMemory {
public:
    explicit HeapImage(std::uint8_t* bits) : bits_(bits) {}
    ~HeapImage() override { std::free(bits_); }
    HeapImage(const HeapImage&) = delete;
    HeapImage& operator=(const HeapImage&) = delete;
    std::uint8_t* Bits() override { return bits_; }

private:
    std::uint8_t* bits_;
};

ImageAllocator& CurrentAllocator()
{
    static ImageAllocator allocator = AllocateHeapImage;
    return allocator;
}

}  // namespace

std::unique_ptr<ImageMemory> AllocateHeapImage(const TDibInfo&, std::size_t size)
{
    // calloc(0) may legally return null; an empty image still gets a block.
    auto* bits = static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
    if (!bits)
        return nullptr;
    std::unique_ptr<ImageMemory> image(new (std::nothrow) HeapImage(bits));
    if (!image)
        std::free(bits);
    return image;
}

ImageAllocator SetImageAllocator(ImageAllocator allocator)
{
    if (!allocator)
        allocator = AllocateHeapImage;
    return std::exchange(CurrentAllocator(), std::move(allocator));
}

std::unique_ptr<ImageMemory> AllocateImageMemory(const TDibInfo& info, std::size_t size)
{
    return CurrentAllocator()(info, size);
}
