#include <gtest/gtest.h>

#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "KestroBase.h"

TEST(CreateGuid, IsVersionFourTextAndUniqueAcrossThreads) {
    const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::mutex mutex;
    std::set<std::string> seen;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2500; ++i) {
                const std::string guid = Kestro::Base::GuidUtil::CreateGuid();
                std::lock_guard<std::mutex> lock(mutex);
                EXPECT_TRUE(std::regex_match(guid, form)) << guid;
                seen.insert(guid);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(seen.size(), 10000u);
}
