// The host side of the extension tables: the dialog and link extensions that
// both hosts offer, and stand-ins of the two ad services for the headless
// host. Each host decides what a shown dialog, an opened link or an ad event
// looks like through ExtensionSetup; the tables, the registered handlers and
// the rule that answers never arrive inside the call that showed the box live
// here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

// A dialog the module asked for, with its texts converted to UTF-8.
struct DialogBox {
    int32_t id = 0;
    std::string title;
    std::string message;
    std::vector<std::string> buttons;
};

// Where the ad stand-ins' ads come from: each load succeeds, each fails, or
// each waits for FinishAd (a load until Load or Fail, a shown ad until Close).
enum class AdFill { Always, Never, Scripted };

struct ExtensionSetup {
    bool dialog = true;
    bool osExec = true;
    bool adMob = false;
    bool chartBoost = false;
    AdFill adFill = AdFill::Always;

    // A box was asked for. The host shows it later and answers with AnswerDialog.
    std::function<void(const DialogBox&)> onDialog;
    // Opens an address; false when it could not be opened.
    std::function<bool(const std::string& address)> onLink;
    // One line per call into an ad stand-in and per event it reports, such as
    // "admob prepare 1", "admob loaded 1", "admob show 1 refused",
    // "chartboost show Default".
    std::function<void(const std::string& line)> onAd;
};

// Registers the chosen tables for s3eExtGetHash and forgets every handler,
// open dialog and ad of an earlier setup. Call after ConfigureHost, which
// clears the registry.
void InstallExtensions(const ExtensionSetup& setup);

// The oldest dialog not yet answered, or null.
const DialogBox* OpenDialog();
int OpenDialogCount();

// Answers the oldest open dialog: the module's answer handler gets {id, button}.
// Call only between passes (inside a yield). False when no dialog is open.
bool AnswerDialog(int32_t button);

enum class AdOutcome { Load, Fail, Close };
// With AdFill::Scripted: the oldest ad that is loading finishes loading (Load)
// or fails (Fail), or the oldest one shown is closed (Close); the module's
// handler hears of it now. Call only between passes. False when no ad is in
// that state.
bool FinishAd(AdOutcome outcome);

// Delivers what the ad stand-ins hold back for the next pass (an ad finished
// loading, failed, or was closed). Hosts call it at the start of every yield;
// true when anything was delivered.
bool RunDeferredCallbacks();

// Windows-1251 bytes (the dialog texts of the Russian game) as UTF-8. ASCII
// passes unchanged; the one unassigned byte 0x98 becomes U+FFFD.
std::string Cp1251ToUtf8(const char* text);

// A text in double quotes for a log line, with '"' and '\' escaped and control
// characters written as \n, \t or \xHH, so one log entry stays on one line.
std::string QuoteForLog(const std::string& text);

}  // namespace host
