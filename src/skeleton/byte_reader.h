#pragma once
// The one way figure files are read: little-endian fields taken from a byte
// buffer that never reads past its end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct ByteReader {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;

    // Bytes not yet read.
    std::size_t remaining() const { return bytes.size() - position; }

    // Each read takes the field's size from the buffer and returns true, or
    // returns false and leaves both the value and the position untouched when
    // fewer bytes are left.
    bool readInt32(std::int32_t& value);
    bool readFloat32(float& value);
    bool readUint8(std::uint8_t& value);
};

// Little-endian writers for the same fields, appending to out; the rig tool
// builds files with them.
void appendInt32(std::vector<std::uint8_t>& out, std::int32_t value);
void appendFloat32(std::vector<std::uint8_t>& out, float value);

// Reads a whole figure file (game path) into bytes. A missing or unreadable
// file returns false with error "<path>: file is missing or cannot be read".
bool readFigureFile(const std::string& gamePath, std::vector<std::uint8_t>& bytes, std::string& error);
