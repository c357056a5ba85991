// Compiled resource files (.res): the format llvm-rc and windres write, and what ships beside the Linux
// build of the plug-in.
#include <fstream>

#include "byte_reader.hpp"
#include "resource_readers.hpp"

namespace simhost {

using resources_detail::ByteReader;

namespace {

// No plug-in file comes near this; a larger one is refused before it is read into memory.
constexpr uintmax_t kMaxFileSize = uintmax_t(512) << 20;

ResourceName readResName(ByteReader& in) {
    size_t start = in.position();
    if (in.u16() == 0xFFFF)
        return ResourceName::fromOrdinal(in.u16());
    in.seek(start);
    return ResourceName::fromText(in.zeroTerminatedUtf16());
}

}  // namespace

std::vector<uint8_t> readWholeFile(const std::filesystem::path& file, const std::string& origin) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw HostError("cannot read " + origin + ": " +
                        (std::filesystem::exists(file, error) ? "it is not a regular file." : "no such file."));
    uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        throw HostError("cannot read " + origin + ": " + error.message() + ".");
    if (size > kMaxFileSize)
        throw HostError("cannot read " + origin + ": at " + std::to_string(size >> 20) +
                        " MiB it is far too large for a plug-in.");
    std::ifstream stream(file, std::ios::binary);
    std::vector<uint8_t> bytes(size_t(size), 0);
    if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        throw HostError("cannot read " + origin + ": reading it failed.");
    return bytes;
}

ResourceSet readResourceBytes(std::span<const uint8_t> bytes, const std::string& origin) {
    ByteReader in(bytes, "cannot read the compiled resource file " + origin);
    // A .res file opens with an empty entry: no data, a 32-byte header, type and name ordinal 0.
    if (bytes.size() < 32 || in.u32() != 0 || in.u32() != 32 || in.u32() != 0xFFFF || in.u32() != 0xFFFF)
        in.fail("it does not start like a compiled resource file");
    in.seek(32);
    std::vector<RawResource> resources;
    while (in.remaining() > 0) {
        size_t start = in.position();
        uint32_t dataSize = in.u32();
        uint32_t headerSize = in.u32();
        if (headerSize < 24 || headerSize > in.remaining() + 8)
            in.fail("the resource header at offset " + std::to_string(start) + " has an impossible size");
        // The header's fields must lie inside the header.
        ByteReader header(bytes.subspan(start, headerSize), in.what());
        header.skip(8);
        RawResource resource;
        resource.type = readResName(header);
        resource.name = readResName(header);
        header.alignTo4();
        header.skip(4);  // data version
        header.skip(2);  // memory flags
        resource.language = header.u16();
        in.seek(start + headerSize);
        if (dataSize > in.remaining())
            in.fail("the resource at offset " + std::to_string(start) + " claims " + std::to_string(dataSize) +
                    " bytes of data, more than are left");
        resource.data = in.bytes(dataSize);
        in.alignTo4();
        // An empty entry can only pad; it is not a resource.
        if (!(resource.type.isOrdinal && resource.type.ordinal == 0))
            resources.push_back(resource);
        if (resources.size() > 4096)
            in.fail("it holds more resources than any plug-in has");
    }
    return decodeResources(resources, origin);
}

ResourceSet readResourceFile(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = readWholeFile(file, file.string());
    return readResourceBytes(bytes, file.string());
}

}  // namespace simhost
