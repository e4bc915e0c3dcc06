// stationctl and the example client on an SDK that offers the eighteen calls
// and nothing else, as a vendor's does: they start, and an unreachable
// station is a readable login failure, not a loader error.
#include <gtest/gtest.h>

#include "ToolRun.h"

namespace {

const std::map<std::string, std::string> kVendorSdk = {{"LD_LIBRARY_PATH", UNREACHABLE_SDK_DIR},
                                                       {"STATIONCTL_PASSWORD", "secret"}};

void expectNoLoaderError(const ToolResult& run) {
    EXPECT_EQ(run.err.find("symbol"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("error while loading"), std::string::npos) << run.err;
}

}  // namespace

TEST(RealSdk, StationctlReportsTheUnreachableStationAndOffersNoBuiltInOne) {
    const ToolResult info = runTool({"--station", "10.1.2.3", "info"}, kVendorSdk);
    EXPECT_EQ(info.exitCode, 3) << info.err;
    EXPECT_NE(info.err.find("logging in to 10.1.2.3:8000 as admin failed: 50-7: SDK error 7: station could not "
                            "be reached"),
              std::string::npos)
        << info.err;
    expectNoLoaderError(info);

    // Without --station there is no station to fall back on; said so, not crashed.
    const ToolResult bare = runTool({"card"}, kVendorSdk);
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_NE(bare.err.find("no built-in virtual station"), std::string::npos) << bare.err;
    EXPECT_NE(bare.err.find("--station"), std::string::npos) << bare.err;

    // What only the built-in station can do is not offered.
    const ToolResult help = runTool({"--help"}, kVendorSdk);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("demo"), std::string::npos);
    EXPECT_EQ(help.out.find("release-handle"), std::string::npos) << help.out;
    expectNoLoaderError(help);
}

TEST(RealSdk, ExampleClientReportsTheUnreachableStation) {
    const ToolResult run = runProgram(ENROLL_CLIENT_PATH, {"10.1.2.3", "8000", "admin"},
                                      {{"LD_LIBRARY_PATH", UNREACHABLE_SDK_DIR}, {"ENROLL_PASSWORD", "secret"}});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("login failed: 50-7"), std::string::npos) << run.err;
    expectNoLoaderError(run);
}
