#pragma once
// Bitmap-font text: which font cell stands for a byte, where each glyph goes,
// and decimal numbers. Pure logic, no SDL calls, so it is tested directly.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "media/content.h"

inline constexpr std::int32_t kBlankCell = 36;  // spaces, punctuation, capitals, line feeds

// Font cell for a byte: 'a'..'z' -> 0..25, '0'..'9' -> 26..35, anything else 36.
constexpr std::int32_t glyphCell(char c) {
    // Compared as signed bytes, so 128..255 land on the blank cell.
    const signed char s = static_cast<signed char>(c);
    if (s >= 'a' && s <= 'z') return s - 'a';
    if (s >= '0' && s <= '9') return s - '0' + 26;
    return kBlankCell;
}

// One glyph of laid-out text: its font cell and its size x size destination.
struct GlyphPlacement {
    std::int32_t cell;
    SDL_Rect destination;
};

// Calls emit(GlyphPlacement) once per byte of text, first to last. A line feed
// is placed (as the blank cell) at the end of the line it closes; the next
// byte starts one size lower at x. Allocates nothing.
template <typename Emit>
void layoutText(std::string_view text, std::int32_t size, std::int32_t x, std::int32_t y, Emit&& emit) {
    std::int32_t column = -1;
    std::int32_t lineOffset = 0;
    for (char c : text) {
        ++column;
        GlyphPlacement glyph{glyphCell(c), SDL_Rect{x + column * size, y + lineOffset, size, size}};
        if (c == '\n') {
            column = -1;
            lineOffset += size;
        }
        emit(glyph);
    }
}

// Plain decimal text of value: "0" for 0, digits without sign or padding for
// positive values, and the empty string for negative values (the game only
// shows counts).
std::string intToString(std::int32_t value);
