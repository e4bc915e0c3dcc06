// The offline store search: each page request {"SearchTaskCond": {...}} is
// answered with one data report carrying the page's JSON and the pictures of
// its first record.
#include <cjson/cJSON.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <utility>

#include "State/OfflineRecordJson.h"
#include "State/Station.h"
#include "Jobs/StreamJobs.h"

namespace vstation {

namespace {

using namespace std::chrono_literals;

constexpr auto kPageTime = 20ms;
constexpr uint32_t kPageLimit = 10240;
// Records in one answer at most, whatever the client asks for.
constexpr int kMaxResultsCap = 30;

struct PageRequest {
    std::string searchId;
    size_t position = 0;
    int maxResults = 0;
};

bool wholeNumber(const cJSON* item, double min) {
    return cJSON_IsNumber(item) && item->valuedouble >= min && item->valuedouble < 2147483648.0 &&
           item->valuedouble == std::floor(item->valuedouble);
}

// The page request, read strictly: a JSON object whose "SearchTaskCond"
// holds a non-empty "searchID", a "searchResultPosition" of 0 or more and a
// "maxResults" of 1 or more.
bool readPage(const char* buffer, uint32_t length, PageRequest* page) {
    cJSON* root = cJSON_ParseWithLength(buffer, length);
    bool ok = false;
    const cJSON* cond = cJSON_GetObjectItemCaseSensitive(root, "SearchTaskCond");
    const cJSON* id = cJSON_GetObjectItemCaseSensitive(cond, "searchID");
    const cJSON* position = cJSON_GetObjectItemCaseSensitive(cond, "searchResultPosition");
    const cJSON* maxResults = cJSON_GetObjectItemCaseSensitive(cond, "maxResults");
    if (cJSON_IsObject(cond) && cJSON_IsString(id) && id->valuestring && id->valuestring[0] != '\0' &&
        wholeNumber(position, 0) && wholeNumber(maxResults, 1)) {
        page->searchId = id->valuestring;
        page->position = static_cast<size_t>(position->valuedouble);
        page->maxResults = static_cast<int>(maxResults->valuedouble);
        ok = true;
    }
    cJSON_Delete(root);
    return ok;
}

std::string printed(cJSON* root) {
    char* text = cJSON_PrintUnformatted(root);
    std::string result = text ? text : "";
    cJSON_free(text);
    cJSON_Delete(root);
    return result;
}

class SearchJob : public StreamJob {
public:
    SearchJob(std::shared_ptr<Station> station, const StreamScript& script)
        : m_station(std::move(station)), m_script(script), m_emptyPagesLeft(script.emptyPages) {}

    void begin(LongConnection&) override {}

    int32_t page(LongConnection& connection, uint32_t dataType, const char* buffer, uint32_t length) override {
        if (dataType != NET_DVR_SEND_JSON_DATA) return NET_DVR_ERR_NOT_SUPPORTED;
        if (buffer == nullptr || length == 0 || length > kPageLimit) return NET_DVR_ERR_PARAMETER;
        PageRequest request;
        if (!readPage(buffer, length, &request)) return NET_DVR_ERR_PARAMETER;
        // After a scripted ending the station has nothing more to say.
        if (m_ended) return NET_DVR_ERR_NONE;

        if (request.searchId != m_searchId || !m_records) {
            m_searchId = request.searchId;
            std::lock_guard<std::mutex> lock(m_station->mutex);
            m_records = m_station->store.snapshot();
        }
        if (m_emptyPagesLeft > 0) {
            --m_emptyPagesLeft;
            connection.post(answer(request, 0, "MORE", m_searchId));
            return NET_DVR_ERR_NONE;
        }
        const bool scriptedEnd = m_script.ending != StreamEnding::Normal &&
                                 m_delivered >= static_cast<size_t>(std::max(m_script.records, 0));
        if (!scriptedEnd) {
            connection.post(answer(request, recordsAt(request), nullptr, m_searchId));
            return NET_DVR_ERR_NONE;
        }
        m_ended = true;
        Report report;
        if (m_script.ending == StreamEnding::ForeignSearchID) {
            connection.post(answer(request, recordsAt(request), nullptr, m_searchId + "-0"));
        } else if (m_script.ending == StreamEnding::Unparsable) {
            connection.post(textReport(std::string("{\"SearchTaskResponse\": {\"searchID\": \"") + m_searchId));
        } else if (endingReport(m_script, &report)) {
            report.delay = paced(kPageTime);
            connection.post(std::move(report));
        }
        return NET_DVR_ERR_NONE;
    }

private:
    size_t recordsAt(const PageRequest& request) const {
        const size_t total = m_records->size();
        if (request.position >= total) return 0;
        return std::min(total - request.position,
                        static_cast<size_t>(std::min(request.maxResults, kMaxResultsCap)));
    }

    // The answer to `request` with `count` records from its position; the
    // status follows from where they end unless `status` is given.
    Report answer(const PageRequest& request, size_t count, const char* status, const std::string& searchId) {
        const size_t total = m_records->size();
        if (status == nullptr) {
            status = count == 0 ? "NO MATCH" : request.position + count < total ? "MORE" : "OK";
        }
        cJSON* root = cJSON_CreateObject();
        cJSON* response = cJSON_AddObjectToObject(root, "SearchTaskResponse");
        cJSON_AddStringToObject(response, "searchID", searchId.c_str());
        cJSON_AddStringToObject(response, "responseStatusStrg", status);
        cJSON_AddNumberToObject(response, "numOfMatches", static_cast<double>(count));
        cJSON_AddNumberToObject(response, "totalMatches", static_cast<double>(total));
        cJSON* list = cJSON_AddArrayToObject(response, "DataCollections");
        for (size_t i = 0; i < count; ++i) {
            cJSON_AddItemToArray(list, offlineRecordJson((*m_records)[request.position + i]->fields, kAnsweredRecordKeys));
        }
        m_delivered += count;
        Report report = textReport(printed(root));
        if (count > 0) {
            // The pictures of the page's first record travel beside the text.
            const StoredRecord& first = *(*m_records)[request.position];
            attach(report, first.facePicture, offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pFacePicBuffer),
                   offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwFacePicSize));
            attach(report, first.infraredPicture,
                   offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pInfraredFacePicBuffer),
                   offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwInfraredFacePicSize));
        }
        return report;
    }

    // A data report whose record points at `text`, held by the report.
    static Report textReport(std::string text) {
        auto held = std::make_shared<const std::string>(std::move(text));
        NET_DVR_SEARCH_CAPTURE_DATA_RESULT record{};
        record.dwSize = sizeof(record);
        record.pJsonBuffer = const_cast<char*>(held->c_str());
        record.dwJsonLen = static_cast<uint32_t>(held->size());
        Report report;
        report.type = NET_SDK_CALLBACK_TYPE_DATA;
        report.bytes.resize(sizeof(record));
        std::memcpy(report.bytes.data(), &record, sizeof(record));
        report.keep.push_back(std::move(held));
        report.delay = paced(kPageTime);
        return report;
    }

    // Points the record at a stored picture, shared rather than copied.
    static void attach(Report& report, const std::shared_ptr<const std::string>& picture, size_t addressOffset,
                       size_t lengthOffset) {
        if (!picture || picture->empty()) return;
        const char* bytes = picture->data();
        const uint32_t length = static_cast<uint32_t>(picture->size());
        std::memcpy(report.bytes.data() + addressOffset, &bytes, sizeof bytes);
        std::memcpy(report.bytes.data() + lengthOffset, &length, sizeof length);
        report.keep.push_back(picture);
    }

    std::shared_ptr<Station> m_station;
    StreamScript m_script;
    int m_emptyPagesLeft;
    std::string m_searchId;
    std::shared_ptr<const RecordList> m_records;
    size_t m_delivered = 0;
    bool m_ended = false;
};

}  // namespace

std::unique_ptr<StreamJob> searchJob(std::shared_ptr<Station> station, const StreamScript& script) {
    return std::make_unique<SearchJob>(std::move(station), script);
}

}  // namespace vstation
