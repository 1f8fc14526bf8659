// Scripted input for the headless host: a script of user actions, parsed into
// the passes of the game's main loop that they take, and a player that applies
// one pass at each yield. Lines (a '#' starts a comment):
//   tap X Y | press X Y | move X Y | release X Y
//   drag X1 Y1 X2 Y2 [STEPS] | pinch AX0 AY0 AX1 AY1 BX0 BY0 BX1 BY1 [STEPS]
//   finger down|move|up SLOT X Y (one finger; slot 0 is the primary pointer)
//   key escape|back|backspace|delete|f1|ctrl+z | answer BUTTON | resize W H
//   ad load|fail|close | wait MS | shot FILE.png | quit
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hosts/common/options.h"

namespace host {

// One change a pass makes. The primary pointer is touch slot 0 as well, so
// Press, Move and Release move both; TouchDown/Move/Up are the other slots.
struct ScriptAction {
    enum Kind {
        Press,      // a = x, b = y
        Move,       // a = x, b = y
        Release,    // a = x, b = y
        TouchDown,  // a = slot, b = x, c = y
        TouchMove,  // a = slot, b = x, c = y
        TouchUp,    // a = slot
        KeyDown,    // a = key code
        KeyUp,      // a = key code
        Answer,     // a = button
        Ad,         // a = AdOutcome: the ad stand-ins' loading or shown ad
        Resize,     // a = width, b = height
        Wait,       // a = milliseconds
        Shot,       // path
        Quit,
    };
    Kind kind = Quit;
    int32_t a = 0, b = 0, c = 0;
    std::string path;
};

// What one yield applies, and the script line it came from.
struct ScriptPass {
    int line = 0;
    std::vector<ScriptAction> actions;
};

struct Script {
    std::string name;  // for messages: the file name, or "-" for standard input
    std::vector<ScriptPass> passes;
    bool hasShot = false;
};

constexpr int32_t kDefaultDragSteps = 10;

// Parses a whole script. On a bad line gives false and "NAME:LINE: what is wrong".
bool ParseScript(const std::string& text, const std::string& name, Script* script,
                 std::string* error);

// What a pass needs of the host beyond the shared input state.
struct ScriptEffects {
    // Gives the GL surface the new size, once the player has set the size the
    // game reads (a host that draws on a drawable of its own sets both again);
    // the player then raises surface event 1. False with a reason when it cannot.
    std::function<bool(int32_t width, int32_t height, std::string* error)> resize;
    // Writes the last frame shown to path. False with a reason when it cannot.
    std::function<bool(const std::string& path, std::string* error)> shot;
    // Advances the virtual clock.
    std::function<void(uint32_t ms)> wait;
};

class ScriptPlayer {
  public:
    ScriptPlayer(Script script, ScriptEffects effects);

    // Applies the next pass. False when none was left, or when a step failed
    // (Error() then says where and why, and no further pass is applied).
    bool Step();

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    size_t PassesApplied() const { return next_; }
    const Script& GetScript() const { return script_; }

  private:
    bool Apply(const ScriptAction& action, std::string* why);

    Script script_;
    ScriptEffects effects_;
    size_t next_ = 0;
    std::string error_;
};

}  // namespace host
