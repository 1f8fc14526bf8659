// Per-frame scratch memory: a bump allocator over a few large blocks, emptied
// when a frame is presented. Text meshes, glyph batches and frame materials
// live here, so drawing a frame makes no heap allocations once warmed up.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/engine_internal.h"
#include "engine/iwgx.h"

namespace {

constexpr size_t kBlockBytes = 256 * 1024;
constexpr size_t kAlign = 16;

struct Block {
    unsigned char* base;
    size_t size;
    size_t used;
};

struct Scratch {
    std::vector<Block> blocks;
    size_t current = 0;  // index of the block being filled
    size_t handedOut = 0;
};

Scratch& TheScratch() {
    static Scratch s;
    return s;
}

}  // namespace

void* IwGxScratchAlloc(size_t bytes) {
    Scratch& s = TheScratch();
    size_t need = (bytes + kAlign - 1) & ~(kAlign - 1);
    if (need == 0) need = kAlign;
    while (s.current < s.blocks.size()) {
        Block& b = s.blocks[s.current];
        if (b.size - b.used >= need) {
            void* p = b.base + b.used;
            b.used += need;
            s.handedOut += need;
            std::memset(p, 0, bytes);
            return p;
        }
        ++s.current;
    }
    size_t size = need > kBlockBytes ? need : kBlockBytes;
    void* mem = std::aligned_alloc(kAlign, size);
    if (!mem) std::abort();  // out of memory: nothing sensible is left to draw
    s.blocks.push_back(Block{static_cast<unsigned char*>(mem), size, need});
    s.current = s.blocks.size() - 1;
    s.handedOut += need;
    std::memset(mem, 0, bytes);
    return mem;
}

size_t IwGxScratchUsed() {
    return TheScratch().handedOut;
}

namespace engine {

void ResetScratch() {
    Scratch& s = TheScratch();
    // Keep the blocks for the next frame, but give back a one-off giant.
    for (size_t i = 0; i < s.blocks.size();) {
        if (s.blocks[i].size > kBlockBytes * 4) {
            std::free(s.blocks[i].base);
            s.blocks.erase(s.blocks.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            s.blocks[i].used = 0;
            ++i;
        }
    }
    s.current = 0;
    s.handedOut = 0;
}

void FreeScratch() {
    Scratch& s = TheScratch();
    for (Block& b : s.blocks)
        std::free(b.base);
    s.blocks.clear();
    s.current = 0;
    s.handedOut = 0;
}

}  // namespace engine
