// Command-line values both hosts accept (--size, --os, --lang), the device
// language taken from the locale, and where the running program lies.
#pragma once

#include <cstdint>
#include <string>

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

// The folder of the running executable (no trailing slash), or "." when unknown.
std::string ExecutableDir();

}  // namespace host
