// Resources of a Windows PE file (PE32 or PE32+) read from the file itself, so that the shippable 32-bit
// plug-in can be inspected on a system that cannot load it.
#include "byte_reader.hpp"
#include "resource_readers.hpp"

namespace simhost {

using resources_detail::ByteReader;
using resources_detail::utf16ToUtf8;

namespace {

constexpr uint16_t kPe32Magic = 0x10B, kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kHighBit = 0x80000000;
constexpr size_t kMaxResources = 4096;
// Directories may share subdirectories; this bounds the walk however they are wired.
constexpr size_t kMaxEntriesVisited = 65536;

struct Section {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

class PeImage {
  public:
    PeImage(std::span<const uint8_t> bytes, const std::string& origin)
        : bytes_(bytes), what_("cannot read the resources of the Windows library " + origin) {}

    ByteReader reader() const { return ByteReader(bytes_, what_); }
    [[noreturn]] void fail(const std::string& reason) const { reader().fail(reason); }

    // The file bytes of `length` bytes at `rva`, which must lie in one section's data in the file.
    std::span<const uint8_t> map(uint32_t rva, uint32_t length) const {
        for (const Section& section : sections_) {
            uint64_t extent = std::max(section.virtualSize, section.rawSize);
            if (rva < section.virtualAddress || rva - uint64_t(section.virtualAddress) >= extent)
                continue;
            uint64_t offset = rva - uint64_t(section.virtualAddress);
            uint64_t available = std::min<uint64_t>(
                section.rawSize, bytes_.size() - std::min<uint64_t>(section.rawOffset, bytes_.size()));
            if (offset + length > available)
                fail("data at address " + std::to_string(rva) + " runs past its section's bytes in the file");
            return bytes_.subspan(size_t(section.rawOffset + offset), length);
        }
        fail("the address " + std::to_string(rva) + " lies in no section");
    }

    // The file bytes from `rva` to the end of its section's data in the file.
    std::span<const uint8_t> mapToSectionEnd(uint32_t rva) const {
        for (const Section& section : sections_) {
            if (rva < section.virtualAddress || rva - uint64_t(section.virtualAddress) >= section.rawSize)
                continue;
            uint64_t start = uint64_t(section.rawOffset) + (rva - section.virtualAddress);
            uint64_t end = std::min<uint64_t>(uint64_t(section.rawOffset) + section.rawSize, bytes_.size());
            if (start >= end)
                break;
            return bytes_.subspan(size_t(start), size_t(end - start));
        }
        fail("its resource directory lies outside the file's section data");
    }

    // Reads the headers; returns the resource directory's address and size (0, 0 when there is none).
    std::pair<uint32_t, uint32_t> readHeaders() {
        ByteReader in = reader();
        if (bytes_.size() >= 2 && bytes_[0] == 'M' && bytes_[1] == 'Z' && bytes_.size() < 64)
            fail("it is too short to be a Windows executable");
        if (bytes_.size() < 64 || in.u16() != 0x5A4D)
            fail("it is not a Windows executable (no MZ header)");
        in.seek(0x3C);
        uint32_t peOffset = in.u32();
        in.seek(peOffset);
        if (in.u32() != 0x00004550)
            fail("it has no PE signature where its MZ header says");
        in.skip(2);  // machine
        uint16_t sectionCount = in.u16();
        in.skip(12);  // time stamp, symbol table, symbol count
        uint16_t optionalSize = in.u16();
        in.skip(2);  // characteristics
        size_t optionalStart = in.position();
        uint16_t magic = in.u16();
        if (magic != kPe32Magic && magic != kPe32PlusMagic)
            fail("its optional header is neither PE32 nor PE32+");
        bool plus = magic == kPe32PlusMagic;
        in.seek(optionalStart + (plus ? 108 : 92));
        uint32_t directoryCount = in.u32();
        uint32_t resourceRva = 0, resourceSize = 0;
        if (directoryCount > kResourceDirectoryIndex &&
            (plus ? 112 : 96) + (kResourceDirectoryIndex + 1) * 8 <= optionalSize) {
            in.skip(kResourceDirectoryIndex * 8);
            resourceRva = in.u32();
            resourceSize = in.u32();
        }
        in.seek(optionalStart + optionalSize);
        if (size_t(sectionCount) * 40 > in.remaining())
            fail("its section table runs past the end of the file");
        for (uint16_t index = 0; index < sectionCount; ++index) {
            in.skip(8);  // name
            Section section;
            section.virtualSize = in.u32();
            section.virtualAddress = in.u32();
            section.rawSize = in.u32();
            section.rawOffset = in.u32();
            in.skip(16);  // relocations, line numbers, their counts, characteristics
            sections_.push_back(section);
        }
        return {resourceRva, resourceSize};
    }

  private:
    std::span<const uint8_t> bytes_;
    std::string what_;
    std::vector<Section> sections_;
};

// The resource directory: three levels (type, name, language) of directories whose entries point, by
// offsets from the directory's start, to further directories or, at the last level, to data entries
// that hold the data's address.
class ResourceDirectoryWalker {
  public:
    ResourceDirectoryWalker(const PeImage& image, std::span<const uint8_t> area) : image_(image), area_(area) {}

    std::vector<RawResource> walk() {
        walkDirectory(0, 0, {});
        return std::move(found_);
    }

  private:
    void walkDirectory(uint32_t offset, int level, std::vector<ResourceName> path) {
        ByteReader in(area_, "cannot read the resource directory");
        in.seek(offset);
        in.skip(12);  // characteristics, time stamp, version
        uint32_t count = uint32_t(in.u16()) + in.u16();
        if (size_t(count) * 8 > in.remaining())
            image_.fail("a resource directory claims more entries than fit in the resource section");
        entriesVisited_ += count;
        if (entriesVisited_ > kMaxEntriesVisited)
            image_.fail("its resource directory has more entries than any plug-in has");
        for (uint32_t index = 0; index < count; ++index) {
            uint32_t nameField = in.u32();
            uint32_t target = in.u32();
            ResourceName name = readName(nameField);
            bool isDirectory = (target & kHighBit) != 0;
            if (isDirectory != (level < 2))
                image_.fail("its resource directory is not three levels deep");
            std::vector<ResourceName> next = path;
            next.push_back(name);
            if (isDirectory)
                walkDirectory(target & ~kHighBit, level + 1, std::move(next));
            else
                addData(target, next);
        }
    }

    ResourceName readName(uint32_t field) const {
        if ((field & kHighBit) == 0) {
            if (field > 0xFFFF)
                image_.fail("a resource has an ordinal name above 65535");
            return ResourceName::fromOrdinal(uint16_t(field));
        }
        ByteReader in(area_, "cannot read a resource name");
        in.seek(field & ~kHighBit);
        uint16_t length = in.u16();
        std::u16string text;
        for (uint16_t i = 0; i < length; ++i)
            text += char16_t(in.u16());
        return ResourceName::fromText(utf16ToUtf8(text));
    }

    void addData(uint32_t offset, const std::vector<ResourceName>& path) {
        if (found_.size() >= kMaxResources)
            image_.fail("it claims more resources than any plug-in has");
        ByteReader in(area_, "cannot read a resource's data entry");
        in.seek(offset);
        uint32_t rva = in.u32();
        uint32_t size = in.u32();
        RawResource resource;
        resource.type = path[0];
        resource.name = path[1];
        if (!path[2].isOrdinal)
            image_.fail("a resource's language is a name, not a number");
        resource.language = path[2].ordinal;
        resource.data = image_.map(rva, size);
        found_.push_back(std::move(resource));
    }

    const PeImage& image_;
    std::span<const uint8_t> area_;
    std::vector<RawResource> found_;
    size_t entriesVisited_ = 0;
};

}  // namespace

ResourceSet readPeBytes(std::span<const uint8_t> bytes, const std::string& origin) {
    PeImage image(bytes, origin);
    auto [rva, size] = image.readHeaders();
    if (rva == 0 || size == 0)
        return decodeResources({}, origin);
    // The directory's offsets are relative to its start and may reach anywhere in its section.
    std::span<const uint8_t> area = image.mapToSectionEnd(rva);
    try {
        std::vector<RawResource> resources = ResourceDirectoryWalker(image, area).walk();
        return decodeResources(resources, origin);
    } catch (const HostError& error) {
        std::string message = error.what();
        if (message.rfind("cannot read the resources of", 0) == 0 || message.rfind("cannot read resource", 0) == 0)
            throw;
        throw HostError("cannot read the resources of the Windows library " + origin + ": " + message);
    }
}

ResourceSet readPeFile(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = readWholeFile(file, file.string());
    return readPeBytes(bytes, file.string());
}

}  // namespace simhost
