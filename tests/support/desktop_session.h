// The desktop host in a real window on a virtual X display (Xvfb), driven by
// real mouse clicks and key presses (xdotool), for tests that play the game
// as a person would.
#pragma once

#include <sys/types.h>
#include <string>

namespace testsupport {

class DesktopSession {
  public:
    DesktopSession() = default;
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Starts Xvfb and the game with the window size "WxH" and the player's
    // data under dataHome (the host's XDG_DATA_HOME). False with *why when
    // either does not come up or the window never appears.
    bool Start(const std::string& size, const std::string& dataHome, std::string* why);
    // A left click at (x, y) in the window's pixels.
    bool Click(int x, int y);
    // Presses and releases a key by its X name ("Escape", "BackSpace", ...).
    bool Key(const std::string& name);
    // Asks the game to quit, as closing its window does; it shuts down in order.
    void Close();
    // Waits up to ms for the game to end; gives its exit status, or -1.
    int WaitExit(int ms);
    // Whether the game still runs.
    bool Running();

  private:
    bool StartOnce(const std::string& size, const std::string& dataHome, std::string* why);
    std::string Run(const std::string& command) const;

    std::string display_;
    std::string window_;
    std::string work_;
    pid_t xvfb_ = -1;
    pid_t game_ = -1;
    int exitStatus_ = -1;
};

}  // namespace testsupport
