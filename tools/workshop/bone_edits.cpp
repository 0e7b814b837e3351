#include "bone_edits.h"

#include <vector>

#include "figure_text.h"
#include "skeleton/rig_file.h"

namespace {

using nlohmann::json;

constexpr const char* kClipNames[] = {"idle", "attack"};

bool hasBones(const json& text) { return text.is_object() && text.contains("bones") && text["bones"].is_array(); }

const json* childrenOf(const json& bone) {
    return bone.is_object() && bone.contains("children") && bone["children"].is_array() ? &bone["children"] : nullptr;
}

// The bone a reference names among bones, or -1 when it names none of them.
std::int64_t resolved(const json& reference, const json& bones) {
    std::int32_t index = 0;
    if (!boneReference(reference, &bones, index) || index < 0 || static_cast<std::size_t>(index) >= bones.size())
        return -1;
    return index;
}

std::string nameOf(const json& bones, std::size_t bone) {
    if (bone < bones.size() && bones[bone].is_object() && bones[bone].contains("name") && bones[bone]["name"].is_string())
        return bones[bone]["name"].get<std::string>();
    return "bone " + std::to_string(bone);
}

// How the text names bone: by its name when that name finds it, else by index.
json referenceTo(const json& bones, std::size_t bone) {
    if (bones[bone].is_object() && bones[bone].contains("name")) {
        const json& name = bones[bone]["name"];
        if (resolved(name, bones) == static_cast<std::int64_t>(bone)) return name;
    }
    return bone;
}

// bone and every bone below it, as the children lists reach them; a loop in
// the lists (a text the game refuses) is followed only once round.
std::vector<bool> branchOf(const json& bones, std::size_t bone) {
    std::vector<bool> in(bones.size(), false);
    std::vector<std::size_t> waiting{bone};
    in[bone] = true;
    while (!waiting.empty()) {
        const std::size_t at = waiting.back();
        waiting.pop_back();
        const json* children = childrenOf(bones[at]);
        if (!children) continue;
        for (const json& child : *children) {
            const std::int64_t k = resolved(child, bones);
            if (k < 0 || in[k]) continue;
            in[k] = true;
            waiting.push_back(static_cast<std::size_t>(k));
        }
    }
    return in;
}

bool fail(std::string& error, const std::string& what) {
    error = what;
    return false;
}

bool checkIndex(const json& text, std::size_t bone, std::string& error) {
    if (!hasBones(text)) return fail(error, "the figure has no \"bones\" list");
    if (bone >= text["bones"].size()) return fail(error, "bone " + std::to_string(bone) + " is not in the figure");
    return true;
}

bool checkRoomFor(const json& bones, std::size_t parent, std::string& error) {
    const json* children = childrenOf(bones[parent]);
    if (!children || children->size() < static_cast<std::size_t>(kMaxBoneChildren)) return true;
    return fail(error, nameOf(bones, parent) + " already has " + std::to_string(kMaxBoneChildren) +
                           " children, the most a bone can have");
}

void listChild(json& bones, std::size_t parent, const json& reference) {
    json& entry = bones[parent];
    if (!entry.contains("children") || !entry["children"].is_array()) entry["children"] = json::array();
    entry["children"].push_back(reference);
}

// A reference to old bone k rewritten to name it among bones, where it is now
// bone moved: by the same name when that still finds it, else by index.
json renumbered(const json& reference, std::size_t moved, const json& bones) {
    if (reference.is_string() && resolved(reference, bones) == static_cast<std::int64_t>(moved)) return reference;
    return moved;
}

}  // namespace

int parentInText(const json& text, std::size_t bone) {
    if (!hasBones(text)) return -1;
    const json& bones = text["bones"];
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const json* children = childrenOf(bones[i]);
        if (!children) continue;
        for (const json& child : *children)
            if (resolved(child, bones) == static_cast<std::int64_t>(bone)) return static_cast<int>(i);
    }
    return -1;
}

int addBoneTo(json& text, std::size_t parent, std::string& error) {
    if (!checkIndex(text, parent, error)) return -1;
    json& bones = text["bones"];
    if (!checkRoomFor(bones, parent, error)) return -1;
    std::string name = "new bone";
    for (int n = 2; resolved(name, bones) >= 0; ++n) name = "new bone " + std::to_string(n);
    // A copy: the parent's entry may move when the bone is added.
    const json from = bones[parent].is_object() ? bones[parent] : json::object();
    const auto fieldOf = [&](const char* key, const json& otherwise) { return from.contains(key) ? from[key] : otherwise; };
    json bone = {{"name", name},
                 {"angle", fieldOf("angle", 0)},
                 {"pivot", {0, 0}},
                 {"offset", fieldOf("pivot", json{0, 0})},
                 {"limb", fieldOf("limb", 0)},
                 {"layer", fieldOf("layer", 0)}};
    bones.push_back(std::move(bone));
    const std::size_t added = bones.size() - 1;
    listChild(bones, parent, referenceTo(bones, added));
    return static_cast<int>(added);
}

bool deleteBoneFrom(json& text, std::size_t bone, std::string& error) {
    if (!checkIndex(text, bone, error)) return false;
    if (bone == 0) return fail(error, "the root cannot be deleted: the game draws every figure from its bone 0");
    const json old = text["bones"];
    const std::vector<bool> doomed = branchOf(old, bone);
    std::vector<std::size_t> movedTo(old.size(), 0);
    json kept = json::array();
    for (std::size_t i = 0; i < old.size(); ++i) {
        movedTo[i] = kept.size();
        if (!doomed[i]) kept.push_back(old[i]);
    }
    // A reference that names no bone is left as it was, for the checks to name.
    const auto rewrite = [&](json& list, auto referenceIn) {
        json out = json::array();
        for (json& item : list) {
            json* reference = referenceIn(item);
            const std::int64_t k = reference ? resolved(*reference, old) : -1;
            if (k >= 0 && doomed[k]) continue;
            if (k >= 0) *reference = renumbered(*reference, movedTo[k], kept);
            out.push_back(std::move(item));
        }
        list = std::move(out);
    };
    for (json& entry : kept) {
        if (childrenOf(entry)) rewrite(entry["children"], [](json& child) -> json* { return &child; });
    }
    for (const char* clip : kClipNames) {
        if (!text.contains(clip) || !text[clip].is_array()) continue;
        rewrite(text[clip], [](json& key) -> json* { return key.is_object() && key.contains("bone") ? &key["bone"] : nullptr; });
    }
    text["bones"] = std::move(kept);
    return true;
}

bool reparentBoneIn(json& text, std::size_t bone, std::size_t parent, std::string& error) {
    if (!checkIndex(text, bone, error) || !checkIndex(text, parent, error)) return false;
    json& bones = text["bones"];
    if (bone == 0) return fail(error, "the root hangs from no bone: the game places it itself");
    if (branchOf(bones, bone)[parent])
        return fail(error, nameOf(bones, bone) + " cannot hang from itself or a bone below it");
    if (parentInText(text, bone) == static_cast<int>(parent)) return true;
    if (!checkRoomFor(bones, parent, error)) return false;
    for (json& entry : bones) {
        const json* children = childrenOf(entry);
        if (!children) continue;
        json out = json::array();
        for (const json& child : *children)
            if (resolved(child, bones) != static_cast<std::int64_t>(bone)) out.push_back(child);
        entry["children"] = std::move(out);
    }
    listChild(bones, parent, referenceTo(bones, bone));
    return true;
}
