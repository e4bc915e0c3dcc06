// CEnrollmentOperator: construction and the login session.
#include "EnrollmentOperator.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "BaseSDK/OPRALStrategy.h"
#include "KestroBase.h"
#include "LastError.h"
#include "Common/LogSource.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kInitMethod = "EnrollmentStation::CEnrollmentOperator::initEnrollmentStation";
constexpr const char* kUnInitMethod = "EnrollmentStation::CEnrollmentOperator::unInitEnrollmentStation";
constexpr const char* kUnInitMembersMethod = "EnrollmentStation::CEnrollmentOperator::unInitMembers";
constexpr const char* kSetIsInitMethod = "EnrollmentStation::CEnrollmentOperator::setIsInit";

// Decimal text to int, with the standard conversion's rules and exception
// texts. Written out because the texts of the library's own conversion
// differ between standard libraries, and clients compare them.
int portNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t firstDigit = i;
    // Accumulated as a negative number so that INT_MIN fits.
    int64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (!overflow) {
            value = value * 10 - (text[i] - '0');
            overflow = value < int64_t{std::numeric_limits<int>::min()} - 1;
        }
    }
    if (i == firstDigit) {
        throw std::invalid_argument("invalid stoi argument");
    }
    if (!negative) {
        value = -value;
    }
    if (overflow || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        throw std::out_of_range("stoi argument out of range");
    }
    return static_cast<int>(value);
}

// Copies `value` into a fixed text field of the login record; a value that
// fills the field exactly has no terminator. The caller has checked the size.
template <size_t N>
void putText(char (&field)[N], const std::string& value) {
    std::memcpy(field, value.data(), value.size());
}

// Rejects a value longer than its field, logging the lengths and never the
// value itself (the password goes through here too).
bool fitsField(const char* fieldName, const std::string& value, size_t capacity) {
    if (value.size() <= capacity) {
        return true;
    }
    Kestro::Base::details::VexaFormatLog(
        kLogFailure, kLogModule, "[%s]Login parameter %s is %zu bytes long, the field holds %zu.[%s(%d)]",
        kInitMethod, fieldName, value.size(), capacity, kSrcEnrollmentOperator, __LINE__);
    return false;
}

}  // namespace

CEnrollmentOperator::CEnrollmentOperator() = default;

// An operation still running on another thread ends before the operator goes.
CEnrollmentOperator::~CEnrollmentOperator() { m_running.endAll(); }

bool CEnrollmentOperator::initEnrollmentStation(const LoginParam& param, long& userId) {
    if (param.deviceAddress.empty() || param.port.empty() || param.userName.empty() ||
        param.password.empty()) {
        userId = -1;
        return false;
    }
    if (m_bInit) {
        userId = m_lUserID;
        return true;
    }

    NET_DVR_USER_LOGIN_INFO loginInfo;
    std::memset(&loginInfo, 0, sizeof loginInfo);
    if (!fitsField("deviceAddress", param.deviceAddress, sizeof loginInfo.sDeviceAddress) ||
        !fitsField("userName", param.userName, sizeof loginInfo.sUserName) ||
        !fitsField("password", param.password, sizeof loginInfo.sPassword)) {
        setLastError(kErrMainSdk, NET_DVR_ERR_PARAMETER);
        userId = -1;
        return false;
    }

    if (!NET_DVR_Init()) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Init net sdk failed. ErrorCode [%d].[%s(%d)]",
                                             kInitMethod, error, kSrcEnrollmentOperator, __LINE__);
        userId = -1;
        return false;
    }

    // May throw; the SDK then stays initialised and no session is made.
    const int port = portNumber(param.port);
    putText(loginInfo.sDeviceAddress, param.deviceAddress);
    loginInfo.wPort = static_cast<uint16_t>(port);
    putText(loginInfo.sUserName, param.userName);
    putText(loginInfo.sPassword, param.password);
    loginInfo.byLoginMode = 2;

    NET_DVR_DEVICEINFO_V40 deviceInfo;
    std::memset(&deviceInfo, 0, sizeof deviceInfo);
    m_lUserID = NET_DVR_Login_V40(&loginInfo, &deviceInfo);
    Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule, "[%s]Login device UserID[%d].[%s(%d)]",
                                         kInitMethod, static_cast<int>(m_lUserID),
                                         kSrcEnrollmentOperator, __LINE__);
    if (m_lUserID == -1) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Login device failed. ErrorCode [%d].[%s(%d)]",
                                             kInitMethod, error, kSrcEnrollmentOperator, __LINE__);
        userId = m_lUserID;
        return false;
    }

    // Cached for the client; a failing query does not fail the login.
    getDevAbility(m_captureAbility);
    getRFCardCacheCap(m_rfCardCap);

    m_languageType = deviceInfo.byLanguageType;
    m_bInit = true;
    userId = m_lUserID;
    return true;
}

bool CEnrollmentOperator::unInitEnrollmentStation() {
    // An operation of this object still running on another thread ends first,
    // as a cancel ends it: no connection or transfer outlives the login.
    m_running.endAll();
    const bool loggedOut = logOut();
    m_running.reopen();
    return loggedOut;
}

bool CEnrollmentOperator::logOut() {
    if (!m_bInit) {
        return true;
    }
    if (!NET_DVR_Logout_V30(static_cast<int32_t>(m_lUserID))) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Logout device failed. ErrorCode [%d].[%s(%d)]",
                                             kUnInitMethod, error, kSrcEnrollmentOperator, __LINE__);
        return false;
    }
    if (!NET_DVR_Cleanup()) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Clean net sdk failed. ErrorCode [%d].[%s(%d)]",
                                             kUnInitMethod, error, kSrcEnrollmentOperator, __LINE__);
    }
    unInitMembers();
    return true;
}

void CEnrollmentOperator::unInitMembers() {
    m_bInit = false;
    // A second logout of the handle; after the clean-up the SDK usually
    // refuses it, and that refusal is what the last error then holds.
    if (!NET_DVR_Logout_V30(static_cast<int32_t>(m_lUserID))) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Logout device failed. ErrorCode [%d].[%s(%d)]",
                                             kUnInitMembersMethod, error, kSrcEnrollmentOperator, __LINE__);
    }
    m_lUserID = -1;
    m_strSDKLogPath.clear();
}

bool CEnrollmentOperator::setIsInit(bool flag, long userId) {
    m_bInit = flag;
    if (userId == -1) {
        return false;
    }
    if (!NET_DVR_Logout_V30(static_cast<int32_t>(userId))) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Logout device failed. ErrorCode [%d].[%s(%d)]",
                                             kSetIsInitMethod, error, kSrcEnrollmentOperator, __LINE__);
    }
    return true;
}

bool CEnrollmentOperator::configRequest(const char* requestLine, const std::string& body,
                                        std::string& reply) {
    return sendConfigRequest(m_lUserID, requestLine, body, reply, m_lastRefusal);
}

}  // namespace EnrollmentStation
