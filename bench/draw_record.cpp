#include "draw_record.h"

#include <algorithm>

#include "game/game.h"
#include "loads.h"

namespace {

bench::DrawRecording* activeRecording = nullptr;

void keep(const bench::DrawCall& call) {
    if (activeRecording) activeRecording->calls.push_back(call);
}

void copyRects(bench::DrawCall& call, const SDL_Rect* source, const SDL_Rect* destination) {
    call.hasSource = source != nullptr;
    call.hasDestination = destination != nullptr;
    if (source) call.source = *source;
    if (destination) call.destination = *destination;
}

}  // namespace

extern "C" {

int __real_SDL_RenderCopy(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*);
int __real_SDL_RenderCopyEx(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*, double,
                            const SDL_Point*, SDL_RendererFlip);
int __real_SDL_SetRenderDrawColor(SDL_Renderer*, Uint8, Uint8, Uint8, Uint8);
int __real_SDL_RenderDrawRect(SDL_Renderer*, const SDL_Rect*);
int __real_SDL_RenderFillRect(SDL_Renderer*, const SDL_Rect*);

int __wrap_SDL_RenderCopy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source,
                          const SDL_Rect* destination) {
    if (activeRecording) {
        bench::DrawCall call{.op = bench::DrawOp::Copy, .texture = texture};
        copyRects(call, source, destination);
        keep(call);
    }
    return __real_SDL_RenderCopy(renderer, texture, source, destination);
}

int __wrap_SDL_RenderCopyEx(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source,
                            const SDL_Rect* destination, double angle, const SDL_Point* centre,
                            SDL_RendererFlip flip) {
    if (activeRecording) {
        bench::DrawCall call{.op = bench::DrawOp::CopyEx, .texture = texture};
        copyRects(call, source, destination);
        call.angle = angle;
        call.hasCentre = centre != nullptr;
        if (centre) call.centre = *centre;
        call.flip = flip;
        keep(call);
    }
    return __real_SDL_RenderCopyEx(renderer, texture, source, destination, angle, centre, flip);
}

int __wrap_SDL_SetRenderDrawColor(SDL_Renderer* renderer, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    if (activeRecording) keep(bench::DrawCall{.op = bench::DrawOp::SetColour, .colour = SDL_Color{r, g, b, a}});
    return __real_SDL_SetRenderDrawColor(renderer, r, g, b, a);
}

int __wrap_SDL_RenderDrawRect(SDL_Renderer* renderer, const SDL_Rect* rect) {
    if (activeRecording) {
        bench::DrawCall call{.op = bench::DrawOp::DrawRect};
        copyRects(call, nullptr, rect);
        keep(call);
    }
    return __real_SDL_RenderDrawRect(renderer, rect);
}

int __wrap_SDL_RenderFillRect(SDL_Renderer* renderer, const SDL_Rect* rect) {
    if (activeRecording) {
        bench::DrawCall call{.op = bench::DrawOp::FillRect};
        copyRects(call, nullptr, rect);
        keep(call);
    }
    return __real_SDL_RenderFillRect(renderer, rect);
}

}  // extern "C"

namespace bench {

namespace {

const SDL_Rect* sourceOf(const DrawCall& call) { return call.hasSource ? &call.source : nullptr; }
const SDL_Rect* destinationOf(const DrawCall& call) { return call.hasDestination ? &call.destination : nullptr; }

}  // namespace

void DrawRecording::replay(SDL_Renderer* renderer) const {
    for (const DrawCall& call : calls) {
        switch (call.op) {
        case DrawOp::Copy:
            SDL_RenderCopy(renderer, call.texture, sourceOf(call), destinationOf(call));
            break;
        case DrawOp::CopyEx:
            SDL_RenderCopyEx(renderer, call.texture, sourceOf(call), destinationOf(call), call.angle,
                             call.hasCentre ? &call.centre : nullptr, call.flip);
            break;
        case DrawOp::SetColour:
            SDL_SetRenderDrawColor(renderer, call.colour.r, call.colour.g, call.colour.b, call.colour.a);
            break;
        case DrawOp::DrawRect:
            SDL_RenderDrawRect(renderer, destinationOf(call));
            break;
        case DrawOp::FillRect:
            SDL_RenderFillRect(renderer, destinationOf(call));
            break;
        }
    }
}

std::size_t DrawRecording::count(DrawOp op) const {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [op](const DrawCall& call) { return call.op == op; }));
}

RecordingScope::RecordingScope(DrawRecording& recording) { activeRecording = &recording; }

RecordingScope::~RecordingScope() { activeRecording = nullptr; }

}  // namespace bench


namespace bench {

RecordedFrame recordFrame(Game& game, Canvas& canvas) {
    RecordedFrame frame;
    canvas.clear();
    {
        RecordingScope scope(frame.recording);
        game.render(canvas.renderer);
    }
    SDL_Surface* picture = canvas.copyPixels();
    canvas.clear();
    frame.recording.replay(canvas.renderer);
    frame.identical = canvas.matches(picture);
    SDL_FreeSurface(picture);
    return frame;
}

}  // namespace bench
