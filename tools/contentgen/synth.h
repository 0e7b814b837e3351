#pragma once

#include <cstdint>
#include <vector>

#include "media/content.h"  // kSampleRate, what the game's mixer opens

namespace contentgen {

// Which instrument a sound effect is played on.
enum class Voice {
  Chime,        // struck bell partials, one or more notes
  Thud,         // low sine that drops in pitch, with a puff of muffled noise
  FallingTone,  // a wobbling tone sliding down
  Zap           // fast downward FM sweep
};

// One overtone of a tone: frequency as a multiple of the note, relative level,
// and how fast it dies away (1/s; amplitude falls as exp(-decay * t)).
struct Partial {
  double ratio = 1.0;
  double amplitude = 1.0;
  double decayPerSecond = 0.0;
};

// One struck note of a chime.
struct ChimeNote {
  double startSeconds = 0.0;
  double frequencyHz = 440.0;
  double gain = 1.0;
};

// Everything needed to synthesise one effect. Fields a voice does not use are ignored.
struct SoundRecipe {
  Voice voice = Voice::Chime;
  double durationSeconds = 0.3;
  double peakDbfs = -3.0;           // loudest sample after normalising, dB below full scale
  double fadeInSeconds = 0.002;     // raised-cosine fades keep the ends click-free
  double fadeOutSeconds = 0.02;
  std::vector<Partial> partials;    // chime / falling tone timbre
  std::vector<ChimeNote> notes;     // chime
  double startHz = 440.0;           // pitch at the start of a glide
  double endHz = 220.0;             // pitch the glide heads for
  double glidePerSecond = 10.0;     // thud / zap: exponential approach rate, 1/s
  double ampDecayPerSecond = 5.0;   // thud / falling tone / zap body decay, 1/s
  double noiseLevel = 0.0;          // thud: noise relative to the tone
  double noiseCutoffHz = 800.0;     // thud: one-pole low-pass on the noise
  double noiseDecayPerSecond = 40.0;
  double vibratoHz = 0.0;           // falling tone wobble
  double vibratoDepth = 0.0;        // fraction of the pitch
  double modRatio = 1.0;            // zap: modulator frequency / carrier frequency
  double modIndex = 0.0;            // zap: peak phase deviation, radians
  double modDecayPerSecond = 0.0;   // zap: how fast the buzz clears
  std::uint32_t seed = 1;           // noise stream
};

// Renders one effect as mono samples at kSampleRate: durationSeconds long
// (rounded to whole samples), faded to exactly zero at both ends and scaled so
// the peak sits at peakDbfs. Throws std::invalid_argument for a non-positive
// duration or a peak above 0 dBFS.
std::vector<float> synthesise(const SoundRecipe& recipe);

// Largest absolute sample in dB relative to full scale (1.0); -inf for silence.
double peakDbfs(const std::vector<float>& samples);

}  // namespace contentgen
