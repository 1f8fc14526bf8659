// Parsing a script into passes, and applying them to the shared input state.
#include "hosts/common/script.h"

#include <cstdlib>
#include <sstream>
#include <utility>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "platform/s3e.h"

namespace host {
namespace {

constexpr int32_t kMaxCoordinate = 1000000;
constexpr int32_t kMaxSteps = 10000;

bool ParseInt(const std::string& token, int32_t lo, int32_t hi, int32_t* out) {
    if (token.empty() || token.size() > 12) return false;
    size_t i = token[0] == '-' ? 1 : 0;
    if (i == token.size()) return false;
    for (size_t k = i; k < token.size(); ++k) {
        if (token[k] < '0' || token[k] > '9') return false;
    }
    long long v = std::strtoll(token.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    *out = static_cast<int32_t>(v);
    return true;
}

// Position k of steps along the way from a to b.
int32_t Along(int32_t a, int32_t b, int32_t k, int32_t steps) {
    return static_cast<int32_t>(a + (static_cast<int64_t>(b) - a) * k / steps);
}

ScriptAction Act(ScriptAction::Kind kind, int32_t a = 0, int32_t b = 0, int32_t c = 0) {
    ScriptAction action;
    action.kind = kind;
    action.a = a;
    action.b = b;
    action.c = c;
    return action;
}

struct Keys {
    const char* name;
    int32_t codes[2];
};

const Keys kKeys[] = {
    {"escape", {s3eKeyEsc, -1}},
    {"back", {s3eKeyBack, -1}},
    {"backspace", {s3eKeyBackspace, -1}},
    {"delete", {s3eKeyDelete, -1}},
    {"f1", {s3eKeyF1, -1}},
    {"ctrl+z", {s3eKeyLeftControl, s3eKeyZ}},
};

class LineParser {
  public:
    LineParser(const std::vector<std::string>& args, int line, Script* script)
        : args_(args), line_(line), script_(script) {}

    // Parses the line into passes; false with a message in *why.
    bool Parse(std::string* why);

  private:
    bool Ints(size_t need, size_t optional, const int32_t* lo, const int32_t* hi, int32_t* out,
              std::string* why);
    bool Coordinates(size_t need, size_t optionalSteps, int32_t* out, std::string* why);
    void Add(std::vector<ScriptAction> actions) {
        script_->passes.push_back(ScriptPass{line_, std::move(actions)});
    }

    const std::vector<std::string>& args_;
    int line_;
    Script* script_;
};

bool LineParser::Ints(size_t need, size_t optional, const int32_t* lo, const int32_t* hi,
                      int32_t* out, std::string* why) {
    size_t given = args_.size() - 1;
    if (given < need || given > need + optional) {
        *why = args_[0] + " takes " + std::to_string(need) +
               (optional ? " or " + std::to_string(need + optional) : std::string()) +
               " numbers, not " + std::to_string(given);
        return false;
    }
    for (size_t i = 0; i < given; ++i) {
        if (!ParseInt(args_[i + 1], lo[i], hi[i], &out[i])) {
            *why = args_[0] + ": \"" + args_[i + 1] + "\" is not a whole number from " +
                   std::to_string(lo[i]) + " to " + std::to_string(hi[i]);
            return false;
        }
    }
    return true;
}

// need coordinates, then optionally STEPS (default kDefaultDragSteps) in out[need].
bool LineParser::Coordinates(size_t need, size_t optionalSteps, int32_t* out, std::string* why) {
    int32_t lo[10], hi[10];
    for (size_t i = 0; i < need; ++i) {
        lo[i] = -kMaxCoordinate;
        hi[i] = kMaxCoordinate;
    }
    lo[need] = 1;
    hi[need] = kMaxSteps;
    out[need] = kDefaultDragSteps;
    return Ints(need, optionalSteps, lo, hi, out, why);
}

bool LineParser::Parse(std::string* why) {
    using A = ScriptAction;
    const std::string& cmd = args_[0];
    int32_t v[10] = {};
    if (cmd == "tap" || cmd == "press" || cmd == "move" || cmd == "release") {
        if (!Coordinates(2, 0, v, why)) return false;
        if (cmd == "tap" || cmd == "press") Add({Act(A::Press, v[0], v[1])});
        if (cmd == "tap" || cmd == "release") Add({Act(A::Release, v[0], v[1])});
        if (cmd == "move") Add({Act(A::Move, v[0], v[1])});
    } else if (cmd == "drag") {
        if (!Coordinates(4, 1, v, why)) return false;
        Add({Act(A::Press, v[0], v[1])});
        for (int32_t k = 1; k <= v[4]; ++k) {
            Add({Act(A::Move, Along(v[0], v[2], k, v[4]), Along(v[1], v[3], k, v[4]))});
        }
        Add({Act(A::Release, v[2], v[3])});
    } else if (cmd == "pinch") {
        if (!Coordinates(8, 1, v, why)) return false;
        const int32_t steps = v[8];
        Add({Act(A::Press, v[0], v[1]), Act(A::TouchDown, 1, v[2], v[3])});
        for (int32_t k = 1; k <= steps; ++k) {
            Add({Act(A::Move, Along(v[0], v[4], k, steps), Along(v[1], v[5], k, steps)),
                 Act(A::TouchMove, 1, Along(v[2], v[6], k, steps), Along(v[3], v[7], k, steps))});
        }
        Add({Act(A::TouchUp, 1)});
        Add({Act(A::Release, v[4], v[5])});
    } else if (cmd == "finger") {
        // One finger's own step, so tests can lift the fingers of a pinch in
        // either order. Slot 0 is the primary pointer as well.
        const std::string what = args_.size() > 1 ? args_[1] : std::string();
        if (what != "down" && what != "move" && what != "up") {
            *why = "finger takes down, move or up, then SLOT X Y";
            return false;
        }
        const std::vector<std::string> rest(args_.begin() + 1, args_.end());
        const int32_t lo[] = {0, -kMaxCoordinate, -kMaxCoordinate};
        const int32_t hi[] = {S3E_POINTER_TOUCH_MAX - 1, kMaxCoordinate, kMaxCoordinate};
        if (!LineParser(rest, line_, script_).Ints(3, 0, lo, hi, v, why)) return false;
        const bool primary = v[0] == 0;
        if (what == "down")
            Add({primary ? Act(A::Press, v[1], v[2]) : Act(A::TouchDown, v[0], v[1], v[2])});
        if (what == "move")
            Add({primary ? Act(A::Move, v[1], v[2]) : Act(A::TouchMove, v[0], v[1], v[2])});
        if (what == "up") Add({primary ? Act(A::Release, v[1], v[2]) : Act(A::TouchUp, v[0])});
    } else if (cmd == "key") {
        if (args_.size() != 2) {
            *why = "key takes one name: escape, back, backspace, delete, f1 or ctrl+z";
            return false;
        }
        for (const Keys& k : kKeys) {
            if (args_[1] != k.name) continue;
            std::vector<A> down, up;
            for (int32_t code : k.codes) {
                if (code < 0) continue;
                down.push_back(Act(A::KeyDown, code));
                up.insert(up.begin(), Act(A::KeyUp, code));
            }
            Add(down);
            Add(up);
            return true;
        }
        *why = "unknown key \"" + args_[1] + "\" (escape, back, backspace, delete, f1, ctrl+z)";
        return false;
    } else if (cmd == "answer") {
        const int32_t lo[] = {-1}, hi[] = {2};
        if (!Ints(1, 0, lo, hi, v, why)) return false;
        Add({Act(A::Answer, v[0])});
    } else if (cmd == "ad") {
        static const struct {
            const char* name;
            AdOutcome outcome;
        } kOutcomes[] = {
            {"load", AdOutcome::Load}, {"fail", AdOutcome::Fail}, {"close", AdOutcome::Close}};
        for (const auto& o : kOutcomes) {
            if (args_.size() == 2 && args_[1] == o.name) {
                Add({Act(A::Ad, static_cast<int32_t>(o.outcome))});
                return true;
            }
        }
        *why = "ad takes one of load, fail or close";
        return false;
    } else if (cmd == "resize") {
        const int32_t lo[] = {0, 0}, hi[] = {kMaxSurfaceSide, kMaxSurfaceSide};
        if (!Ints(2, 0, lo, hi, v, why)) return false;
        Add({Act(A::Resize, v[0], v[1])});
    } else if (cmd == "wait") {
        const int32_t lo[] = {0}, hi[] = {0x7FFFFFFF};
        if (!Ints(1, 0, lo, hi, v, why)) return false;
        Add({Act(A::Wait, v[0])});
    } else if (cmd == "quit") {
        if (args_.size() != 1) {
            *why = "quit takes nothing";
            return false;
        }
        Add({Act(A::Quit)});
    } else {
        *why = "unknown command \"" + cmd + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool ParseScript(const std::string& text, const std::string& name, Script* script,
                 std::string* error) {
    Script parsed;
    parsed.name = name;
    std::istringstream in(text);
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        std::string body = raw.substr(0, raw.find('#'));
        std::istringstream words(body);
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);
        if (args.empty()) continue;

        std::string why;
        if (args[0] == "shot") {
            // The rest of the line is the file name, so it may hold spaces.
            size_t start = body.find("shot") + 4;
            size_t first = body.find_first_not_of(" \t\r", start);
            size_t last = body.find_last_not_of(" \t\r");
            if (first == std::string::npos) {
                why = "shot takes a file name";
            } else {
                ScriptAction a = Act(ScriptAction::Shot);
                a.path = body.substr(first, last - first + 1);
                parsed.passes.push_back(ScriptPass{line, {a}});
                parsed.hasShot = true;
            }
        } else {
            LineParser(args, line, &parsed).Parse(&why);
        }
        if (!why.empty()) {
            *error = name + ":" + std::to_string(line) + ": " + why;
            return false;
        }
    }
    *script = std::move(parsed);
    return true;
}

ScriptPlayer::ScriptPlayer(Script script, ScriptEffects effects)
    : script_(std::move(script)), effects_(std::move(effects)) {}

bool ScriptPlayer::Step() {
    if (Failed() || next_ >= script_.passes.size()) return false;
    const ScriptPass& pass = script_.passes[next_++];
    for (const ScriptAction& action : pass.actions) {
        std::string why;
        if (!Apply(action, &why)) {
            error_ = script_.name + ":" + std::to_string(pass.line) + ": " + why;
            return false;
        }
    }
    return true;
}

bool ScriptPlayer::Apply(const ScriptAction& act, std::string* why) {
    using A = ScriptAction;
    switch (act.kind) {
        case A::Press:
            PointerDown(act.a, act.b);
            TouchDown(0, act.a, act.b);
            return true;
        case A::Move:
            PointerMove(act.a, act.b);
            TouchMove(0, act.a, act.b);
            return true;
        case A::Release:
            PointerUp(act.a, act.b);
            TouchMove(0, act.a, act.b);
            TouchUp(0);
            return true;
        case A::TouchDown:
            TouchDown(act.a, act.b, act.c);
            return true;
        case A::TouchMove:
            TouchMove(act.a, act.b, act.c);
            return true;
        case A::TouchUp:
            TouchUp(act.a);
            return true;
        case A::KeyDown:
            KeyDown(act.a);
            return true;
        case A::KeyUp:
            KeyUp(act.a);
            return true;
        case A::Answer:
            if (AnswerDialog(act.a)) return true;
            *why = "answer: no dialog is open";
            return false;
        case A::Ad: {
            static const char* const kWhat[] = {"ad load: no ad is loading",
                                                "ad fail: no ad is loading",
                                                "ad close: no ad is shown"};
            if (FinishAd(static_cast<AdOutcome>(act.a))) return true;
            *why = kWhat[act.a];
            return false;
        }
        case A::Resize:
            SetSurfaceSize(act.a, act.b);
            if (effects_.resize && !effects_.resize(act.a, act.b, why)) return false;
            RaiseSurfaceEvent(S3E_SURFACE_SCREENSIZE);
            return true;
        case A::Wait:
            if (effects_.wait) effects_.wait(static_cast<uint32_t>(act.a));
            return true;
        case A::Shot:
            if (!effects_.shot) {
                *why = "shot: this host keeps no frames";
                return false;
            }
            if (effects_.shot(act.path, why)) return true;
            *why = "shot " + act.path + ": " + *why;
            return false;
        case A::Quit:
            RequestQuit();
            return true;
    }
    return true;
}

}  // namespace host
