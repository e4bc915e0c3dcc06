// The process's private folder: made once, emptied and removed at exit.
#include "State/ScratchFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "State/LocalFiles.h"

namespace vstation {

namespace {

namespace fs = std::filesystem;

class ScratchFolder {
public:
    const std::string& path() {
        std::call_once(m_made, [this] {
            std::error_code error;
            const fs::path base = fs::temp_directory_path(error);
            if (error) return;
            // A name no other process uses: ours, or the first free one after it.
            const auto seed = static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count());
            for (unsigned attempt = 0; attempt < 100; ++attempt) {
                const fs::path candidate =
                    base / ("vstation-" + std::to_string(processNumber()) + "-" +
                            std::to_string((seed + attempt) % 1000000));
                if (fs::create_directory(candidate, error)) {
                    fs::permissions(candidate, fs::perms::owner_all, error);
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
