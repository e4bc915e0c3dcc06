// The device language: answered from the mask cached at login.
#include "KestroBase.h"
#include "TransferFixture.h"
#include "VirtualStation/StationControl.h"

TEST_F(TransferTest, LanguageTypeFollowsTheMaskBits) {
    const struct {
        int mask;
        bool ok;
        int type;
    } cases[] = {{0, true, 1}, {1, true, 1}, {2, true, 2}, {3, true, 1}, {4, false, 0}, {6, true, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        ASSERT_TRUE(vstation::loadProfile(profileWith(R"("languageMask": )" + std::to_string(c.mask))));
        EnrollmentStation::CEnrollmentStation station;
        ASSERT_TRUE(login(station));
        Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(1, 2));
        const size_t callsBefore = vstation::callLog().size();

        int type = 77;
        EXPECT_EQ(station.getDeviceLanguageType(type), c.ok);
        EXPECT_EQ(type, c.ok ? c.type : 77);
        EXPECT_EQ(lastError(), std::make_pair(1, 2));
        EXPECT_EQ(vstation::callLog().size(), callsBefore);  // no device call
        station.uninitEnrollmentStation();
    }
}

TEST_F(TransferTest, LanguageTypeNeedsASessionAndOutlivesSetIsInit) {
    int type = 77;
    EXPECT_FALSE(station_.getDeviceLanguageType(type));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_EQ(type, 77);

    ASSERT_TRUE(vstation::loadProfile(profileWith(R"("languageMask": 2)")));
    const long id = loginStation();
    ASSERT_TRUE(station_.setIsInit(false, id));
    ASSERT_TRUE(station_.getDeviceLanguageType(type));
    EXPECT_EQ(type, 2);
}
