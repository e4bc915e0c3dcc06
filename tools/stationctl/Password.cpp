#include "Password.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "Terminal.h"

namespace stationctl {

namespace {

// Turns terminal echo off for its lifetime and restores it on every path.
class EchoOff {
public:
    EchoOff() {
#ifdef _WIN32
        m_console = GetStdHandle(STD_INPUT_HANDLE);
        if (GetConsoleMode(m_console, &m_saved)) {
            m_active = SetConsoleMode(m_console, m_saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
        }
#else
        if (tcgetattr(STDIN_FILENO, &m_saved) == 0) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
#endif
    }
    ~EchoOff() {
        if (!m_active) return;
#ifdef _WIN32
        SetConsoleMode(m_console, m_saved);
#else
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool m_active = false;
#ifdef _WIN32
    HANDLE m_console = nullptr;
    DWORD m_saved = 0;
#else
    termios m_saved{};
#endif
};

void dropLineEnd(std::string& line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
}

}  // namespace

bool obtainPassword(const std::string& prompt, bool fromStdin, std::string& password,
                    std::string& error) {
    if (const char* fromEnvironment = std::getenv(kPasswordVariable)) {
        password = fromEnvironment;
        return true;
    }
    if (fromStdin) {
        if (!std::getline(std::cin, password)) {
            error = "no password on standard input";
            return false;
        }
        dropLineEnd(password);
        return true;
    }
    if (!stdinIsTerminal()) {
        error = std::string("no password: set ") + kPasswordVariable +
                ", use --password-stdin, or run from a terminal";
        return false;
    }
    std::cerr << prompt << std::flush;
    bool read = false;
    {
        EchoOff quiet;
        read = static_cast<bool>(std::getline(std::cin, password));
    }
    std::cerr << '\n';
    if (!read) {
        error = "no password entered";
        return false;
    }
    dropLineEnd(password);
    return true;
}

}  // namespace stationctl
