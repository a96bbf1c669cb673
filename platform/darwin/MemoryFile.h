#pragma once

#include <cstdio>
#include <vector>

namespace darwin {

// A read-only stdio stream over bytes it owns; fclose releases them. Reads, seeks and
// ftell behave as on a regular file; writes fail. Returns null with errno set when the
// stream cannot be made.
FILE* openMemoryFile(std::vector<unsigned char> bytes);

} // namespace darwin
