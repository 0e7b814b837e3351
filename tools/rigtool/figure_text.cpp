#include "figure_text.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

using nlohmann::json;

bool fail(std::string& error, const std::string& source, const std::string& what) {
    error = source + ": " + what;
    return false;
}

// Shortest decimal that reads back to the same float through a double, else
// the exact bits.
json floatToText(float value) {
    if (std::isfinite(value)) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        *result.ptr = '\0';
        double asDouble = std::strtod(buffer, nullptr);
        if (std::bit_cast<std::uint32_t>(static_cast<float>(asDouble)) == std::bit_cast<std::uint32_t>(value)) {
            return asDouble;
        }
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(std::bit_cast<std::uint32_t>(value)));
    return std::string(hex);
}

bool textToFloat(const json& text, float& value) {
    if (text.is_number()) {
        value = static_cast<float>(text.get<double>());
        return true;
    }
    if (!text.is_string()) return false;
    const std::string s = text.get<std::string>();
    if (s.size() != 10 || s.compare(0, 2, "0x") != 0) return false;
    std::uint32_t bits = 0;
    auto result = std::from_chars(s.data() + 2, s.data() + s.size(), bits, 16);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size()) return false;
    value = std::bit_cast<float>(bits);
    return true;
}

bool textToInt(const json& text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    if (!text.is_number_integer()) return false;
    if (text.is_number_unsigned()) {
        if (text.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) return false;
    }
    value = text.get<std::int64_t>();
    return value >= low && value <= high;
}

bool readInt32(const json& object, const char* key, std::int32_t& value) {
    std::int64_t wide = 0;
    if (!object.contains(key) || !textToInt(object[key], INT32_MIN, INT32_MAX, wide)) return false;
    value = static_cast<std::int32_t>(wide);
    return true;
}

bool readPair(const json& object, const char* key, std::int32_t& x, std::int32_t& y) {
    if (!object.contains(key) || !object[key].is_array() || object[key].size() != 2) return false;
    std::int64_t a = 0, b = 0;
    if (!textToInt(object[key][0], INT32_MIN, INT32_MAX, a) || !textToInt(object[key][1], INT32_MIN, INT32_MAX, b))
        return false;
    x = static_cast<std::int32_t>(a);
    y = static_cast<std::int32_t>(b);
    return true;
}

bool boneFromText(const json& text, const json& bones, const std::string& where, BoneRecord& bone,
                  std::string& error) {
    if (!text.is_object()) return fail(error, where, "must be an object");
    std::int64_t limb = 0, layer = 0;
    if (!text.contains("angle") || !textToFloat(text["angle"], bone.angle))
        return fail(error, where, "\"angle\" must be a number or \"0x\" and eight hex digits");
    bone.scale = 1.0f;
    if (text.contains("scale") && !textToFloat(text["scale"], bone.scale))
        return fail(error, where, "\"scale\" must be a number or \"0x\" and eight hex digits");
    if (!readPair(text, "pivot", bone.pivotX, bone.pivotY))
        return fail(error, where, "\"pivot\" must be two int32 values");
    if (!readPair(text, "offset", bone.offsetX, bone.offsetY))
        return fail(error, where, "\"offset\" must be two int32 values");
    if (!text.contains("limb") || !textToInt(text["limb"], 0, 255, limb))
        return fail(error, where, "\"limb\" must be an integer from 0 to 255");
    if (!text.contains("layer") || !textToInt(text["layer"], 0, 255, layer))
        return fail(error, where, "\"layer\" must be an integer from 0 to 255");
    bone.limbIndex = static_cast<std::uint8_t>(limb);
    bone.layer = static_cast<std::uint8_t>(layer);
    bone.children.clear();
    if (text.contains("children")) {
        if (!text["children"].is_array()) return fail(error, where, "\"children\" must be a list");
        for (const json& child : text["children"]) {
            std::int32_t index = 0;
            if (!boneReference(child, &bones, index))
                return fail(error, where, "child " + child.dump() + " is neither an index nor a bone name");
            bone.children.push_back(index);
        }
    }
    return true;
}

}  // namespace

bool boneReference(const json& text, const json* bones, std::int32_t& index) {
    std::int64_t wide = 0;
    if (textToInt(text, INT32_MIN, INT32_MAX, wide)) {
        index = static_cast<std::int32_t>(wide);
        return true;
    }
    if (!text.is_string() || !bones) return false;
    for (std::size_t i = 0; i < bones->size(); ++i) {
        const json& b = (*bones)[i];
        if (b.is_object() && b.contains("name") && b["name"] == text) {
            index = static_cast<std::int32_t>(i);
            return true;
        }
    }
    return false;
}

bool rigFromText(const json& text, const std::string& source, int limbCountIfAbsent, RigFile& rig,
                 std::string& error) {
    if (!text.is_object() || !text.contains("bones") || !text["bones"].is_array())
        return fail(error, source, "needs a \"bones\" list");
    rig.limbCount = limbCountIfAbsent;
    if (text.contains("limbCount") && !readInt32(text, "limbCount", rig.limbCount))
        return fail(error, source, "\"limbCount\" must be an int32");
    const json& bones = text["bones"];
    rig.bones.assign(bones.size(), BoneRecord{});
    for (std::size_t i = 0; i < bones.size(); ++i) {
        if (!boneFromText(bones[i], bones, source + ": bone " + std::to_string(i), rig.bones[i], error)) return false;
    }
    return true;
}

bool clipFromText(const json& keys, const std::string& source, const json* bones, std::vector<Keyframe>& clip,
                  std::string& error) {
    if (!keys.is_array()) return fail(error, source, "a clip must be a list of keyframes");
    clip.clear();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const json& k = keys[i];
        const std::string where = "keyframe " + std::to_string(i);
        Keyframe record{};
        if (!k.is_object()) return fail(error, source, where + " must be an object");
        if (!k.contains("bone") || !boneReference(k["bone"], bones, record.boneIndex))
            return fail(error, source, where + ": \"bone\" must be an index or a bone name");
        if (!readInt32(k, "start", record.startFrame)) return fail(error, source, where + ": \"start\" must be an int32");
        if (!readInt32(k, "duration", record.duration))
            return fail(error, source, where + ": \"duration\" must be an int32");
        if (!k.contains("angle") || !textToFloat(k["angle"], record.targetAngle))
            return fail(error, source, where + ": \"angle\" must be a number or \"0x\" and eight hex digits");
        clip.push_back(record);
    }
    return true;
}

json rigToText(const RigFile& rig) {
    json bones = json::array();
    for (const BoneRecord& b : rig.bones) {
        json bone = json::object();
        bone["angle"] = floatToText(b.angle);
        bone["scale"] = floatToText(b.scale);
        bone["pivot"] = {b.pivotX, b.pivotY};
        bone["offset"] = {b.offsetX, b.offsetY};
        bone["limb"] = b.limbIndex;
        bone["layer"] = b.layer;
        bone["children"] = b.children;
        bones.push_back(std::move(bone));
    }
    return json{{"limbCount", rig.limbCount}, {"bones", std::move(bones)}};
}

json clipToText(const std::vector<Keyframe>& clip) {
    json keys = json::array();
    for (const Keyframe& k : clip) {
        keys.push_back(json{{"bone", k.boneIndex},
                            {"start", k.startFrame},
                            {"duration", k.duration},
                            {"angle", floatToText(k.targetAngle)}});
    }
    return keys;
}
