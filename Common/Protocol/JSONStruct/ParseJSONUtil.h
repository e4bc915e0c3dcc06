// The message framework: the class tree every protocol message derives from,
// and the helpers that turn a whole message into body text and back.
//
// Thread safety: a message is a plain value used by one thread at a time; it
// carries no lock. TParseJSONStr reports cJSON's error position, which is a
// process-wide record of cJSON, so its log text may mix with another thread's
// failed parse.
// Ownership: toJSON returns a new tree that the caller owns (free it with
// cJSON_Delete, or attach it to a parent that then owns it). A message never
// keeps a node after a call returns.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_PARSEJSONUTIL_H
#define COMMON_PROTOCOL_JSONSTRUCT_PARSEJSONUTIL_H

#include <cjson/cJSON.h>

#include <string>
#include <vector>

#include "Common/Protocol/JSONStruct/KeySet.h"

namespace protocol {

class IJSONStruct {
public:
    // Fills the fields from an object node; a null node changes nothing.
    virtual void fromJSON(const cJSON* node) = 0;
    // A new object node built from the fields; null only when cJSON cannot
    // allocate it.
    virtual cJSON* toJSON() const = 0;

    // Keys that fromJSON found, spelt as the message spells them. Grows with
    // every read and is never cleared by reading again.
    KeySet presentKeys;

protected:
    // Messages are destroyed through IInboundData or IReturnData.
    ~IJSONStruct() = default;
};

// Which keys toJSON leaves out. Mode 0: the keys named in ignoreItems;
// mode 1: every key not named there; any other mode: none.
class SerializationIgnoreItemFeatures {
public:
    SerializationIgnoreItemFeatures() = default;
    SerializationIgnoreItemFeatures(const SerializationIgnoreItemFeatures&) = default;
    SerializationIgnoreItemFeatures(SerializationIgnoreItemFeatures&&) noexcept = default;
    // Assignment always copies, also from an rvalue: the two-sided messages
    // reach this virtual base along two paths, and the language lets it be
    // assigned once per path; a second move would read a moved-from list.
    SerializationIgnoreItemFeatures& operator=(const SerializationIgnoreItemFeatures&) = default;

    bool isIgnoreItem(const char* key) const;

    int ignoreMode = 0;
    std::vector<std::string> ignoreItems;
};

// A message that can stand as a whole body under its root key.
class IInboundData : public virtual SerializationIgnoreItemFeatures, public IJSONStruct {
public:
    virtual const char* getRootName() const = 0;
    virtual ~IInboundData();
};

// A message that only exists inside another one (no root key).
class IReturnData : public virtual SerializationIgnoreItemFeatures, public IJSONStruct {
public:
    virtual ~IReturnData();
};

// Whole body text: one object whose single member, named by the root key,
// holds the message's object. Formatted (line breaks, tabs). Empty on failure.
std::string TToJSONStr(const IInboundData& msg);

// Fills `msg` from a whole body text. False for an empty text (silently), for
// text that is not JSON and for a body without the root key (both logged);
// true otherwise, whatever the root object held.
bool TParseJSONStr(IInboundData& msg, const std::string& text);

// Body text of a message whose own object already holds its root key as its
// only member: the formatted print of its toJSON object. Empty on failure.
std::string TToRootlessJSONStr(const IJSONStruct& msg);

// Hands the top-level node of `text` straight to msg.fromJSON. False, without
// a log line, for an empty text or text that is not JSON; true otherwise.
bool TParseRootlessJSONStr(IJSONStruct& msg, const std::string& text);

// The two-sided messages (RFCardCfgData) hold two IJSONStruct sides; these
// take them by their IInboundData side.
inline std::string TToRootlessJSONStr(const IInboundData& msg) {
    return TToRootlessJSONStr(static_cast<const IJSONStruct&>(msg));
}
inline bool TParseRootlessJSONStr(IInboundData& msg, const std::string& text) {
    return TParseRootlessJSONStr(static_cast<IJSONStruct&>(msg), text);
}

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_PARSEJSONUTIL_H
