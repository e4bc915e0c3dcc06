// Log lines of the base library stand-in.
//
// A line reads "2026-01-05T09:30:12.345Z [5] EnrollmentStation: <text>": UTC
// time with milliseconds, the level, the module tag and the formatted text.
// The destination, the lowest level and the file's size cap come from the
// environment (see LogSink.h) unless a program sets them itself.
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "KestroBase.h"
#include "KestroBase/LogSink.h"
#include "LogFile.h"

namespace {

constexpr int kDefaultLevel = 5;
constexpr int kTraceLevel = 3;
// Failure lines quote whole device replies; a line past this is cut unless
// traces were asked for, when the whole content is the point.
constexpr std::size_t kMaxText = 4096;

enum class Target { Stderr, Stdout, File, Off };

std::string environment(const char* name) {
#if defined(_MSC_VER)
    char* value = nullptr;
    size_t size = 0;
    std::string result;
    if (_dupenv_s(&value, &size, name) == 0 && value != nullptr) {
        result = value;
    }
    std::free(value);
    return result;
#else
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
#endif
}

// Digits only; anything else leaves `fallback`.
std::uint64_t parseSize(const std::string& text, std::uint64_t fallback) {
    if (text.empty() || text.size() > 18) return fallback;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return fallback;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// Keeps the first kMaxText bytes, backing up to a character boundary so the
// line stays valid UTF-8, and says how much went.
std::string cutText(const std::string& text) {
    if (text.size() <= kMaxText) return text;
    std::size_t keep = kMaxText;
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) --keep;
    return text.substr(0, keep) + " [... " + std::to_string(text.size() - keep) + " bytes cut]";
}

// Accepts an optional sign and digits only; anything else leaves `fallback`.
int parseLevel(const std::string& text, int fallback) {
    if (text.empty()) {
        return fallback;
    }
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) {
        return fallback;
    }
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return fallback;
        }
        value = value * 10 + (text[i] - '0');
        if (value > 1000) {
            value = 1000;  // beyond every level anyone uses
        }
    }
    return static_cast<int>(negative ? -value : value);
}

class Logger {
public:
    static Logger& instance() {
        static Logger logger;
        return logger;
    }

    // Whether a line of this level would go anywhere; read without the
    // lock, so that a call that writes nothing formats nothing either.
    bool wants(int level) const {
        return level >= m_wantedLevel.load(std::memory_order_relaxed) &&
               !m_discarding.load(std::memory_order_relaxed);
    }

    void write(int level, const char* module, const std::string& text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (level < m_minLevel) {
            return;
        }
        const std::string moduleText = module != nullptr ? module : "";
        if (m_sink) {
            m_sink(level, moduleText, text);
            return;
        }
        if (m_target == Target::Off) {
            return;
        }
        std::string line = timestamp();
        line += " [";
        line += std::to_string(level);
        line += "] ";
        line += moduleText;
        line += ": ";
        line += m_minLevel <= kTraceLevel ? text : cutText(text);
        line += '\n';
        switch (m_target) {
        case Target::File: {
            std::string error;
            if (!m_file.append(line, error) && !error.empty()) {
                reportUnusable(error);
            }
            return;
        }
        case Target::Stdout:
            std::fputs(line.c_str(), stdout);
            std::fflush(stdout);
            return;
        case Target::Stderr:
            std::fputs(line.c_str(), stderr);
            return;
        case Target::Off:
            return;
        }
    }

    void setSink(kestro_standin::LogSink sink) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sink = std::move(sink);
        publish();
    }

    void setLevel(int minLevel) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_minLevel = minLevel;
        publish();
    }

    void setFile(const std::string& path) {
        std::lock_guard<std::mutex> lock(m_mutex);
        openTarget(path.empty() ? Target::Off : Target::File, path);
    }

    void setStderr() {
        std::lock_guard<std::mutex> lock(m_mutex);
        openTarget(Target::Stderr, {});
    }

    void setFileLimit(std::uint64_t bytes) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_file.setLimit(bytes);
    }

private:
    Logger() {
        m_minLevel = parseLevel(environment("KESTRO_LOG_LEVEL"), kDefaultLevel);
        m_file.setLimit(parseSize(environment("KESTRO_LOG_MAX_BYTES"), kestro_standin::LogFile::kDefaultLimit));
        const std::string where = environment("KESTRO_LOG");
        if (where.empty() || where == "off" || where == "none") {
            openTarget(Target::Off, {});
        } else if (where == "stderr") {
            openTarget(Target::Stderr, {});
        } else if (where == "stdout") {
            openTarget(Target::Stdout, {});
        } else {
            openTarget(Target::File, where);
        }
    }

    void openTarget(Target target, const std::string& path) {
        m_file.close();
        m_target = target;
        m_path = path;
        std::string error;
        if (target == Target::File && !m_file.open(path, error)) {
            reportUnusable(error);
        }
        publish();
    }

    // Under m_mutex: what wants() reads, after any change of level,
    // destination or sink.
    void publish() {
        m_wantedLevel.store(m_minLevel, std::memory_order_relaxed);
        m_discarding.store(m_target == Target::Off && !m_sink, std::memory_order_relaxed);
    }

    // The one line on stderr a file destination ever causes: writing the
    // lines anywhere else would put them where nobody asked for them.
    void reportUnusable(const std::string& error) {
        m_target = Target::Off;
        publish();
        std::fprintf(stderr, "KestroBase: cannot open the log file \"%s\" (%s); log lines are dropped\n",
                     m_path.c_str(), error.c_str());
    }

    // UTC from the system clock, computed by hand: the C library's calendar
    // functions share static state between threads.
    static std::string timestamp() {
        using namespace std::chrono;
        const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
        long long days = now / 86400000;
        long long msOfDay = now % 86400000;
        if (msOfDay < 0) {
            msOfDay += 86400000;
            --days;
        }
        // Civil date from a day count (proleptic Gregorian calendar).
        days += 719468;
        const long long era = (days >= 0 ? days : days - 146096) / 146097;
        const long long dayOfEra = days - era * 146097;
        const long long yearOfEra =
            (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const long long mp = (5 * dayOfYear + 2) / 153;
        const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
        const long long month = mp < 10 ? mp + 3 : mp - 9;
        const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03lldZ", year,
                      month, day, msOfDay / 3600000, msOfDay / 60000 % 60, msOfDay / 1000 % 60,
                      msOfDay % 1000);
        return buffer;
    }

    std::mutex m_mutex;
    std::atomic<int> m_wantedLevel{kDefaultLevel};
    std::atomic<bool> m_discarding{true};
    int m_minLevel = kDefaultLevel;
    Target m_target = Target::Off;
    std::string m_path;
    kestro_standin::LogFile m_file;
    kestro_standin::LogSink m_sink;
};

std::string formatText(const char* format, va_list args) {
    if (format == nullptr) {
        return {};
    }
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace

namespace Kestro {
namespace Base {
namespace details {

void VexaFormatLog(int level, const char* module, const char* format, ...) {
    if (!Logger::instance().wants(level)) return;
    va_list args;
    va_start(args, format);
    const std::string text = formatText(format, args);
    va_end(args);
    Logger::instance().write(level, module, text);
}

}  // namespace details
}  // namespace Base
}  // namespace Kestro

namespace kestro_standin {

void setLogSink(LogSink sink) { Logger::instance().setSink(std::move(sink)); }

void setLogLevel(int minLevel) { Logger::instance().setLevel(minLevel); }

void setLogFile(const std::string& pathOrEmpty) { Logger::instance().setFile(pathOrEmpty); }

void setLogToStderr() { Logger::instance().setStderr(); }

void setLogFileLimit(std::uint64_t bytes) { Logger::instance().setFileLimit(bytes); }

}  // namespace kestro_standin
