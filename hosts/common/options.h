// Command-line values both hosts accept (--size, --os, --lang), the device
// language taken from the locale, and where the running program lies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/s3e.h"

namespace host {

// The largest side of a surface the hosts accept.
constexpr int32_t kMaxSurfaceSide = 8192;

constexpr int32_t kLanguageEnglish = 2;
constexpr int32_t kLanguageRussian = 16;

// "WxH" with both sides from 1 to 8192.
bool ParseSize(const std::string& text, int32_t* width, int32_t* height);
// "ios" 14, "android" 18, "desktop" 3.
bool ParseOs(const std::string& text, int32_t* os);
// "ru" 16, "en" 2.
bool ParseLanguage(const std::string& text, int32_t* language);
// Device pixels per surface pixel (--density): a decimal number from 0.25 to
// 8, such as 3 or 1.39.
bool ParseDensity(const std::string& text, double* density);

// The device language of a locale name such as "ru_RU.UTF-8": Russian for
// names starting "ru", English otherwise.
int32_t LanguageOfLocale(const char* localeName);
// The device language from LC_ALL, LC_MESSAGES or LANG, the first one set.
int32_t LanguageFromEnvironment();

// The debug start screen both hosts offer (--screen main|sizes|puzzles|board
// with --puzzle CLASS[/GRID[/INDEX]]), for screenshots and tests. The game
// reads it from its configuration: "nonogram"/"StartScreen" and "StartPuzzle".
struct StartScreen {
    std::string screen;
    std::string puzzle;
};
bool ParseStartScreenName(const std::string& text);
// One to three decimal numbers separated by "/".
bool ParsePuzzleAddress(const std::string& text);
// Hands the start screen to the game; call after ConfigureHost.
void ApplyStartScreen(const StartScreen& start);

// What every host takes on the command line; a host's options derive from it
// and set their own default size first.
struct CommonOptions {
    int32_t width = 0, height = 0;
    double density = 1.0;
    int32_t os = S3E_OS_ID_DESKTOP;
    int32_t language = kLanguageEnglish;
    std::string dataDir;
    StartScreen start;
};

// How a host took one of its own options.
enum class OptionTaken { Unknown, Flag, WithValue, BadValue, NeedsValue };
// A host's own option name, with value the argument after it (null at the end).
using OwnOption = std::function<OptionTaken(const std::string& name, const char* value)>;

// Reads argv the same way in every host: --help prints usage, the shared
// options fill o, the rest go to own; the language defaults to the locale's and
// the data to the program's ../data. Gives 0 to go on, -1 after --help, or 2
// after saying on stderr, as program, what is wrong.
int ParseCommandLine(const char* program, const char* usage, int argc, char** argv,
                     CommonOptions* o, const OwnOption& own);

// The folder of the running executable (no trailing slash), or "." when unknown.
std::string ExecutableDir();

}  // namespace host
