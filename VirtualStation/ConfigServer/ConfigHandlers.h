// Handlers of the configuration protocol's requests, and what they share:
// the parsed request, status documents and the checked reading of bodies.
#ifndef VSTATION_CONFIGHANDLERS_H
#define VSTATION_CONFIGHANDLERS_H

#include <cjson/cJSON.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ConfigServer/ConfigServer.h"
#include "OwnedJsonTree.h"

namespace vstation {

struct Station;

struct ConfigRequest {
    std::string method;  // "GET", "PUT", ...
    std::string uri;     // path with query, as the request line has it
    std::string path;    // uri without its query
    std::string body;
};

using ConfigHandler = ConfigAnswer (*)(Station&, const ConfigRequest&);

// Why a request failed; each has its own status document (StatusDocument.cpp).
enum class ConfigStatus {
    Ok,
    BadRequestLine,
    UnknownRequest,
    MethodNotAllowed,
    FunctionNotSupported,
    LongConnectionOnly,
    BadJsonBody,
    BadField,
    ValueOutOfRange,
    NoCardPresented,
    CardTypeDisabled,
    NoIDCardPresented,
};

// The failed request's status document; `detail` becomes its errorMsg.
ConfigAnswer statusAnswer(const ConfigRequest& request, ConfigStatus status,
                          const std::string& detail = std::string());
// A successful request that returns no data: the "OK" status document as reply.
ConfigAnswer okAnswer(const ConfigRequest& request);
// A JSON reply; takes ownership of `root`.
ConfigAnswer jsonAnswer(cJSON* root);

// `text` in quotes for a fault text, cut so that the status document stays
// well inside a status buffer.
std::string quoted(const std::string& text);

// Reads a request body field by field; the first fault is kept and every
// later read returns a default, so a handler reads everything and then asks
// ok() once. `where` names the enclosing object in fault texts.
class BodyReader {
public:
    explicit BodyReader(const ConfigRequest& request);

    bool ok() const { return m_status == ConfigStatus::Ok; }
    ConfigAnswer failure() const;

    // The body's member `rootKey`, which must be an object (an array when
    // `isArray`).
    const cJSON* root(const char* rootKey, bool isArray = false);
    const cJSON* object(const cJSON* parent, const char* key, const std::string& where);
    const cJSON* array(const cJSON* parent, const char* key, const std::string& where);
    bool flag(const cJSON* parent, const char* key, const std::string& where);
    int32_t integer(const cJSON* parent, const char* key, const std::string& where, int32_t min,
                    int32_t max);
    std::string text(const cJSON* parent, const char* key, const std::string& where);
    // Element checks for arrays.
    const cJSON* objectAt(const cJSON* element, const std::string& where);
    int32_t integerAt(const cJSON* element, const std::string& where, int32_t min, int32_t max);

    void fail(ConfigStatus status, const std::string& detail);

private:
    const cJSON* member(const cJSON* parent, const char* key, const std::string& where);

    const ConfigRequest& m_request;
    support::JsonTree m_tree;
    ConfigStatus m_status = ConfigStatus::Ok;
    std::string m_detail;
};

// Route handlers.
ConfigAnswer getCapabilities(Station&, const ConfigRequest&);
ConfigAnswer getRFCardCapabilities(Station&, const ConfigRequest&);
ConfigAnswer getRFCardConfig(Station&, const ConfigRequest&);
ConfigAnswer putRFCardConfig(Station&, const ConfigRequest&);
ConfigAnswer captureCardInfo(Station&, const ConfigRequest&);
ConfigAnswer putCaptureRule(Station&, const ConfigRequest&);
ConfigAnswer captureIDInfo(Station&, const ConfigRequest&);
ConfigAnswer searchOverOneShot(Station&, const ConfigRequest&);
ConfigAnswer putOfflineRule(Station&, const ConfigRequest&);
ConfigAnswer getUploadFailedDetails(Station&, const ConfigRequest&);
ConfigAnswer deleteDataCollections(Station&, const ConfigRequest&);

// Waits `ms` when pacing is on; never call it holding a lock.
void paceFor(int ms);

}  // namespace vstation

#endif  // VSTATION_CONFIGHANDLERS_H
