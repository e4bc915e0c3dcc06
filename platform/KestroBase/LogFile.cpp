#include "LogFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro_standin {

namespace {

std::string lastErrorText() { return std::generic_category().message(errno); }

#if defined(_WIN32)
// The file takes the directory's access rules; Windows has no owner-only
// mode bits and _open cannot refuse a reparse point.
int openForAppend(const std::string& path, bool truncate) {
    const int flags = _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT | (truncate ? _O_TRUNC : 0);
    return _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
}
bool describe(int fd, bool& regular, std::uint64_t& size) {
    struct _stat64 info;
    if (_fstat64(fd, &info) != 0) return false;
    regular = (info.st_mode & _S_IFMT) == _S_IFREG;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
long writeSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size));
}
void closeFile(int fd) { _close(fd); }
bool replaceFile(const std::string& from, const std::string& to) {
    std::remove(to.c_str());  // rename does not replace on Windows
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#else
int openForAppend(const std::string& path, bool truncate) {
    const int flags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (truncate ? O_TRUNC : 0);
    return ::open(path.c_str(), flags, S_IRUSR | S_IWUSR);
}
bool describe(int fd, bool& regular, std::uint64_t& size) {
    struct stat info;
    if (::fstat(fd, &info) != 0) return false;
    regular = S_ISREG(info.st_mode);
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
long writeSome(int fd, const char* data, std::size_t size) { return static_cast<long>(::write(fd, data, size)); }
void closeFile(int fd) { ::close(fd); }
bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#endif

}  // namespace

LogFile::~LogFile() { close(); }

bool LogFile::open(const std::string& path, std::string& error) {
    close();
    m_path = path;
    return openFile(false, error);
}

void LogFile::close() {
    if (m_fd >= 0) closeFile(m_fd);
    m_fd = -1;
}

bool LogFile::openFile(bool truncate, std::string& error) {
    m_fd = openForAppend(m_path, truncate);
    if (m_fd < 0) {
        // ELOOP is what a refused symbolic link looks like.
        error = errno == ELOOP ? "it is a symbolic link" : lastErrorText();
        return false;
    }
    if (!describe(m_fd, m_regular, m_size)) {
        error = lastErrorText();
        close();
        return false;
    }
    return true;
}

bool LogFile::rotate(std::string& error) {
    close();
    // Should the old file refuse to move, starting it afresh still keeps the cap.
    const bool moved = replaceFile(m_path, m_path + ".1");
    return openFile(!moved, error);
}

bool LogFile::append(const std::string& line, std::string& error) {
    if (m_fd < 0) return false;
    if (m_regular && m_limit > 0 && m_size > 0 && m_size + line.size() > m_limit && !rotate(error)) {
        return false;
    }
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const long written = writeSome(m_fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;  // a full disk loses the line, not the process
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    m_size += line.size() - left;
    return true;
}

}  // namespace kestro_standin
