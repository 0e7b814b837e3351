#include "skeleton/byte_reader.h"

#include <cstring>

#include "platform/file.h"

namespace {

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

bool ByteReader::readInt32(std::int32_t& value) {
    if (remaining() < 4) return false;
    value = static_cast<std::int32_t>(littleEndian32(bytes.data() + position));
    position += 4;
    return true;
}

bool ByteReader::readFloat32(float& value) {
    if (remaining() < 4) return false;
    // Bit for bit: a NaN payload or a negative zero survives the trip. (A
    // copy rather than std::bit_cast, which not every C++ library has yet.)
    std::uint32_t bits = littleEndian32(bytes.data() + position);
    std::memcpy(&value, &bits, sizeof value);
    position += 4;
    return true;
}

bool ByteReader::readUint8(std::uint8_t& value) {
    if (remaining() < 1) return false;
    value = bytes[position];
    position += 1;
    return true;
}

void appendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    appendLittleEndian32(out, static_cast<std::uint32_t>(value));
}

void appendFloat32(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian32(out, bits);
}

bool readFigureFile(const std::string& gamePath, std::vector<std::uint8_t>& bytes, std::string& error) {
    if (platform::readBinaryFile(gamePath, bytes)) return true;
    error = gamePath + ": file is missing or cannot be read";
    return false;
}
