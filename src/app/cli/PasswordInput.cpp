#include "PasswordInput.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace {

// Turns terminal echo off for its lifetime.
class EchoOff {
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &m_saved) != 0)
            return;
        termios silent = m_saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios m_saved{};
    bool m_active = false;
};

} // namespace

std::optional<QString> readPassword(const QString &prompt)
{
    std::string line;
    bool read = false;
    if (isatty(STDIN_FILENO)) {
        std::fputs(prompt.toUtf8().constData(), stderr);
        std::fflush(stderr);
        {
            EchoOff echoOff;
            read = bool(std::getline(std::cin, line));
        }
        std::fputs("\n", stderr);
    } else {
        read = bool(std::getline(std::cin, line));
    }
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}
