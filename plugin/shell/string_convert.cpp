#include "shell/string_convert.h"

#include <string.h>

char* ToLengthPrefixed(char* buffer) {
    if (buffer == nullptr)
        return nullptr;
    /* A text that does not end within 256 bytes is too long for one length byte; no need to look further. */
    size_t count = 0;
    while (count <= kMaxLengthPrefixedCharacters && buffer[count] != '\0')
        ++count;
    if (count > kMaxLengthPrefixedCharacters)
        return nullptr;
    memmove(buffer + 1, buffer, count);
    buffer[0] = static_cast<char>(static_cast<unsigned char>(count));
    return buffer;
}

char* ToZeroTerminated(char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0)
        return nullptr;
    size_t count = static_cast<unsigned char>(buffer[0]);
    if (count > bufferSize - 1)
        count = bufferSize - 1;
    memmove(buffer, buffer + 1, count);
    buffer[count] = '\0';
    return buffer;
}
