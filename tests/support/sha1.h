// Test support: SHA-1 of a byte buffer as 40 lower-case hexadecimal digits,
// for comparing whole surfaces with hashes recorded elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vx::test {

std::string Sha1Hex(const uint8_t* data, size_t size);

}  // namespace vx::test
