// amber-capture: plays the real game headless on a software renderer from a
// script of input events and writes chosen frames as PNG pictures. Used for
// the README's pictures and the golden-frame tests.
//
// usage: amber-capture SCRIPT
// The script is read line by line; '#' starts a comment. Commands:
//   size W H            window size (before the first frame; default 640 480)
//   at N                the following input happens before frame N (from 1)
//   move X Y            pointer motion
//   press left|right    button down
//   release left|right  button up
//   click left|right    down and up in the same frame
//   crop X Y W H        later shots and strips keep only this rectangle
//   shot N PATH         write the picture of frame N to PATH
//   strip N STEP COUNT PATH   COUNT frames from N every STEP, side by side
//   frames N            run N frames in all (default: the last shot)
// It runs in the working directory, reading resources/ like the game.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"

namespace {

struct Shot {
    int frame;
    std::string path;
    SDL_Rect crop;  // w 0: the whole frame
};

struct Strip {
    int first, step, count;
    std::string path;
    SDL_Rect crop;
    std::vector<SDL_Surface*> frames;
};

struct Script {
    int width = kWindowWidth;
    int height = kWindowHeight;
    int frames = 0;
    std::multimap<int, SDL_Event> events;
    std::vector<Shot> shots;
    std::vector<Strip> strips;
};

SDL_Event buttonEvent(Uint32 type, const std::string& name, bool& ok) {
    SDL_Event e{};
    e.type = type;
    ok = name == "left" || name == "right";
    e.button.button = name == "right" ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
    return e;
}

bool parseScript(std::istream& in, Script& script, std::string& error) {
    std::string line;
    int at = 1;
    int lineNumber = 0;
    SDL_Rect crop{0, 0, 0, 0};
    while (std::getline(in, line)) {
        ++lineNumber;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string command;
        if (!(words >> command)) continue;
        bool ok = true;
        if (command == "size") {
            ok = static_cast<bool>(words >> script.width >> script.height) && script.width > 0 && script.height > 0;
        } else if (command == "at") {
            ok = static_cast<bool>(words >> at) && at >= 1;
        } else if (command == "move") {
            SDL_Event e{};
            e.type = SDL_MOUSEMOTION;
            ok = static_cast<bool>(words >> e.motion.x >> e.motion.y);
            script.events.emplace(at, e);
        } else if (command == "press" || command == "release" || command == "click") {
            std::string name;
            words >> name;
            if (command != "release") script.events.emplace(at, buttonEvent(SDL_MOUSEBUTTONDOWN, name, ok));
            if (command != "press") script.events.emplace(at, buttonEvent(SDL_MOUSEBUTTONUP, name, ok));
        } else if (command == "crop") {
            ok = static_cast<bool>(words >> crop.x >> crop.y >> crop.w >> crop.h) && crop.w > 0 && crop.h > 0;
        } else if (command == "shot") {
            Shot shot;
            shot.crop = crop;
            ok = static_cast<bool>(words >> shot.frame >> shot.path) && shot.frame >= 1;
            script.shots.push_back(shot);
            script.frames = std::max(script.frames, shot.frame);
        } else if (command == "strip") {
            Strip strip;
            strip.crop = crop;
            ok = static_cast<bool>(words >> strip.first >> strip.step >> strip.count >> strip.path) &&
                 strip.first >= 1 && strip.step >= 1 && strip.count >= 1 && strip.count <= 64;
            script.strips.push_back(strip);
            if (ok) script.frames = std::max(script.frames, strip.first + strip.step * (strip.count - 1));
        } else if (command == "frames") {
            ok = static_cast<bool>(words >> script.frames) && script.frames >= 0;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "line " + std::to_string(lineNumber) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

bool savePng(SDL_Surface* surface, const std::string& path) {
    if (IMG_SavePNG(surface, path.c_str()) != 0) {
        std::fprintf(stderr, "amber-capture: cannot write %s: %s\n", path.c_str(), IMG_GetError());
        return false;
    }
    return true;
}

// A copy of the frame, or of the crop rectangle of it.
SDL_Surface* copyOf(SDL_Surface* surface, const SDL_Rect& crop) {
    if (crop.w <= 0) return SDL_ConvertSurfaceFormat(surface, surface->format->format, 0);
    SDL_Surface* part = SDL_CreateRGBSurfaceWithFormat(0, crop.w, crop.h, 32, surface->format->format);
    SDL_BlitSurface(surface, &crop, part, nullptr);
    return part;
}

bool saveShot(SDL_Surface* surface, const Shot& shot) {
    SDL_Surface* picture = copyOf(surface, shot.crop);
    bool ok = savePng(picture, shot.path);
    SDL_FreeSurface(picture);
    return ok;
}

bool writeStrip(Strip& strip) {
    if (strip.frames.empty()) return false;
    const int w = strip.frames[0]->w, h = strip.frames[0]->h;
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, w * static_cast<int>(strip.frames.size()), h, 32,
                                                        strip.frames[0]->format->format);
    for (size_t i = 0; i < strip.frames.size(); ++i) {
        SDL_Rect to{static_cast<int>(i) * w, 0, w, h};
        SDL_BlitSurface(strip.frames[i], nullptr, sheet, &to);
        SDL_FreeSurface(strip.frames[i]);
    }
    strip.frames.clear();
    bool ok = savePng(sheet, strip.path);
    SDL_FreeSurface(sheet);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: amber-capture SCRIPT\n");
        return 2;
    }
    std::ifstream file(argv[1]);
    if (!file) {
        std::fprintf(stderr, "amber-capture: cannot open %s\n", argv[1]);
        return 2;
    }
    Script script;
    std::string error;
    if (!parseScript(file, script, error)) {
        std::fprintf(stderr, "amber-capture: %s: %s\n", argv[1], error.c_str());
        return 2;
    }

    // No alpha channel: the game clears and draws with alpha values that a
    // window ignores, and the pictures must look like the window.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, script.width, script.height, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = surface ? SDL_CreateSoftwareRenderer(surface) : nullptr;
    if (!renderer) {
        std::fprintf(stderr, "amber-capture: no software renderer: %s\n", SDL_GetError());
        return 1;
    }
    Application app;
    app.width = script.width;
    app.height = script.height;
    app.renderer = renderer;
    app.game = std::make_unique<Game>(renderer, script.width, script.height);

    bool ok = true;
    for (int frame = 1; frame <= script.frames; ++frame) {
        auto [first, last] = script.events.equal_range(frame);
        for (auto it = first; it != last; ++it) app.handleEvent(it->second);
        app.game->update();
        sweepReleases(*app.game);
        SDL_RenderClear(renderer);
        app.game->render(renderer);
        for (const Shot& shot : script.shots) {
            if (shot.frame == frame) ok = saveShot(surface, shot) && ok;
        }
        for (Strip& strip : script.strips) {
            int since = frame - strip.first;
            if (since >= 0 && since % strip.step == 0 && since / strip.step < strip.count) {
                strip.frames.push_back(copyOf(surface, strip.crop));
                if (static_cast<int>(strip.frames.size()) == strip.count) ok = writeStrip(strip) && ok;
            }
        }
    }
    app.game.reset();
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
    return ok ? 0 : 1;
}
