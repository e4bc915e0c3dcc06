#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "KestroBase.h"

using Kestro::Base::Error::ErrorCode;
using Kestro::Base::Error::GetLastError;
using Kestro::Base::Error::SetLastError;

TEST(LastError, DefaultCodeIsZeroAndTheLastSetWins) {
    const ErrorCode none;
    EXPECT_EQ(none.iMainCode, 0);
    EXPECT_EQ(none.iSubCode, 0);

    SetLastError(ErrorCode(50, 17));
    SetLastError(ErrorCode(69, 8200));
    const ErrorCode code = GetLastError();
    EXPECT_EQ(code.iMainCode, 69);
    EXPECT_EQ(code.iSubCode, 8200);
}

TEST(LastError, CodeSetOnAnotherThreadIsSeenByTheCaller) {
    SetLastError(ErrorCode(0, 0));
    std::thread([] { SetLastError(ErrorCode(69, 8203)); }).join();
    EXPECT_EQ(GetLastError().iMainCode, 69);
    EXPECT_EQ(GetLastError().iSubCode, 8203);
}

TEST(LastError, ConcurrentWritersNeverTearAPair) {
    // Each writer keeps sub == main * 10; a reader must never see a mixed pair.
    std::vector<std::thread> threads;
    for (int t = 1; t <= 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 20000; ++i) {
                SetLastError(ErrorCode(t, t * 10));
            }
        });
    }
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        const ErrorCode code = GetLastError();
        if (code.iSubCode != code.iMainCode * 10) {
            ++torn;
        }
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(torn, 0);
}
