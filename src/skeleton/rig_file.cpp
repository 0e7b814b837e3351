#include "skeleton/rig_file.h"

#include "skeleton/byte_reader.h"

namespace {

std::string fault(const std::string& name, const std::string& what) { return name + ": " + what; }

bool checkLimbCount(std::int32_t limbCount, const std::string& name, std::string& error) {
    if (limbCount >= 1 && limbCount <= kMaxLimbCount) return true;
    error = fault(name, "limbCount " + std::to_string(limbCount) + " is outside 1 to " +
                            std::to_string(kMaxLimbCount));
    return false;
}

bool checkChildCount(std::int64_t childCount, std::size_t bone, const std::string& name, std::string& error) {
    if (childCount >= 0 && childCount <= kMaxBoneChildren) return true;
    error = fault(name, "bone " + std::to_string(bone) + " has childCount " + std::to_string(childCount) +
                            ", outside 0 to " + std::to_string(kMaxBoneChildren));
    return false;
}

// Every listed child must name a bone, never the root, and have one parent
// only; then no chain of parents may loop. Bones that nobody lists are fine:
// they are simply never posed.
bool checkTree(const RigFile& rig, const std::string& name, std::string& error) {
    const std::size_t count = rig.bones.size();
    std::vector<std::int64_t> parentOf(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::int32_t k : rig.bones[i].children) {
            std::string listing = " of bone " + std::to_string(i);
            if (k < 0 || static_cast<std::size_t>(k) >= count) {
                error = fault(name, "child index " + std::to_string(k) + listing + " names no bone");
                return false;
            }
            if (k == 0) {
                error = fault(name, "bone 0, the root, is listed as a child" + listing);
                return false;
            }
            if (parentOf[k] >= 0) {
                error = fault(name, "bone " + std::to_string(k) + " is listed as a child twice (by bone " +
                                        std::to_string(parentOf[k]) + " and bone " + std::to_string(i) + ")");
                return false;
            }
            parentOf[k] = static_cast<std::int64_t>(i);
        }
    }
    // Walk up from every bone; meeting a bone of the current walk again is a
    // loop. Finished bones are known to end at a parentless bone.
    enum : std::uint8_t { kUnseen, kOnWalk, kEndsAtTop };
    std::vector<std::uint8_t> state(count, kUnseen);
    std::vector<std::size_t> walk;
    for (std::size_t start = 0; start < count; ++start) {
        walk.clear();
        std::int64_t b = static_cast<std::int64_t>(start);
        while (b >= 0 && state[b] == kUnseen) {
            state[b] = kOnWalk;
            walk.push_back(static_cast<std::size_t>(b));
            b = parentOf[b];
        }
        if (b >= 0 && state[b] == kOnWalk) {
            error = fault(name, "bone " + std::to_string(b) + " is its own ancestor (the bones form a cycle)");
            return false;
        }
        for (std::size_t w : walk) state[w] = kEndsAtTop;
    }
    return true;
}

bool readHeader(ByteReader& reader, const std::string& name, std::int32_t& boneCount, std::int32_t& limbCount,
                std::string& error) {
    if (!reader.readInt32(boneCount) || !reader.readInt32(limbCount)) {
        error = fault(name, "file is " + std::to_string(reader.bytes.size()) + " bytes, shorter than its " +
                                std::to_string(kRigHeaderBytes) + "-byte header");
        return false;
    }
    if (boneCount < 1) {
        error = fault(name, "boneCount " + std::to_string(boneCount) + " is below 1");
        return false;
    }
    if (!checkLimbCount(limbCount, name, error)) return false;
    // Every bone record takes at least its fixed part: a count the file cannot
    // hold is refused before anything is allocated for it.
    if (static_cast<std::size_t>(boneCount) > reader.remaining() / kBoneRecordBytes) {
        error = fault(name, "boneCount " + std::to_string(boneCount) + " announces more bones than the " +
                                std::to_string(reader.bytes.size()) + "-byte file holds");
        return false;
    }
    return true;
}

bool readBone(ByteReader& reader, std::size_t index, const std::string& name, BoneRecord& bone, std::string& error) {
    std::int32_t childCount = 0;
    bool whole = reader.readFloat32(bone.angle) && reader.readFloat32(bone.scale) &&
                 reader.readInt32(bone.pivotX) && reader.readInt32(bone.pivotY) &&
                 reader.readInt32(bone.offsetX) && reader.readInt32(bone.offsetY) &&
                 reader.readInt32(childCount) && reader.readUint8(bone.limbIndex) && reader.readUint8(bone.layer);
    if (!whole) {
        error = fault(name, "file ends inside the record of bone " + std::to_string(index));
        return false;
    }
    if (!checkChildCount(childCount, index, name, error)) return false;
    if (static_cast<std::size_t>(childCount) > reader.remaining() / 4) {
        error = fault(name, "file ends inside the child indices of bone " + std::to_string(index));
        return false;
    }
    bone.children.resize(static_cast<std::size_t>(childCount));
    for (std::int32_t& child : bone.children) reader.readInt32(child);
    return true;
}

}  // namespace

bool parseRig(std::span<const std::uint8_t> bytes, const std::string& name, RigFile& rig, std::string& error) {
    ByteReader reader{bytes};
    std::int32_t boneCount = 0;
    if (!readHeader(reader, name, boneCount, rig.limbCount, error)) return false;
    rig.bones.assign(static_cast<std::size_t>(boneCount), BoneRecord{});
    for (std::size_t i = 0; i < rig.bones.size(); ++i) {
        if (!readBone(reader, i, name, rig.bones[i], error)) return false;
    }
    return checkTree(rig, name, error);
}

bool checkRig(const RigFile& rig, const std::string& name, std::string& error) {
    if (rig.bones.empty()) {
        error = fault(name, "boneCount 0 is below 1");
        return false;
    }
    if (!checkLimbCount(rig.limbCount, name, error)) return false;
    for (std::size_t i = 0; i < rig.bones.size(); ++i) {
        if (!checkChildCount(static_cast<std::int64_t>(rig.bones[i].children.size()), i, name, error)) return false;
    }
    return checkTree(rig, name, error);
}

std::vector<std::uint8_t> encodeRig(const RigFile& rig) {
    std::vector<std::uint8_t> out;
    appendInt32(out, static_cast<std::int32_t>(rig.bones.size()));
    appendInt32(out, rig.limbCount);
    for (const BoneRecord& bone : rig.bones) {
        appendFloat32(out, bone.angle);
        appendFloat32(out, bone.scale);
        appendInt32(out, bone.pivotX);
        appendInt32(out, bone.pivotY);
        appendInt32(out, bone.offsetX);
        appendInt32(out, bone.offsetY);
        appendInt32(out, static_cast<std::int32_t>(bone.children.size()));
        out.push_back(bone.limbIndex);
        out.push_back(bone.layer);
        for (std::int32_t child : bone.children) appendInt32(out, child);
    }
    return out;
}
