// Rendering and measuring the pictures of the puzzle sources. Glyph names
// come from the style sheets the font packages ship and, for emoji, from the
// Unicode character names, so every picture can be credited by name.
#include "tools/forge/picture.h"

#include <ft2build.h>
#include <zlib.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>

#include "tools/forge/puzzle_io.h"
#include "tools/forge/subjects.h"
#include "tools/forge/vector_icons.h"

namespace forge {

namespace {

constexpr int kOutlinePixels = 192;  // em size the outline glyphs are rendered at
constexpr int kVectorPixels = 192;   // square the vector icons are rasterised into
// Vector icons that made no puzzle of at least this many clues per line in
// the survey are left out (they would lose to the others anyway).
constexpr float kSurveyKeep = 2.4f;
// Pictures are measured as the richest rendering the build tries draws them.
constexpr float kMeasureDarkLuminance = 0.4f;

void CropToInk(Raster* r);

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Glyph names of a web-font style sheet: every rule whose selectors carry the
// prefix and whose content is one escaped code point. The first name of a
// rule, and the first rule of a code point, win.
std::map<uint32_t, std::string> ParseStyleSheet(const std::string& css, const std::string& prefix) {
    std::map<uint32_t, std::string> names;
    static const std::regex content(R"re(content:\s*"\\([0-9a-fA-F]+)")re");
    size_t ruleStart = 0;
    for (std::sregex_iterator it(css.begin(), css.end(), content), end; it != end; ++it) {
        size_t pos = static_cast<size_t>(it->position());
        size_t brace = css.rfind('{', pos);
        if (brace == std::string::npos || brace < ruleStart) continue;
        size_t prevClose = css.rfind('}', brace);
        size_t selStart = prevClose == std::string::npos ? 0 : prevClose + 1;
        std::string selectors = css.substr(selStart, brace - selStart);
        ruleStart = pos;
        size_t p = selectors.find(prefix);
        if (p == std::string::npos) continue;
        p += prefix.size();
        std::string name;
        while (p < selectors.size() && (std::isalnum(static_cast<unsigned char>(selectors[p])) ||
                                        selectors[p] == '-' || selectors[p] == '_')) {
            name += selectors[p++];
        }
        if (name.empty()) continue;
        uint32_t cp = static_cast<uint32_t>(std::stoul((*it)[1].str(), nullptr, 16));
        names.emplace(cp, name);
    }
    return names;
}

std::string NormaliseName(const std::string& raw) {
    std::string out;
    for (char ch : raw) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (std::isalnum(c)) {
            out += static_cast<char>(std::tolower(c));
        } else if (!out.empty() && out.back() != '-') {
            out += '-';
        }
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}

// Words of names that stand for interface furniture rather than things a
// player would recognise in a picture.
bool InterfaceWord(const std::string& word) {
    // clang-format off
    static const std::set<std::string> kWords = {
        "message",     "comment",    "chat",        "sms",         "mms",        "tooltip",
        "density",     "inbox",      "assignment",  "clipboard",   "folder",     "file",
        "account",     "view",       "tab",         "window",      "fullscreen", "screen",
        "settings",    "toggle",     "content",     "backup",      "playlist",   "library",
        "collections", "note",       "notes",       "calendar",    "event",      "today",
        "date",        "receipt",    "summarize",   "subject",     "segment",    "dataset",
        "data",        "input",      "output",      "login",       "logout",     "exit",
        "edgesensor",  "mobiledata", "slideshow",   "featured",    "wysiwyg",    "source",
        "blinds",      "shades",     "curtains",    "width",       "height",     "padding",
        "margin",      "space",      "vertical",    "horizontal",  "distribute", "arrange",
        "selection",   "select",     "resize",      "compare",     "relative",   "pause",
        "stop",        "play",       "skip",        "fast",        "replay",     "repeat",
        "shuffle",     "queue",      "perm",        "call",        "voicemail",  "dialpad",
        "hd",          "sd",         "4k",          "10k",         "hdr",        "exposure",
        "brightness",  "contrast",   "timer",       "gradient",    "invert",     "flare",
        "tonality",    "pip",        "web",         "desktop",     "devices",    "tablet",
        "smartphone",  "cellphone",  "monitor",     "cast",        "storage",    "memory",
        "usb",         "cable",      "router",      "lan",         "ethernet",   "dns",
        "vpn",         "http",       "api",         "terminal",    "console",    "send",
        "reply",       "forward",    "undo",        "redo",        "refresh",    "sync",
        "update",      "upload",     "download",    "import",      "export",     "launch",
        "open",        "link",       "unlink",      "attach",      "attachment", "share",
        "print",       "save",       "delete",      "remove",      "add",        "create",
        "edit",        "mode",       "title",       "subtitles",   "caption",    "short",
        "list",        "bullet",     "toc",         "reorder",     "group",      "workspaces",
        "apps",        "widgets",    "dashboard",   "extension",   "power",      "input",
        "outbound",    "inbound",    "offline",     "online",      "pending",    "approval",
        "domain",      "verified",   "published",   "unpublished", "manage",     "switch",
        "swap",        "transfer",   "compress",    "expand",      "collapse",   "zoom",
        "center",      "focus",      "filter",      "tune",        "more",       "less",
        "help",        "info",       "information", "error",       "warning",    "alert",
        "report",      "feedback",   "rate",        "review",      "reviews",    "quiz",
        "question",    "next",       "previous",    "first",       "last",       "plan",
        "not",         "started",    "running",     "errors",      "with",       "do",
        "disturb",     "off",        "on",          "outline",     "variant",    "multiple",
        "none",        "auto",       "awesome",     "logo",        "dev",        "p",
        "3p",          "g",          "e",           "r",           "h",          "mp",
        "fps",         "pdf",        "doc",         "docs",        "drive",      "spreadsheet",
        "slides",
        // Brands and logos.
        "bandcamp", "adn", "envira", "umbraco", "teamviewer", "mesa", "tie", "developer",
        "angellist", "buysellads", "connectdevelop", "contao", "dashcube", "delicious",
        "deviantart", "digg", "empire", "expeditedssl", "fonticons", "awesome", "forumbee",
        "gg", "glide", "hacker", "houzz", "imdb", "ioxhost", "lastfm", "leanpub", "meanpath",
        "modx", "monster", "pagelines", "product", "rebel", "sellsy", "shirtsinbulk",
        "simplybuilt", "skyatlas", "slideshare", "superpowers", "themeisle", "viacoin", "viadeo",
        "wpbeginner", "wpexplorer", "wpforms", "combinator", "yc", "yoast", "grav", "linode",
        "etsy", "eercast", "order", "ge", "weixin", "ok", "opencart", "sith", "resistance",
        "blackberry", "codiepie", "git", "xamarin", "visualstudio", "wunderlist", "yammer",
        "hangouts", "instapaper", "lastpass", "nest", "onedrive", "quicktime", "raspberrypi",
        "readability", "stackexchange", "vlc", "xaml", "xda", "appnet", "azure", "basecamp",
        "bing", "blogger", "bower", "cisco", "cloudflare", "minecraft", "pokeball", "jedi",
        "glassdoor", "gmail", "hackernews", "itunes", "jira", "kodi", "lyft", "mixer", "netflix",
        "patreon", "plex", "salesforce", "sass", "shopify", "sketch", "swift", "trademark",
        "copyright", "registered", "unity", "unreal", "untappd", "vuejs", "webpack", "wii",
        "wiiu", "zip", "snapchat", "pied", "piper", "fort", "free", "camp", "codecamp",
        "chromecast", "amazon", "adobe", "autodesk", "atlassian", "dribbble", "ebay", "deezer",
        "disqus", "docker", "duolingo", "emby", "epic", "feedly", "foursquare", "google", "hulu",
        "lego", "medium", "meetup", "nuget", "octocat", "origin", "pandora", "pinterest",
        "pocket", "quora", "react", "rss", "sony", "steam", "tesla", "tor", "twitter", "ubisoft",
        "uber", "vk", "wechat", "wikipedia", "youtube", "yahoo", "dev", "logo", "ra", "strikethrough", "kelvin", "rsvp", "tiktok", "discord", "aod", "linear", "hashtag", "swipe", "ray", "webhook", "password", "paragraph", "west", "east", "north", "south", "grading", "description", "placard", "dvr", "fmd", "pilcrow", "sigma", "pi", "omega", "alpha", "beta", "gamma", "delta", "lambda", "percent", "division", "multiplication", "equal", "approximately", "function", "variable",
    };
    // clang-format on
    return kWords.count(word) != 0;
}

// Pictures that, looked at on contact sheets of big boards, do not read as
// what they are once solved: frames and bars, letters, specks.
bool Unrecognisable(const std::string& name) {
    // clang-format off
    static const std::set<std::string> kNames = {
        "18-up-rating", "ad-units", "addchart", "app-blocking", "application", "article",
        "ballot", "bio", "blur", "bookmark-tabs", "broken-image", "card-index",
        "card-index-dividers", "chair-alt", "chart-timeline", "cl-button", "clone", "collage",
        "columns", "confetti-ball", "copy-all", "countertops", "credit-card-scan", "dedent",
        "dehaze", "document-scanner", "fiber-new", "fiber-pin", "film-frames",
        "firework-sparkler", "flutter-dash", "foggy", "header", "heavy-equals-sign",
        "image-aspect-ratio", "insert-chart-outlined", "japanese-application-button",
        "japanese-discount-button", "japanese-prohibited-button", "joker", "keyboard",
        "kimono", "kiss-woman-woman", "lens-blur", "level-slider", "line-style", "line-weight",
        "looks-3", "low-vision", "man-climbing", "man-wrestling", "matrix", "milky-way",
        "navicon", "pages", "person-climbing", "person-wrestling", "phonelink",
        "phonelink-lock", "phonelink-ring", "picture-in-picture", "picture-in-picture-alt",
        "pin", "polaroid", "quality-high", "rainbow-flag", "responsive", "sari", "shekel",
        "sos", "sparkler", "straighten", "tag", "tasks", "television", "television-guide", "th",
        "transgender-flag", "treasure-chest", "troll", "underline", "vibrate",
        "woman-climbing", "woman-wrestling", "world-map", "wrestlers", "case-sensitive-alt",
    };
    // clang-format on
    return kNames.count(name) != 0;
}

// A drawing for a board of another shape carries that size in its name
// ("bus-25x20"): a size, not a camera badge like "20mp".
std::string WithoutBoardSize(const std::string& name) {
    const size_t dash = name.rfind('-');
    if (dash == std::string::npos) return name;
    const std::string size = name.substr(dash + 1);
    const size_t x = size.find('x');
    auto number = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (x == std::string::npos || !number(size.substr(0, x)) || !number(size.substr(x + 1)))
        return name;
    return name.substr(0, dash);
}

// Logos, letters and interface furniture make poor pictures.
bool Unwanted(const std::string& name) {
    if (Unrecognisable(name)) return true;
    // Emoji "buttons" are letters and words in a box ("cool-button",
    // "ab-button-blood-type"); a drawn sewing button is just "button".
    if (name != "button" && ("-" + name + "-").find("-button-") != std::string::npos) return true;
    std::stringstream words(name);
    for (std::string w; std::getline(words, w, '-');) {
        if (InterfaceWord(w)) return true;
        // "20mp", "4k", "3p": camera and format badges.
        size_t digits = w.find_first_not_of("0123456789");
        if (digits > 0 && digits != std::string::npos) return true;
    }
    static const char* const kWords[] = {
        "facebook",
        "twitter",
        "google",
        "apple",
        "windows",
        "android",
        "linux",
        "github",
        "gitlab",
        "amazon",
        "youtube",
        "instagram",
        "pinterest",
        "linkedin",
        "reddit",
        "skype",
        "slack",
        "snapchat",
        "spotify",
        "steam",
        "tumblr",
        "vimeo",
        "whatsapp",
        "wordpress",
        "xing",
        "yahoo",
        "dropbox",
        "drupal",
        "evernote",
        "firefox",
        "chrome",
        "opera",
        "safari",
        "internet-explorer",
        "paypal",
        "cc-",
        "bitcoin",
        "btc",
        "stack",
        "vk",
        "weibo",
        "wechat",
        "qq",
        "renren",
        "tencent",
        "foursquare",
        "flickr",
        "dribbble",
        "behance",
        "codepen",
        "css3",
        "html5",
        "jsfiddle",
        "joomla",
        "maxcdn",
        "medium",
        "meetup",
        "mixcloud",
        "odnoklassniki",
        "openid",
        "pied-piper",
        "quora",
        "ravelry",
        "scribd",
        "soundcloud",
        "stumbleupon",
        "telegram",
        "trello",
        "tripadvisor",
        "twitch",
        "uber",
        "xbox",
        "playstation",
        "nintendo",
        "microsoft",
        "office",
        "onenote",
        "outlook",
        "periscope",
        "pocket",
        "nodejs",
        "npm",
        "ubuntu",
        "debian",
        "fedora",
        "redhat",
        "tux",
        "wikipedia",
        "yelp",
        "vine",
        "venmo",
        "visa",
        "mastercard",
        "amex",
        "discover",
        "jcb",
        "diners",
        "stripe",
        "gratipay",
        "gittip",
        "bitbucket",
        "angular",
        "polymer",
        "language-",
        "xml",
        "json",
        "format-",
        "numeric",
        "alphabetical",
        "letter",
        "alpha-",
        "roman",
        "text",
        "font",
        "keyboard-",
        "code-",
        "regex",
        "currency",
        "sort",
        "filter",
        "view-",
        "border",
        "align",
        "indent",
        "checkbox",
        "radiobox",
        "square",
        "rectangle",
        "circle",
        "crop",
        "grid",
        "table",
        "page-",
        "arrow",
        "chevron",
        "menu",
        "dots",
        "drag",
        "wrap",
        "subdirectory",
        "call-",
        "signal",
        "battery",
        "network",
        "wifi",
        "bluetooth",
        "sim",
        "ticket-",
        "label",
        "blank",
        "box-",
        "-box",
        "unfold",
        "swap",
        "rotate",
        "flip",
        "move",
        "vector",
        "shape",
        "sign-",
        "minus",
        "plus",
        "close",
        "check",
        "tag-",
        "regional-indicator",
        "squared",
        "negative",
        "keycap",
        "digit",
        "combining",
    };
    for (const char* w : kWords) {
        if (name.find(w) != std::string::npos) return true;
    }
    return false;
}

// Skin-tone variants of an emoji ("waving-hand-dark-skin-tone" beside
// "waving-hand", "waving-hand-medium-dark" in Fluent), and flags: the
// plain emoji stands for them all, and flags are letters in disguise.
bool VariantOf(const std::string& name, const std::set<std::string>& names) {
    if (name.find("skin-tone") != std::string::npos || name.rfind("flag-", 0) == 0) return true;
    for (const char* tone : {"-medium-light", "-medium-dark", "-light", "-medium", "-dark"}) {
        const size_t n = std::strlen(tone);
        if (name.size() > n && name.compare(name.size() - n, n, tone) == 0 &&
            names.count(name.substr(0, name.size() - n))) {
            return true;
        }
    }
    return false;
}

// Unicode names of the emoji code points ("BEAR FACE"), from the Unicode
// character database that Debian's unicode-data package installs.
std::map<uint32_t, std::string> ReadUnicodeNames(const std::string& path) {
    std::map<uint32_t, std::string> names;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        size_t a = line.find(';');
        if (a == std::string::npos) continue;
        size_t b = line.find(';', a + 1);
        if (b == std::string::npos) continue;
        uint32_t cp = static_cast<uint32_t>(std::stoul(line.substr(0, a), nullptr, 16));
        if (cp < 0x2000) continue;
        std::string category = line.substr(b + 1, 2);
        if (category != "So") continue;
        names[cp] = line.substr(a + 1, b - a - 1);
    }
    return names;
}

bool EmojiWanted(uint32_t cp) {
    if (cp >= 0x1F1E6 && cp <= 0x1F1FF) return false;  // regional indicators
    if (cp >= 0x1F3FB && cp <= 0x1F3FF) return false;  // skin tones
    if (cp >= 0x1F100 && cp <= 0x1F2FF) return false;  // enclosed letters and signs
    if (cp >= 0x2190 && cp <= 0x21FF) return false;    // arrows
    return cp >= 0x2300;
}

}  // namespace

// ---------------------------------------------------------------------------
// Library

struct PictureLibrary::Impl {
    FT_Library library = nullptr;
    std::vector<FT_Face> faces;              // per source; null for imported puzzles
    std::map<std::string, Raster> imported;  // by name
    // Rasterised vector icons by "source:name": size and zlib-packed
    // premultiplied RGBA, unpacked on every Render.
    struct Packed {
        int width = 0, height = 0;
        std::vector<uint8_t> bytes;
    };
    std::map<std::string, Packed> vectors;
    std::map<std::string, std::pair<float, float>> survey;  // "source:name" -> at 20, 40
    std::map<std::string, std::array<int8_t, 3>> review;    // "source:name" -> by band
    mutable std::mutex mutex;

    ~Impl() {
        for (FT_Face f : faces) {
            if (f) FT_Done_Face(f);
        }
        if (library) FT_Done_FreeType(library);
    }
};

PictureLibrary::PictureLibrary() : impl_(new Impl) {}

namespace {

// Calls use(fields) with the first four tab-separated fields of every line of
// the file that has them.
template <typename Use>
void ForEachFourFields(const std::string& path, Use use) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::array<std::string, 4> f;
        bool whole = true;
        for (std::string& x : f)
            whole = whole && static_cast<bool>(std::getline(fields, x, '\t'));
        if (whole) use(f);
    }
}

}  // namespace

void PictureLibrary::UseSurvey(const std::string& path) {
    ForEachFourFields(path, [&](const std::array<std::string, 4>& f) {
        impl_->survey[f[0] + ":" + f[1]] = {std::strtof(f[2].c_str(), nullptr),
                                            std::strtof(f[3].c_str(), nullptr)};
    });
}
PictureLibrary::~PictureLibrary() = default;

const char* const kReviewBandNames[3] = {"small", "mid", "big"};

void PictureLibrary::UseReview(const std::string& path) {
    std::map<std::string, std::array<std::array<int, 2>, 3>> counts;  // seen, missed
    ForEachFourFields(path, [&](const std::array<std::string, 4>& f) {
        const int verdict = f[3] == "seen" ? 0 : f[3] == "missed" ? 1 : -1;
        if (verdict < 0) return;
        for (int b = 0; b < 3; ++b) {
            if (f[2] == kReviewBandNames[b]) ++counts[f[0] + ":" + f[1]][b][verdict];
        }
    });
    for (const auto& [key, bands] : counts) {
        for (int b = 0; b < 3; ++b)
            impl_->review[key][b] = static_cast<int8_t>(ReviewVerdict(bands[b][0], bands[b][1]));
    }
}

bool PictureLibrary::Open(const std::string& importDir, const std::string& iconDir,
                          std::string* error) {
    if (FT_Init_FreeType(&impl_->library) != 0) {
        *error = "FreeType does not start";
        return false;
    }
    struct FontSource {
        SourceInfo info;
        std::string css, prefix;
    };
    const FontSource fonts[] = {
        {{"mdi", "Material Design Icons", "fonts-materialdesignicons-webfont",
          "icons CC-BY-4.0, font SIL OFL-1.1",
          "Austin Andrews and contributors (materialdesignicons.com); Google",
          "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf",
          SourceKind::Outline},
         "/usr/share/fonts-materialdesignicons-webfont/css/materialdesignicons.css",
         ".mdi-"},
        {{"material", "Material Icons", "fonts-material-design-icons-iconfont", "Apache-2.0",
          "Material Design Authors (Google); Jossef Harush",
          "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf",
          SourceKind::Outline},
         "/usr/share/fonts-material-design-icons-iconfont/css/material-design-icons.css",
         ".material-icons."},
        {{"fa", "Font Awesome 4.7", "fonts-font-awesome", "SIL OFL-1.1", "Dave Gandy",
          "/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf", SourceKind::Outline},
         "/usr/share/fonts-font-awesome/css/font-awesome.css",
         ".fa-"},
        {{"emoji", "Noto Color Emoji", "fonts-noto-color-emoji", "SIL OFL-1.1 (images Apache-2.0)",
          "Google Inc.; Arjen Nienhuis", "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf",
          SourceKind::Colour},
         "/usr/share/unicode/UnicodeData.txt",
         ""},
    };
    for (const FontSource& f : fonts) {
        FT_Face face = nullptr;
        if (FT_New_Face(impl_->library, f.info.path.c_str(), 0, &face) != 0) {
            *error = "cannot open " + f.info.path + " (install " + f.info.package + ")";
            return false;
        }
        int index = static_cast<int>(sources_.size());
        sources_.push_back(f.info);
        impl_->faces.push_back(face);
        std::string text = ReadText(f.css);
        if (text.empty()) {
            *error = "cannot read " + f.css;
            return false;
        }
        if (f.info.kind == SourceKind::Colour) {
            if (FT_Select_Size(face, 0) != 0) {
                *error = "no bitmap strike in " + f.info.path;
                return false;
            }
            std::map<uint32_t, std::string> names = ReadUnicodeNames(f.css);
            FT_UInt gi = 0;
            for (FT_ULong cp = FT_Get_First_Char(face, &gi); gi != 0;
                 cp = FT_Get_Next_Char(face, cp, &gi)) {
                auto it = names.find(static_cast<uint32_t>(cp));
                if (it == names.end() || !EmojiWanted(static_cast<uint32_t>(cp))) continue;
                PictureRef ref;
                ref.source = index;
                ref.codepoint = static_cast<uint32_t>(cp);
                ref.name = NormaliseName(it->second);
                pictures_.push_back(ref);
            }
        } else {
            FT_Set_Pixel_Sizes(face, 0, kOutlinePixels);
            for (const auto& [cp, raw] : ParseStyleSheet(text, f.prefix)) {
                if (FT_Get_Char_Index(face, cp) == 0) continue;
                PictureRef ref;
                ref.source = index;
                ref.codepoint = cp;
                ref.name = NormaliseName(raw);
                pictures_.push_back(ref);
            }
        }
    }

    // Vector sets that npm installs (tools/forge/package.json): colour emoji
    // for big boards, one-colour icons drawn to be read small for the others.
    const SourceInfo vectorSets[] = {
        {"twemoji", "Twemoji", "@iconify-json/twemoji (npm)", "CC-BY-4.0",
         "Twitter, Inc and other contributors (twemoji); Iconify",
         iconDir + "/@iconify-json/twemoji/icons.json", SourceKind::Vector},
        {"fluent", "Fluent Emoji Flat", "@iconify-json/fluent-emoji-flat (npm)", "MIT",
         "Microsoft Corporation (fluentui-emoji); Iconify",
         iconDir + "/@iconify-json/fluent-emoji-flat/icons.json", SourceKind::Vector},
        {"hc", "Fluent Emoji High Contrast", "@iconify-json/fluent-emoji-high-contrast (npm)",
         "MIT", "Microsoft Corporation (fluentui-emoji); Iconify",
         iconDir + "/@iconify-json/fluent-emoji-high-contrast/icons.json", SourceKind::Shape, true},
        {"fa6", "Font Awesome 6 Free Solid", "@iconify-json/fa6-solid (npm)", "CC-BY-4.0",
         "Dave Gandy and Fonticons, Inc. (fontawesome.com); Iconify",
         iconDir + "/@iconify-json/fa6-solid/icons.json", SourceKind::Shape},
        {"ph", "Phosphor Icons (fill)", "@iconify-json/ph (npm)", "MIT",
         "Phosphor Icons (Helena Zhang, Tobias Fried); Iconify",
         iconDir + "/@iconify-json/ph/icons.json", SourceKind::Shape},
    };
    // Sets that draw every icon in several weights: the one weight wanted,
    // by the suffix of its names (dropped from the picture's name).
    const std::map<std::string, std::string> kWeight = {{"ph", "-fill"}};
    for (const SourceInfo& info : vectorSets) {
        std::vector<VectorIcon> all;
        if (!ReadIconSet(info.path, &all, error)) {
            *error += " (run scripts/install-deps.sh test)";
            return false;
        }
        auto weight = kWeight.find(info.id);
        if (weight != kWeight.end()) {
            const std::string& suffix = weight->second;
            std::vector<VectorIcon> kept;
            for (VectorIcon& icon : all) {
                if (icon.name.size() <= suffix.size() ||
                    icon.name.compare(icon.name.size() - suffix.size(), suffix.size(), suffix) != 0)
                    continue;
                icon.name.resize(icon.name.size() - suffix.size());
                kept.push_back(std::move(icon));
            }
            all = std::move(kept);
        }
        std::set<std::string> names;
        for (const VectorIcon& icon : all)
            names.insert(icon.name);
        std::vector<VectorIcon> icons;
        for (VectorIcon& icon : all) {
            // References between elements would clash in a shared atlas.
            if (icon.body.find("id=") != std::string::npos) continue;
            if (VariantOf(icon.name, names) || Unwanted(icon.name)) continue;
            // One-colour icons serve the boards under 30 cells, where only
            // things a player can name are wanted; the survey is of big boards.
            if (info.kind == SourceKind::Shape) {
                if (Legibility(NormaliseName(icon.name)) == 0) continue;
            } else if (!impl_->survey.empty()) {
                auto it = impl_->survey.find(info.id + ":" + NormaliseName(icon.name));
                if (it == impl_->survey.end() ||
                    std::max(it->second.first, it->second.second) < kSurveyKeep) {
                    continue;
                }
            }
            icons.push_back(std::move(icon));
        }
        std::vector<Raster> rasters;
        if (!RasteriseIcons(icons, kVectorPixels, &rasters, error)) return false;
        const int index = static_cast<int>(sources_.size());
        sources_.push_back(info);
        impl_->faces.push_back(nullptr);
        for (size_t i = 0; i < icons.size(); ++i) {
            Raster& r = rasters[i];
            if (info.kind == SourceKind::Shape) {
                // Drawn in one colour: its coverage is the picture.
                std::vector<uint8_t> grey(r.pixels.size() / 4);
                for (size_t p = 0; p < grey.size(); ++p)
                    grey[p] = r.pixels[p * 4 + 3];
                r.pixels = std::move(grey);
                r.colour = false;
            } else {
                for (size_t p = 0; p < r.pixels.size(); p += 4) {
                    for (int k = 0; k < 3; ++k)
                        r.pixels[p + k] =
                            static_cast<uint8_t>((r.pixels[p + k] * r.pixels[p + 3] + 127) / 255);
                }
            }
            CropToInk(&r);
            if (r.width == 0) continue;
            Impl::Packed packed;
            packed.width = r.width;
            packed.height = r.height;
            uLongf size = compressBound(static_cast<uLong>(r.pixels.size()));
            packed.bytes.resize(size);
            if (compress2(packed.bytes.data(), &size, r.pixels.data(),
                          static_cast<uLong>(r.pixels.size()), 1) != Z_OK) {
                continue;
            }
            packed.bytes.resize(size);
            packed.bytes.shrink_to_fit();
            PictureRef ref;
            ref.source = index;
            ref.name = NormaliseName(icons[i].name);
            impl_->vectors[info.id + ":" + ref.name] = std::move(packed);
            pictures_.push_back(ref);
        }
    }

    // Puzzles that authors added with "import", in name order.
    std::vector<std::string> files = ListNonFiles(importDir);
    if (!files.empty()) {
        SourceInfo info{
            "non",     "Imported puzzles", importDir, "see each puzzle", "see each puzzle",
            importDir, SourceKind::Cells};
        int index = static_cast<int>(sources_.size());
        sources_.push_back(info);
        impl_->faces.push_back(nullptr);
        for (const std::string& file : files) {
            NonPuzzle non;
            std::string why;
            if (!ReadNonFile(importDir + "/" + file, &non, &why)) continue;
            Analysis a = Analyse(non.clues);
            if (a.verdict != Verdict::Unique) continue;
            Raster r;
            r.width = non.clues.cols;
            r.height = non.clues.rows;
            r.pixels.resize(static_cast<size_t>(r.width) * r.height);
            for (size_t i = 0; i < r.pixels.size(); ++i)
                r.pixels[i] = a.solution.cells[i] ? 255 : 0;
            PictureRef ref;
            ref.source = index;
            ref.name =
                NormaliseName(non.title.empty() ? file.substr(0, file.size() - 4) : non.title);
            ref.credit = non.author.empty() ? "unknown author" : non.author;
            if (!non.license.empty()) ref.credit += " (" + non.license + ")";
            if (impl_->imported.count(ref.name)) continue;
            impl_->imported[ref.name] = r;
            pictures_.push_back(ref);
        }
    }
    return true;
}

namespace {

// Crops a raster to the box of its clearly inked pixels.
void CropToInk(Raster* r) {
    const int stride = r->colour ? 4 : 1;
    const int alpha = r->colour ? 3 : 0;
    int x0 = r->width, y0 = r->height, x1 = -1, y1 = -1;
    for (int y = 0; y < r->height; ++y) {
        for (int x = 0; x < r->width; ++x) {
            if (r->pixels[(static_cast<size_t>(y) * r->width + x) * stride + alpha] < 32) continue;
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) {
        r->width = r->height = 0;
        r->pixels.clear();
        return;
    }
    Raster out;
    out.colour = r->colour;
    out.width = x1 - x0 + 1;
    out.height = y1 - y0 + 1;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height * stride);
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(&out.pixels[static_cast<size_t>(y) * out.width * stride],
                    &r->pixels[(static_cast<size_t>(y + y0) * r->width + x0) * stride],
                    static_cast<size_t>(out.width) * stride);
    }
    *r = std::move(out);
}

}  // namespace

bool PictureLibrary::Render(const PictureRef& ref, Raster* out) const {
    *out = Raster();
    const SourceInfo& src = sources_[ref.source];
    if (src.kind == SourceKind::Cells) {
        auto it = impl_->imported.find(ref.name);
        if (it == impl_->imported.end()) return false;
        *out = it->second;
        return true;
    }
    if (src.kind == SourceKind::Vector || src.kind == SourceKind::Shape) {
        auto it = impl_->vectors.find(src.id + ":" + ref.name);
        if (it == impl_->vectors.end()) return false;
        out->width = it->second.width;
        out->height = it->second.height;
        out->colour = src.kind == SourceKind::Vector;
        out->lineDrawing = src.lineDrawing;
        out->pixels.resize(static_cast<size_t>(out->width) * out->height * (out->colour ? 4 : 1));
        uLongf size = static_cast<uLongf>(out->pixels.size());
        return uncompress(out->pixels.data(), &size, it->second.bytes.data(),
                          static_cast<uLong>(it->second.bytes.size())) == Z_OK &&
               size == out->pixels.size();
    }
    std::lock_guard<std::mutex> lock(impl_->mutex);
    FT_Face face = impl_->faces[ref.source];
    const bool colour = src.kind == SourceKind::Colour;
    FT_Int32 flags = FT_LOAD_RENDER | (colour ? FT_LOAD_COLOR : 0);
    if (FT_Load_Char(face, ref.codepoint, flags) != 0) return false;
    const FT_Bitmap& bm = face->glyph->bitmap;
    out->width = static_cast<int>(bm.width);
    out->height = static_cast<int>(bm.rows);
    out->colour = colour;
    if (colour) {
        if (bm.pixel_mode != FT_PIXEL_MODE_BGRA) return false;
        out->pixels.resize(static_cast<size_t>(out->width) * out->height * 4);
        for (int y = 0; y < out->height; ++y) {
            const uint8_t* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
            for (int x = 0; x < out->width; ++x) {
                uint8_t* px = &out->pixels[(static_cast<size_t>(y) * out->width + x) * 4];
                px[0] = row[x * 4 + 2];
                px[1] = row[x * 4 + 1];
                px[2] = row[x * 4 + 0];
                px[3] = row[x * 4 + 3];
            }
        }
    } else {
        if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
        out->pixels.resize(static_cast<size_t>(out->width) * out->height);
        for (int y = 0; y < out->height; ++y) {
            std::memcpy(&out->pixels[static_cast<size_t>(y) * out->width],
                        bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch,
                        static_cast<size_t>(out->width));
        }
    }
    CropToInk(out);
    return out->width > 0;
}

// ---------------------------------------------------------------------------
// Measuring

void PictureLibrary::Measure(void (*progress)(int, int, void*), void* user) {
    std::vector<PictureRef> kept;
    std::set<std::string> signatures;
    const int total = static_cast<int>(pictures_.size());
    for (int i = 0; i < total; ++i) {
        if (progress && (i % 64 == 0 || i + 1 == total)) progress(i + 1, total, user);
        PictureRef ref = pictures_[i];
        if (ref.name.empty()) continue;
        const bool drawnOnCells = sources_[ref.source].kind == SourceKind::Cells;
        auto reviewed = impl_->review.find(sources_[ref.source].id + ":" + ref.name);
        // The name rules guess what nobody has looked at; a picture people
        // named ("table", "open-book", "battery" drawn as things) is kept.
        const bool named =
            reviewed != impl_->review.end() &&
            *std::max_element(reviewed->second.begin(), reviewed->second.end()) >= kRecognised;
        if (!named && Unwanted(drawnOnCells ? WithoutBoardSize(ref.name) : ref.name)) continue;
        Raster r;
        if (!Render(ref, &r) || r.width < 8 || r.height < 8) continue;
        ref.sourceWidth = r.width;
        ref.sourceHeight = r.height;
        ref.legible = Legibility(ref.name);
        auto surveyed = impl_->survey.find(sources_[ref.source].id + ":" + ref.name);
        if (surveyed != impl_->survey.end()) {
            ref.played20 = surveyed->second.first;
            ref.played40 = surveyed->second.second;
        }
        if (reviewed != impl_->review.end()) {
            for (int b = 0; b < 3; ++b)
                ref.review[b] = reviewed->second[b];
        }
        double sum = 0;
        const int stride = r.colour ? 4 : 1;
        const int channel = r.colour ? 3 : 0;
        for (size_t p = channel; p < r.pixels.size(); p += stride)
            sum += r.pixels[p];
        ref.fill = sum / (255.0 * r.width * r.height);
        // A drawing on cells shows only cell for cell, so it is measured as
        // drawn: rescaled, a silhouette's edges would pass for detail.
        for (int s = 0; s < 6; ++s) {
            int rows = r.height, cols = r.width;
            if (!drawnOnCells)
                FittedSize(r.width, r.height, kReferenceSizes[s], kReferenceSizes[s], &rows, &cols);
            std::vector<float> ink = CellInk(r, rows, cols, kMeasureDarkLuminance);
            double fuzz = 0;
            for (float v : ink)
                fuzz += std::min(v, 1.0f - v);
            ref.crispness[s] = static_cast<float>(1.0 - 2.0 * fuzz / ink.size());
            Bitmap b(rows, cols);
            for (size_t k = 0; k < ink.size(); ++k)
                b.cells[k] = ink[k] >= 0.5f;
            ref.filled[s] = static_cast<float>(b.FilledCount()) / static_cast<float>(ink.size());
            // Glyphs on boards of 15 cells and more are tried as outlines
            // first, and that is how richly they play.
            if (!r.colour && !r.lineDrawing && !drawnOnCells && kReferenceSizes[s] >= 15) {
                const std::vector<float> outline = CellInk(r, rows, cols, kOutlinesOnly);
                for (size_t k = 0; k < outline.size(); ++k)
                    b.cells[k] = outline[k] >= 0.5f;
            }
            Clues c = CluesOf(b);
            size_t runs = 0;
            for (const auto& l : c.rowClues)
                runs += l.size();
            for (const auto& l : c.colClues)
                runs += l.size();
            ref.runs[s] = static_cast<float>(runs) / static_cast<float>(rows + cols);
        }
        // The same drawing in two fonts (or twice in one) is kept once.
        int rows = 0, cols = 0;
        FittedSize(r.width, r.height, 16, 16, &rows, &cols);
        std::vector<float> ink = CellInk(r, rows, cols);
        std::string sig = std::to_string(rows) + "x" + std::to_string(cols) + ":";
        for (float v : ink)
            sig += v >= 0.5f ? '1' : '0';
        if (!signatures.insert(sig).second) continue;
        kept.push_back(ref);
    }
    pictures_ = std::move(kept);
}

// ---------------------------------------------------------------------------
// Cells

void FittedSize(int pictureWidth, int pictureHeight, int boxRows, int boxCols, int* rows,
                int* cols) {
    double s = std::min(static_cast<double>(boxCols) / pictureWidth,
                        static_cast<double>(boxRows) / pictureHeight);
    *cols = std::clamp(static_cast<int>(std::lround(pictureWidth * s)), 1, boxCols);
    *rows = std::clamp(static_cast<int>(std::lround(pictureHeight * s)), 1, boxRows);
}

namespace {

// The share of each source pixel column (or row) that falls in each cell.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> Spans(int cells, int pixels, double scale, double offset) {
    std::vector<Span> spans(static_cast<size_t>(cells));
    for (int c = 0; c < cells; ++c) {
        double a = (c - offset) / scale;
        double b = (c + 1 - offset) / scale;
        a = std::max(a, 0.0);
        b = std::min(b, static_cast<double>(pixels));
        Span& s = spans[c];
        if (b <= a) continue;
        s.first = static_cast<int>(std::floor(a));
        for (int p = s.first; p < b; ++p) {
            double w = std::min(b, p + 1.0) - std::max(a, static_cast<double>(p));
            s.weights.push_back(w * scale);  // share of the cell's width
        }
    }
    return spans;
}

}  // namespace

namespace {

// Mean of each channel (0..1) over every cell of a rows x cols board showing
// the raster, fitted keeping its aspect and centred.
std::vector<float> Average(const Raster& raster, int rows, int cols) {
    const double scale = std::min(static_cast<double>(cols) / raster.width,
                                  static_cast<double>(rows) / raster.height);
    const double ox = (cols - raster.width * scale) / 2;
    const double oy = (rows - raster.height * scale) / 2;
    std::vector<Span> xs = Spans(cols, raster.width, scale, ox);
    std::vector<Span> ys = Spans(rows, raster.height, scale, oy);
    const int channels = raster.colour ? 4 : 1;
    std::vector<float> avg(static_cast<size_t>(rows) * cols * channels, 0.0f);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            double acc[4] = {0, 0, 0, 0};
            for (size_t j = 0; j < ys[r].weights.size(); ++j) {
                const int y = ys[r].first + static_cast<int>(j);
                for (size_t i = 0; i < xs[c].weights.size(); ++i) {
                    const int x = xs[c].first + static_cast<int>(i);
                    const double w = ys[r].weights[j] * xs[c].weights[i];
                    const uint8_t* px =
                        &raster.pixels[(static_cast<size_t>(y) * raster.width + x) * channels];
                    for (int k = 0; k < channels; ++k)
                        acc[k] += w * px[k];
                }
            }
            for (int k = 0; k < channels; ++k) {
                avg[(static_cast<size_t>(r) * cols + c) * channels + k] =
                    static_cast<float>(acc[k] / 255.0);
            }
        }
    }
    return avg;
}

// Sub-cells per cell side on which colour edges are found: fine enough that
// an edge through the middle of a cell still shows, so outlines stay
// unbroken.
constexpr int kEdgeSubcells = 3;
// How strongly a colour difference draws a line: two shades of one colour
// still part, so the shading inside a picture shows as detail.
constexpr float kEdgeGain = 3.0f;

}  // namespace

std::vector<float> CellInk(const Raster& raster, int rows, int cols, float darkLuminance) {
    std::vector<float> ink(static_cast<size_t>(rows) * cols, 0.0f);
    if (raster.width <= 0 || raster.height <= 0) return ink;
    if (!raster.colour && darkLuminance >= 0) return Average(raster, rows, cols);
    if (!raster.colour) {
        // A glyph's outline: its coverage as black ink on paper, edges only.
        Raster black;
        black.width = raster.width;
        black.height = raster.height;
        black.colour = true;
        black.pixels.assign(raster.pixels.size() * 4, 0);
        for (size_t i = 0; i < raster.pixels.size(); ++i)
            black.pixels[i * 4 + 3] = raster.pixels[i];
        return CellInk(black, rows, cols, darkLuminance);
    }

    // Colour: composite over white paper; regions darker than darkLuminance
    // are ink, and the edges between clearly different colours are lines on
    // their darker side, found on sub-cells and then counted per cell.
    const int f = kEdgeSubcells, sr = rows * f, sc = cols * f;
    const std::vector<float> avg = Average(raster, sr, sc);
    std::vector<float> rgb(static_cast<size_t>(sr) * sc * 3), lum(static_cast<size_t>(sr) * sc);
    for (size_t i = 0; i < lum.size(); ++i) {
        const float a = avg[i * 4 + 3];
        for (int k = 0; k < 3; ++k)
            rgb[i * 3 + k] = std::min(1.0f, avg[i * 4 + k] + (1.0f - a));
        lum[i] = 0.299f * rgb[i * 3] + 0.587f * rgb[i * 3 + 1] + 0.114f * rgb[i * 3 + 2];
    }
    std::vector<float> cellEdge(ink.size(), 0.0f), cellLum(ink.size(), 0.0f);
    for (int r = 0; r < sr; ++r) {
        for (int c = 0; c < sc; ++c) {
            const size_t i = static_cast<size_t>(r) * sc + c;
            float edge = 0;
            const int nr[4] = {r - 1, r + 1, r, r};
            const int nc[4] = {c, c, c - 1, c + 1};
            for (int k = 0; k < 4; ++k) {
                float nl = 1.0f;  // beyond the board: paper
                float n[3] = {1.0f, 1.0f, 1.0f};
                if (nr[k] >= 0 && nr[k] < sr && nc[k] >= 0 && nc[k] < sc) {
                    const size_t j = static_cast<size_t>(nr[k]) * sc + nc[k];
                    nl = lum[j];
                    for (int q = 0; q < 3; ++q)
                        n[q] = rgb[j * 3 + q];
                }
                if (lum[i] > nl) continue;  // the line goes on the darker side
                float d2 = 0;
                for (int q = 0; q < 3; ++q)
                    d2 += (rgb[i * 3 + q] - n[q]) * (rgb[i * 3 + q] - n[q]);
                edge = std::max(edge, std::sqrt(d2 / 3.0f));
            }
            const size_t cell = static_cast<size_t>(r / f) * cols + c / f;
            cellEdge[cell] += std::min(1.0f, kEdgeGain * edge);
            cellLum[cell] += lum[i];
        }
    }
    for (size_t i = 0; i < ink.size(); ++i) {
        const float l = cellLum[i] / (f * f);
        const float dark = std::clamp(0.5f + (darkLuminance - l) * 2.5f, 0.0f, 1.0f);
        // A line one sub-cell wide through a cell is a line of that cell.
        ink[i] = std::min(1.0f, std::max(dark, cellEdge[i] / f));
    }
    return ink;
}

}  // namespace forge
