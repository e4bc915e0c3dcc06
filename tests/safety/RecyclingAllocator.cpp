// The allocator of the misrouting test program: a freed block goes straight
// back to the next request of its size, last freed first. What the system
// allocator does now and then, this does every time, so an object that dies
// is followed by its successor at the same address.
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

// Room in front of every block for its size, keeping the block aligned.
constexpr std::size_t kHeader = alignof(std::max_align_t) > sizeof(std::size_t) ? alignof(std::max_align_t)
                                                                                : sizeof(std::size_t);
// Sizes below this are recycled; larger blocks go back to the system.
constexpr std::size_t kRecycledSizes = 16384;

struct FreeBlock {
    FreeBlock* next;
};

std::mutex& lock() {
    static std::mutex mutex;
    return mutex;
}

FreeBlock* g_free[kRecycledSizes];

void* allocate(std::size_t size) {
    if (size < kRecycledSizes) {
        std::lock_guard<std::mutex> guard(lock());
        if (FreeBlock* block = g_free[size]) {
            g_free[size] = block->next;
            return block;
        }
    }
    const std::size_t room = size < sizeof(FreeBlock) ? sizeof(FreeBlock) : size;
    char* raw = static_cast<char*>(std::malloc(kHeader + room));
    if (raw == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(raw) = size;
    return raw + kHeader;
}

void release(void* block) {
    if (block == nullptr) return;
    char* raw = static_cast<char*>(block) - kHeader;
    const std::size_t size = *reinterpret_cast<std::size_t*>(raw);
    if (size >= kRecycledSizes) {
        std::free(raw);
        return;
    }
    std::lock_guard<std::mutex> guard(lock());
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = g_free[size];
    g_free[size] = freed;
}

void* allocateOrThrow(std::size_t size) {
    if (void* block = allocate(size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
