// A 100 MB file goes up and comes back unchanged, in bounded time.
#include <chrono>
#include <fstream>

#include "TransferFixture.h"
#include "VirtualStation/StationControl.h"

namespace {

constexpr size_t kBlock = size_t{1} << 20;
constexpr size_t kBlocks = 100;

std::string block(size_t index) { return estest::patternBytes(kBlock, static_cast<unsigned>(index * 31)); }

}  // namespace

TEST_F(TransferTest, AHundredMegabyteFileSurvivesTheRoundTrip) {
    loginStation();
    {
        std::ofstream out(pathOf("big.bin"), std::ios::binary);
        for (size_t i = 0; i < kBlocks; ++i) out << block(i);
        ASSERT_TRUE(out.good());
    }

    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(station_.uploadFile(pathOf("big.bin")));
    ASSERT_TRUE(station_.downloadFile(pathOf("back.bin")));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(seconds, 60);
    // One chunk per query: the poll loop did work on every call.
    EXPECT_EQ(callCount("NET_DVR_GetUploadState"), static_cast<int>(kBlocks));
    EXPECT_EQ(callCount("NET_DVR_GetDownloadState"), static_cast<int>(kBlocks));

    std::ifstream back(pathOf("back.bin"), std::ios::binary);
    std::string chunk(kBlock, '\0');
    for (size_t i = 0; i < kBlocks; ++i) {
        back.read(&chunk[0], static_cast<std::streamsize>(kBlock));
        ASSERT_EQ(back.gcount(), static_cast<std::streamsize>(kBlock)) << "block " << i;
        ASSERT_TRUE(chunk == block(i)) << "block " << i;
    }
    EXPECT_EQ(back.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(vstation::openHandles().total(), 1);  // the login only
}
