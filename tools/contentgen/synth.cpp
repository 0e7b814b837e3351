#include "synth.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "noise.h"

namespace contentgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kNoteAttackSeconds = 0.004;  // softens each chime strike so it does not tick

// Raised-cosine rise from 0 to 1 over `length` seconds: no corner, so no click.
double smoothRise(double t, double length) {
  if (t >= length) return 1.0;
  return 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * t / length);
}

double secondsAt(std::size_t i) { return static_cast<double>(i) / kSampleRate; }

// Glide from `from` towards `to`, covering most of the way at `rate`.
double glideHz(double from, double to, double rate, double t) {
  return to + (from - to) * std::exp(-rate * t);
}

double partialsAt(const std::vector<Partial>& partials, double phase, double t) {
  double sum = 0.0;
  for (const Partial& p : partials) {
    sum += p.amplitude * std::exp(-p.decayPerSecond * t) * std::sin(phase * p.ratio);
  }
  return sum;
}

void renderChime(const SoundRecipe& r, std::vector<float>& out) {
  for (const ChimeNote& note : r.notes) {
    const auto first = static_cast<std::size_t>(std::max(0.0, note.startSeconds) * kSampleRate);
    for (std::size_t i = first; i < out.size(); ++i) {
      const double t = secondsAt(i - first);
      const double attack = smoothRise(t, kNoteAttackSeconds);
      out[i] += static_cast<float>(note.gain * attack * partialsAt(r.partials, kTwoPi * note.frequencyHz * t, t));
    }
  }
}

void renderThud(const SoundRecipe& r, std::vector<float>& out) {
  NoiseSource noise = makeNoiseSource(r.seed);
  const double alpha = 1.0 - std::exp(-kTwoPi * r.noiseCutoffHz / kSampleRate);
  double phase = 0.0, stage1 = 0.0, lowpassed = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = secondsAt(i);
    phase += kTwoPi * glideHz(r.startHz, r.endHz, r.glidePerSecond, t) / kSampleRate;
    // Two low-pass stages: a single one lets enough hiss through to sound like a slap.
    stage1 += alpha * (nextNoise(noise) - stage1);
    lowpassed += alpha * (stage1 - lowpassed);
    const double body = std::exp(-r.ampDecayPerSecond * t) * std::sin(phase);
    const double puff = r.noiseLevel * std::exp(-r.noiseDecayPerSecond * t) * lowpassed;
    out[i] = static_cast<float>(body + puff);
  }
}

void renderFallingTone(const SoundRecipe& r, std::vector<float>& out) {
  // Exponential pitch path from startHz to endHz over the whole sound, so each
  // step down sounds the same size to the ear.
  const double ratio = std::log(r.endHz / r.startHz) / r.durationSeconds;
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = secondsAt(i);
    const double wobble = 1.0 + r.vibratoDepth * std::sin(kTwoPi * r.vibratoHz * t);
    phase += kTwoPi * r.startHz * std::exp(ratio * t) * wobble / kSampleRate;
    out[i] = static_cast<float>(std::exp(-r.ampDecayPerSecond * t) * partialsAt(r.partials, phase, 0.0));
  }
}

void renderZap(const SoundRecipe& r, std::vector<float>& out) {
  double carrier = 0.0, modulator = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = secondsAt(i);
    const double hz = glideHz(r.startHz, r.endHz, r.glidePerSecond, t);
    carrier += kTwoPi * hz / kSampleRate;
    modulator += kTwoPi * hz * r.modRatio / kSampleRate;
    const double index = r.modIndex * std::exp(-r.modDecayPerSecond * t);
    out[i] = static_cast<float>(std::exp(-r.ampDecayPerSecond * t) * std::sin(carrier + index * std::sin(modulator)));
  }
}

void applyFades(const SoundRecipe& r, std::vector<float>& out) {
  const std::size_t n = out.size();
  const auto fadeIn = std::max<std::size_t>(1, static_cast<std::size_t>(r.fadeInSeconds * kSampleRate));
  const auto fadeOut = std::max<std::size_t>(1, static_cast<std::size_t>(r.fadeOutSeconds * kSampleRate));
  for (std::size_t i = 0; i < n; ++i) {
    double gain = 1.0;
    if (i < fadeIn) gain *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / fadeIn);
    const std::size_t fromEnd = n - 1 - i;
    if (fromEnd < fadeOut) gain *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * fromEnd / fadeOut);
    out[i] = static_cast<float>(out[i] * gain);
  }
}

void normalise(double targetDbfs, std::vector<float>& out) {
  float peak = 0.0f;
  for (float s : out) peak = std::max(peak, std::abs(s));
  if (peak <= 0.0f) return;
  const double gain = std::pow(10.0, targetDbfs / 20.0) / peak;
  for (float& s : out) s = static_cast<float>(s * gain);
}

}  // namespace

std::vector<float> synthesise(const SoundRecipe& recipe) {
  if (!(recipe.durationSeconds > 0.0)) throw std::invalid_argument("a sound needs a positive length");
  if (recipe.peakDbfs > 0.0) throw std::invalid_argument("a sound may not peak above full scale");
  std::vector<float> out(static_cast<std::size_t>(std::lround(recipe.durationSeconds * kSampleRate)), 0.0f);
  switch (recipe.voice) {
    case Voice::Chime: renderChime(recipe, out); break;
    case Voice::Thud: renderThud(recipe, out); break;
    case Voice::FallingTone: renderFallingTone(recipe, out); break;
    case Voice::Zap: renderZap(recipe, out); break;
  }
  applyFades(recipe, out);
  normalise(recipe.peakDbfs, out);
  return out;
}

double peakDbfs(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (float s : samples) peak = std::max(peak, std::abs(s));
  if (peak <= 0.0f) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(peak);
}

}  // namespace contentgen
