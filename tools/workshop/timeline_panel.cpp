#include "timeline_panel.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "clip_timeline.h"
#include "skeleton/pose.h"

namespace {

constexpr float kNameWidth = 120.0f;  // window pixels for the bone names left of the rows
constexpr float kRowHeight = 14.0f;
constexpr float kStretchGrip = 5.0f;  // the bar's right end that stretches it

const std::vector<Keyframe>& keysOf(const FigureDocument& document, StageClip clip) {
    return clip == StageClip::attack ? document.compiled.attack : document.compiled.idle;
}

// One key's bar; a press selects it and begins a move (or at its right end a
// stretch). Returns whether the figure was edited by the drag.
bool drawKeyBar(FigureDocument& document, Stage& stage, TimelineView& view, int& selectedBone, int index,
                const Keyframe& key, ImVec2 rowStart, float perFrame) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 from(rowStart.x + static_cast<float>(key.startFrame) * perFrame, rowStart.y + 1);
    // A pixel of the row shows between keys that meet.
    const ImVec2 to(from.x + std::max(static_cast<float>(key.duration) * perFrame - 1, 2.0f), rowStart.y + kRowHeight - 1);
    const bool selected = view.key == index;
    draw->AddRectFilled(from, to, selected ? IM_COL32(255, 190, 60, 255) : IM_COL32(110, 160, 230, 255), 2);
    ImGui::SetCursorScreenPos(from);
    ImGui::PushID(index);
    ImGui::InvisibleButton("key", ImVec2(std::max(to.x - from.x, 1.0f), to.y - from.y));
    const bool pressed = ImGui::IsItemActivated();
    const bool active = ImGui::IsItemActive();
    if (ImGui::IsItemHovered()) ImGui::SetTooltip("key %d: frames %d to %d, angle %.3f", index, key.startFrame,
                                                  key.startFrame + key.duration, static_cast<double>(key.targetAngle));
    ImGui::PopID();
    if (pressed) {
        view.key = index;
        selectedBone = key.boneIndex;
        view.dragFrom = key;
        view.dragMoves = ImGui::GetIO().MousePos.x < to.x - kStretchGrip;
        view.dragging = true;
        view.dragEdited = false;
    }
    if (!active || !view.dragging || view.key != index) return false;
    const int frames = static_cast<int>(std::lround(ImGui::GetMouseDragDelta(ImGuiMouseButton_Left, 0).x / perFrame));
    Keyframe moved = view.dragFrom;
    if (view.dragMoves) {
        moved.startFrame = std::max(0, view.dragFrom.startFrame + frames);
    } else {
        moved.duration = std::max(1, view.dragFrom.duration + frames);
    }
    if (moved.startFrame == key.startFrame && moved.duration == key.duration) return false;
    view.key = document.setKey(clipKey(stage.clip), static_cast<std::size_t>(index), moved, view.dragEdited);
    view.dragEdited = true;
    return true;
}

// The selected key's numbers, its start angle and sweep, and add and delete.
bool drawKeyFields(FigureDocument& document, Stage& stage, TimelineView& view, int selectedBone) {
    const std::vector<Keyframe>& keys = keysOf(document, stage.clip);
    const char* clip = clipKey(stage.clip);
    bool edited = false;
    if (ImGui::Button("add key")) {
        const int bone = std::max(selectedBone, 0);
        const float angle = stage.figure && bone < stage.figure->rig.boneCount ? stage.figure->rig.bones[bone].angle : 0;
        view.key = document.addKey(clip, Keyframe{bone, stage.frame, 10, std::round(angle * 100) / 100});
        edited = true;
    }
    if (view.key < 0 || view.key >= static_cast<int>(keys.size())) return edited;
    ImGui::SameLine();
    if (ImGui::Button("delete key")) {
        document.deleteKey(clip, static_cast<std::size_t>(view.key));
        view.key = -1;
        return true;
    }
    Keyframe key = keys[view.key];
    ImGui::SameLine();
    ImGui::Text("key %d of the %s: %s", view.key, clip, document.boneName(key.boneIndex).c_str());
    int numbers[3] = {key.boneIndex, key.startFrame, key.duration};
    ImGui::PushItemWidth(200);
    bool changed = ImGui::InputInt3("bone, start, duration", numbers);
    changed |= ImGui::InputFloat("angle", &key.targetAngle, 0.05f, 0.5f, "%.4f rad");
    ImGui::PopItemWidth();
    const std::vector<KeyStart> starts = keyStarts(document.compiled.rig, keys);
    const KeyStart& start = starts[view.key];
    if (start.starts) {
        const bool far = std::fabs(start.sweep) > kHalfTurn;
        ImGui::TextColored(far ? ImVec4(1, 0.7f, 0.3f, 1) : ImVec4(0.8f, 0.8f, 0.8f, 1),
                           "from %.3f rad, sweeps %+.3f rad (%+.1f degrees)%s", static_cast<double>(start.fromAngle),
                           static_cast<double>(start.sweep), static_cast<double>(start.sweep) * kDegreesPerRadian,
                           far ? ": further than half a turn" : "");
    } else {
        ImGui::TextColored(ImVec4(1, 0.7f, 0.3f, 1), "the game never starts this key");
    }
    if (!changed) return edited;
    key.boneIndex = numbers[0];
    key.startFrame = numbers[1];
    key.duration = numbers[2];
    view.key = document.setKey(clip, static_cast<std::size_t>(view.key), key);
    return true;
}

// Clicking a refusal selects what it names: "keyframe N" of the clip file it
// names, else "bone N".
void selectNamed(const std::string& line, Stage& stage, TimelineView& view, int& selectedBone) {
    std::smatch found;
    if (std::regex_search(line, found, std::regex("(idle|attack)\\.janim: keyframe ([0-9]+)"))) {
        const StageClip clip = found[1] == "attack" ? StageClip::attack : StageClip::idle;
        if (clip != stage.clip) stage.frame = 0;
        stage.clip = clip;
        view.key = std::stoi(found[2]);
    } else if (std::regex_search(line, found, std::regex("bone ([0-9]+)"))) {
        selectedBone = std::stoi(found[1]);
    }
}

}  // namespace

const char* clipKey(StageClip clip) { return clip == StageClip::attack ? "attack" : "idle"; }

bool drawTimeline(FigureDocument& document, Stage& stage, TimelineView& view, int& selectedBone, float x, float y,
                  float width, float height) {
    ImGui::SetNextWindowPos(ImVec2(x, y));
    ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_Once);
    ImGui::Begin("Clip", nullptr, ImGuiWindowFlags_NoMove);
    if (!ImGui::IsMouseDown(ImGuiMouseButton_Left)) view.dragging = false;
    bool edited = drawKeyFields(document, stage, view, selectedBone);
    const std::vector<Keyframe>& keys = keysOf(document, stage.clip);
    const RigFile& rig = document.compiled.rig;
    std::int32_t end = 1;
    for (const Keyframe& k : keys) end = std::max(end, k.startFrame + k.duration);
    ImGui::BeginChild("rows", ImVec2(0, 0), false, ImGuiWindowFlags_HorizontalScrollbar);
    const float perFrame = std::max(2.0f, (ImGui::GetContentRegionAvail().x - kNameWidth) / static_cast<float>(end));
    const ImVec2 top = ImGui::GetCursorScreenPos();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    for (std::size_t b = 0; b < rig.bones.size(); ++b) {
        const ImVec2 row(top.x + kNameWidth, top.y + static_cast<float>(b) * kRowHeight);
        const bool selected = selectedBone == static_cast<int>(b);
        draw->AddText(ImVec2(top.x, row.y), selected ? IM_COL32(255, 255, 120, 255) : IM_COL32(200, 200, 200, 255),
                      document.boneName(b).c_str());
        draw->AddRectFilled(row, ImVec2(row.x + static_cast<float>(end) * perFrame, row.y + kRowHeight - 1),
                            selected ? IM_COL32(60, 60, 40, 255) : IM_COL32(45, 45, 45, 255));
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].boneIndex != static_cast<int>(b)) continue;
            edited |= drawKeyBar(document, stage, view, selectedBone, static_cast<int>(i), keys[i], row, perFrame);
            if (edited) break;  // the keys moved under us; drawn again next frame
        }
        if (edited) break;
    }
    // The frame the stage shows.
    const float at = top.x + kNameWidth + static_cast<float>(stage.frame) * perFrame;
    draw->AddLine(ImVec2(at, top.y), ImVec2(at, top.y + static_cast<float>(rig.bones.size()) * kRowHeight),
                  IM_COL32(255, 80, 80, 255));
    ImGui::SetCursorScreenPos(ImVec2(top.x, top.y + static_cast<float>(rig.bones.size()) * kRowHeight));
    ImGui::Dummy(ImVec2(kNameWidth + static_cast<float>(end) * perFrame, 1));
    ImGui::EndChild();
    ImGui::End();
    return edited;
}

void drawChecks(const FigureDocument& document, Stage& stage, TimelineView& view, int& selectedBone,
                const std::vector<std::pair<int, int>>& limbSizes, const std::string& note, float x, float y,
                float width, float height) {
    ImGui::SetNextWindowPos(ImVec2(x, y));
    ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_Once);
    ImGui::Begin("Checks", nullptr, ImGuiWindowFlags_NoMove);
    ImGui::TextDisabled("the game:");
    if (document.refusal.empty()) {
        ImGui::TextColored(ImVec4(0.5f, 1, 0.5f, 1), "loads this figure");
    } else {
        ImGui::TextColored(ImVec4(1, 0.45f, 0.45f, 1), "refuses it:");
        ImGui::TextWrapped("%s", document.refusal.c_str());
        if (ImGui::IsItemClicked()) selectNamed(document.refusal, stage, view, selectedBone);
        if (!note.empty()) {
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 0.75f, 0.3f, 1));
            ImGui::TextWrapped("%s", note.c_str());  // the panel is narrower than the note
            ImGui::PopStyleColor();
        }
    }
    ImGui::TextDisabled("the workshop:");
    if (document.refusal.empty()) {
        std::vector<std::string> names;
        for (std::size_t b = 0; b < document.compiled.rig.bones.size(); ++b) names.push_back(document.boneName(b));
        const std::vector<WorkshopWarning> warnings = workshopWarnings(document.compiled, limbSizes, names);
        if (warnings.empty()) ImGui::Text("no warnings");
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            const WorkshopWarning& w = warnings[i];
            ImGui::TextWrapped("%s", w.text.c_str());
            if (ImGui::IsItemClicked()) {
                if (w.bone >= 0) selectedBone = w.bone;
                if (!w.clip.empty()) {
                    const StageClip clip = w.clip == "attack" ? StageClip::attack : StageClip::idle;
                    if (clip != stage.clip) stage.frame = 0;
                    stage.clip = clip;
                    view.key = w.key;
                }
            }
        }
    }
    ImGui::End();
}
