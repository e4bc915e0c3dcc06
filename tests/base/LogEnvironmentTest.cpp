// Runs with KESTRO_LOG=<file> and KESTRO_LOG_LEVEL=3 set by the test driver;
// the file path is also the first argument.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KestroBase.h"

namespace {
std::string g_path;
}

TEST(LogEnvironment, DestinationAndLevelComeFromTheEnvironment) {
    ASSERT_FALSE(g_path.empty());
    std::filesystem::remove(g_path);
    Kestro::Base::details::VexaFormatLog(3, "Env", "trace %d", 3);
    Kestro::Base::details::VexaFormatLog(2, "Env", "below");
    Kestro::Base::details::VexaFormatLog(5, "Env", "failure %d", 5);

    std::ifstream in(g_path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" [3] Env: trace 3"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(" [5] Env: failure 5"), std::string::npos) << lines[1];
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        g_path = argv[1];
    }
    return RUN_ALL_TESTS();
}
