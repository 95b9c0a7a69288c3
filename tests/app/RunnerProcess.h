// hexmoor-run as a child process for the end-to-end tests: its standard input and output
// held by the test through pipes, or through a pseudo-terminal like a person's, read and
// written while it runs. Every wait has a time limit; the child is killed at the end if it
// is still there.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace hexmoor::testing {

inline std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::string Program(const std::string& name) {
    return std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/" + name + ".s19";
}

inline std::string Temp(const std::string& name) { return TempPath(name); }

enum class TConsole { Pipes, Terminal };

class TLiveRun {
public:
    explicit TLiveRun(const std::vector<std::string>& arguments, TConsole console = TConsole::Pipes)
        : err_(Temp("live-stderr")) {
        int in[2], out[2];
        if (console == TConsole::Terminal) {
            if (openpty(&terminal_, &in[0], nullptr, nullptr, nullptr) != 0) return;
            tcgetattr(in[0], &initialSettings_);
            in[1] = out[0] = terminal_;
            out[1] = in[0];
        } else if (pipe(in) != 0 || pipe(out) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            if (console == TConsole::Terminal) {
                // The terminal becomes the child's controlling terminal, as in a login.
                setsid();
                ioctl(in[0], TIOCSCTTY, 0);
            }
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            const int err = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(err, STDERR_FILENO);
            for (int fd : {in[0], in[1], out[0], out[1], err})
                if (fd > STDERR_FILENO) close(fd);
            std::vector<char*> argv{const_cast<char*>(HEXMOOR_RUNNER)};
            for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(HEXMOOR_RUNNER, argv.data());
            _exit(127);
        }
        if (console == TConsole::Terminal) {
            // The test keeps the terminal's other end open, to read its settings.
            terminalSide_ = in[0];
        } else {
            close(in[0]);
            close(out[1]);
        }
        input_ = in[1];
        output_ = out[0];
    }
    ~TLiveRun() {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        CloseInput();
        if (output_ >= 0 && output_ != terminal_) close(output_);
        if (terminal_ >= 0) close(terminal_);
        if (terminalSide_ >= 0) close(terminalSide_);
        std::remove(err_.c_str());
    }

    // Reads standard output until it ends in `text` or 30 seconds pass (a hang); what came.
    std::string ReadUntil(const std::string& text) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!got.ends_with(text)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{output_, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, int(left.count())) <= 0) break;
            char buffer[256];
            const ssize_t count = read(output_, buffer, sizeof buffer);
            if (count <= 0) break;
            got.append(buffer, std::size_t(count));
        }
        return got;
    }
    void Type(const std::string& text) {
        ASSERT_EQ(write(input_, text.data(), text.size()), ssize_t(text.size()));
    }
    void CloseInput() {
        if (input_ >= 0 && input_ != terminal_) close(input_);
        input_ = -1;
    }
    void Signal(int number) { kill(pid_, number); }
    // The exit status (1000 + the signal's number when a signal killed it), or -1 when the
    // runner has not ended within 60 seconds.
    int Wait() {
        for (int i = 0; i < 6000 && status_ < 0; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
            else
                usleep(10000);
        }
        return status_;
    }
    // Whether the runner stops (on a stop signal) within 30 seconds.
    bool WaitUntilStopped() {
        for (int i = 0; i < 3000; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_) return WIFSTOPPED(status);
            usleep(10000);
        }
        return false;
    }
    std::string Err() const { return ReadAll(err_); }
    // The pseudo-terminal's present settings.
    termios TerminalSettings() const {
        termios settings{};
        tcgetattr(terminalSide_, &settings);
        return settings;
    }
    // The pseudo-terminal's settings before the runner started.
    const termios& InitialSettings() const { return initialSettings_; }
    // Waits up to 30 seconds for the runner to turn the terminal's echo off.
    bool WaitForRawMode() const {
        for (int i = 0; i < 3000; ++i) {
            if (!(TerminalSettings().c_lflag & ECHO)) return true;
            usleep(10000);
        }
        return false;
    }

private:
    std::string err_;
    pid_t pid_ = -1;
    int input_ = -1, output_ = -1, status_ = -1;
    int terminal_ = -1, terminalSide_ = -1;
    termios initialSettings_{};
};

}  // namespace hexmoor::testing
