#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "hostapi/types.h"

namespace simhost {

// Memory the host hands out: relocatable handles (MdMemory) and plain blocks (SP Blocks). New memory is
// filled with 0xCD bytes, so a plug-in that reads a word it never wrote sees a conspicuous value rather
// than a lucky zero.
class HostMemory {
  public:
    static constexpr unsigned char kFreshByte = 0xCD;

    AIMdMemoryHandle newHandle(std::size_t size);
    bool isHandle(AIMdMemoryHandle handle) const;
    std::size_t handleSize(AIMdMemoryHandle handle) const;  // 0 for an unknown handle
    std::size_t handleCount() const { return handles_.size(); }

    void* allocateBlock(std::size_t size);
    bool freeBlock(void* block);  // false for anything that is not a live block
    bool isBlock(const void* block) const { return blocks_.count(block) != 0; }
    std::size_t blockCount() const { return blocks_.size(); }

  private:
    struct Handle {
        std::vector<unsigned char> bytes;
        void* master = nullptr;  // what the handle points at: the start of `bytes`
    };
    std::map<AIMdMemoryHandle, std::unique_ptr<Handle>> handles_;
    std::map<const void*, std::unique_ptr<unsigned char[]>> blocks_;
};

}  // namespace simhost
