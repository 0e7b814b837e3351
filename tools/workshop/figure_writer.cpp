#include "figure_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace {

using nlohmann::json;

const std::initializer_list<std::string_view> kFigureKeys = {"about", "limbs", "bones", "idle", "attack"};
const std::initializer_list<std::string_view> kLimbKeys = {"name", "picture", "mirrorOf"};
const std::initializer_list<std::string_view> kBoneKeys = {"name",   "angle", "scale", "pivot",
                                                           "offset", "limb",  "layer"};
const std::initializer_list<std::string_view> kKeyframeKeys = {"bone", "start", "duration", "angle"};

bool isKnown(std::string_view key, std::initializer_list<std::string_view> known) {
    for (std::string_view k : known)
        if (k == key) return true;
    return false;
}

// A value on one line: "{ "a": 1, "b": [2, 3] }".
std::string inlineText(const json& value);

// The members of an object on one line, known keys first in their order,
// then the rest in name order (nlohmann keeps objects sorted by name).
std::string inlineMembers(const json& object, std::initializer_list<std::string_view> known) {
    std::string out;
    const auto add = [&](const std::string& key, const json& value) {
        if (!out.empty()) out += ", ";
        out += json(key).dump() + ": " + inlineText(value);
    };
    for (std::string_view key : known) {
        const auto found = object.find(std::string(key));
        if (found != object.end()) add(std::string(key), *found);
    }
    for (const auto& [key, value] : object.items())
        if (!isKnown(key, known)) add(key, value);
    return out;
}

std::string inlineText(const json& value) {
    if (value.is_object()) return value.empty() ? "{}" : "{ " + inlineMembers(value, {}) + " }";
    if (!value.is_array()) return value.dump();
    std::string out = "[";
    for (std::size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + inlineText(value[i]);
    return out + "]";
}

// A bone's line; its children, the longest part, go on a line of their own.
std::string boneLine(const json& bone) {
    if (!bone.is_object()) return inlineText(bone);
    json rest = bone;
    rest.erase("children");
    std::string line = "{ " + inlineMembers(rest, kBoneKeys);
    if (bone.contains("children")) line += ",\n      \"children\": " + inlineText(bone["children"]);
    return line + " }";
}

// A list of objects, one a line, each written by lineOf.
template <typename LineOf>
std::string listText(const json& list, LineOf lineOf) {
    if (!list.is_array() || list.empty()) return inlineText(list);
    std::string out = "[\n";
    for (std::size_t i = 0; i < list.size(); ++i) out += "    " + lineOf(list[i]) + (i + 1 < list.size() ? ",\n" : "\n");
    return out + "  ]";
}

std::string entryLine(const json& entry, std::initializer_list<std::string_view> known) {
    return entry.is_object() ? "{ " + inlineMembers(entry, known) + " }" : inlineText(entry);
}

std::string memberText(const std::string& key, const json& value) {
    if (key == "limbs") return listText(value, [](const json& e) { return entryLine(e, kLimbKeys); });
    if (key == "bones") return listText(value, boneLine);
    if (key == "idle" || key == "attack")
        return listText(value, [](const json& e) { return entryLine(e, kKeyframeKeys); });
    return inlineText(value);
}

}  // namespace

std::string figureSourceText(const json& text) {
    if (!text.is_object()) return inlineText(text) + "\n";
    std::string out;
    const auto add = [&](const std::string& key) {
        // A blank line between the figure's parts, as a hand-written figure has.
        out += (out.empty() ? "{\n  " : ",\n\n  ") + json(key).dump() + ": " + memberText(key, text[key]);
    };
    for (std::string_view key : kFigureKeys)
        if (text.contains(std::string(key))) add(std::string(key));
    for (const auto& [key, value] : text.items())
        if (!isKnown(key, kFigureKeys)) add(key);
    return out.empty() ? "{}\n" : out + "\n}\n";
}

json angleText(float value) {
    // -0 stays a float: as an integer it would read back as +0.
    if (value == std::trunc(value) && std::fabs(value) < 1e6f && !(value == 0 && std::signbit(value)))
        return static_cast<std::int64_t>(value);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *result.ptr = '\0';
    const double decimal = std::strtod(buffer, nullptr);
    // A float no short decimal gives back (never one typed or dragged) is kept whole.
    return static_cast<float>(decimal) == value ? decimal : static_cast<double>(value);
}

bool holdsAngle(const json& text, float value) {
    return text.is_number() && std::bit_cast<std::uint32_t>(static_cast<float>(text.get<double>())) ==
                                   std::bit_cast<std::uint32_t>(value);
}
