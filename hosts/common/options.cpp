// Parsing of the options the hosts share.
#include "hosts/common/options.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hosts/common/host.h"
#include "platform/s3e.h"

namespace host {
namespace {

bool ParseSide(const std::string& text, int32_t* out) {
    if (text.empty() || text.size() > 5) return false;
    int32_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > kMaxSurfaceSide) return false;
    *out = v;
    return true;
}

}  // namespace

bool ParseSize(const std::string& text, int32_t* width, int32_t* height) {
    size_t x = text.find('x');
    if (x == std::string::npos) return false;
    int32_t w = 0, h = 0;
    if (!ParseSide(text.substr(0, x), &w) || !ParseSide(text.substr(x + 1), &h)) return false;
    *width = w;
    *height = h;
    return true;
}

bool ParseOs(const std::string& text, int32_t* os) {
    if (text == "ios") {
        *os = S3E_OS_ID_IPHONE;
    } else if (text == "android") {
        *os = S3E_OS_ID_ANDROID;
    } else if (text == "desktop") {
        *os = S3E_OS_ID_DESKTOP;
    } else {
        return false;
    }
    return true;
}

bool ParseLanguage(const std::string& text, int32_t* language) {
    if (text == "ru") {
        *language = kLanguageRussian;
    } else if (text == "en") {
        *language = kLanguageEnglish;
    } else {
        return false;
    }
    return true;
}

bool ParseDensity(const std::string& text, double* density) {
    if (text.empty() || text.size() > 8 ||
        text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(v >= 0.25 && v <= 8.0)) return false;
    *density = v;
    return true;
}

int32_t LanguageOfLocale(const char* localeName) {
    return localeName && std::strncmp(localeName, "ru", 2) == 0 ? kLanguageRussian
                                                                : kLanguageEnglish;
}

int32_t LanguageFromEnvironment() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return LanguageOfLocale(v);
    }
    return kLanguageEnglish;
}

std::string ExecutableDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string(".") : path.substr(0, slash);
}

bool ParseStartScreenName(const std::string& text) {
    return text == "main" || text == "sizes" || text == "puzzles" || text == "board";
}

bool ParsePuzzleAddress(const std::string& text) {
    int parts = 0;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('/', start);
        std::string part = text.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part.size() > 5 ||
            part.find_first_not_of("0123456789") != std::string::npos)
            return false;
        if (++parts > 3) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

void ApplyStartScreen(const StartScreen& start) {
    if (start.screen.empty()) return;
    SetConfigString("nonogram", "StartScreen", start.screen);
    SetConfigString("nonogram", "StartPuzzle", start.puzzle);
}

int ParseCommandLine(const char* program, const char* usage, int argc, char** argv,
                     CommonOptions* o, const OwnOption& own) {
    o->language = LanguageFromEnvironment();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            return -1;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (a == "--size" || a == "--density" || a == "--os" || a == "--lang" || a == "--data" ||
            a == "--screen" || a == "--puzzle") {
            if (!value) {
                std::fprintf(stderr, "%s: %s needs a value (see --help)\n", program, a.c_str());
                return 2;
            }
            const std::string v = value;
            ++i;
            if (a == "--size") {
                ok = ParseSize(v, &o->width, &o->height);
            } else if (a == "--density") {
                ok = ParseDensity(v, &o->density);
            } else if (a == "--os") {
                ok = ParseOs(v, &o->os);
            } else if (a == "--lang") {
                ok = ParseLanguage(v, &o->language);
            } else if (a == "--data") {
                o->dataDir = v;
            } else if (a == "--screen") {
                ok = ParseStartScreenName(v);
                o->start.screen = v;
            } else {
                ok = ParsePuzzleAddress(v);
                o->start.puzzle = v;
            }
        } else {
            switch (own(a, value)) {
                case OptionTaken::Flag:
                    break;
                case OptionTaken::WithValue:
                    ++i;
                    break;
                case OptionTaken::BadValue:
                    ok = false;
                    ++i;
                    break;
                case OptionTaken::NeedsValue:
                    std::fprintf(stderr, "%s: %s needs a value (see --help)\n", program, a.c_str());
                    return 2;
                case OptionTaken::Unknown:
                    std::fprintf(stderr, "%s: unknown option %s (see --help)\n", program,
                                 a.c_str());
                    return 2;
            }
        }
        if (!ok) {
            std::fprintf(stderr, "%s: bad value for %s: %s\n", program, a.c_str(), argv[i]);
            return 2;
        }
    }
    if (o->dataDir.empty()) o->dataDir = ExecutableDir() + "/../data";
    return 0;
}

}  // namespace host
