#pragma once
// The readable form of rigs and clips: JSON that maps field for field onto
// "body.jrig" and ".janim", so a figure can be written by hand, compiled, and
// any compiled file dumped back to the same bytes.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "skeleton/clip.h"
#include "skeleton/rig_file.h"

// Reads a rig's text form ({"limbCount", "bones": [...]}; in a figure source
// limbCount may be left out and is then limbCountIfAbsent). Children may be
// bone indices or bone names. Returns false with error "<source>: <what>" on a
// missing or ill-typed field; the tree itself is checked by checkRig.
bool rigFromText(const nlohmann::json& text, const std::string& source, int limbCountIfAbsent, RigFile& rig,
                 std::string& error);

// The bone a child entry or a key's "bone" names: an index, taken as it is
// (in range or not), or the "name" of the first of bones that has it (bones
// may be null: then names name nothing). Returns false for anything else.
bool boneReference(const nlohmann::json& text, const nlohmann::json* bones, std::int32_t& index);

// Reads a keyframe list; "bone" may be an index or a name of bones (which may
// be null for clips read on their own).
bool clipFromText(const nlohmann::json& keys, const std::string& source, const nlohmann::json* bones,
                  std::vector<Keyframe>& clip, std::string& error);

// The text forms of a rig and of a clip; reading them back gives the same
// records bit for bit (floats that no decimal reproduces exactly are written
// as "0x" and their eight hex digits).
nlohmann::json rigToText(const RigFile& rig);
nlohmann::json clipToText(const std::vector<Keyframe>& clip);
