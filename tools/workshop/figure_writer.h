#pragma once
// The figure source written back as text: a fixed order of keys and one line
// per limb, bone and keyframe, so that saving a figure changes only the lines
// of what was edited and a diff of two saves reads like the edit itself.
#include <nlohmann/json.hpp>

#include <string>

// The whole text of a figure source, ending in a newline. Known keys come in
// the order a figure is read ("about", "limbs", "bones", "idle", "attack";
// in a bone "name", "angle", "scale", "pivot", "offset", "limb", "layer",
// "children"; in a key "bone", "start", "duration", "angle"), any other keys
// after them in name order, so nothing in the text is lost. Reading the
// result back gives text again.
std::string figureSourceText(const nlohmann::json& text);

// An edited angle as the figure text stores it: a whole number as an
// integer, else the shortest decimal that reads back to value through a
// double as the figure compiler reads it, so the source shows 0.3 and not the
// float's widened 0.30000001192092896.
nlohmann::json angleText(float value);

// Whether text holds an angle that the figure compiler reads as value, bit
// for bit.
bool holdsAngle(const nlohmann::json& text, float value);
