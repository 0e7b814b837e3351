#pragma once
// Changing a figure's tree of bones in its source text: a bone added, a
// branch deleted, a bone hung from another. Bones are named in the text by
// index or by name, in the children lists and in every key of both clips, so
// each edit rewrites those references to name the same bones afterwards.
#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

// Adds a bone at the end of the text's "bones" and lists it last among
// parent's children: a name no other bone has, the parent's angle, limb and
// layer, its joint on the parent's (its offset the parent's pivot), its pivot
// at its picture's top-left corner. Returns the new bone's index, or -1 with
// error when parent names no bone or already has as many children as a bone
// may have; text is then unchanged.
int addBoneTo(nlohmann::json& text, std::size_t parent, std::string& error);

// Deletes bone and every bone hanging below it, with the keys that turn any
// of them; later bones move down and every reference to them is renumbered.
// Returns false with error, text unchanged, for the root (the game always
// needs bone 0) or an index that names no bone.
bool deleteBoneFrom(nlohmann::json& text, std::size_t bone, std::string& error);

// Hangs bone from parent: taken out of every children list that names it and
// listed last among parent's children; indices stay as they are. Returns
// false with error, text unchanged, for the root (the game lists it as no
// bone's child), a parent that is bone itself or hangs below it, a parent
// with as many children as a bone may have, or an index that names no bone.
bool reparentBoneIn(nlohmann::json& text, std::size_t bone, std::size_t parent, std::string& error);

// The bone whose children list names bone first, or -1 when none does.
int parentInText(const nlohmann::json& text, std::size_t bone);
