// Runs stationctl as a separate process and collects what it printed.
//
// Standard input, output and error of the tool are files in a scratch folder,
// so a run never blocks on a full pipe and output so far can be read.
#ifndef STATIONCTL_TEST_TOOLRUN_H
#define STATIONCTL_TEST_TOOLRUN_H

#include <map>
#include <string>
#include <vector>

struct ToolResult {
    int exitCode = -1;  // 128 + signal when it died by one (POSIX)
    std::string out;
    std::string err;
};

// A scratch folder removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// Environment for a run: pacing off, library log off, no password, unless
// `env` says otherwise (an empty value removes the variable).
class ToolProcess {
public:
    // `input` becomes the standard input (not a terminal). With
    // `stderrOnTerminal` (POSIX only) the standard error is a pseudo-terminal
    // in raw mode, so that the tool sees a terminal and what it writes
    // arrives unchanged.
    ToolProcess(const std::vector<std::string>& args, std::map<std::string, std::string> env = {},
                const std::string& input = {}, const std::string& program = STATIONCTL_PATH,
                bool stderrOnTerminal = false);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    long long pid() const { return m_id; }
    bool running();
    // Ctrl-C: SIGINT on POSIX, the console's Ctrl-C event on Windows.
    void interrupt();
    // Ends it at once (SIGKILL, TerminateProcess).
    void kill();
    // Stdout so far.
    std::string outSoFar() const;
    // Stderr so far, when it is a terminal.
    std::string terminalSoFar();
    // Waits up to `seconds` (then kills it) and returns what it printed.
    ToolResult wait(int seconds = 60);

private:
    ScratchDir m_dir;
    long long m_id = -1;  // process id
    void* m_handle = nullptr;  // process handle (Windows)
    bool m_done = false;
    int m_terminal = -1;  // the pseudo-terminal's controlling side, non-blocking
    std::string m_terminalText;
};

// A station process (vstation) on a free loopback port, stopped with the
// object. `args` come after --listen.
class StationProcess {
public:
    explicit StationProcess(const std::vector<std::string>& args = {}, std::map<std::string, std::string> env = {});
    // "127.0.0.1:PORT"; empty when the station did not come up.
    const std::string& address() const { return m_address; }
    long long pid() const { return m_process.pid(); }
    // SIGTERM (Ctrl-C on Windows), then what it printed.
    ToolResult stop();
    // Ends it at once, as a crash would.
    void kill() { m_process.kill(); }

private:
    ToolProcess m_process;
    std::string m_address;
};

ToolResult runTool(const std::vector<std::string>& args, std::map<std::string, std::string> env = {},
                   const std::string& input = {});
// Any other program, run the same way.
ToolResult runProgram(const std::string& program, const std::vector<std::string>& args,
                      std::map<std::string, std::string> env = {});

#endif  // STATIONCTL_TEST_TOOLRUN_H
