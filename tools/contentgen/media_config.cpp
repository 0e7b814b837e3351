#include "media_config.h"

#include <fstream>
#include <stdexcept>
#include <utility>

#include <nlohmann/json.hpp>

namespace contentgen {

namespace {

using Json = nlohmann::json;

Json readJson(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open");
  try {
    return Json::parse(in);
  } catch (const Json::exception& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}

// Colours are written as [r, g, b] in 0..255 so they can be picked in any paint program.
Colour colourFrom(const Json& j) {
  if (!j.is_array() || j.size() != 3) throw std::invalid_argument("a colour is [r, g, b]");
  return toColour({j.at(0).get<std::uint8_t>(), j.at(1).get<std::uint8_t>(), j.at(2).get<std::uint8_t>()});
}

Voice voiceFrom(const std::string& name) {
  if (name == "chime") return Voice::Chime;
  if (name == "thud") return Voice::Thud;
  if (name == "falling_tone") return Voice::FallingTone;
  if (name == "zap") return Voice::Zap;
  throw std::invalid_argument("unknown voice '" + name + "'");
}

// The optional numeric settings of a sound recipe: the key in sounds.json and
// the field it sets.
constexpr std::pair<const char*, double SoundRecipe::*> kOptionalSettings[] = {
    {"peak_dbfs", &SoundRecipe::peakDbfs},
    {"fade_in_s", &SoundRecipe::fadeInSeconds},
    {"fade_out_s", &SoundRecipe::fadeOutSeconds},
    {"start_hz", &SoundRecipe::startHz},
    {"end_hz", &SoundRecipe::endHz},
    {"glide", &SoundRecipe::glidePerSecond},
    {"amp_decay", &SoundRecipe::ampDecayPerSecond},
    {"noise_level", &SoundRecipe::noiseLevel},
    {"noise_cutoff_hz", &SoundRecipe::noiseCutoffHz},
    {"noise_decay", &SoundRecipe::noiseDecayPerSecond},
    {"vibrato_hz", &SoundRecipe::vibratoHz},
    {"vibrato_depth", &SoundRecipe::vibratoDepth},
    {"mod_ratio", &SoundRecipe::modRatio},
    {"mod_index", &SoundRecipe::modIndex},
    {"mod_decay", &SoundRecipe::modDecayPerSecond},
};

SoundRecipe recipeFrom(const Json& j) {
  SoundRecipe r;
  r.voice = voiceFrom(j.at("voice").get<std::string>());
  r.durationSeconds = j.at("duration_s").get<double>();
  for (const Json& p : j.value("partials", Json::array())) {
    r.partials.push_back({p.at("ratio").get<double>(), p.at("amplitude").get<double>(), p.value("decay", 0.0)});
  }
  for (const Json& n : j.value("notes", Json::array())) {
    r.notes.push_back({n.at("start_s").get<double>(), n.at("hz").get<double>(), n.value("gain", 1.0)});
  }
  // Every other setting is an optional number: absent keys keep the recipe's default.
  for (const auto& [key, field] : kOptionalSettings) r.*field = j.value(key, r.*field);
  r.seed = j.value("seed", r.seed);
  if (r.startHz <= 0.0 || r.endHz <= 0.0) throw std::invalid_argument("pitches must be positive");
  return r;
}

// Wraps a parser so every failure names the source file being read.
template <typename Parse>
auto parseFile(const std::string& path, Parse parse) {
  const Json j = readJson(path);
  try {
    return parse(j);
  } catch (const std::exception& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}

}  // namespace

FontStyle loadFontStyle(const std::string& path) {
  return parseFile(path, [](const Json& j) {
    FontStyle style;
    style.fontPath = j.at("font_file").get<std::string>();
    style.largestPointSize = j.value("largest_point_size", style.largestPointSize);
    style.fillTop = colourFrom(j.at("fill_top"));
    style.fillBottom = colourFrom(j.at("fill_bottom"));
    style.outline = colourFrom(j.at("outline"));
    return style;
  });
}

std::vector<NamedSound> loadSoundRecipes(const std::string& path) {
  return parseFile(path, [](const Json& j) {
    std::vector<NamedSound> sounds;
    for (const auto& [name, recipe] : j.at("sounds").items()) sounds.push_back({name, recipeFrom(recipe)});
    return sounds;
  });
}

}  // namespace contentgen
