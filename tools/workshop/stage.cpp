#include "stage.h"

#include <algorithm>
#include <filesystem>

#include "platform/path.h"
#include "skeleton/byte_reader.h"

FigurePlace placeOfFigure(const std::string& path) {
    const bool background = std::filesystem::path(path).stem() == std::string(kBackgroundFigureFolder);
    return background ? kBackgroundPlace : kPlayerPlace;
}

bool Stage::load(SDL_Renderer* renderer, const std::string& directory, const FigurePlace& where, std::string& error) {
    // The rig file is read again only to pose from its start; the game's
    // load below is what checks it and makes the limbs.
    std::vector<std::uint8_t> bytes;
    const std::string rigPath = gamePath(directory, kRigFile);
    RigFile file;
    if (!readFigureFile(rigPath, bytes, error) || !parseRig(bytes, rigPath, file, error)) {
        error = kRigLoadError + error;
        return false;
    }
    auto loaded = Character::load(renderer, directory);
    if (!loaded) {
        error = "the game refused the figure in " + directory;
        return false;
    }
    figure = std::move(loaded);
    rigFile = std::move(file);
    limbMasks.assign(static_cast<std::size_t>(std::max(rigFile.limbCount, 0)), LimbMask{});
    for (std::size_t i = 0; i < limbMasks.size(); ++i)
        limbMasks[i].load(gamePath(directory, limbFileName(static_cast<std::int32_t>(i))));
    place = where;
    poseFrame(StageClip::idle, 0);
    return true;
}

void Stage::poseFrame(StageClip which, std::int32_t shown) {
    clip = which;
    frame = shown;
    Rig& rig = figure->rig;
    rig.build(rigFile);
    placeFigure(rig, place);
    figure->attackPlaying = false;
    if (clip == StageClip::attack) {
        figure->startAttack();
    } else {
        rig.playClip(figure->idleClip);
    }
    for (std::int32_t i = 0; i < frame; ++i) rig.pose(true);
}

std::int32_t Stage::clipLength() const {
    if (!figure) return 0;
    return clip == StageClip::attack ? figure->attackClip.endFrame() : figure->idleClip.endFrame();
}

void Stage::clearToGrey(SDL_Renderer* renderer) {
    SDL_SetRenderDrawColor(renderer, kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 0);
    SDL_RenderClear(renderer);
}

void Stage::draw(SDL_Renderer* renderer) {
    clearToGrey(renderer);
    drawFigureAt(renderer, frame);
}

void Stage::drawFigureAt(SDL_Renderer* renderer, std::int32_t shown) {
    const std::int32_t kept = frame;
    poseFrame(clip, shown);
    figure->rig.render(renderer, true);
    frame = kept;
}
