#include "State/LocalFiles.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vstation {

FilePtr createExclusive(const std::string& path) {
#ifdef _WIN32
    // Binary, or the C runtime turns every "\n" into "\r\n" on the way.
    const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    FILE* file = ::_fdopen(fd, "wb");
    if (!file) ::_close(fd);
#else
    // The caller's usual permissions (umask applies).
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    FILE* file = ::fdopen(fd, "wb");
    if (!file) ::close(fd);
#endif
    if (!file) removeFile(path);
    return FilePtr(file);
}

bool moveReplacing(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // The C library's rename refuses an existing target here.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool removeFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !error;
}

unsigned long processNumber() {
#ifdef _WIN32
    return static_cast<unsigned long>(::_getpid());
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

}  // namespace vstation
