#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KestroBase.h"
#include "KestroBase/LogSink.h"

using Kestro::Base::details::VexaFormatLog;

namespace {

struct Line {
    int level;
    std::string module;
    std::string text;
};

class LogTest : public ::testing::Test {
protected:
    void TearDown() override {
        kestro_standin::setLogSink(nullptr);
        kestro_standin::setLogFile("");
        kestro_standin::setLogLevel(5);
    }
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
    const auto path = std::filesystem::temp_directory_path() /
                      ("kestro-" + Kestro::Base::GuidUtil::CreateGuid() + ".log");
    kestro_standin::setLogFile(path.string());
    VexaFormatLog(5, "EnrollmentStation", "first %s", "line");
    VexaFormatLog(4, "EnrollmentStation", "filtered");
    VexaFormatLog(5, "Other", "second");
    kestro_standin::setLogFile("");  // closes the file

    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    std::filesystem::remove(path);
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
