// Device network SDK: the only road to an enrollment station.
//
// Declarations only. The library links the shared library "ZornNetSDK" by
// name; the virtual station built here serves the same symbols, and a program
// that defines them itself takes their place.
//
// Conventions: handles and error numbers are 32-bit signed, -1 is a failed
// handle; every other call returns nonzero on success and zero on failure,
// after which NET_DVR_GetLastError() tells why (the number is kept per
// thread). Records are passed by pointer and laid out byte-exactly as below
// (little-endian, 8-byte pointers).
//
// Thread safety: every call may be made from any thread. Long-connection
// callbacks run on the SDK's own thread, never on the caller's.
#ifndef ZORN_NET_SDK_H
#define ZORN_NET_SDK_H

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  if defined(ZORNNETSDK_BUILD)
#    define ZORN_API __declspec(dllexport)
#  else
#    define ZORN_API __declspec(dllimport)
#  endif
#  define ZORN_CALL __stdcall
#else
#  define ZORN_API __attribute__((visibility("default")))
#  define ZORN_CALL
#endif

static_assert(sizeof(void*) == 8, "the SDK records are laid out for 64-bit pointers");

// ---- Error numbers (NET_DVR_GetLastError) --------------------------------
enum : int32_t {
    NET_DVR_ERR_NONE = 0,              // no error
    NET_DVR_ERR_PASSWORD = 1,          // user name or password wrong
    NET_DVR_ERR_NOT_INITIALISED = 3,   // NET_DVR_Init was not called (or cleaned up)
    NET_DVR_ERR_CHANNEL = 4,           // channel number out of range
    NET_DVR_ERR_CONNECT = 7,           // the station could not be reached
    NET_DVR_ERR_SEND = 8,              // sending to the station failed
    NET_DVR_ERR_RECV = 9,              // receiving from the station failed
    NET_DVR_ERR_TIMEOUT = 10,          // the station did not answer in time
    NET_DVR_ERR_ORDER = 12,            // call out of order (nothing to stop, state ended)
    NET_DVR_ERR_PARAMETER = 17,        // a record, pointer, size or length is invalid
    NET_DVR_ERR_NOT_SUPPORTED = 23,    // the station does not support the command or type
    NET_DVR_ERR_FILE = 35,             // a local file could not be opened, read or written
    NET_DVR_ERR_ALLOC = 41,            // out of resources
    NET_DVR_ERR_NO_SUCH_STATION = 47,  // no station answers at that address and port
    NET_DVR_ERR_USER_ID = 48,          // unknown login handle
    NET_DVR_ERR_HANDLE = 49,           // unknown connection or transfer handle
    NET_DVR_ERR_BUSY = 50,             // the station is busy with another transfer
    NET_DVR_ERR_BUFFER_SMALL = 43,     // a reply does not fit the caller's buffer
    NET_DVR_ERR_STATION_REFUSED = 29,  // a configuration request failed; the status buffer says why
};

// ---- Login ---------------------------------------------------------------
// Input of NET_DVR_Login_V40, 416 bytes. Texts are not NUL-terminated when
// they fill their field.
struct NET_DVR_USER_LOGIN_INFO {
    char sDeviceAddress[129];
    uint8_t byRes1;
    uint16_t wPort;
    char sUserName[64];
    char sPassword[64];
    uint8_t byRes2[26];
    uint8_t byLoginMode;  // 2 for this client
    uint8_t byRes3[129];
};
static_assert(sizeof(NET_DVR_USER_LOGIN_INFO) == 416, "login record size");
static_assert(offsetof(NET_DVR_USER_LOGIN_INFO, wPort) == 130, "port offset");
static_assert(offsetof(NET_DVR_USER_LOGIN_INFO, sUserName) == 132, "user offset");
static_assert(offsetof(NET_DVR_USER_LOGIN_INFO, sPassword) == 196, "password offset");
static_assert(offsetof(NET_DVR_USER_LOGIN_INFO, byLoginMode) == 286, "mode offset");

// Output of NET_DVR_Login_V40, 344 bytes.
struct NET_DVR_DEVICEINFO_V40 {
    char sSerialNumber[48];
    uint8_t byRes1[22];
    uint8_t byLanguageType;  // language mask: bit 0 first language, bit 1 second
    uint8_t byRes2[273];
};
static_assert(sizeof(NET_DVR_DEVICEINFO_V40) == 344, "device record size");
static_assert(offsetof(NET_DVR_DEVICEINFO_V40, byLanguageType) == 70, "language offset");

// ---- Configuration protocol (NET_DVR_STDXMLConfig) -----------------------
struct NET_DVR_XML_CONFIG_INPUT {
    uint32_t dwSize;  // 72
    uint8_t byRes0[4];
    void* lpRequestUrl;  // request line, e.g. "GET /path?format=json\r\n"
    uint32_t dwRequestUrlLen;
    uint8_t byRes1[4];
    void* lpInBuffer;  // body; null when there is none
    uint32_t dwInBufferSize;
    uint32_t dwRecvTimeOut;  // milliseconds
    uint8_t byForceEncrypt;
    uint8_t byRes2[31];
};
static_assert(sizeof(NET_DVR_XML_CONFIG_INPUT) == 72, "xml input size");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, lpRequestUrl) == 8, "url offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, dwRequestUrlLen) == 16, "url len offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, lpInBuffer) == 24, "body offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, dwInBufferSize) == 32, "body len offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, dwRecvTimeOut) == 36, "timeout offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_INPUT, byForceEncrypt) == 40, "encrypt offset");

struct NET_DVR_XML_CONFIG_OUTPUT {
    uint32_t dwSize;  // 72
    uint8_t byRes0[4];
    void* lpOutBuffer;  // reply body on success
    uint32_t dwOutBufferSize;
    uint32_t dwReturnedXMLSize;  // written by the SDK
    void* lpStatusBuffer;  // status document on failure
    uint32_t dwStatusSize;
    uint8_t byRes1[36];
};
static_assert(sizeof(NET_DVR_XML_CONFIG_OUTPUT) == 72, "xml output size");
static_assert(offsetof(NET_DVR_XML_CONFIG_OUTPUT, lpOutBuffer) == 8, "out offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_OUTPUT, dwOutBufferSize) == 16, "out size offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_OUTPUT, dwReturnedXMLSize) == 20, "returned offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_OUTPUT, lpStatusBuffer) == 24, "status offset");
static_assert(offsetof(NET_DVR_XML_CONFIG_OUTPUT, dwStatusSize) == 32, "status size offset");

// Ability document of the access-control functions (NET_DVR_GetDeviceAbility).
enum : uint32_t { NET_DVR_ACS_ABILITY = 2049 };

// ---- Fixed-layout configuration (NET_DVR_Get/SetDVRConfig) ---------------
enum : uint32_t {
    NET_DVR_GET_FACE_PARAM_CFG = 2505,
    NET_DVR_SET_FACE_PARAM_CFG = 2506,
};

// Face parameter record, 328 bytes.
struct NET_DVR_FACE_PARAM_CFG {
    uint32_t dwSize;  // 328
    uint8_t byRes1[66];
    uint8_t byEnable;  // 1 off, 2 on
    uint8_t byRes2[6];
    uint8_t byValue;
    uint8_t byRes3[250];
};
static_assert(sizeof(NET_DVR_FACE_PARAM_CFG) == 328, "face parameter size");
static_assert(offsetof(NET_DVR_FACE_PARAM_CFG, byEnable) == 70, "switch offset");
static_assert(offsetof(NET_DVR_FACE_PARAM_CFG, byValue) == 77, "value offset");

// ---- Long connections (NET_DVR_StartRemoteConfig) ------------------------
enum : uint32_t {
    NET_DVR_CAPTURE_FINGERPRINT_INFO = 2504,
    NET_DVR_CAPTURE_FACE_INFO = 2510,
    NET_DVR_SEARCH_CAPTURE_DATA = 2554,
};

// Report types of the long-connection callback.
enum : uint32_t {
    NET_SDK_CALLBACK_TYPE_STATUS = 0,
    NET_SDK_CALLBACK_TYPE_PROGRESS = 1,
    NET_SDK_CALLBACK_TYPE_DATA = 2,
};

// Status values: first 32-bit word of a status report. A failure report of
// 8 bytes carries the error number as its second word; an exception report
// carries it at byte 16 (its length is then at least 20).
enum : uint32_t {
    NET_SDK_CALLBACK_STATUS_SUCCESS = 1000,
    NET_SDK_CALLBACK_STATUS_PROCESSING = 1001,
    NET_SDK_CALLBACK_STATUS_FAILED = 1002,
    NET_SDK_CALLBACK_STATUS_EXCEPTION = 1003,
};

// Data type of NET_DVR_SendRemoteConfig for a JSON page request.
enum : uint32_t { NET_DVR_SEND_JSON_DATA = 11 };

typedef void(ZORN_CALL* fRemoteConfigCallback)(uint32_t dwType, void* lpBuffer, uint32_t dwBufLen,
                                               void* pUserData);

// Input block of command 2504, 132 bytes.
struct NET_DVR_CAPTURE_FINGERPRINT_COND {
    uint32_t dwSize;  // 132
    uint8_t byRes0;
    uint8_t byFingerPrintID;  // finger number
    uint8_t byRes[126];
};
static_assert(sizeof(NET_DVR_CAPTURE_FINGERPRINT_COND) == 132, "finger cond size");
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_COND, byFingerPrintID) == 5, "finger no offset");

// Input block of command 2510, 132 bytes.
struct NET_DVR_CAPTURE_FACE_COND {
    uint32_t dwSize;  // 132
    uint8_t byRes[128];
};
static_assert(sizeof(NET_DVR_CAPTURE_FACE_COND) == 132, "face cond size");

enum : uint32_t { NET_DVR_MAX_FINGER_PRINT_LEN = 768 };

// Data report of command 2504.
struct NET_DVR_CAPTURE_FINGERPRINT_CFG {
    uint32_t dwSize;
    uint32_t dwFingerPrintDataSize;  // template length, at most 768
    char byFingerData[NET_DVR_MAX_FINGER_PRINT_LEN];
    uint32_t dwFingerPrintPicSize;
    uint8_t byRes0[4];
    char* pFingerPrintPicBuffer;
    uint8_t byFingerNo;
    uint8_t byFingerPrintQuality;
    uint8_t byRes[62];
};
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, dwFingerPrintDataSize) == 4, "tpl len");
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, byFingerData) == 8, "tpl");
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, dwFingerPrintPicSize) == 776, "pic len");
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, pFingerPrintPicBuffer) == 784, "pic");
static_assert(offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, byFingerPrintQuality) == 793, "quality");
static_assert(sizeof(NET_DVR_CAPTURE_FINGERPRINT_CFG) == 856, "finger record size");

// Face geometry of a face data report: 14 floats.
struct NET_DVR_FACE_POINT {
    float fX;
    float fY;
};
struct NET_DVR_FACE_REGION {
    float fX;
    float fY;
    float fWidth;
    float fHeight;
};
struct NET_DVR_FACE_FEATURE {
    NET_DVR_FACE_REGION struRegion;
    NET_DVR_FACE_POINT struLeftEye;
    NET_DVR_FACE_POINT struRightEye;
    NET_DVR_FACE_POINT struLeftMouth;
    NET_DVR_FACE_POINT struRightMouth;
    NET_DVR_FACE_POINT struNoseTip;
};
static_assert(sizeof(NET_DVR_FACE_FEATURE) == 56, "face geometry size");

// Data report of command 2510.
struct NET_DVR_CAPTURE_FACE_CFG {
    uint32_t dwSize;
    uint32_t dwFaceTemplate1Size;
    char* pFaceTemplate1Buffer;
    uint32_t dwFaceTemplate2Size;
    uint8_t byRes0[4];
    char* pFaceTemplate2Buffer;
    uint32_t dwFacePicSize;
    uint8_t byRes1[4];
    char* pFacePicBuffer;
    uint8_t byFaceQuality1;
    uint8_t byFaceQuality2;
    uint8_t byCaptureProgress;  // 100 when the capture is complete
    uint8_t byFacePicQuality;
    uint32_t dwInfraredFacePicSize;
    char* pInfraredFacePicBuffer;
    uint8_t byInfraredFacePicQuality;
    uint8_t byRes2[3];
    NET_DVR_FACE_FEATURE struFeature;
    uint8_t byRes[132];
};
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFaceTemplate1Size) == 4, "t1 len");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, pFaceTemplate1Buffer) == 8, "t1");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFaceTemplate2Size) == 16, "t2 len");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, pFaceTemplate2Buffer) == 24, "t2");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFacePicSize) == 32, "pic len");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, pFacePicBuffer) == 40, "pic");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, byFaceQuality1) == 48, "q1");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, byFaceQuality2) == 49, "q2");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, byCaptureProgress) == 50, "progress");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, byFacePicQuality) == 51, "pic quality");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, dwInfraredFacePicSize) == 52, "ir len");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, pInfraredFacePicBuffer) == 56, "ir");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, byInfraredFacePicQuality) == 64, "ir quality");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, struFeature) == 68, "geometry");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, struFeature.struLeftEye) == 84, "left eye");
static_assert(offsetof(NET_DVR_CAPTURE_FACE_CFG, struFeature.struNoseTip) == 116, "nose tip");
static_assert(sizeof(NET_DVR_CAPTURE_FACE_CFG) == 256, "face record size");

// Data report of command 2554: one page answer with its pictures.
struct NET_DVR_SEARCH_CAPTURE_DATA_RESULT {
    uint32_t dwSize;
    uint8_t byRes0[4];
    char* pJsonBuffer;  // the answer's JSON text, NUL-terminated
    uint32_t dwJsonLen;
    uint8_t byRes1[4];
    char* pFacePicBuffer;
    uint32_t dwFacePicSize;
    uint32_t dwInfraredFacePicSize;
    char* pInfraredFacePicBuffer;
    uint8_t byRes[80];
};
static_assert(offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pJsonBuffer) == 8, "json");
static_assert(offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pFacePicBuffer) == 24, "face pic");
static_assert(offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwFacePicSize) == 32, "face len");
static_assert(offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwInfraredFacePicSize) == 36, "ir len");
static_assert(offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pInfraredFacePicBuffer) == 40, "ir pic");
static_assert(sizeof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT) == 128, "search record size");

// ---- File transfer -------------------------------------------------------
enum : uint32_t {
    NET_DVR_UPLOAD_FILE_TYPE = 56,
    NET_DVR_DOWNLOAD_FILE_TYPE = 40,
};
// Transfer states of NET_DVR_GetUploadState / NET_DVR_GetDownloadState.
enum : int32_t {
    NET_DVR_TRANSFER_DONE = 1,
    NET_DVR_TRANSFER_RUNNING = 2,
    NET_DVR_TRANSFER_FAILED = 3,
    NET_DVR_TRANSFER_ABORTED = 4,
};

#ifdef __cplusplus
extern "C" {
#endif

ZORN_API int32_t ZORN_CALL NET_DVR_Init(void);
ZORN_API int32_t ZORN_CALL NET_DVR_Cleanup(void);
ZORN_API int32_t ZORN_CALL NET_DVR_Login_V40(NET_DVR_USER_LOGIN_INFO* pLoginInfo,
                                             NET_DVR_DEVICEINFO_V40* lpDeviceInfo);
ZORN_API int32_t ZORN_CALL NET_DVR_Logout_V30(int32_t lUserID);
ZORN_API int32_t ZORN_CALL NET_DVR_GetLastError(void);

ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t lUserID, uint32_t dwAbilityType,
                                                    char* pInBuf, uint32_t dwInLength,
                                                    char* pOutBuf, uint32_t dwOutLength);
ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t lUserID,
                                                NET_DVR_XML_CONFIG_INPUT* lpInputParam,
                                                NET_DVR_XML_CONFIG_OUTPUT* lpOutputParam);
ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t lUserID, uint32_t dwCommand,
                                                int32_t lChannel, void* lpOutBuffer,
                                                uint32_t dwOutBufferSize,
                                                uint32_t* lpBytesReturned);
ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t lUserID, uint32_t dwCommand,
                                                int32_t lChannel, void* lpInBuffer,
                                                uint32_t dwInBufferSize);

ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t lUserID, uint32_t dwCommand,
                                                     void* lpInBuffer, uint32_t dwInBufferLen,
                                                     fRemoteConfigCallback cbStateCallback,
                                                     void* pUserData);
ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t lHandle, uint32_t dwDataType,
                                                    char* pSendBuf, uint32_t dwBufSize);
ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t lHandle);

ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t lUserID, uint32_t dwUploadType,
                                                  void* lpInBuffer, uint32_t dwInBufferSize,
                                                  char* sFileName, void* lpOutBuffer,
                                                  uint32_t dwOutBufferSize);
ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t lUploadHandle, uint32_t* pProgress);
ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t lUploadHandle);

ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t lUserID, uint32_t dwDownloadType,
                                                 void* lpInBuffer, uint32_t dwInBufferSize,
                                                 char* sFileName);
ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t lDownloadHandle, uint32_t* pProgress);
ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t lDownloadHandle);

#ifdef __cplusplus
}
#endif

#endif  // ZORN_NET_SDK_H
