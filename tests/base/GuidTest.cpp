#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "KestroBase.h"

namespace {

// "XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX", uppercase hex, Y one of 8, 9, A, B.
bool isVersionFour(const std::string& text) {
    static const std::string form = "hhhhhhhh-hhhh-4hhh-yhhh-hhhhhhhhhhhh";
    if (text.size() != form.size()) return false;
    for (size_t i = 0; i < form.size(); ++i) {
        const char c = text[i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        const bool ok = form[i] == 'h' ? hex : form[i] == 'y' ? std::string("89AB").find(c) != std::string::npos
                                                                : c == form[i];
        if (!ok) return false;
    }
    return true;
}

}  // namespace

TEST(CreateGuid, IsVersionFourTextAndUniqueAcrossThreads) {
    std::mutex mutex;
    std::set<std::string> seen;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2500; ++i) {
                const std::string guid = Kestro::Base::GuidUtil::CreateGuid();
                std::lock_guard<std::mutex> lock(mutex);
                EXPECT_TRUE(isVersionFour(guid)) << guid;
                seen.insert(guid);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(seen.size(), 10000u);
}
