/* In-place conversions between zero-terminated strings and length-prefixed strings (one length byte, then
 * at most 255 characters) that some host operations take and give. */
#ifndef TESSELWRIGHT_STRING_CONVERT_H
#define TESSELWRIGHT_STRING_CONVERT_H

#include <stddef.h>

enum { kMaxLengthPrefixedCharacters = 255 };

/* Moves the characters one byte towards the end and puts their count in front; the terminating zero is
 * overwritten, the result has none. Returns the buffer, or null (buffer unchanged) when the text is longer
 * than 255 characters. */
char* ToLengthPrefixed(char* buffer);

/* Moves the characters one byte towards the start and terminates them. Never writes past `bufferSize`
 * bytes: a length byte that promises more than the buffer holds is cut to bufferSize - 1 characters.
 * Returns the buffer (null when it is null or has no room even for the zero). */
char* ToZeroTerminated(char* buffer, size_t bufferSize);

#endif
