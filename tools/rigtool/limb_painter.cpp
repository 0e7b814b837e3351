#include "limb_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using nlohmann::json;

constexpr int kMaxLimbSide = 512;
constexpr float kDefaultLine = 2.0f;
constexpr float kDefaultShade = 0.35f;
// Light falls from the upper left, slightly in front of the picture.
constexpr float kLightX = -0.55f, kLightY = -0.65f, kLightZ = 0.52f;

struct Colour {
    float r = 0, g = 0, b = 0;
};

struct Vec {
    float x = 0, y = 0;
};

Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator*(Vec a, float s) { return {a.x * s, a.y * s}; }
float dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
float length(Vec a) { return std::sqrt(dot(a, a)); }

enum class Kind { kEllipse, kCapsule, kBox, kPolygon };

// One shape: a signed distance (negative inside) plus how to colour it.
struct Shape {
    Kind kind = Kind::kEllipse;
    Vec a, b;             // ellipse centre and radii; capsule ends; box centre and half size
    float r1 = 0, r2 = 0;  // capsule radii at each end; box corner radius
    std::vector<Vec> points;
    Colour fill, outline;
    bool filled = true;  // false: an outline only
    float line = kDefaultLine;
    float shade = kDefaultShade;

    float distance(Vec p) const;
};

float ellipseDistance(Vec p, Vec centre, Vec radii) {
    Vec q = p - centre;
    float k0 = length({q.x / radii.x, q.y / radii.y});
    float k1 = length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y)});
    if (k1 == 0) return -std::min(radii.x, radii.y);
    return k0 * (k0 - 1.0f) / k1;
}

float capsuleDistance(Vec p, Vec a, Vec b, float ra, float rb) {
    Vec ab = b - a;
    float along = dot(ab, ab) > 0 ? std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0f, 1.0f) : 0.0f;
    return length(p - (a + ab * along)) - (ra + (rb - ra) * along);
}

float boxDistance(Vec p, Vec centre, Vec half, float round) {
    Vec q{std::fabs(p.x - centre.x) - (half.x - round), std::fabs(p.y - centre.y) - (half.y - round)};
    float outside = length({std::max(q.x, 0.0f), std::max(q.y, 0.0f)});
    return outside + std::min(std::max(q.x, q.y), 0.0f) - round;
}

float polygonDistance(Vec p, const std::vector<Vec>& v) {
    float d = dot(p - v[0], p - v[0]);
    float sign = 1.0f;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        Vec e = v[j] - v[i];
        Vec w = p - v[i];
        Vec nearest = w - e * std::clamp(dot(w, e) / dot(e, e), 0.0f, 1.0f);
        d = std::min(d, dot(nearest, nearest));
        bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
}

float Shape::distance(Vec p) const {
    switch (kind) {
        case Kind::kEllipse: return ellipseDistance(p, a, b);
        case Kind::kCapsule: return capsuleDistance(p, a, b, r1, r2);
        case Kind::kBox: return boxDistance(p, a, b, r1);
        case Kind::kPolygon: return polygonDistance(p, points);
    }
    return 1.0f;
}

bool readColour(const json& text, Colour& colour) {
    if (!text.is_string()) return false;
    std::string s = text.get<std::string>();
    if (s.size() != 7 || s[0] != '#') return false;
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        char c = s[i];
        unsigned digit = c >= '0' && c <= '9' ? unsigned(c - '0')
                         : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                         : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
                                                : 16u;
        if (digit > 15) return false;
        value = value * 16 + digit;
    }
    colour = {float(value >> 16 & 255), float(value >> 8 & 255), float(value & 255)};
    return true;
}

bool readNumbers(const json& text, std::size_t count, float* out) {
    if (!text.is_array() || text.size() != count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!text[i].is_number()) return false;
        out[i] = text[i].get<float>();
    }
    return true;
}

bool readNumber(const json& object, const char* key, float& value) {
    if (!object.contains(key)) return true;  // keeps its default
    if (!object[key].is_number()) return false;
    value = object[key].get<float>();
    return true;
}

bool readGeometry(const json& text, Shape& shape) {
    float n[4];
    std::string kind = text.value("shape", std::string());
    if (kind == "ellipse") {
        shape.kind = Kind::kEllipse;
        if (!text.contains("at") || !readNumbers(text["at"], 2, n)) return false;
        shape.a = {n[0], n[1]};
        if (!text.contains("radii") || !readNumbers(text["radii"], 2, n) || n[0] <= 0 || n[1] <= 0) return false;
        shape.b = {n[0], n[1]};
        return true;
    }
    if (kind == "capsule") {
        shape.kind = Kind::kCapsule;
        if (!text.contains("from") || !readNumbers(text["from"], 2, n)) return false;
        shape.a = {n[0], n[1]};
        if (!text.contains("to") || !readNumbers(text["to"], 2, n)) return false;
        shape.b = {n[0], n[1]};
        if (!text.contains("radius") || !text["radius"].is_number()) return false;
        shape.r1 = shape.r2 = text["radius"].get<float>();
        return readNumber(text, "endRadius", shape.r2);
    }
    if (kind == "box") {
        shape.kind = Kind::kBox;
        if (!text.contains("rect") || !readNumbers(text["rect"], 4, n)) return false;
        shape.a = {n[0] + n[2] / 2, n[1] + n[3] / 2};
        shape.b = {n[2] / 2, n[3] / 2};
        shape.r1 = 0;
        return readNumber(text, "round", shape.r1) && shape.r1 <= std::min(shape.b.x, shape.b.y);
    }
    if (kind == "polygon") {
        shape.kind = Kind::kPolygon;
        if (!text.contains("points") || !text["points"].is_array() || text["points"].size() < 3) return false;
        for (const json& point : text["points"]) {
            if (!readNumbers(point, 2, n)) return false;
            shape.points.push_back({n[0], n[1]});
        }
        return true;
    }
    return false;
}

bool readShape(const json& text, Shape& shape) {
    if (!text.is_object() || !readGeometry(text, shape)) return false;
    if (!text.contains("fill")) return false;
    shape.filled = text["fill"] != "none";
    if (shape.filled && !readColour(text["fill"], shape.fill)) return false;
    shape.outline = {24, 18, 22};
    if (text.contains("outline") && !readColour(text["outline"], shape.outline)) return false;
    return readNumber(text, "line", shape.line) && readNumber(text, "shade", shape.shade);
}

// The deepest point of the shape, so that shading can round it like a
// cushion whatever its size.
float deepestInside(const Shape& shape, int width, int height) {
    float deepest = 1.0f;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) deepest = std::max(deepest, -shape.distance({x + 0.5f, y + 0.5f}));
    return deepest;
}

Colour shadedFill(const Shape& shape, Vec p, float d, float deepest) {
    // A cushion: flat on top deep inside, turning away toward the rim.
    const float e = 0.5f;
    Vec gradient{shape.distance({p.x + e, p.y}) - shape.distance({p.x - e, p.y}),
                 shape.distance({p.x, p.y + e}) - shape.distance({p.x, p.y - e})};
    float g = length(gradient);
    if (g > 0) gradient = gradient * (1.0f / g);
    float height = std::sqrt(std::clamp(-d / deepest, 0.0f, 1.0f));
    float nx = gradient.x * (1 - height), ny = gradient.y * (1 - height), nz = height + 0.2f;
    float n = std::sqrt(nx * nx + ny * ny + nz * nz);
    float light = (nx * kLightX + ny * kLightY + nz * kLightZ) / n;
    float factor = 1.0f + shape.shade * (light - 0.45f) * 1.6f;
    return {shape.fill.r * factor, shape.fill.g * factor, shape.fill.b * factor};
}

std::uint8_t channel(float v) { return static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); }

void putPixel(SDL_Surface* surface, int x, int y, Colour c) {
    std::uint8_t r = channel(c.r), g = channel(c.g), b = channel(c.b);
    // The transparent colour must never appear inside a picture.
    if (r == 0 && g == 0 && b == 1) b = 2;
    auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
    row[x * 3 + 0] = r;
    row[x * 3 + 1] = g;
    row[x * 3 + 2] = b;
}

void paintShape(SDL_Surface* surface, const Shape& shape) {
    const float deepest = deepestInside(shape, surface->w, surface->h);
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            Vec p{x + 0.5f, y + 0.5f};
            float d = shape.distance(p);
            if (d > 0 || (!shape.filled && d <= -shape.line)) continue;
            putPixel(surface, x, y, d > -shape.line ? shape.outline : shadedFill(shape, p, d, deepest));
        }
    }
}

}  // namespace

SDL_Surface* paintLimb(const json& text, const std::string& where, std::string& error) {
    float size[2];
    if (!text.is_object() || !text.contains("size") || !readNumbers(text["size"], 2, size) || size[0] < 1 ||
        size[1] < 1 || size[0] > kMaxLimbSide || size[1] > kMaxLimbSide) {
        error = where + ": \"size\" must be two whole numbers from 1 to " + std::to_string(kMaxLimbSide);
        return nullptr;
    }
    if (!text.contains("shapes") || !text["shapes"].is_array()) {
        error = where + ": needs a \"shapes\" list";
        return nullptr;
    }
    std::vector<Shape> shapes(text["shapes"].size());
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!readShape(text["shapes"][i], shapes[i])) {
            error = where + ": shape " + std::to_string(i) + " is malformed: " + text["shapes"][i].dump();
            return nullptr;
        }
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(size[0]), static_cast<int>(size[1]), 24, SDL_PIXELFORMAT_RGB24);
    if (!surface) {
        error = where + ": " + SDL_GetError();
        return nullptr;
    }
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
            row[x * 3 + 0] = 0;
            row[x * 3 + 1] = 0;
            row[x * 3 + 2] = 1;
        }
    for (const Shape& shape : shapes) paintShape(surface, shape);
    return surface;
}

void mirrorSurface(SDL_Surface* surface) {
    for (int y = 0; y < surface->h; ++y) {
        auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int left = 0, right = surface->w - 1; left < right; ++left, --right) {
            for (int c = 0; c < 3; ++c) std::swap(row[left * 3 + c], row[right * 3 + c]);
        }
    }
}
