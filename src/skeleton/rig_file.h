#pragma once
// "body.jrig": a figure's bone tree as little-endian records. Parsed into plain
// records and checked as a whole before any bone or texture exists.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kRigHeaderBytes = 8;   // boneCount, limbCount
inline constexpr std::size_t kBoneRecordBytes = 30;  // before the child indices
inline constexpr std::int32_t kMaxBoneChildren = 16;
inline constexpr std::int32_t kMaxLimbCount = 10;

// One bone as the file holds it.
struct BoneRecord {
    float angle = 0;  // initial angle, radians
    float scale = 1;
    std::int32_t pivotX = 0, pivotY = 0;
    std::int32_t offsetX = 0, offsetY = 0;
    std::uint8_t limbIndex = 0;
    std::uint8_t layer = 0;
    std::vector<std::int32_t> children;  // bone indices, in visiting order
};

// A whole rig file: limbCount limb images and the bones, bone 0 the root.
struct RigFile {
    std::int32_t limbCount = 1;
    std::vector<BoneRecord> bones;
};

// Parses and checks a rig file held in bytes; name is the file's game path,
// used only in the error text. On success fills rig and returns true; trailing
// bytes after the last bone are ignored. Otherwise returns false with error set
// to "<name>: <fault>" and rig unspecified. Nothing is allocated for a count
// before it has been checked against the bytes left.
bool parseRig(std::span<const std::uint8_t> bytes, const std::string& name, RigFile& rig, std::string& error);

// Checks the counts and the tree of an already decoded rig, with the same
// faults and texts as parseRig. Returns false and sets error on a fault.
bool checkRig(const RigFile& rig, const std::string& name, std::string& error);

// The file bytes of rig, exactly as parseRig reads them back.
std::vector<std::uint8_t> encodeRig(const RigFile& rig);
