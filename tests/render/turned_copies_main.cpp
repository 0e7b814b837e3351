// amber-turned-copies: many turned and scaled copies drawn by SDL's software
// renderer, clipped, far off the picture and far larger than it, summed into
// one digest of every frame's pixels. The browser's SDL draws turned copies
// with its own patched code (scripts/web/deps/); built for the browser and
// run in node, this must print the digest that the native build, on Debian's
// unpatched SDL, prints.
// usage: amber-turned-copies [FRAMES]
// Its own plain main, on every platform.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A small fixed generator: the same copies on every platform.
struct Dice {
    std::uint32_t state = 12345;
    int roll(int low, int high) {
        state = state * 1664525u + 1013904223u;
        return low + static_cast<int>((state >> 8) % static_cast<std::uint32_t>(high - low + 1));
    }
};

constexpr int kSheetSizes[][2] = {{40, 73}, {17, 9}, {128, 64}};

// A picture of random pixels, one in six the colour key, made into a
// texture as the game makes its sheets.
SDL_Texture* randomSheet(SDL_Renderer* renderer, Dice& dice, int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    auto* pixels = static_cast<std::uint32_t*>(surface->pixels);
    for (int i = 0; i < width * height; ++i) {
        pixels[i] = dice.roll(0, 5) == 0 ? 0xff00ffu : static_cast<std::uint32_t>(dice.roll(0, 0xffffff));
    }
    SDL_SetColorKey(surface, SDL_TRUE, 0xff00ffu);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    return texture;
}

// Quarter turns (SDL's own path for them), whole degrees, and fractions.
double randomAngle(Dice& dice) {
    const int kind = dice.roll(0, 2);
    if (kind == 0) return 90.0 * dice.roll(-8, 8);
    if (kind == 1) return dice.roll(-720, 720);
    return dice.roll(-3600000, 3600000) / 10000.0;
}

// Four copies: blended or added, faded or tinted, part or whole of a sheet,
// scaled to up to 2500 pixels, anywhere on or off the picture, about any
// centre; a clip rectangle one frame in four.
void drawFrame(SDL_Renderer* renderer, SDL_Texture* const* sheets, Dice& dice) {
    SDL_SetRenderDrawColor(renderer, 20, 30, 40, 255);
    SDL_RenderClear(renderer);
    if (dice.roll(0, 3) == 0) {
        const SDL_Rect clip{dice.roll(0, 200), dice.roll(0, 200), dice.roll(1, 300), dice.roll(1, 300)};
        SDL_RenderSetClipRect(renderer, &clip);
    } else {
        SDL_RenderSetClipRect(renderer, nullptr);
    }
    for (int copy = 0; copy < 4; ++copy) {
        const int sheet = dice.roll(0, 2);
        SDL_Texture* texture = sheets[sheet];
        SDL_SetTextureBlendMode(texture, dice.roll(0, 4) == 0 ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
        SDL_SetTextureAlphaMod(texture, dice.roll(0, 2) ? 255 : dice.roll(0, 255));
        SDL_SetTextureColorMod(texture, 255, dice.roll(0, 1) ? 255 : dice.roll(0, 255), 255);
        SDL_Rect source{0, 0, kSheetSizes[sheet][0], kSheetSizes[sheet][1]};
        if (dice.roll(0, 3) == 0) {
            source.x = dice.roll(0, source.w - 1);
            source.y = dice.roll(0, source.h - 1);
            source.w = dice.roll(1, source.w - source.x);
            source.h = dice.roll(1, source.h - source.y);
        }
        const int largest = dice.roll(0, 5) == 0 ? 2500 : 300;
        SDL_Rect target{};
        target.w = dice.roll(0, 3) == 0 ? source.w : dice.roll(1, largest);
        target.h = dice.roll(0, 3) == 0 ? source.h : dice.roll(1, largest);
        target.x = dice.roll(-target.w - 100, 500);
        target.y = dice.roll(-target.h - 100, 560);
        const double angle = randomAngle(dice);
        SDL_Point centre{dice.roll(-target.w, 2 * target.w), dice.roll(-target.h, 2 * target.h)};
        if (dice.roll(0, 1)) centre = SDL_Point{target.w / 2, target.h / 2};
        SDL_RenderCopyEx(renderer, texture, &source, &target, angle, dice.roll(0, 3) ? &centre : nullptr,
                         SDL_FLIP_NONE);
    }
    SDL_RenderFlush(renderer);
}

// FNV-1a over the picture's colour bytes, row by row (the pitch's padding left out).
std::uint64_t addToDigest(std::uint64_t digest, const SDL_Surface* picture) {
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(picture->pixels) + y * picture->pitch;
        for (int i = 0; i < picture->w * 4; ++i) digest = (digest ^ row[i]) * 0x100000001b3ULL;
    }
    return digest;
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 412, 480, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = picture ? SDL_CreateSoftwareRenderer(picture) : nullptr;
    if (!renderer) {
        std::printf("no software renderer: %s\n", SDL_GetError());
        return 1;
    }
    Dice dice;
    SDL_Texture* sheets[3];
    for (int i = 0; i < 3; ++i) sheets[i] = randomSheet(renderer, dice, kSheetSizes[i][0], kSheetSizes[i][1]);
    std::uint64_t digest = 0xcbf29ce484222325ULL;
    for (int frame = 0; frame < frames; ++frame) {
        drawFrame(renderer, sheets, dice);
        digest = addToDigest(digest, picture);
    }
    std::printf("turned copies digest 0x%016" PRIx64 " over %d frames\n", digest, frames);
    return 0;
}
