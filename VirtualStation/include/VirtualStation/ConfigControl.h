// Control of the virtual station's configuration protocol: one-shot requests
// (NET_DVR_STDXMLConfig) and the ability document (NET_DVR_GetDeviceAbility).
// What is scripted here applies to whichever station is asked next, in the
// order scripted, and is dropped when the SDK state goes away (reset(), the
// last NET_DVR_Cleanup). A scripted answer replaces the station's own and
// changes none of its state.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_CONFIG_CONTROL_H
#define VSTATION_CONFIG_CONTROL_H

#include "VirtualStation/PersonControl.h"  // presentCard, once declared here
#include "VirtualStation/Vocabulary.h"

namespace vstation {

// `requestLine` is matched exactly, "\r\n" included; "" matches every line
// that has no script of its own. `times` answers are queued.
// The reply body `body`, followed by a zero byte.
VSTATION_API void scriptReply(const std::string& requestLine, const std::string& body, int times = 1);
// The request fails with `statusJson` in the status buffer (zero-terminated).
VSTATION_API void scriptStatus(const std::string& requestLine, const std::string& statusJson, int times = 1);
// `bytes` copied verbatim, no zero byte added, into the reply buffer (the
// request succeeds) or, with `intoStatusBuffer`, the status buffer (it
// fails). Bytes that fill the buffer exactly are kept; more fail with
// NET_DVR_ERR_BUFFER_SMALL.
VSTATION_API void scriptRawReply(const std::string& requestLine, const std::string& bytes,
                                 bool intoStatusBuffer = false, int times = 1);
// The next ability document(s): `bytes`, zero-terminated unless `raw`.
VSTATION_API void scriptAbility(const std::string& bytes, bool raw = false, int times = 1);
VSTATION_API void clearScripts();

// False when no station answers at address:port.
VSTATION_API bool configState(ConfigSnapshot* snapshot, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);

}  // namespace vstation

#endif  // VSTATION_CONFIG_CONTROL_H
