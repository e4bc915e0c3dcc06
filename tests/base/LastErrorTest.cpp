#include <gtest/gtest.h>

#include <thread>

#include "KestroBase.h"

using namespace Kestro::Base::Error;

TEST(LastError, OneStoreForAllThreads) {
    EXPECT_EQ(ErrorCode().iMainCode, 0);
    EXPECT_EQ(ErrorCode().iSubCode, 0);
    SetLastError(ErrorCode(50, 17));
    std::thread([] { SetLastError(ErrorCode(69, 8203)); }).join();
    EXPECT_EQ(GetLastError().iMainCode, 69);
    EXPECT_EQ(GetLastError().iSubCode, 8203);
}
