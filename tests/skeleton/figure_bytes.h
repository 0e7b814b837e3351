#pragma once
// Hand-written figure files for the skeleton tests. The bytes are laid out
// here field by field, independently of the game's own encoder, so that the
// tests pin the file formats themselves.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace figure_bytes {

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void putInt(std::vector<std::uint8_t>& out, std::int32_t v) { put32(out, static_cast<std::uint32_t>(v)); }
inline void putFloat(std::vector<std::uint8_t>& out, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(out, bits);
}

struct BoneSpec {
    float angle = 0, scale = 1;
    std::int32_t pivotX = 0, pivotY = 0, offsetX = 0, offsetY = 0;
    std::uint8_t limb = 0, layer = 0;
    std::vector<std::int32_t> children;
};

inline std::vector<std::uint8_t> rigBytes(std::int32_t limbCount, const std::vector<BoneSpec>& bones) {
    std::vector<std::uint8_t> out;
    putInt(out, static_cast<std::int32_t>(bones.size()));
    putInt(out, limbCount);
    for (const BoneSpec& b : bones) {
        putFloat(out, b.angle);
        putFloat(out, b.scale);
        putInt(out, b.pivotX);
        putInt(out, b.pivotY);
        putInt(out, b.offsetX);
        putInt(out, b.offsetY);
        putInt(out, static_cast<std::int32_t>(b.children.size()));
        out.push_back(b.limb);
        out.push_back(b.layer);
        for (std::int32_t c : b.children) putInt(out, c);
    }
    return out;
}

struct KeySpec {
    std::int32_t bone, start, duration;
    float angle;
};

inline std::vector<std::uint8_t> clipBytes(std::initializer_list<KeySpec> keys) {
    std::vector<std::uint8_t> out;
    for (const KeySpec& k : keys) {
        putFloat(out, k.angle);  // the angle leads on disk
        putInt(out, k.bone);
        putInt(out, k.start);
        putInt(out, k.duration);
    }
    return out;
}

inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace figure_bytes
