// The process's private folder: made once, emptied and removed at exit.
#include "State/ScratchFolder.h"

#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace vstation {

namespace {

class ScratchFolder {
public:
    const std::string& path() {
        std::call_once(m_made, [this] {
            const char* base = std::getenv("TMPDIR");
            std::string pattern = std::string(base && *base ? base : "/tmp") + "/vstation-XXXXXX";
            std::vector<char> name(pattern.begin(), pattern.end());
            name.push_back('\0');
            if (mkdtemp(name.data()) != nullptr) m_path = name.data();
        });
        return m_path;
    }

    // The folder holds only files this process made, none of them folders.
    ~ScratchFolder() {
        if (m_path.empty()) return;
        if (DIR* dir = opendir(m_path.c_str())) {
            std::vector<std::string> names;
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            closedir(dir);
            for (const std::string& name : names) unlink((m_path + "/" + name).c_str());
        }
        rmdir(m_path.c_str());
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
