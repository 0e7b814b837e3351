#pragma once
// Binary file reading for the game's own record formats (rigs and clips).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Reads the whole file named by gamePath (game separators allowed) in byte mode.
// Returns true and fills bytes on success; returns false, leaving bytes empty,
// when the file cannot be opened or read. Files larger than kMaxGameFileBytes
// are refused too: no game file comes anywhere near it, and a bad path (a
// device, a huge file) must not exhaust memory.
bool readBinaryFile(const std::string& gamePath, std::vector<std::uint8_t>& bytes);

inline constexpr std::size_t kMaxGameFileBytes = 16u * 1024u * 1024u;

}  // namespace platform
