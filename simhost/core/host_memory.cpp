#include "host_memory.hpp"

#include <cstring>

namespace simhost {

AIMdMemoryHandle HostMemory::newHandle(std::size_t size) {
    auto handle = std::make_unique<Handle>();
    // One byte more than asked keeps data() distinct and non-null for a zero-size request.
    handle->bytes.assign(size + 1, kFreshByte);
    handle->master = handle->bytes.data();
    auto key = reinterpret_cast<AIMdMemoryHandle>(&handle->master);
    handles_[key] = std::move(handle);
    return key;
}

bool HostMemory::isHandle(AIMdMemoryHandle handle) const {
    return handles_.count(handle) != 0;
}

std::size_t HostMemory::handleSize(AIMdMemoryHandle handle) const {
    auto it = handles_.find(handle);
    return it == handles_.end() ? 0 : it->second->bytes.size() - 1;
}

void* HostMemory::allocateBlock(std::size_t size) {
    auto bytes = std::make_unique<unsigned char[]>(size + 1);
    std::memset(bytes.get(), kFreshByte, size + 1);
    void* block = bytes.get();
    blocks_[block] = std::move(bytes);
    return block;
}

bool HostMemory::freeBlock(void* block) {
    return blocks_.erase(block) != 0;
}

}  // namespace simhost
