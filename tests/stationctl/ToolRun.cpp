#include "ToolRun.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// What the tool printed, with Windows line ends read as "\n" (the console's
// text mode writes "\r\n").
std::string readOutput(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string output = text.str();
#ifdef _WIN32
    size_t kept = 0;
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] != '\r' || i + 1 >= output.size() || output[i + 1] != '\n') output[kept++] = output[i];
    }
    output.resize(kept);
#endif
    return output;
}

#ifdef _WIN32
// One argument as the C runtime's command-line parser reads it back.
std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// This process's environment with `changes` applied, as CreateProcess takes it.
std::string environmentBlock(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> variables;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
            const char* equals = std::strchr(entry + 1, '=');  // "=C:" entries start with '='
            if (equals) variables[std::string(entry, equals)] = equals + 1;
        }
        FreeEnvironmentStringsA(block);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty()) {
            variables.erase(name);
        } else {
            variables[name] = value;
        }
    }
    std::string block;
    for (const auto& [name, value] : variables) block += name + "=" + value + '\0';
    return block + '\0';
}

HANDLE inheritableFile(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

}  // namespace

ScratchDir::ScratchDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const auto candidate = base / ("stationctl-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) m_path = candidate.string();
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchDir::file(const std::string& name, const std::string& content) const {
    const std::string path = m_path + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

ToolProcess::ToolProcess(const std::vector<std::string>& args, std::map<std::string, std::string> env,
                         const std::string& input, const std::string& program, bool stderrOnTerminal) {
    env.emplace("VSTATION_PACING", "0");
    env.emplace("KESTRO_LOG", "off");
    env.emplace("STATIONCTL_PASSWORD", "");
    const std::string outPath = m_dir.path() + "/out";
    const std::string errPath = m_dir.path() + "/err";
    const std::string inPath = m_dir.file("in", input);
#ifdef _WIN32
    std::string commandLine = quoted(program);
    for (const std::string& arg : args) commandLine += " " + quoted(arg);
    std::string environment = environmentBlock(env);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritableFile(inPath, false);
    startup.hStdOutput = inheritableFile(outPath, true);
    startup.hStdError = inheritableFile(errPath, true);
    PROCESS_INFORMATION process{};
    // A console of its own (without a window), so that Ctrl-C reaches the tool only.
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       environment.data(), nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        m_handle = process.hProcess;
        m_id = process.dwProcessId;
    }
    for (HANDLE file : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(file);
    (void)stderrOnTerminal;
#else
    int terminal = -1;  // the tool's side of the pseudo-terminal
    if (stderrOnTerminal) {
        m_terminal = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_terminal >= 0 && grantpt(m_terminal) == 0 && unlockpt(m_terminal) == 0) {
            terminal = open(ptsname(m_terminal), O_RDWR | O_NOCTTY);
        }
        termios mode{};
        if (terminal >= 0 && tcgetattr(terminal, &mode) == 0) {
            cfmakeraw(&mode);  // no "\n" to "\r\n": the tool's own "\r" stay recognisable
            tcsetattr(terminal, TCSANOW, &mode);
        }
        if (m_terminal >= 0) fcntl(m_terminal, F_SETFL, fcntl(m_terminal, F_GETFL) | O_NONBLOCK);
    }
    const pid_t pid = fork();
    if (pid != 0) {
        m_id = pid;
        if (terminal >= 0) close(terminal);
        return;
    }
    // Child. The test process has no other threads, so plain calls are safe.
    for (const auto& [name, value] : env) {
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    const int in = open(inPath.c_str(), O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0);
    dup2(out, 1);
    dup2(terminal >= 0 ? terminal : err, 2);
    std::vector<char*> argv;
    std::string path = program;
    argv.push_back(path.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
#endif
}

std::string ToolProcess::terminalSoFar() {
#ifndef _WIN32
    // The tool blocks when the terminal's buffer is full: read it all.
    char buffer[4096];
    ssize_t got = 0;
    while (m_terminal >= 0 && (got = read(m_terminal, buffer, sizeof buffer)) > 0) {
        m_terminalText.append(buffer, static_cast<size_t>(got));
    }
#endif
    return m_terminalText;
}

ToolProcess::~ToolProcess() {
#ifdef _WIN32
    if (!m_handle) return;
    if (!m_done) {
        TerminateProcess(m_handle, 137);
        WaitForSingleObject(m_handle, INFINITE);
    }
    CloseHandle(m_handle);
#else
    if (!m_done && m_id > 0) {
        ::kill(static_cast<pid_t>(m_id), SIGKILL);
        waitpid(static_cast<pid_t>(m_id), nullptr, 0);
    }
    if (m_terminal >= 0) close(m_terminal);
#endif
}

void ToolProcess::interrupt() {
#ifdef _WIN32
    // Ctrl-C goes to every process of a console: join the tool's, ignoring
    // the event here, and leave again.
    FreeConsole();
    if (AttachConsole(static_cast<DWORD>(m_id))) {
        SetConsoleCtrlHandler(nullptr, TRUE);
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        FreeConsole();
    }
#else
    ::kill(static_cast<pid_t>(m_id), SIGINT);
#endif
}

bool ToolProcess::running() {
    if (m_done) return false;
#ifdef _WIN32
    return m_handle && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
#else
    // Looked at without reaping it: wait() collects the exit status.
    siginfo_t info{};
    return m_id > 0 && waitid(P_PID, static_cast<id_t>(m_id), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
#endif
}

void ToolProcess::kill() {
#ifdef _WIN32
    if (m_handle) TerminateProcess(m_handle, 137);
#else
    if (m_id > 0) ::kill(static_cast<pid_t>(m_id), SIGKILL);
#endif
}

std::string ToolProcess::outSoFar() const { return readOutput(m_dir.path() + "/out"); }

ToolResult ToolProcess::wait(int seconds) {
    ToolResult result;
#ifdef _WIN32
    if (m_handle) {
        if (WaitForSingleObject(m_handle, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0) {
            TerminateProcess(m_handle, 137);
            WaitForSingleObject(m_handle, INFINITE);
        }
        DWORD code = 0;
        GetExitCodeProcess(m_handle, &code);
        result.exitCode = static_cast<int>(code);
    }
#else
    int status = 0;
    const auto pid = static_cast<pid_t>(m_id);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        terminalSoFar();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
    m_done = true;
    result.out = readOutput(m_dir.path() + "/out");
    result.err = m_terminal >= 0 ? terminalSoFar() : readOutput(m_dir.path() + "/err");
    return result;
}

namespace {

std::vector<std::string> listenFirst(const std::vector<std::string>& args) {
    std::vector<std::string> all{"--listen", "127.0.0.1:0"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

}  // namespace

StationProcess::StationProcess(const std::vector<std::string>& args, std::map<std::string, std::string> env)
    : m_process(listenFirst(args), std::move(env), {}, VSTATION_PATH) {
    // The station names the port it got on its first line.
    const std::string marker = " reached at ";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string out = m_process.outSoFar();
        const size_t at = out.find(marker);
        const size_t end = at == std::string::npos ? at : out.find('\n', at);
        if (end != std::string::npos) {
            m_address = out.substr(at + marker.size(), end - at - marker.size());
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ToolResult StationProcess::stop() {
#ifdef _WIN32
    m_process.interrupt();
#else
    ::kill(static_cast<pid_t>(m_process.pid()), SIGTERM);
#endif
    return m_process.wait(30);
}

ToolResult runTool(const std::vector<std::string>& args, std::map<std::string, std::string> env,
                   const std::string& input) {
    return ToolProcess(args, std::move(env), input).wait();
}

ToolResult runProgram(const std::string& program, const std::vector<std::string>& args,
                      std::map<std::string, std::string> env) {
    return ToolProcess(args, std::move(env), {}, program).wait();
}
