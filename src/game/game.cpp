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

Game::Game(SDL_Renderer* renderer, std::int32_t w, std::int32_t h) : width(w), height(h) {
    board = std::make_unique<Board>(this, soundCount);
    pieceTexture = std::make_unique<Texture>(resourcePath(kPieceSheetFile), kPieceFrameCount, renderer);
    borderTexture = std::make_unique<Texture>(resourcePath(kBorderSheetFile), 1, renderer);
    fontTexture = std::make_unique<Texture>(resourcePath(kFontSheetFile), kFontCellCount, renderer);

    player = Character::load(renderer, resourcePath(kPlayerFigureFolder));
    if (player) placeFigure(player->rig, kPlayerPlace);
    background = Character::load(renderer, resourcePath(kBackgroundFigureFolder));
    if (background) {
        // The background figure turns every bone itself, from a flat start.
        for (std::int32_t i = 0; i < background->rig.boneCount; ++i) background->rig.bones[i].angle = 0;
        placeFigure(background->rig, kBackgroundPlace);
    }

    sounds = std::make_unique<Sound[]>(soundCount);
    for (std::int32_t i = 0; i < soundCount; ++i) {
        // The mixer closes the stream itself (freesrc 1), also on failure.
        SDL_RWops* stream = SDL_RWFromFile(platform::nativePath(resourcePath(kSoundFiles[i])).c_str(), "rb");
        sounds[i].chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    }

    fillPieceStepLists();
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
