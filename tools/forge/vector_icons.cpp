#include "tools/forge/vector_icons.h"

#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>

#include "tools/forge/puzzle_io.h"

extern char** environ;

namespace forge {

namespace {

// Just enough JSON for an icon set: objects, arrays, strings, numbers and
// literals, kept as a tree.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    double number = 0;
    std::string text;
    std::vector<std::pair<std::string, Json>> members;  // objects (in file order)
    std::vector<Json> items;                            // arrays
    const Json* Get(const std::string& key) const {
        for (const auto& m : members) {
            if (m.first == key) return &m.second;
        }
        return nullptr;
    }
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& s) : s_(s) {}
    bool Read(Json* out) {
        if (!Value(out, 0)) return false;
        Space();
        return p_ == s_.size();
    }

  private:
    void Space() {
        while (p_ < s_.size() && std::strchr(" \t\r\n", s_[p_]))
            ++p_;
    }
    bool Value(Json* v, int depth) {
        if (depth > 64) return false;
        Space();
        if (p_ >= s_.size()) return false;
        const char c = s_[p_];
        if (c == '{') {
            v->kind = Json::Object;
            ++p_;
            Space();
            if (p_ < s_.size() && s_[p_] == '}') return ++p_, true;
            for (;;) {
                Space();
                std::string key;
                if (!String(&key)) return false;
                Space();
                if (p_ >= s_.size() || s_[p_++] != ':') return false;
                v->members.emplace_back(std::move(key), Json());
                if (!Value(&v->members.back().second, depth + 1)) return false;
                Space();
                if (p_ >= s_.size()) return false;
                if (s_[p_] == ',') {
                    ++p_;
                } else if (s_[p_] == '}') {
                    return ++p_, true;
                } else {
                    return false;
                }
            }
        }
        if (c == '[') {
            v->kind = Json::Array;
            ++p_;
            Space();
            if (p_ < s_.size() && s_[p_] == ']') return ++p_, true;
            for (;;) {
                v->items.emplace_back();
                if (!Value(&v->items.back(), depth + 1)) return false;
                Space();
                if (p_ >= s_.size()) return false;
                if (s_[p_] == ',') {
                    ++p_;
                } else if (s_[p_] == ']') {
                    return ++p_, true;
                } else {
                    return false;
                }
            }
        }
        if (c == '"') {
            v->kind = Json::String;
            return String(&v->text);
        }
        for (const char* word : {"true", "false", "null"}) {
            if (s_.compare(p_, std::strlen(word), word) == 0) {
                v->kind = word[0] == 'n' ? Json::Null : Json::Bool;
                v->number = word[0] == 't';
                p_ += std::strlen(word);
                return true;
            }
        }
        char* end = nullptr;
        v->kind = Json::Number;
        v->number = std::strtod(s_.c_str() + p_, &end);
        if (end == s_.c_str() + p_) return false;
        p_ = static_cast<size_t>(end - s_.c_str());
        return true;
    }
    bool String(std::string* out) {
        if (p_ >= s_.size() || s_[p_] != '"') return false;
        ++p_;
        while (p_ < s_.size() && s_[p_] != '"') {
            char c = s_[p_++];
            if (c != '\\') {
                *out += c;
                continue;
            }
            if (p_ >= s_.size()) return false;
            c = s_[p_++];
            switch (c) {
                case 'n':
                    *out += '\n';
                    break;
                case 't':
                    *out += '\t';
                    break;
                case 'r':
                    *out += '\r';
                    break;
                case 'b':
                    *out += '\b';
                    break;
                case 'f':
                    *out += '\f';
                    break;
                case 'u': {
                    if (p_ + 4 > s_.size()) return false;
                    unsigned cp = static_cast<unsigned>(std::stoul(s_.substr(p_, 4), nullptr, 16));
                    p_ += 4;
                    // Bodies are ASCII; anything else is kept as UTF-8 of the unit.
                    if (cp < 0x80) {
                        *out += static_cast<char>(cp);
                    } else if (cp < 0x800) {
                        *out += static_cast<char>(0xC0 | (cp >> 6));
                        *out += static_cast<char>(0x80 | (cp & 0x3F));
                    } else {
                        *out += static_cast<char>(0xE0 | (cp >> 12));
                        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                        *out += static_cast<char>(0x80 | (cp & 0x3F));
                    }
                    break;
                }
                default:
                    *out += c;
            }
        }
        if (p_ >= s_.size()) return false;
        ++p_;
        return true;
    }
    const std::string& s_;
    size_t p_ = 0;
};

double NumberOr(const Json* v, double fallback) {
    return v && v->kind == Json::Number ? v->number : fallback;
}

// Runs rsvg-convert on one atlas file; true when it wrote the PNG.
bool RunRsvg(const std::string& svg, const std::string& png) {
    std::string out = "--output=" + png;
    const char* argv[] = {"rsvg-convert", "--format=png", out.c_str(), svg.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "rsvg-convert", nullptr, nullptr, const_cast<char* const*>(argv),
                     environ) != 0) {
        return false;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool ReadRgbaPng(const std::string& path, int* width, int* height, std::vector<uint8_t>* px) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    px->resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, px->data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return true;
}

constexpr int kAtlasColumns = 10;
constexpr int kAtlasIcons = 100;

}  // namespace

bool ReadIconSet(const std::string& path, std::vector<VectorIcon>* icons, std::string* error) {
    bool ok = false;
    const std::string text = ReadWholeFile(path, &ok);
    if (!ok) {
        *error = "cannot read " + path;
        return false;
    }
    Json root;
    if (!JsonReader(text).Read(&root) || root.kind != Json::Object) {
        *error = path + " is not JSON";
        return false;
    }
    const Json* list = root.Get("icons");
    if (!list || list->kind != Json::Object) {
        *error = path + " holds no icons";
        return false;
    }
    const double width = NumberOr(root.Get("width"), 16), height = NumberOr(root.Get("height"), 16);
    for (const auto& [name, icon] : list->members) {
        const Json* body = icon.Get("body");
        const Json* hidden = icon.Get("hidden");
        if (!body || body->kind != Json::String || (hidden && hidden->number != 0)) continue;
        icons->push_back({name, body->text, NumberOr(icon.Get("width"), width),
                          NumberOr(icon.Get("height"), height)});
    }
    return true;
}

bool RasteriseIcons(const std::vector<VectorIcon>& icons, int pixels, std::vector<Raster>* out,
                    std::string* error) {
    out->assign(icons.size(), Raster());
    char dirTemplate[] = "/tmp/nonogram-forge-XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    if (!dir) {
        *error = "cannot make a temporary folder";
        return false;
    }
    const int batches = static_cast<int>((icons.size() + kAtlasIcons - 1) / kAtlasIcons);
    std::vector<char> failed(static_cast<size_t>(batches), 0);
    auto renderBatch = [&](int b) {
        const size_t first = static_cast<size_t>(b) * kAtlasIcons;
        const size_t count = std::min<size_t>(kAtlasIcons, icons.size() - first);
        const int rows = static_cast<int>((count + kAtlasColumns - 1) / kAtlasColumns);
        std::string svg =
            "<svg xmlns=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
            std::to_string(kAtlasColumns * pixels) + "\" height=\"" +
            std::to_string(rows * pixels) + "\">";
        for (size_t k = 0; k < count; ++k) {
            const VectorIcon& icon = icons[first + k];
            char head[256];
            std::snprintf(
                head, sizeof head,
                "<svg x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %g %g\">",
                static_cast<int>(k % kAtlasColumns) * pixels,
                static_cast<int>(k / kAtlasColumns) * pixels, pixels, pixels, icon.width,
                icon.height);
            svg += head + icon.body + "</svg>";
        }
        svg += "</svg>\n";
        const std::string base = std::string(dir) + "/atlas" + std::to_string(b);
        int w = 0, h = 0;
        std::vector<uint8_t> px;
        if (!WriteFileAtomically(base + ".svg", svg) || !RunRsvg(base + ".svg", base + ".png") ||
            !ReadRgbaPng(base + ".png", &w, &h, &px) || w != kAtlasColumns * pixels ||
            h != rows * pixels) {
            failed[b] = 1;
            return;
        }
        for (size_t k = 0; k < count; ++k) {
            Raster& r = (*out)[first + k];
            r.width = r.height = pixels;
            r.colour = true;
            r.pixels.resize(static_cast<size_t>(pixels) * pixels * 4);
            const int x0 = static_cast<int>(k % kAtlasColumns) * pixels;
            const int y0 = static_cast<int>(k / kAtlasColumns) * pixels;
            for (int y = 0; y < pixels; ++y) {
                std::memcpy(&r.pixels[static_cast<size_t>(y) * pixels * 4],
                            &px[(static_cast<size_t>(y0 + y) * w + x0) * 4],
                            static_cast<size_t>(pixels) * 4);
            }
        }
    };
    // Two rsvg-convert runs at a time; each batch lands in its own place.
    std::thread other([&] {
        for (int b = 1; b < batches; b += 2)
            renderBatch(b);
    });
    for (int b = 0; b < batches; b += 2)
        renderBatch(b);
    other.join();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    for (int b = 0; b < batches; ++b) {
        if (failed[b]) {
            *error = "rsvg-convert failed (install librsvg2-bin)";
            return false;
        }
    }
    return true;
}

}  // namespace forge
