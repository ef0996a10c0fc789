// Writing generated files into the assets folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to a file; false (with a message) when it cannot be written.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
