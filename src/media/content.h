#pragma once
// What the game and its content tools agree on: where each resource file lies
// and what it is called, how the sheets are laid out, the colour that is
// see-through, the audio format, and the first words of the loaders' error
// lines. Plain values and no SDL, so every tool can include it; a change here
// changes the files the tools write and the game reads together.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Pixels of exactly this colour are transparent in every sheet the game loads;
// pure black stays opaque.
inline constexpr std::uint8_t kColourKeyRed = 0;
inline constexpr std::uint8_t kColourKeyGreen = 0;
inline constexpr std::uint8_t kColourKeyBlue = 1;

// The piece sheet: one frame per cell value, colours 0..5 then the special block.
inline constexpr std::int32_t kPieceFrameCount = 7;
inline constexpr std::int32_t kPieceFrameSize = 32;  // pixels, square frames
// The font sheet: 'a'..'z', '0'..'9', then one blank cell, each a square of
// kFontCellSize pixels.
inline constexpr std::int32_t kFontCellCount = 37;
inline constexpr std::int32_t kFontCellSize = 16;
// The border sheet: one square tile, pixels.
inline constexpr std::int32_t kBorderTileSize = 32;

// The sound format: what the mixer opens, and the sound files' rate.
inline constexpr std::int32_t kSampleRate = 44100;     // Hz
inline constexpr std::uint16_t kAudioFormat = 0x8010;  // signed 16-bit little-endian (SDL's AUDIO_S16LSB)
inline constexpr std::int32_t kAudioChannels = 2;
inline constexpr std::int32_t kAudioChunkSize = 2048;  // samples per mixing chunk
// The sound files: mono IMA ADPCM WAVs at kSampleRate, four bits a sample, a
// quarter of 16-bit mono's bytes (the browser page downloads them). The mixer
// widens each to its own format as it loads it, with no change of rate. A
// file holds whole blocks of 10 ms, each starting on an exact sample, so
// every effect lasting whole hundredths of a second is played to its last
// sample: the loader drops a partial last block and ignores the fact chunk.
inline constexpr std::uint16_t kSoundFileEncoding = 0x0011;  // WAVE_FORMAT_IMA_ADPCM
inline constexpr std::int32_t kSoundFileChannels = 1;
inline constexpr std::int32_t kSoundFileBlockSamples = 441;  // 10 ms at kSampleRate
inline constexpr std::int32_t kSoundFileBlockBytes = 224;    // its exact first sample, step index, 440 codes

// Content paths are written with this separator on every platform; the game
// turns it into the platform's own when it opens a file.
inline constexpr char kGameSeparator = '\\';
// The folder under the working directory that holds every resource.
inline constexpr std::string_view kResourceFolder = "resources";
// Files in the resource folder.
inline constexpr std::string_view kPieceSheetFile = "debug.bmp";
inline constexpr std::string_view kBorderSheetFile = "border.bmp";
inline constexpr std::string_view kFontSheetFile = "courier.bmp";
// Sound effects by index: a match, a piece sticks, a life lost, a special shot.
inline constexpr std::array<std::string_view, 4> kSoundFiles = {"s1.wav", "s2.wav", "s3.wav", "s4.wav"};
// The two figures' folders in the resource folder.
inline constexpr std::string_view kPlayerFigureFolder = "wendle";
inline constexpr std::string_view kBackgroundFigureFolder = "debugman";
// Files in each figure's folder; the limb images are limbFileName(0) onwards.
inline constexpr std::string_view kRigFile = "body.jrig";
inline constexpr std::string_view kIdleClipFile = "idle.janim";
inline constexpr std::string_view kAttackClipFile = "attack.janim";

// "limb<i>.bmp", the image of limb i of a figure.
inline std::string limbFileName(std::int32_t limb) { return "limb" + std::to_string(limb) + ".bmp"; }

// "<folder>\<name>": a game path one level deeper than folder.
inline std::string gamePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += kGameSeparator;
    path += name;
    return path;
}

// "resources\<name>": a file or folder of the resource folder as a game path.
inline std::string resourcePath(std::string_view name) { return gamePath(kResourceFolder, name); }

// The start of the error line of each refused resource; the reason follows.
inline constexpr const char* kSurfaceLoadError = "Surface initialization error! : ";
inline constexpr const char* kRigLoadError = "Rig loading error! : ";
inline constexpr const char* kClipLoadError = "Clip loading error! : ";
