#pragma once
// What the figure fuzzers and the replay of their findings check for one
// input: the loaders must accept or refuse it cleanly, an accepted file must
// survive encoding and parsing again unchanged, and a rig or clip built from
// it must pose and play without fault. Each returns normally; a fault shows
// up as a crash or a sanitizer report, or as std::abort on a broken promise.
#include <cstddef>
#include <cstdint>

// A rig file's bytes.
void checkRigBytes(const std::uint8_t* data, std::size_t size);

// A clip: the first byte chooses the rig's bone count (1 to 64), the rest is
// the clip file's bytes.
void checkClipBytes(const std::uint8_t* data, std::size_t size);
