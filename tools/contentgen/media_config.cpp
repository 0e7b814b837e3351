#include "media_config.h"

#include <fstream>
#include <stdexcept>

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

SoundRecipe recipeFrom(const Json& j) {
  SoundRecipe r;
  r.voice = voiceFrom(j.at("voice").get<std::string>());
  r.durationSeconds = j.at("duration_s").get<double>();
  r.peakDbfs = j.value("peak_dbfs", r.peakDbfs);
  r.fadeInSeconds = j.value("fade_in_s", r.fadeInSeconds);
  r.fadeOutSeconds = j.value("fade_out_s", r.fadeOutSeconds);
  for (const Json& p : j.value("partials", Json::array())) {
    r.partials.push_back({p.at("ratio").get<double>(), p.at("amplitude").get<double>(), p.value("decay", 0.0)});
  }
  for (const Json& n : j.value("notes", Json::array())) {
    r.notes.push_back({n.at("start_s").get<double>(), n.at("hz").get<double>(), n.value("gain", 1.0)});
  }
  r.startHz = j.value("start_hz", r.startHz);
  r.endHz = j.value("end_hz", r.endHz);
  r.glidePerSecond = j.value("glide", r.glidePerSecond);
  r.ampDecayPerSecond = j.value("amp_decay", r.ampDecayPerSecond);
  r.noiseLevel = j.value("noise_level", r.noiseLevel);
  r.noiseCutoffHz = j.value("noise_cutoff_hz", r.noiseCutoffHz);
  r.noiseDecayPerSecond = j.value("noise_decay", r.noiseDecayPerSecond);
  r.vibratoHz = j.value("vibrato_hz", r.vibratoHz);
  r.vibratoDepth = j.value("vibrato_depth", r.vibratoDepth);
  r.modRatio = j.value("mod_ratio", r.modRatio);
  r.modIndex = j.value("mod_index", r.modIndex);
  r.modDecayPerSecond = j.value("mod_decay", r.modDecayPerSecond);
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
