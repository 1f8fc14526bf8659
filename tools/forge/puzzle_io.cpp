// Writing and reading the puzzle files and .non texts of the forge.
#include "tools/forge/puzzle_io.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "puzzles/clue_table.h"

namespace forge {

namespace fs = std::filesystem;

std::string EncodePuzzleFile(const Clues& clues) {
    std::string out;
    auto line = [&](const std::vector<int>& runs) {
        for (int v : runs) {
            uint8_t b = EncodeClueValue(v);
            if (b == 0) return false;
            out += static_cast<char>(b);
        }
        out += '\n';
        return true;
    };
    for (const auto& r : clues.rowClues) {
        if (!line(r)) return std::string();
    }
    for (const auto& c : clues.colClues) {
        if (!line(c)) return std::string();
    }
    return out;
}

bool DecodePuzzleFile(const std::string& bytes, int rows, int cols, Clues* out) {
    Clues c;
    c.rows = rows;
    c.cols = cols;
    std::vector<std::vector<int>> lines;
    size_t pos = 0;
    while (pos < bytes.size() && static_cast<int>(lines.size()) < rows + cols) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(pos, end - pos);
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        std::vector<int> runs;
        for (char ch : text) {
            int v = kClueByteValues[static_cast<uint8_t>(ch)];
            if (v == 0) return false;
            runs.push_back(v);
        }
        lines.push_back(runs);
        pos = end + 1;
    }
    if (static_cast<int>(lines.size()) < rows + cols) return false;
    c.rowClues.assign(lines.begin(), lines.begin() + rows);
    c.colClues.assign(lines.begin() + rows, lines.begin() + rows + cols);
    *out = c;
    return true;
}

// ---------------------------------------------------------------------------
// .non

namespace {

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

std::string Unquote(const std::string& s) {
    std::string t = Trim(s);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

bool ParseClueLine(const std::string& text, int length, std::vector<int>* runs) {
    runs->clear();
    std::stringstream ss(text);
    std::string item;
    int needed = -1;
    while (std::getline(ss, item, ',')) {
        item = Trim(item);
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos ||
            item.size() > 3) {
            return false;
        }
        int v = std::stoi(item);
        if (v == 0) continue;
        runs->push_back(v);
        needed += v + 1;
    }
    return needed <= length;
}

}  // namespace

bool ParseNon(const std::string& text, NonPuzzle* out, std::string* error) {
    NonPuzzle p;
    std::vector<std::string> lines;
    std::stringstream ss(text);
    for (std::string line; std::getline(ss, line);)
        lines.push_back(Trim(line));
    int width = 0, height = 0;
    std::vector<std::string> rows, cols;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.empty() || l[0] == '#') continue;
        std::string key = l.substr(0, l.find_first_of(" \t"));
        std::string value = key.size() < l.size() ? Trim(l.substr(key.size())) : std::string();
        auto number = [&](int* target) {
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos ||
                value.size() > 3) {
                return false;
            }
            *target = std::stoi(value);
            return *target >= 1 && *target <= 100;
        };
        if (key == "width") {
            if (!number(&width)) {
                *error = "bad width";
                return false;
            }
        } else if (key == "height") {
            if (!number(&height)) {
                *error = "bad height";
                return false;
            }
        } else if (key == "title") {
            p.title = Unquote(value);
        } else if (key == "by" || key == "author") {
            p.author = Unquote(value);
        } else if (key == "license" || key == "copyright") {
            p.license = Unquote(value);
        } else if (key == "rows" || key == "columns") {
            int count = key == "rows" ? height : width;
            if (count == 0) {
                *error = key + " before its size";
                return false;
            }
            std::vector<std::string>& target = key == "rows" ? rows : cols;
            while (static_cast<int>(target.size()) < count && ++i < lines.size()) {
                if (!lines[i].empty()) target.push_back(lines[i]);
            }
            if (static_cast<int>(target.size()) < count) {
                *error = "too few " + key;
                return false;
            }
        }
    }
    if (width == 0 || height == 0 || rows.empty() || cols.empty()) {
        *error = "needs width, height, rows and columns";
        return false;
    }
    p.clues.rows = height;
    p.clues.cols = width;
    p.clues.rowClues.resize(height);
    p.clues.colClues.resize(width);
    for (int r = 0; r < height; ++r) {
        if (!ParseClueLine(rows[r], width, &p.clues.rowClues[r])) {
            *error = "row " + std::to_string(r + 1) + " does not fit";
            return false;
        }
    }
    for (int c = 0; c < width; ++c) {
        if (!ParseClueLine(cols[c], height, &p.clues.colClues[c])) {
            *error = "column " + std::to_string(c + 1) + " does not fit";
            return false;
        }
    }
    *out = p;
    return true;
}

bool ReadNonFile(const std::string& path, NonPuzzle* out, std::string* error) {
    bool ok = false;
    std::string text = ReadWholeFile(path, &ok);
    if (!ok) {
        *error = "cannot read " + path;
        return false;
    }
    return ParseNon(text, out, error);
}

std::string FormatNon(const NonPuzzle& puzzle) {
    std::ostringstream o;
    if (!puzzle.title.empty()) o << "title \"" << puzzle.title << "\"\n";
    if (!puzzle.author.empty()) o << "by \"" << puzzle.author << "\"\n";
    if (!puzzle.license.empty()) o << "license \"" << puzzle.license << "\"\n";
    o << "width " << puzzle.clues.cols << "\n";
    o << "height " << puzzle.clues.rows << "\n\n";
    auto section = [&](const char* name, const std::vector<std::vector<int>>& lines) {
        o << name << "\n";
        for (const auto& runs : lines) {
            if (runs.empty()) o << "0";
            for (size_t i = 0; i < runs.size(); ++i)
                o << (i ? "," : "") << runs[i];
            o << "\n";
        }
    };
    section("rows", puzzle.clues.rowClues);
    o << "\n";
    section("columns", puzzle.clues.colClues);
    return o.str();
}

std::vector<std::string> ListNonFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec)) return names;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        std::string n = e.path().filename().string();
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".non") == 0) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

std::string ReadWholeFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (ok) *ok = static_cast<bool>(in);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace forge
