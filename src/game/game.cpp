#include "game/game.h"

#include "platform/path.h"

namespace {

static_assert(kSoundFiles.size() == kSoundCount);

}  // namespace

void placeFigure(Rig& rig, const FigurePlace& place) {
    rig.root->offsetX = place.rootX;
    rig.root->offsetY = place.rootY;
    for (std::int32_t i = 0; i < rig.boneCount; ++i) {
        rig.bones[i].scale = static_cast<float>(static_cast<double>(rig.bones[i].scale) * place.scale);
    }
}

Sound::~Sound() {
    if (chunk) Mix_FreeChunk(chunk);
}

Game::Game(SDL_Renderer* renderer, std::int32_t w, std::int32_t h) : Game(InSteps{}, w, h) {
    while (loadNext(renderer)) {
    }
}

Game::Game(InSteps, std::int32_t w, std::int32_t h) : width(w), height(h) {}

namespace {

// The order matters: the board draws its first two colours from the game's
// random numbers before anything else may.
enum LoadPart : std::int32_t {
    kLoadBoard,
    kLoadPieceSheet,
    kLoadBorderSheet,
    kLoadFontSheet,
    kLoadPlayer,
    kLoadBackground,
    kLoadFirstSound,
    kLoadStepLists = kLoadFirstSound + kSoundCount,
};
static_assert(kLoadStepLists + 1 == kLoadParts);

constexpr const char* kLoadPartNames[kLoadParts] = {
    "board", "piece sheet", "border sheet", "font sheet", "player figure", "background figure",
    "sound 1", "sound 2", "sound 3", "sound 4", "step lists",
};

}  // namespace

const char* Game::nextLoadName() const { return partsLoaded < kLoadParts ? kLoadPartNames[partsLoaded] : ""; }

bool Game::loadNext(SDL_Renderer* renderer) {
    const std::int32_t part = partsLoaded;
    if (part >= kLoadParts) return false;
    ++partsLoaded;
    switch (part) {
    case kLoadBoard:
        board = std::make_unique<Board>(this, soundCount);
        return true;
    case kLoadPieceSheet:
        pieceTexture = std::make_unique<Texture>(resourcePath(kPieceSheetFile), kPieceFrameCount, renderer);
        return true;
    case kLoadBorderSheet:
        borderTexture = std::make_unique<Texture>(resourcePath(kBorderSheetFile), 1, renderer);
        return true;
    case kLoadFontSheet:
        fontTexture = std::make_unique<Texture>(resourcePath(kFontSheetFile), kFontCellCount, renderer);
        return true;
    case kLoadPlayer:
        player = Character::load(renderer, resourcePath(kPlayerFigureFolder));
        if (player) placeFigure(player->rig, kPlayerPlace);
        return true;
    case kLoadBackground:
        background = Character::load(renderer, resourcePath(kBackgroundFigureFolder));
        if (background) {
            // The background figure turns every bone itself, from a flat start.
            for (std::int32_t i = 0; i < background->rig.boneCount; ++i) background->rig.bones[i].angle = 0;
            placeFigure(background->rig, kBackgroundPlace);
        }
        return true;
    case kLoadStepLists:
        fillPieceStepLists();
        return true;
    default: {
        const std::int32_t i = part - kLoadFirstSound;
        if (i == 0) sounds = std::make_unique<Sound[]>(soundCount);
        if (i >= soundCount) return true;
        // The mixer closes the stream itself (freesrc 1), also on failure.
        SDL_RWops* stream = SDL_RWFromFile(platform::nativePath(resourcePath(kSoundFiles[i])).c_str(), "rb");
        sounds[i].chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
        return true;
    }
    }
}

Game::~Game() = default;

void Game::remakeTextures(SDL_Renderer* renderer) {
    for (Texture* sheet : {pieceTexture.get(), borderTexture.get(), fontTexture.get()}) sheet->reload(renderer);
    for (Character* figure : {player.get(), background.get()}) {
        if (figure) figure->rig.remakeLimbTextures(renderer);
    }
}

void Game::playSound(std::int32_t i) {
    if (i < 0 || i >= soundCount) return;
    // The mixer refuses a null chunk by itself; checking first keeps its error
    // text untouched.
    if (sounds[i].chunk) Mix_PlayChannelTimed(-1, sounds[i].chunk, 0, -1);
}

SDL_Rect boardAreaFor(std::int32_t width, std::int32_t height, std::int32_t rowCount) {
    return SDL_Rect{kBorderTileSize, height - kBorderTileSize - kCellSize * rowCount,
                    width - 2 * kBorderTileSize, kCellSize * rowCount};
}
