#include "ToolRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "stationctl-test-XXXXXX").string();
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
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
                         const std::string& input, const std::string& program) {
    env.emplace("VSTATION_PACING", "0");
    env.emplace("KESTRO_LOG", "off");
    env.emplace("STATIONCTL_PASSWORD", "");
    const std::string outPath = m_dir.path() + "/out";
    const std::string errPath = m_dir.path() + "/err";
    const std::string inPath = m_dir.file("in", input);
    m_pid = fork();
    if (m_pid != 0) return;
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
    dup2(err, 2);
    std::vector<char*> argv;
    std::string path = program;
    argv.push_back(path.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
}

ToolProcess::~ToolProcess() {
    if (!m_done && m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string ToolProcess::outSoFar() const { return readFile(m_dir.path() + "/out"); }

ToolResult ToolProcess::wait(int seconds) {
    ToolResult result;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_done = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(m_dir.path() + "/out");
    result.err = readFile(m_dir.path() + "/err");
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
    kill(m_process.pid(), SIGTERM);
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
