// Xvfb, the desktop host and xdotool, as child processes of a test.
#include "tests/support/desktop_session.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/support/test_host.h"

extern char** environ;

namespace testsupport {
namespace {

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& log) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        envStrings.push_back(*e);
    envStrings.insert(envStrings.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t* pid) {
    if (*pid <= 0) return;
    kill(*pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(*pid, nullptr, WNOHANG) == *pid) {
            *pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(*pid, SIGKILL);
    waitpid(*pid, nullptr, 0);
    *pid = -1;
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

}  // namespace

DesktopSession::~DesktopSession() {
    Stop(&game_);
    Stop(&xvfb_);
    if (!work_.empty()) RemoveTree(work_);
}

std::string DesktopSession::Run(const std::string& command) const {
    std::string out;
    FILE* p = popen(("DISPLAY=" + display_ + " " + command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p))
        out += buffer;
    pclose(p);
    return Trim(out);
}

bool DesktopSession::Start(const std::string& size, const std::string& dataHome, std::string* why) {
    if (StartOnce(size, dataHome, why)) return true;
    // A display Xvfb announced can still refuse the first client on a loaded
    // machine; a fresh server once more tells that apart from a real fault.
    if (why->find("cannot open a window") == std::string::npos) return false;
    Stop(&game_);
    Stop(&xvfb_);
    display_.clear();
    window_.clear();
    return StartOnce(size, dataHome, why);
}

bool DesktopSession::StartOnce(const std::string& size, const std::string& dataHome,
                               std::string* why) {
    work_ = MakeTempDir();
    // Xvfb picks a free display number and writes it to the descriptor given.
    const std::string displayFile = work_ + "/display";
    const int fd = open(displayFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        *why = "cannot make " + displayFile;
        return false;
    }
    // -noreset: by default the server resets as its last client leaves, and
    // the game connecting during that reset (right after the probe below) is
    // refused.
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fd), "-screen", "0", "1600x1600x24",
                   "-nolisten", "tcp", "-noreset"},
                  {}, work_ + "/xvfb.log");
    close(fd);
    for (int i = 0; i < 600 && display_.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        const std::string number = Trim(ReadFile(displayFile));
        if (!number.empty()) display_ = ":" + number;
    }
    if (xvfb_ <= 0 || display_.empty()) {
        *why = "Xvfb did not start (apt-get install xvfb): " + ReadFile(work_ + "/xvfb.log");
        return false;
    }
    // Announced is not yet accepting: wait until a client gets an answer.
    for (int i = 0; i < 200 && Run("xdotool getdisplaygeometry").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    game_ = Spawn({std::string(NONOGRAM_BIN_DIR) + "/nonogram", "--size", size, "--lang", "en"},
                  // A real X client keeps allocations (Xlib, dbus) that leak
                  // checking cannot name; the headless tests check the game's.
                  // X11 by name: a refused display says why instead of falling
                  // back to a driver that shows nothing.
                  {"DISPLAY=" + display_, "XDG_DATA_HOME=" + dataHome,
                   "ASAN_OPTIONS=detect_leaks=0", "SDL_VIDEODRIVER=x11"},
                  work_ + "/game.log");
    if (game_ <= 0) {
        *why = "cannot start the desktop host";
        return false;
    }
    for (int i = 0; i < 200 && window_.empty(); ++i) {
        window_ = Run("xdotool search --name '^Nonogram$'");
        if (window_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (window_.empty()) {
        *why = "the game's window never showed (is xdotool installed?): " +
               ReadFile(work_ + "/game.log");
        return false;
    }
    window_ = window_.substr(0, window_.find('\n'));
    // Let start-up draw its first frames before input arrives.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    return true;
}

bool DesktopSession::Click(int x, int y) {
    Run("xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " +
        std::to_string(y) + " click 1");
    // One click is one press and one release: give the game its passes.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    return Running();
}

bool DesktopSession::Key(const std::string& name) {
    Run("xdotool windowfocus --sync " + window_ + " key " + name);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    return Running();
}

void DesktopSession::Close() {
    // SDL turns the signal into the quit event a closed window gives.
    if (game_ > 0) kill(game_, SIGTERM);
}

bool DesktopSession::Running() {
    if (game_ <= 0) return false;
    int status = 0;
    if (waitpid(game_, &status, WNOHANG) == game_) {
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        game_ = -1;
        return false;
    }
    return true;
}

int DesktopSession::WaitExit(int ms) {
    for (int waited = 0; waited < ms && Running(); waited += 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Running() ? -1 : exitStatus_;
}

}  // namespace testsupport
