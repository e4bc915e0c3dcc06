// File upload and download through the library: every way a transfer ends,
// the SDK calls each way makes, and what is left on disk.
#include "KestroBase.h"
#include "TransferFixture.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/TransferControl.h"

namespace {

using vstation::TransferKind;

struct Calls {
    const char* start;
    const char* state;
    const char* close;
};

Calls callsOf(TransferKind kind) {
    return kind == TransferKind::Upload
               ? Calls{"NET_DVR_UploadFile_V40", "NET_DVR_GetUploadState", "NET_DVR_UploadClose"}
               : Calls{"NET_DVR_StartDownload", "NET_DVR_GetDownloadState", "NET_DVR_StopDownload"};
}

const char* nameOf(TransferKind kind) { return kind == TransferKind::Upload ? "upload" : "download"; }

}  // namespace

class TransferCalls : public TransferTest {
protected:
    void expectCalls(TransferKind kind, int starts, int states, int closes) {
        const Calls calls = callsOf(kind);
        EXPECT_EQ(callCount(calls.start), starts);
        EXPECT_EQ(callCount(calls.state), states);
        EXPECT_EQ(callCount(calls.close), closes);
        EXPECT_EQ(vstation::openHandles().uploads + vstation::openHandles().downloads, 0);
    }

    bool run(TransferKind kind, const std::string& path) {
        return kind == TransferKind::Upload ? station_.uploadFile(path) : station_.downloadFile(path);
    }

    // The captured failure lines of the file transfer, without their line numbers.
    std::vector<std::string> transferLines() const {
        std::vector<std::string> lines;
        for (const estest::LogLine& line : logRecords()) {
            const size_t at = line.text.rfind("[EnrollmentStation\\FileUtil\\FileUtil(");
            if (line.level == 5 && line.module == "EnrollmentStation" && at != std::string::npos) {
                lines.push_back(line.text.substr(0, at));
            }
        }
        return lines;
    }
};

TEST_F(TransferCalls, BeforeLoginNothingIsAskedAndNoCodeIsSet) {
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(1, 2));
    writeFile(pathOf("a.bin"), "abc");
    EXPECT_FALSE(station_.uploadFile(pathOf("a.bin")));
    EXPECT_FALSE(station_.downloadFile(pathOf("b.bin")));
    EXPECT_EQ(lastError(), std::make_pair(1, 2));

    // The init flag decides, not the handle.
    const long id = loginStation();
    ASSERT_TRUE(station_.setIsInit(false, id));
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(1, 2));
    EXPECT_FALSE(station_.uploadFile(pathOf("a.bin")));
    EXPECT_FALSE(station_.downloadFile(pathOf("b.bin")));

    EXPECT_EQ(lastError(), std::make_pair(1, 2));
    expectCalls(TransferKind::Upload, 0, 0, 0);
    expectCalls(TransferKind::Download, 0, 0, 0);
    EXPECT_TRUE(transferLines().empty());
}

TEST_F(TransferCalls, UploadThenDownloadKeepsEveryByte) {
    const long id = loginStation();
    const std::string content = patternBytes(3500);
    writeFile(pathOf("up.bin"), content);
    vstation::setTransferChunkSize(1000);

    ASSERT_TRUE(station_.uploadFile(pathOf("up.bin")));
    expectCalls(TransferKind::Upload, 1, 4, 1);  // 3 running, then done
    const vstation::CallRecord start = lastCall("NET_DVR_UploadFile_V40");
    EXPECT_EQ(start.args, (std::vector<int64_t>{id, 56, 0, 0}));
    EXPECT_EQ(start.text, pathOf("up.bin"));
    std::string stored;
    ASSERT_TRUE(vstation::stationFile(&stored));
    EXPECT_TRUE(stored == content);

    ASSERT_TRUE(station_.downloadFile(pathOf("down.bin")));
    expectCalls(TransferKind::Download, 1, 4, 1);
    EXPECT_EQ(lastCall("NET_DVR_StartDownload").args, (std::vector<int64_t>{id, 40, 0}));
    EXPECT_TRUE(readFile(pathOf("down.bin")) == content);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"down.bin", "up.bin"}));
    EXPECT_EQ(lastError(), std::make_pair(0, 0));
    EXPECT_TRUE(transferLines().empty());
}

TEST_F(TransferCalls, FailedStatesSetTheirCodeLogAndCloseOnce) {
    const struct {
        TransferKind kind;
        int32_t state;
        std::pair<int, int> error;
        const char* line;  // empty: no line
    } cases[] = {
        {TransferKind::Upload, 3, {69, 8205},
         "[EnrollmentStation::CFileUtil::startUpload]CEnrollmentStationMgr::Uploadload state return "
         "failed.iMainCode:69, iSubCode:8205."},
        {TransferKind::Upload, 4, {69, 8206},
         "[EnrollmentStation::CFileUtil::startUpload]CEnrollmentStationMgr::Uploadload state return "
         "failed. iMainCode:69, iSubCode:8206."},
        {TransferKind::Upload, 7, {69, 8205},
         "[EnrollmentStation::CFileUtil::startUpload]CEnrollmentStationMgr::DownLoadTemplateFile fail "
         "iMainCode:69, iSubCode:8205"},
        {TransferKind::Download, 3, {69, 8205},
         "[EnrollmentStation::CFileUtil::startDownload]download state return failed. ErrorCode [3]."},
        {TransferKind::Download, 4, {69, 8206},
         "[EnrollmentStation::CFileUtil::startDownload]download state return failed. ErrorCode [4]."},
        {TransferKind::Download, 0, {69, 8205}, ""},
    };
    writeFile(pathOf("up.bin"), patternBytes(5000));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(nameOf(c.kind)) + " state " + std::to_string(c.state));
        vstation::reset();
        vstation::setStationFile(patternBytes(5000, 3));
        vstation::setTransferChunkSize(1000);
        clearLog();
        EnrollmentStation::CEnrollmentStation station;
        ASSERT_TRUE(login(station));
        clearLog();

        ASSERT_TRUE(vstation::failTransferAt(c.kind, c.state, 2));
        const std::string path = pathOf(c.kind == TransferKind::Upload ? "up.bin" : "down.bin");
        EXPECT_FALSE(c.kind == TransferKind::Upload ? station.uploadFile(path) : station.downloadFile(path));
        EXPECT_EQ(lastError(), c.error);
        expectCalls(c.kind, 1, 3, 1);  // running twice, then the failed state
        EXPECT_EQ(transferLines(), std::string(c.line).empty() ? std::vector<std::string>{}
                                                              : std::vector<std::string>{c.line});
        // Nothing half-written: the station keeps its file, the target stays absent.
        std::string stored;
        ASSERT_TRUE(vstation::stationFile(&stored));
        EXPECT_TRUE(stored == patternBytes(5000, 3));
        EXPECT_EQ(folderEntries(), std::vector<std::string>{"up.bin"});
        station.uninitEnrollmentStation();
    }
}

TEST_F(TransferCalls, AFailedStartIsReportedAndNothingIsClosed) {
    loginStation();
    EXPECT_FALSE(station_.uploadFile(pathOf("missing.bin")));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_FILE}));
    expectCalls(TransferKind::Upload, 1, 0, 0);

    vstation::failNext("NET_DVR_StartDownload", NET_DVR_ERR_ALLOC);
    EXPECT_FALSE(station_.downloadFile(pathOf("down.bin")));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_ALLOC}));
    expectCalls(TransferKind::Download, 1, 0, 0);

    EXPECT_EQ(transferLines(),
              (std::vector<std::string>{
                  "[EnrollmentStation::CFileUtil::startUpload]CEnrollmentStationMgr::Upload file "
                  "failed.iMainCode:50, iSubCode:35.",
                  "[EnrollmentStation::CFileUtil::startDownload]download file failed. ErrorCode [41]."}));
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(TransferCalls, APathIsCutAtItsFirstNulAndASmallFileTakesOneQuery) {
    loginStation();
    writeFile(pathOf("a.bin"), "payload");
    writeFile(pathOf("b.bin"), "older and longer content");
    const std::string tail = std::string(1, '\0') + "ignored";

    ASSERT_TRUE(station_.uploadFile(pathOf("a.bin") + tail));
    EXPECT_EQ(lastCall("NET_DVR_UploadFile_V40").text, pathOf("a.bin"));
    expectCalls(TransferKind::Upload, 1, 1, 1);

    ASSERT_TRUE(station_.downloadFile(pathOf("b.bin") + tail));
    EXPECT_EQ(lastCall("NET_DVR_StartDownload").text, pathOf("b.bin"));
    expectCalls(TransferKind::Download, 1, 1, 1);
    EXPECT_EQ(readFile(pathOf("b.bin")), "payload");  // replaced, not merged
}

namespace {

// What a progress callback received, in order.
struct ProgressLog {
    std::vector<std::pair<EnrollmentStation::ProgressOperation, int>> reports;
    static void record(const EnrollmentStation::ProgressReport& report, void* user) {
        static_cast<ProgressLog*>(user)->reports.emplace_back(report.operation, report.percent);
    }
};

}  // namespace

TEST_F(TransferCalls, ProgressFollowsEachChangeToTheEndAndNullTurnsItOff) {
    using EnrollmentStation::ProgressOperation;
    loginStation();
    writeFile(pathOf("up.bin"), patternBytes(3500));
    vstation::setTransferChunkSize(1000);
    ProgressLog log;
    station_.setProgressCallback(&ProgressLog::record, &log);

    ASSERT_TRUE(station_.uploadFile(pathOf("up.bin")));
    ASSERT_TRUE(station_.downloadFile(pathOf("down.bin")));
    using Steps = std::vector<std::pair<ProgressOperation, int>>;
    EXPECT_EQ(log.reports, (Steps{{ProgressOperation::Upload, 28}, {ProgressOperation::Upload, 57},
                                  {ProgressOperation::Upload, 85}, {ProgressOperation::Upload, 100},
                                  {ProgressOperation::Download, 28}, {ProgressOperation::Download, 57},
                                  {ProgressOperation::Download, 85}, {ProgressOperation::Download, 100}}));
    // The reports change nothing the calls make or log.
    expectCalls(TransferKind::Download, 1, 4, 1);
    EXPECT_TRUE(transferLines().empty());

    // A failed state is no progress: only the running ones are reported.
    log.reports.clear();
    ASSERT_TRUE(vstation::failTransferAt(TransferKind::Upload, 3, 2));
    EXPECT_FALSE(station_.uploadFile(pathOf("up.bin")));
    EXPECT_EQ(log.reports, (Steps{{ProgressOperation::Upload, 28}, {ProgressOperation::Upload, 57}}));

    log.reports.clear();
    station_.setProgressCallback(nullptr, &log);
    ASSERT_TRUE(station_.uploadFile(pathOf("up.bin")));
    EXPECT_TRUE(log.reports.empty());
}
