// The process's private folder: made once, emptied and removed at exit.
#include "State/ScratchFolder.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "State/LocalFiles.h"

namespace vstation {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "vstation-";
#ifndef _WIN32
// Held locked by the folder's process for as long as it lives.
constexpr const char* kAliveFile = ".alive";

// The process number in a folder name "vstation-<process>-<number>", or 0
// when the name is not of that form.
unsigned long folderProcess(const std::string& name) {
    const std::string prefix = kPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const size_t dash = name.find('-', prefix.size());
    // Ten digits at most: every process number fits, and so does the figure.
    if (dash == std::string::npos || dash == prefix.size() || dash - prefix.size() > 10 || dash + 1 == name.size()) {
        return 0;
    }
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (i != dash && !std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    }
    return std::stoul(name.substr(prefix.size(), dash - prefix.size()));
}

// Whether the process that made `folder` is gone: its lock on the alive
// file can be taken (a lock is process-wide and dies with the process, in
// whatever process namespace), or, where there is no such file yet, no
// process has its number.
bool ownerGone(const fs::path& folder, unsigned long process) {
    const int fd = ::open((folder / kAliveFile).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT && ::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH;
    const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return gone;
}

// Removes the folders of this user's processes that ended without removing
// their own (killed, or crashed): exit handlers do not run then.
void sweepLeftovers(const fs::path& base) {
    std::error_code error;
    std::vector<fs::path> gone;
    for (fs::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
        const unsigned long process = folderProcess(it->path().filename().string());
        if (process == 0 || process == processNumber()) continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
        if (ownerGone(it->path(), process)) gone.push_back(it->path());
    }
    for (const fs::path& folder : gone) fs::remove_all(folder, error);
}

// Locks the alive file in `folder` for the rest of the process; the
// descriptor is never closed. The file is locked before it takes its name,
// so that no sweeper finds it unlocked; without it the process number
// alone tells.
void markAlive(const fs::path& folder) {
    const fs::path locking = folder / ".alive-new";
    const int fd = ::open(locking.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(locking.c_str(), (folder / kAliveFile).c_str()) != 0) {
        ::unlink(locking.c_str());
        ::close(fd);
    }
}
#endif

class ScratchFolder {
public:
    const std::string& path() {
        std::call_once(m_made, [this] {
            std::error_code error;
            const fs::path base = fs::temp_directory_path(error);
            if (error) return;
#ifndef _WIN32
            sweepLeftovers(base);
#endif
            // A name no other process uses: ours, or the first free one after it.
            const auto seed = static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count());
            for (unsigned attempt = 0; attempt < 100; ++attempt) {
                const fs::path candidate =
                    base / (kPrefix + std::to_string(processNumber()) + "-" +
                            std::to_string((seed + attempt) % 1000000));
                if (fs::create_directory(candidate, error)) {
                    fs::permissions(candidate, fs::perms::owner_all, error);
#ifndef _WIN32
                    markAlive(candidate);
#endif
                    m_path = candidate.string();
                    return;
                }
                if (error) return;
            }
        });
        return m_path;
    }

    ~ScratchFolder() {
        if (m_path.empty()) return;
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }

private:
    std::once_flag m_made;
    std::string m_path;
};

ScratchFolder& folder() {
    static ScratchFolder instance;
    return instance;
}

}  // namespace

unsigned long long nextScratchNumber() {
    static std::atomic<unsigned long long> counter{0};
    return ++counter;
}

std::string scratchPath(const char* stem) {
    const std::string& base = folder().path();
    if (base.empty()) return std::string();
    return base + "/" + stem + "-" + std::to_string(nextScratchNumber());
}

}  // namespace vstation
