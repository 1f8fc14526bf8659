// The extension tables the hosts offer: dialogs, links and the ad stand-ins.
// Every entry is a plain function over one process-wide state, reset by
// InstallExtensions; the module reaches them only through s3eExtGetHash.
#include "hosts/common/extensions.h"

#include <cstdio>
#include <deque>
#include <map>

#include "hosts/common/host.h"
#include "platform/s3e_ext.h"

namespace host {
namespace {

struct Handler {
    s3eCallback fn = nullptr;
    void* userData = nullptr;
};

enum class AdState { Prepared, Loading, Loaded, Shown };

struct Deferred {
    int32_t kind;
    s3eGoogleAdMobId ad;
};

struct ExtensionState {
    ExtensionSetup setup;
    // Dialogs
    Handler dialogHandler;
    std::deque<DialogBox> openDialogs;
    // AdMob stand-in
    Handler adMobHandlers[3];
    std::string adUnit;
    s3eGoogleAdMobId nextAd = 1;
    std::map<s3eGoogleAdMobId, AdState> ads;
    std::deque<Deferred> deferred;
    // ChartBoost stand-in
    Handler chartBoostHandlers[8];
    std::string appId, appSignature;
    bool sessionStarted = false;
};

ExtensionState& Ext() {
    static ExtensionState state;
    return state;
}

// Logs one call or event of an ad stand-in; gives result back, so a refused
// call reads "... refused".
s3eResult AdLog(const std::string& line, s3eResult result = S3E_RESULT_SUCCESS) {
    if (Ext().setup.onAd) {
        Ext().setup.onAd(result == S3E_RESULT_SUCCESS ? line : line + " refused");
    }
    return result;
}

std::string Num(uint64_t v) {
    return std::to_string(v);
}

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("(null)");
}

// ===========================================================================
// s3eDialog

s3eResult DialogRegister(int32_t kind, s3eCallback fn, void* userData) {
    if (kind != S3E_DIALOG_CALLBACK_ANSWER || !fn) return S3E_RESULT_ERROR;
    Ext().dialogHandler = Handler{fn, userData};
    return S3E_RESULT_SUCCESS;
}

s3eResult DialogUnRegister(int32_t kind, s3eCallback fn) {
    Handler& h = Ext().dialogHandler;
    if (kind != S3E_DIALOG_CALLBACK_ANSWER || !fn || h.fn != fn) return S3E_RESULT_ERROR;
    h = Handler{};
    return S3E_RESULT_SUCCESS;
}

s3eResult DialogAlertShow(const DialogRequest* request) {
    if (!request) return S3E_RESULT_ERROR;
    DialogBox box;
    box.id = request->id;
    box.title = Cp1251ToUtf8(request->title);
    box.message = Cp1251ToUtf8(request->message);
    // Buttons are given from the first on; the first missing one ends the list.
    for (const char* b : {request->button0, request->button1, request->button2}) {
        if (!b) break;
        box.buttons.push_back(Cp1251ToUtf8(b));
    }
    Ext().openDialogs.push_back(box);
    if (Ext().setup.onDialog) Ext().setup.onDialog(Ext().openDialogs.back());
    return S3E_RESULT_SUCCESS;
}

// ===========================================================================
// s3eOSExec

s3eResult OSExecExecuteURL(const char* address, s3eBool exitAfter) {
    if (!address || !*address) return S3E_RESULT_ERROR;
    bool opened = Ext().setup.onLink ? Ext().setup.onLink(address) : false;
    if (exitAfter) RequestQuit();
    return opened ? S3E_RESULT_SUCCESS : S3E_RESULT_ERROR;
}

// ===========================================================================
// s3eGoogleAdMob stand-in: an ad loads (or fails) and closes by itself, each
// reported in the pass after the call that started it, or when the script
// says so (AdFill::Scripted).

s3eResult AdMobRegister(int32_t kind, s3eCallback fn, void* userData) {
    if (kind < 0 || kind > 2 || !fn) return AdLog("admob register " + Num(kind), S3E_RESULT_ERROR);
    Ext().adMobHandlers[kind] = Handler{fn, userData};
    return AdLog("admob register " + Num(kind));
}

s3eResult AdMobSetAdUnit(const char* adUnit, int32_t mode) {
    std::string line = "admob unit " + Text(adUnit) + " " + std::to_string(mode);
    if (!adUnit) return AdLog(line, S3E_RESULT_ERROR);
    Ext().adUnit = adUnit;
    return AdLog(line);
}

s3eResult AdMobPrepareAd(s3eGoogleAdMobId* ad) {
    if (!ad) return AdLog("admob prepare", S3E_RESULT_ERROR);
    s3eGoogleAdMobId id = Ext().nextAd++;
    Ext().ads[id] = AdState::Prepared;
    *ad = id;
    return AdLog("admob prepare " + Num(id));
}

AdState* FindAd(s3eGoogleAdMobId ad) {
    auto it = Ext().ads.find(ad);
    return it == Ext().ads.end() ? nullptr : &it->second;
}

s3eResult AdMobDestroyAd(s3eGoogleAdMobId ad) {
    return AdLog("admob destroy " + Num(ad),
                 Ext().ads.erase(ad) ? S3E_RESULT_SUCCESS : S3E_RESULT_ERROR);
}

s3eResult AdMobLoadAd(s3eGoogleAdMobId ad) {
    AdState* state = FindAd(ad);
    if (!state || *state != AdState::Prepared) {
        return AdLog("admob load " + Num(ad), S3E_RESULT_ERROR);
    }
    *state = AdState::Loading;
    AdFill fill = Ext().setup.adFill;
    if (fill != AdFill::Scripted) {
        Ext().deferred.push_back({fill == AdFill::Always ? S3E_GOOGLEADMOB_CALLBACK_AD_LOADED
                                                         : S3E_GOOGLEADMOB_CALLBACK_AD_FAILED,
                                  ad});
    }
    return AdLog("admob load " + Num(ad));
}

s3eResult AdMobShowAd(s3eGoogleAdMobId ad) {
    AdState* state = FindAd(ad);
    if (!state || *state != AdState::Loaded) {
        return AdLog("admob show " + Num(ad), S3E_RESULT_ERROR);
    }
    *state = AdState::Shown;
    // Unless the script closes it, the player closes the ad at once.
    if (Ext().setup.adFill != AdFill::Scripted) {
        Ext().deferred.push_back({S3E_GOOGLEADMOB_CALLBACK_AD_CLOSED, ad});
    }
    return AdLog("admob show " + Num(ad));
}

s3eResult AdMobQueryAd(s3eGoogleAdMobId ad, uint8_t* loaded) {
    AdState* state = FindAd(ad);
    if (!state || !loaded) return AdLog("admob query " + Num(ad), S3E_RESULT_ERROR);
    *loaded = *state == AdState::Loaded ? 1 : 0;
    return AdLog("admob query " + Num(ad) + " " + Num(*loaded));
}

// Reports an event about an ad to the module, as the real service would.
void DeliverAdMob(int32_t kind, s3eGoogleAdMobId ad) {
    AdState* state = FindAd(ad);
    if (!state) return;  // destroyed in the meantime
    if (kind == S3E_GOOGLEADMOB_CALLBACK_AD_LOADED) *state = AdState::Loaded;
    if (kind == S3E_GOOGLEADMOB_CALLBACK_AD_FAILED) *state = AdState::Prepared;
    static const char* const kNames[] = {"loaded", "closed", "failed"};
    AdLog(std::string("admob ") + kNames[kind] + " " + Num(ad));
    Handler h = Ext().adMobHandlers[kind];
    if (h.fn) {
        s3eGoogleAdMobEvent event{ad};
        h.fn(&event, h.userData);
    }
}

// ===========================================================================
// s3eChartBoost stand-in: shows an interstitial on request once the session
// has started, when it has one to give.

s3eResult ChartBoostRegister(int32_t kind, s3eCallback fn, void* userData) {
    std::string line = "chartboost register " + std::to_string(kind);
    if (kind < 0 || kind >= 8 || !fn) return AdLog(line, S3E_RESULT_ERROR);
    Ext().chartBoostHandlers[kind] = Handler{fn, userData};
    return AdLog(line);
}

s3eResult ChartBoostSetAppID(const char* appId) {
    if (!appId) return AdLog("chartboost appid (null)", S3E_RESULT_ERROR);
    Ext().appId = appId;
    return AdLog("chartboost appid " + Ext().appId);
}

s3eResult ChartBoostSetAppSignature(const char* signature) {
    if (!signature) return AdLog("chartboost signature (null)", S3E_RESULT_ERROR);
    Ext().appSignature = signature;
    return AdLog("chartboost signature " + Ext().appSignature);
}

s3eResult ChartBoostStartSession() {
    if (Ext().appId.empty() || Ext().appSignature.empty()) {
        return AdLog("chartboost start", S3E_RESULT_ERROR);
    }
    Ext().sessionStarted = true;
    return AdLog("chartboost start");
}

const char* ChartBoostLocation(int32_t placement) {
    AdLog("chartboost location " + std::to_string(placement));
    return "Default";
}

s3eResult ChartBoostShowInterstitial(const char* location) {
    bool ok = location && Ext().sessionStarted && Ext().setup.adFill != AdFill::Never;
    return AdLog("chartboost show " + Text(location), ok ? S3E_RESULT_SUCCESS : S3E_RESULT_ERROR);
}

}  // namespace

// ===========================================================================
// Public

void InstallExtensions(const ExtensionSetup& setup) {
    Ext() = ExtensionState();
    Ext().setup = setup;
    if (setup.dialog) {
        s3eDialogTable t{};
        t.Register = &DialogRegister;
        t.UnRegister = &DialogUnRegister;
        t.AlertShow = &DialogAlertShow;
        RegisterExtension(S3E_EXT_DIALOG_ID, &t, sizeof t);
    }
    if (setup.osExec) {
        s3eOSExecTable t{};
        t.ExecuteURL = &OSExecExecuteURL;
        RegisterExtension(S3E_EXT_OSEXEC_ID, &t, sizeof t);
    }
    if (setup.adMob) {
        s3eGoogleAdMobTable t{};
        t.Register = &AdMobRegister;
        t.SetAdUnit = &AdMobSetAdUnit;
        t.PrepareAd = &AdMobPrepareAd;
        t.DestroyAd = &AdMobDestroyAd;
        t.LoadAd = &AdMobLoadAd;
        t.ShowAd = &AdMobShowAd;
        t.QueryAd = &AdMobQueryAd;
        RegisterExtension(S3E_EXT_GOOGLEADMOB_ID, &t, sizeof t);
    }
    if (setup.chartBoost) {
        s3eChartBoostTable t{};
        t.Register = &ChartBoostRegister;
        t.SetAppID = &ChartBoostSetAppID;
        t.SetAppSignature = &ChartBoostSetAppSignature;
        t.StartSession = &ChartBoostStartSession;
        t.ShowInterstitial = &ChartBoostShowInterstitial;
        t.Location = &ChartBoostLocation;
        RegisterExtension(S3E_EXT_CHARTBOOST_ID, &t, sizeof t);
    }
}

const DialogBox* OpenDialog() {
    return Ext().openDialogs.empty() ? nullptr : &Ext().openDialogs.front();
}

int OpenDialogCount() {
    return static_cast<int>(Ext().openDialogs.size());
}

bool AnswerDialog(int32_t button) {
    if (Ext().openDialogs.empty()) return false;
    DialogAnswer answer{Ext().openDialogs.front().id, button};
    Ext().openDialogs.pop_front();
    // Copy: the handler may unregister itself.
    Handler h = Ext().dialogHandler;
    if (h.fn) h.fn(&answer, h.userData);
    return true;
}

bool FinishAd(AdOutcome outcome) {
    const AdState wanted = outcome == AdOutcome::Close ? AdState::Shown : AdState::Loading;
    for (const auto& [id, state] : Ext().ads) {
        if (state != wanted) continue;
        DeliverAdMob(outcome == AdOutcome::Load   ? S3E_GOOGLEADMOB_CALLBACK_AD_LOADED
                     : outcome == AdOutcome::Fail ? S3E_GOOGLEADMOB_CALLBACK_AD_FAILED
                                                  : S3E_GOOGLEADMOB_CALLBACK_AD_CLOSED,
                     id);
        return true;
    }
    return false;
}

bool RunDeferredCallbacks() {
    // Only what was queued before this call: a handler may start another load,
    // whose outcome belongs to the pass after.
    std::deque<Deferred> now;
    now.swap(Ext().deferred);
    for (const Deferred& d : now)
        DeliverAdMob(d.kind, d.ad);
    return !now.empty();
}

std::string Cp1251ToUtf8(const char* text) {
    // Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
    static const uint16_t kHigh[64] = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
        0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
        0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
        0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
        0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    };
    std::string out;
    if (!text) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        unsigned c = *p;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        unsigned cp = c < 0xC0 ? kHigh[c - 0x80] : 0x0410 + (c - 0xC0);
        if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::string QuoteForLog(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
    return out;
}

}  // namespace host
