#include "workshop_window.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/application.h"
#include "bone_edits.h"
#include "figure_document.h"
#include "limb_watch.h"
#include "onion_skin.h"
#include "skeleton/pose.h"
#include "stage.h"
#include "stage_handles.h"
#include "timeline_panel.h"

namespace {

constexpr int kWorkshopWidth = 1280;  // pixels: the panel, the game's whole picture at 1x, the checks
constexpr int kWorkshopHeight = 760;
constexpr int kPanelWidth = 300;
constexpr int kTimelineHeight = 240;  // under the stage
constexpr int kStageAreaHeight = kWorkshopHeight - kTimelineHeight;

// What the window shows and plays, apart from the figure itself.
struct View {
    int zoom = 1;                 // 1, 2 or 4
    bool onion = false;           // the frames before and after shown faint
    OnionSkin onionSkin;
    bool playing = false;
    int slowdown = 1;             // 1, 2 or 4: the game's speed, half, a quarter
    std::uint32_t lastStepMs = 0;
    std::string stageError;       // why the stage is empty, when it is
    std::string saveMessage;      // what the last save did
    std::string boneMessage;      // why the last add, delete or re-hang was refused
    std::string limbNote;         // set while a changed limb picture cannot be drawn
    int selected = 0;             // the bone whose fields are shown
    RigFile editing;              // the rig last accepted, whose fields the panel edits
    // A drag on the stage: what it moves, where it began (stage pixels), the
    // bone's record and its pose (and its parent's) when it began.
    DragKind drag = DragKind::none;
    float dragFromX = 0, dragFromY = 0;
    BoneRecord dragRecord;
    Bone dragBone, dragParent;
    bool dragEdited = false;      // a move of this drag is in the undo stack already
    // The mouse in the window, from SDL's own motion events: ImGui's SDL
    // backend reads the pointer's global place while a button is held, which
    // some X servers (Xvfb among them) leave where the press was.
    ImVec2 mouse;
    TimelineView timeline;
};

constexpr float kHandleReach = 8.0f;  // window pixels from a handle that still grab it

// The stage loads every edit from a scratch folder; --out gets the game's
// files only when the figure is saved.
std::filesystem::path scratchFolderFor(const FigureDocument& document) {
    return std::filesystem::temp_directory_path() / ("amber-workshop-" + std::to_string(getpid())) /
           std::filesystem::path(document.source).stem();
}

// Builds the figure's files and loads them onto the stage as the game would.
void rebuildStage(SDL_Renderer* renderer, const FigureDocument& document, const std::filesystem::path& folder,
                  Stage& stage, View& view) {
    std::string error;
    if (document.refusal.empty()) view.editing = document.compiled.rig;
    const StageClip clip = stage.clip;
    const std::int32_t frame = stage.frame;
    if (!document.writeGameFiles(folder, error) || !stage.load(renderer, folder.string(), placeOfFigure(document.source), error)) {
        view.stageError = error;
        return;
    }
    view.stageError.clear();
    // An edit keeps the frame in sight.
    stage.clip = clip;
    stage.poseFrame(clip, std::clamp(frame, 0, std::max(stage.clipLength() - 1, 0)));
}

// The bone and its children as an open tree; clicking a name selects it.
void drawBoneTree(const FigureDocument& document, const RigFile& rig, std::size_t bone, int depth, View& view) {
    if (bone >= rig.bones.size() || depth > static_cast<int>(rig.bones.size())) return;
    const std::string label = document.boneName(bone) + "##" + std::to_string(bone);
    const bool leaf = rig.bones[bone].children.empty();
    ImGuiTreeNodeFlags flags = ImGuiTreeNodeFlags_DefaultOpen | ImGuiTreeNodeFlags_OpenOnArrow;
    if (leaf) flags |= ImGuiTreeNodeFlags_Leaf;
    if (view.selected == static_cast<int>(bone)) flags |= ImGuiTreeNodeFlags_Selected;
    const bool open = ImGui::TreeNodeEx(label.c_str(), flags);
    if (ImGui::IsItemClicked()) view.selected = static_cast<int>(bone);
    if (!open) return;
    for (std::int32_t child : rig.bones[bone].children) drawBoneTree(document, rig, child, depth + 1, view);
    ImGui::TreePop();
}

// The selected bone's numbers; an edit goes into the figure text and the
// figure is checked again. Returns whether anything was edited.
bool drawBoneFields(FigureDocument& document, View& view) {
    if (view.selected < 0 || view.selected >= static_cast<int>(view.editing.bones.size())) return false;
    BoneRecord& bone = view.editing.bones[view.selected];
    int pivot[2] = {bone.pivotX, bone.pivotY};
    int offset[2] = {bone.offsetX, bone.offsetY};
    int limb = bone.limbIndex, layer = bone.layer;
    float angle = bone.angle;
    bool edited = ImGui::InputInt2("pivot", pivot);
    edited |= ImGui::InputInt2("offset", offset);
    edited |= ImGui::InputFloat("angle", &angle, 0.05f, 0.5f, "%.4f rad");
    ImGui::Text("        = %.2f degrees", static_cast<double>(angle) * kDegreesPerRadian);
    edited |= ImGui::InputInt("limb", &limb);
    edited |= ImGui::InputInt("layer", &layer);
    if (!edited) return false;
    bone.pivotX = pivot[0];
    bone.pivotY = pivot[1];
    bone.offsetX = offset[0];
    bone.offsetY = offset[1];
    bone.angle = angle;
    bone.limbIndex = static_cast<std::uint8_t>(std::clamp(limb, 0, 255));
    bone.layer = static_cast<std::uint8_t>(std::clamp(layer, 0, 255));
    document.setBone(static_cast<std::size_t>(view.selected), bone);
    return true;
}

// Adding a child to the selected bone, deleting its branch, and hanging it
// from another bone, each one edit. Returns whether the figure was edited.
bool drawTreeEdits(FigureDocument& document, View& view) {
    const std::size_t selected = static_cast<std::size_t>(view.selected);
    std::string error;
    bool edited = false;
    if (ImGui::Button("add a bone below")) {
        const int added = document.addBone(selected, error);
        if (added >= 0) view.selected = added;
        edited = added >= 0;
    }
    // Its own line: beside "add a bone below" it runs past the panel's edge.
    if (ImGui::Button("delete with its branch") && (edited = document.deleteBone(selected, error))) view.selected = 0;
    const int parent = parentInText(document.text, selected);
    const std::string hangsFrom = parent < 0 ? "(none)" : document.boneName(static_cast<std::size_t>(parent));
    if (ImGui::BeginCombo("hangs from", hangsFrom.c_str())) {
        for (std::size_t b = 0; b < view.editing.bones.size(); ++b) {
            const std::string label = document.boneName(b) + "##parent" + std::to_string(b);
            if (ImGui::Selectable(label.c_str(), static_cast<int>(b) == parent) && static_cast<int>(b) != parent)
                edited = document.reparentBone(selected, b, error);
        }
        ImGui::EndCombo();
    }
    if (edited || !error.empty()) view.boneMessage = error;
    if (!view.boneMessage.empty()) ImGui::TextColored(ImVec4(1, 0.6f, 0.3f, 1), "%s", view.boneMessage.c_str());
    return edited;
}

// One frame of playback: the idle loops, the attack plays once and the idle
// comes back, as in the game.
void stepPlayback(Stage& stage) {
    const std::int32_t next = stage.frame + 1;
    if (next < stage.clipLength()) {
        stage.frame = next;
    } else {
        stage.clip = StageClip::idle;
        stage.frame = 0;
    }
}

// Saves the source and, with --out, the game's files, saying what was done.
void saveFigure(FigureDocument& document, const WorkshopOptions& options, View& view) {
    std::string error;
    const std::filesystem::path out = options.outDirectory;
    const bool saved = document.save(options.outDirectory.empty() ? nullptr : &out, error);
    view.saveMessage = saved ? (options.outDirectory.empty() ? "saved" : "saved, game files written to " +
                                                                             options.outDirectory)
                             : error;
}

// Save, undo and redo, as buttons and as the usual keys. Returns whether the
// figure text changed.
bool drawFileButtons(FigureDocument& document, const WorkshopOptions& options, View& view) {
    if (ImGui::Button(document.modified() ? "save *" : "save")) saveFigure(document, options, view);
    ImGui::SameLine();
    bool changed = false;
    if (ImGui::Button("undo")) changed |= document.undo();
    ImGui::SameLine();
    if (ImGui::Button("redo")) changed |= document.redo();
    ImGui::SameLine();
    ImGui::TextDisabled("%zu / %zu", document.undoStates.size(), document.redoStates.size());
    if (!view.saveMessage.empty()) ImGui::TextWrapped("%s", view.saveMessage.c_str());
    return changed;
}

// Returns whether the figure was edited.
bool drawPanel(FigureDocument& document, const WorkshopOptions& options, Stage& stage, View& view) {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(kPanelWidth, static_cast<float>(kWorkshopHeight)), ImGuiCond_Once);
    ImGui::Begin("Figure", nullptr, ImGuiWindowFlags_NoMove);
    ImGui::TextWrapped("%s", document.source.c_str());
    bool edited = drawFileButtons(document, options, view);
    if (document.refusal.empty()) {
        ImGui::TextColored(ImVec4(0.5f, 1, 0.5f, 1), "the game loads this figure");
    } else {
        ImGui::TextColored(ImVec4(1, 0.4f, 0.4f, 1), "refused:");
        ImGui::TextWrapped("%s", document.refusal.c_str());
    }
    if (!view.stageError.empty()) ImGui::TextWrapped("%s", view.stageError.c_str());
    ImGui::Separator();
    if (stage.figure) {
        int clip = stage.clip == StageClip::attack ? 1 : 0;
        const bool idle = ImGui::RadioButton("idle", &clip, 0);
        ImGui::SameLine();
        const bool attack = ImGui::RadioButton("attack", &clip, 1);
        if (idle || attack) stage.poseFrame(clip == 1 ? StageClip::attack : StageClip::idle, 0);
        int frame = stage.frame;
        const int last = stage.clipLength() > 0 ? stage.clipLength() - 1 : 0;
        if (ImGui::SliderInt("frame", &frame, 0, last)) stage.frame = frame;
        if (ImGui::Button(view.playing ? "pause" : "play")) view.playing = !view.playing;
        ImGui::SameLine();
        if (ImGui::Button("step")) stepPlayback(stage);
        ImGui::Text("speed");
        for (int slow : {1, 2, 4}) {
            ImGui::SameLine();
            const std::string label = slow == 1 ? "1x" : "1/" + std::to_string(slow);
            ImGui::RadioButton(label.c_str(), &view.slowdown, slow);
        }
    }
    if (stage.figure) {
        ImGui::Checkbox("onion skin", &view.onion);
        if (view.onion) {
            ImGui::SameLine();
            // The slider takes what the checkbox and its own label leave of
            // the line, so "frames apart" is read whole.
            const float label = ImGui::CalcTextSize("frames apart").x + ImGui::GetStyle().ItemInnerSpacing.x;
            ImGui::SetNextItemWidth(std::max(ImGui::GetContentRegionAvail().x - label, 40.0f));
            ImGui::SliderInt("frames apart", &view.onionSkin.spacing, 1, 12);
        }
    }
    ImGui::Text("zoom");
    for (int zoom : {1, 2, 4}) {
        ImGui::SameLine();
        ImGui::RadioButton((std::to_string(zoom) + "x").c_str(), &view.zoom, zoom);
    }
    ImGui::Separator();
    ImGui::Text("%.1f frames a second", static_cast<double>(ImGui::GetIO().Framerate));
    if (!view.editing.bones.empty()) {
        ImGui::Separator();
        ImGui::Text("bones");
        drawBoneTree(document, view.editing, 0, 0, view);
        ImGui::Separator();
        ImGui::Text("%s", document.boneName(static_cast<std::size_t>(view.selected)).c_str());
        edited |= drawBoneFields(document, view);
        edited |= drawTreeEdits(document, view);
    }
    ImGui::End();
    return edited;
}

// The part of the stage shown at the view's zoom: zoomed in, the part around
// the figure's root stays in sight.
SDL_Rect shownPart(const Stage& stage, const View& view) {
    const int areaW = kWorkshopWidth - kPanelWidth, areaH = kStageAreaHeight;
    SDL_Rect source{};
    source.w = std::min(kWindowWidth, areaW / view.zoom);
    source.h = std::min(kWindowHeight, areaH / view.zoom);
    if (view.zoom > 1) {
        source.x = std::clamp(stage.place.rootX - source.w / 2, 0, kWindowWidth - source.w);
        source.y = std::clamp(stage.place.rootY - source.h / 3, 0, kWindowHeight - source.h);
    }
    return source;
}

// The stage texture at the view's zoom, right of the panel.
void showStage(SDL_Renderer* renderer, SDL_Texture* stageTexture, const Stage& stage, const View& view) {
    const SDL_Rect source = shownPart(stage, view);
    const SDL_Rect destination{kPanelWidth, 0, source.w * view.zoom, source.h * view.zoom};
    SDL_RenderCopy(renderer, stageTexture, &source, &destination);
}

ImVec2 stageToWindow(const SDL_Rect& shown, const View& view, float x, float y) {
    return ImVec2(kPanelWidth + (x - static_cast<float>(shown.x)) * view.zoom, (y - static_cast<float>(shown.y)) * view.zoom);
}

void windowToStage(const SDL_Rect& shown, const View& view, ImVec2 at, float& x, float& y) {
    x = static_cast<float>(shown.x) + (at.x - kPanelWidth) / view.zoom;
    y = static_cast<float>(shown.y) + at.y / view.zoom;
}

bool selectedOnStage(const Stage& stage, const View& view) {
    return stage.figure && view.selected >= 0 && view.selected < stage.figure->rig.boneCount;
}

// Marks over the stage for the selected bone, as drawn last frame: its joint
// (where its pivot sits), its children's joints, and its angle handle.
void markSelectedBone(const Stage& stage, const View& view) {
    if (!selectedOnStage(stage, view)) return;
    const SDL_Rect shown = shownPart(stage, view);
    const Bone& bone = stage.figure->rig.bones[view.selected];
    ImDrawList* marks = ImGui::GetBackgroundDrawList();
    const ImVec2 joint = stageToWindow(shown, view, static_cast<float>(bone.screenX), static_cast<float>(bone.screenY));
    float hx = 0, hy = 0;
    angleHandleEnd(bone, hx, hy);
    const ImVec2 handle = stageToWindow(shown, view, hx, hy);
    marks->AddLine(joint, handle, IM_COL32(255, 160, 40, 255), 1.5f);
    marks->AddCircleFilled(handle, 5, IM_COL32(255, 160, 40, 255));
    for (std::int32_t c = 0; c < bone.childCount; ++c) {
        const Bone& child = *bone.children[c];
        const ImVec2 at = stageToWindow(shown, view, static_cast<float>(child.screenX), static_cast<float>(child.screenY));
        marks->AddRect(ImVec2(at.x - 3, at.y - 3), ImVec2(at.x + 3, at.y + 3), IM_COL32(80, 220, 255, 255), 0, 0, 1.5f);
    }
    marks->AddCircle(joint, 6, IM_COL32(255, 255, 0, 255), 0, 2);
    marks->AddLine(ImVec2(joint.x - 3, joint.y), ImVec2(joint.x + 3, joint.y), IM_COL32(255, 255, 0, 255));
    marks->AddLine(ImVec2(joint.x, joint.y - 3), ImVec2(joint.x, joint.y + 3), IM_COL32(255, 255, 0, 255));
}

// Begins a drag where the mouse went down on the stage: on the angle handle
// it turns the selected bone; on a limb it selects that bone and moves its
// joint, or with Shift slides its picture (the root, which the game places
// itself, always slides).
void beginStageDrag(const Stage& stage, View& view, float x, float y, bool shift) {
    const Rig& rig = stage.figure->rig;
    DragKind kind = DragKind::none;
    if (selectedOnStage(stage, view)) {
        float hx = 0, hy = 0;
        angleHandleEnd(rig.bones[view.selected], hx, hy);
        if (std::hypot(hx - x, hy - y) * view.zoom <= kHandleReach) kind = DragKind::angle;
    }
    if (kind == DragKind::none) {
        const int bone = boneAt(rig, stage.limbMasks, x, y);
        if (bone < 0) return;
        view.selected = bone;
        kind = shift || bone == 0 ? DragKind::pivot : DragKind::offset;
    }
    if (view.selected >= static_cast<int>(view.editing.bones.size())) return;
    view.drag = kind;
    view.dragFromX = x;
    view.dragFromY = y;
    view.dragRecord = view.editing.bones[view.selected];
    view.dragBone = rig.bones[view.selected];
    if (view.dragBone.parent) view.dragParent = *view.dragBone.parent;
    view.dragEdited = false;
}

// Clicks and drags on the stage. Returns whether the figure was edited.
bool handleStageMouse(FigureDocument& document, const Stage& stage, View& view) {
    const ImGuiIO& io = ImGui::GetIO();
    if (!stage.figure) return false;
    const SDL_Rect shown = shownPart(stage, view);
    float x = 0, y = 0;
    windowToStage(shown, view, view.mouse, x, y);
    if (ImGui::IsMouseClicked(ImGuiMouseButton_Left) && !io.WantCaptureMouse && view.mouse.x >= kPanelWidth &&
        view.mouse.y < kStageAreaHeight)
        beginStageDrag(stage, view, x, y, io.KeyShift);
    if (view.drag == DragKind::none) return false;
    if (!ImGui::IsMouseDown(ImGuiMouseButton_Left)) {
        view.drag = DragKind::none;
        return false;
    }
    Bone posed = view.dragBone;
    posed.parent = view.dragBone.parent ? &view.dragParent : nullptr;
    const BoneRecord moved = draggedBone(view.dragRecord, view.drag, posed, x - view.dragFromX, y - view.dragFromY, x, y);
    const BoneRecord& now = view.editing.bones[view.selected];
    if (moved.pivotX == now.pivotX && moved.pivotY == now.pivotY && moved.offsetX == now.offsetX &&
        moved.offsetY == now.offsetY && moved.angle == now.angle)
        return false;
    view.editing.bones[view.selected] = moved;
    document.setBone(static_cast<std::size_t>(view.selected), moved, view.dragEdited);
    view.dragEdited = true;
    return true;
}

// Ctrl+S saves; Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, unless a number
// field is being typed in, where they are the field's own. Returns whether
// the figure text changed.
bool handleShortcut(const SDL_Keysym& key, FigureDocument& document, const WorkshopOptions& options, View& view) {
    if (!(key.mod & KMOD_CTRL)) return false;
    if (key.sym == SDLK_s) {
        saveFigure(document, options, view);
        return true;  // the title loses its mark
    }
    if (ImGui::GetIO().WantTextInput) return false;
    if (key.sym == SDLK_z && !(key.mod & KMOD_SHIFT)) return document.undo();
    if (key.sym == SDLK_y || key.sym == SDLK_z) return document.redo();
    return false;
}

std::string windowTitle(const FigureDocument& document) {
    return "amber-workshop: " + std::filesystem::path(document.source).filename().string() +
           (document.modified() ? " *" : "");
}

}  // namespace

int runWorkshop(const WorkshopOptions& options) {
    FigureDocument document;
    std::string error;
    if (!document.open(options.source, error)) {
        std::fprintf(stderr, "amber-workshop: %s\n", error.c_str());
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "amber-workshop: SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow(windowTitle(document).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWorkshopWidth,
                                          kWorkshopHeight, 0);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    SDL_Texture* stageTexture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                                             kWindowWidth, kWindowHeight)
                                         : nullptr;
    if (!stageTexture) {
        std::fprintf(stderr, "amber-workshop: cannot make the window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;  // no imgui.ini left beside the figures
    ImGui_ImplSDL2_InitForSDLRenderer(window);
    ImGui_ImplSDLRenderer_Init(renderer);

    const std::filesystem::path folder = scratchFolderFor(document);
    Stage stage;
    View view;
    rebuildStage(renderer, document, folder, stage, view);
    // A measured run plays the idle with the onion skin, the costliest thing
    // the stage does: three figures posed and drawn a frame.
    view.playing = options.measureFrames > 0;
    view.onion = options.measureFrames > 0;

    LimbWatch limbWatch;
    limbWatch.watch(document.text, document.source, SDL_GetTicks());

    const std::uint64_t started = SDL_GetPerformanceCounter();
    for (int frames = 1; ; ++frames) {
        SDL_Event event;
        bool quit = false;
        bool keyed = false;
        while (SDL_PollEvent(&event)) {
            ImGui_ImplSDL2_ProcessEvent(&event);
            if (event.type == SDL_QUIT) quit = true;
            if (event.type == SDL_KEYDOWN) keyed |= handleShortcut(event.key.keysym, document, options, view);
            if (event.type == SDL_MOUSEMOTION) view.mouse = ImVec2(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
        }
        if (quit) break;
        const std::uint32_t now = SDL_GetTicks();
        if (view.playing && stage.figure && now - view.lastStepMs >= kFrameMillis * view.slowdown) {
            stepPlayback(stage);
            view.lastStepMs = now;
        }
        // An artist's saved picture is on the stage within a second.
        const LimbReload reload = reloadChangedLimbs(limbWatch, document, now);
        if (reload == LimbReload::reloaded) rebuildStage(renderer, document, folder, stage, view);
        if (reload == LimbReload::broken)
            view.limbNote = "a limb picture changed and cannot be drawn: the stage keeps the last good pictures";
        if (document.refusal.empty()) view.limbNote.clear();
        ImGui_ImplSDLRenderer_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        bool edited = drawPanel(document, options, stage, view) || keyed;
        edited |= handleStageMouse(document, stage, view);
        if (stage.figure) {
            const float x = static_cast<float>(kPanelWidth);
            const float width = static_cast<float>(kWorkshopWidth - kPanelWidth);
            edited |= drawTimeline(document, stage, view.timeline, view.selected, x, kStageAreaHeight, width,
                                   kTimelineHeight);
            std::vector<std::pair<int, int>> limbSizes;
            for (const LimbMask& mask : stage.limbMasks) limbSizes.emplace_back(mask.width, mask.height);
            const float checksX = x + static_cast<float>(kWindowWidth);
            drawChecks(document, stage, view.timeline, view.selected, limbSizes, view.limbNote, checksX, 0,
                       static_cast<float>(kWorkshopWidth) - checksX, kStageAreaHeight);
        }
        markSelectedBone(stage, view);
        ImGui::Render();
        if (edited) {
            if (document.refusal.empty()) rebuildStage(renderer, document, folder, stage, view);
            SDL_SetWindowTitle(window, windowTitle(document).c_str());
        }

        SDL_SetRenderTarget(renderer, stageTexture);
        if (stage.figure && view.onion) {
            view.onionSkin.draw(renderer, stage, kWindowWidth, kWindowHeight);
        } else if (stage.figure) {
            stage.draw(renderer);
        } else {
            SDL_SetRenderDrawColor(renderer, kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 255);
            SDL_RenderClear(renderer);
        }
        SDL_SetRenderTarget(renderer, nullptr);
        SDL_SetRenderDrawColor(renderer, 30, 30, 30, 255);
        SDL_RenderClear(renderer);
        showStage(renderer, stageTexture, stage, view);
        ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
        SDL_RenderPresent(renderer);
        if (options.measureFrames > 0 && frames == options.measureFrames) {
            const double seconds = static_cast<double>(SDL_GetPerformanceCounter() - started) /
                                   static_cast<double>(SDL_GetPerformanceFrequency());
            std::printf("%d frames in %.3f s: %.1f frames a second\n", frames, seconds, frames / seconds);
            break;
        }
    }
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    stage.figure.reset();  // its textures go before the renderer
    view.onionSkin.release();
    SDL_DestroyTexture(stageTexture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
