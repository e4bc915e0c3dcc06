#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
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
    void SetUp() override {
        kestro_standin::setLogLevel(5);
        kestro_standin::setLogSink([this](int level, const std::string& module, const std::string& text) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(Line{level, module, text});
        });
    }
    void TearDown() override {
        kestro_standin::setLogSink(nullptr);
        kestro_standin::setLogFile("");
        kestro_standin::setLogLevel(5);
    }
    std::vector<Line> lines() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

    std::mutex m_mutex;
    std::vector<Line> m_lines;
};

std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

}  // namespace

TEST_F(LogTest, SinkReceivesFormattedLinesAtOrAboveTheLevel) {
    VexaFormatLog(5, "EnrollmentStation", "[%s]Login device UserID[%d].[%s(%d)]", "M::f", 7,
                  "EnrollmentStation\\EnrollmentOperator", 42);
    VexaFormatLog(3, "EnrollmentStation", "trace %d", 1);  // below the default level
    kestro_standin::setLogLevel(3);
    VexaFormatLog(3, "Broken", "[%s][%s(%d)]", "M::g", "EnrollmentStation\\BaseSDK", 9);
    VexaFormatLog(2, "EnrollmentStation", "never");

    const std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].level, 5);
    EXPECT_EQ(got[0].module, "EnrollmentStation");
    EXPECT_EQ(got[0].text, "[M::f]Login device UserID[7].[EnrollmentStation\\EnrollmentOperator(42)]");
    EXPECT_EQ(got[1].level, 3);
    EXPECT_EQ(got[1].module, "Broken");
    EXPECT_EQ(got[1].text, "[M::g][EnrollmentStation\\BaseSDK(9)]");
}

TEST_F(LogTest, LongTextsAndNullArgumentsSurvive) {
    const std::string body(100000, 'x');
    VexaFormatLog(5, nullptr, "%s|%s", body.c_str(), "end");
    VexaFormatLog(5, "m", nullptr);
    const std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].module, "");
    EXPECT_EQ(got[0].text, body + "|end");
    EXPECT_EQ(got[1].text, "");
}

TEST_F(LogTest, FileDestinationGetsTimeLevelModuleAndText) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kestro-log-" + Kestro::Base::GuidUtil::CreateGuid() + ".log");
    std::filesystem::remove(path);
    kestro_standin::setLogSink(nullptr);
    kestro_standin::setLogFile(path.string());
    VexaFormatLog(5, "EnrollmentStation", "[%s]first.[%s(%d)]", "A::b", "Src", 1);
    VexaFormatLog(4, "EnrollmentStation", "filtered");
    VexaFormatLog(5, "Other", "second %s", "line");
    kestro_standin::setLogFile("");  // closes the file

    const std::vector<std::string> got = readLines(path);
    std::filesystem::remove(path);
    ASSERT_EQ(got.size(), 2u);
    const std::regex form(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3}Z \[5\] (.*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(got[0], match, form)) << got[0];
    EXPECT_EQ(match[1], "EnrollmentStation: [A::b]first.[Src(1)]");
    ASSERT_TRUE(std::regex_match(got[1], match, form)) << got[1];
    EXPECT_EQ(match[1], "Other: second line");

    // The time stamp is today's UTC date (or yesterday's, right at midnight).
    const std::time_t now = std::time(nullptr);
    char today[16];
    char yesterday[16];
    const std::time_t before = now - 60;
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    std::strftime(yesterday, sizeof yesterday, "%Y-%m-%d", std::gmtime(&before));
    const std::string date = got[0].substr(0, 10);
    EXPECT_TRUE(date == today || date == yesterday) << date;
}

TEST_F(LogTest, ConcurrentLinesArriveWhole) {
    kestro_standin::setLogSink(nullptr);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kestro-mt-" + Kestro::Base::GuidUtil::CreateGuid() + ".log");
    std::filesystem::remove(path);
    kestro_standin::setLogFile(path.string());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) {
                VexaFormatLog(5, "T", "thread %d line %d %s", t, i, std::string(200, 'a' + t).c_str());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    kestro_standin::setLogFile("");
    const std::vector<std::string> got = readLines(path);
    std::filesystem::remove(path);
    ASSERT_EQ(got.size(), 2000u);
    const std::regex whole(R"(.*\[5\] T: thread (\d) line \d+ ([a-d])\2{199})");
    for (const std::string& line : got) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, whole)) << line;
        EXPECT_EQ(match[1].str()[0] - '0', match[2].str()[0] - 'a');
    }
}
