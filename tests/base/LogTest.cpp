#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "KestroBase.h"
#include "KestroBase/LogSink.h"

using Kestro::Base::details::VexaFormatLog;

namespace {

struct Line {
    int level;
    std::string module;
    std::string text;
};

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kestro-" + Kestro::Base::GuidUtil::CreateGuid());
        fs::create_directory(m_dir);
    }
    void TearDown() override {
        kestro_standin::setLogSink(nullptr);
        kestro_standin::setLogFile("");
        kestro_standin::setLogLevel(5);
        kestro_standin::setLogFileLimit(10u * 1024u * 1024u);
        fs::remove_all(m_dir);
    }

    fs::path m_dir;
};

}  // namespace

TEST_F(LogTest, SinkReceivesFormattedLinesAtOrAboveTheLevel) {
    std::vector<Line> got;
    kestro_standin::setLogSink([&](int level, const std::string& module, const std::string& text) {
        got.push_back(Line{level, module, text});
    });
    VexaFormatLog(5, "EnrollmentStation", "[%s]UserID[%d].[%s(%d)]", "M::f", 7, "A\\B", 42);
    VexaFormatLog(3, "EnrollmentStation", "below the default level");
    kestro_standin::setLogLevel(3);
    const std::string longText(100000, 'x');  // far beyond any fixed buffer
    VexaFormatLog(3, nullptr, "%s|", longText.c_str());
    VexaFormatLog(2, "EnrollmentStation", "below the set level");

    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].level, 5);
    EXPECT_EQ(got[0].module, "EnrollmentStation");
    EXPECT_EQ(got[0].text, "[M::f]UserID[7].[A\\B(42)]");
    EXPECT_EQ(got[1].level, 3);
    EXPECT_EQ(got[1].module, "");
    EXPECT_EQ(got[1].text, longText + "|");
}

TEST_F(LogTest, FileDestinationGetsUtcTimeLevelModuleAndText) {
    const fs::path path = m_dir / "station.log";
    kestro_standin::setLogFile(path.string());
    VexaFormatLog(5, "EnrollmentStation", "first %s", "line");
    VexaFormatLog(4, "EnrollmentStation", "filtered");
    VexaFormatLog(5, "Other", "second");
    kestro_standin::setLogFile("");  // closes the file

    const std::vector<std::string> lines = linesOf(path);
    ASSERT_EQ(lines.size(), 2u);
    // "2026-01-05T09:30:12.345Z [5] ..."
    const std::string stamp = "dddd-dd-ddTdd:dd:dd.dddZ [5] ";
    for (const std::string& line : lines) {
        ASSERT_GT(line.size(), stamp.size());
        for (size_t i = 0; i < stamp.size(); ++i) {
            const bool ok = stamp[i] == 'd' ? line[i] >= '0' && line[i] <= '9' : line[i] == stamp[i];
            ASSERT_TRUE(ok) << line;
        }
    }
    EXPECT_EQ(lines[0].substr(stamp.size()), "EnrollmentStation: first line");
    EXPECT_EQ(lines[1].substr(stamp.size()), "Other: second");
    const std::time_t now = std::time(nullptr);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    EXPECT_EQ(lines[0].substr(0, 10), today);  // fails only within a second of midnight UTC
}

TEST_F(LogTest, LongTextIsCutOnCharacterBoundaryUnlessTracing) {
    const fs::path path = m_dir / "long.log";
    kestro_standin::setLogFile(path.string());
    // 4095 bytes, then a two-byte character across the 4096-byte mark.
    const std::string text = std::string(4095, 'a') + "\xC3\xA9" + std::string(5000, 'b');
    VexaFormatLog(5, "M", "%s", text.c_str());
    kestro_standin::setLogLevel(3);
    VexaFormatLog(5, "M", "%s", text.c_str());
    kestro_standin::setLogFile("");

    const std::vector<std::string> lines = linesOf(path);
    ASSERT_EQ(lines.size(), 2u);
    const std::string cut = std::string(4095, 'a') + " [... 5002 bytes cut]";
    ASSERT_GE(lines[0].size(), cut.size());
    EXPECT_EQ(lines[0].substr(lines[0].size() - cut.size()), cut);
    EXPECT_EQ(lines[0].find(": a"), lines[0].size() - cut.size() - 2);
    EXPECT_EQ(lines[1].substr(lines[1].size() - text.size()), text);
}

TEST_F(LogTest, FileRotatesOnceAtItsCap) {
    const fs::path path = m_dir / "capped.log";
    kestro_standin::setLogFileLimit(1000);
    kestro_standin::setLogFile(path.string());
    for (int i = 0; i < 40; ++i) VexaFormatLog(5, "M", "line %02d %s", i, std::string(60, '.').c_str());
    kestro_standin::setLogFile("");

    EXPECT_LE(fs::file_size(path), 1000u);
    EXPECT_LE(fs::file_size(path.string() + ".1"), 1000u);
    EXPECT_FALSE(fs::exists(path.string() + ".2"));
    // Nothing lost across the rotation: the old file ends where the new one starts.
    std::vector<std::string> lines = linesOf(path.string() + ".1");
    const std::vector<std::string> current = linesOf(path);
    lines.insert(lines.end(), current.begin(), current.end());
    ASSERT_GT(current.size(), 1u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int expected = 40 - static_cast<int>(lines.size() - i);
        EXPECT_NE(lines[i].find("line " + std::string(expected < 10 ? "0" : "") + std::to_string(expected)),
                  std::string::npos)
            << lines[i];
    }
}

#if !defined(_WIN32)
TEST_F(LogTest, FileIsOwnerOnlyAndAnUnusablePathIsNamedOnce) {
    const mode_t previous = ::umask(0);  // the mode must come from the library, not the umask
    const fs::path path = m_dir / "private.log";
    kestro_standin::setLogFileLimit(200);
    kestro_standin::setLogFile(path.string());
    for (int i = 0; i < 10; ++i) VexaFormatLog(5, "M", "%s", std::string(50, 'p').c_str());
    kestro_standin::setLogFile("");
    ::umask(previous);
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    EXPECT_EQ(fs::status(path).permissions(), ownerOnly);
    EXPECT_EQ(fs::status(path.string() + ".1").permissions(), ownerOnly);

    // A link planted at the log path leads nowhere, and a missing directory
    // is no reason to write elsewhere: one line on stderr each, then silence.
    const fs::path target = m_dir / "target";
    std::ofstream(target) << "keep\n";
    const fs::path link = m_dir / "link.log";
    fs::create_symlink(target, link);
    const fs::path missing = m_dir / "no-such-dir" / "x.log";
    for (const fs::path& unusable : {link, missing}) {
        testing::internal::CaptureStderr();
        kestro_standin::setLogFile(unusable.string());
        VexaFormatLog(5, "M", "first");
        VexaFormatLog(5, "M", "second");
        kestro_standin::setLogFile("");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(unusable.string()), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_EQ(said.find("first"), std::string::npos) << said;
    }
    EXPECT_EQ(linesOf(target), std::vector<std::string>{"keep"});
    EXPECT_FALSE(fs::exists(missing));
}
#endif
