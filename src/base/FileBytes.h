#pragma once
// Whole-file reading for the portable code, on C stdio rather than streams so
// that the shipped program carries no stream or locale machinery. Paths are
// UTF-8.

#include <cstddef>
#include <string>
#include <vector>

namespace kestu {

// Reads a whole file into bytes; throws std::runtime_error when it cannot be
// opened or read, or is larger than maxBytes (found without reading past it).
std::vector<unsigned char> ReadFileBytes(const std::string& path, std::size_t maxBytes);
// Whether path names an existing file that is not a folder.
bool FileExists(const std::string& path);

}  // namespace kestu
