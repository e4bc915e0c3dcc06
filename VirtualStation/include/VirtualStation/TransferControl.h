// Control of the virtual station's file transfers. The station keeps one
// file: a download of type 40 returns it, an upload of type 56 replaces it.
// A transfer advances by one chunk per state query.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_TRANSFER_CONTROL_H
#define VSTATION_TRANSFER_CONTROL_H

#include "VirtualStation/Vocabulary.h"

namespace vstation {

// The next transfer of `kind` answers "running" (2) to its first `afterPolls`
// state queries, however far it got, and `state` to the one after; it ends
// there and leaves no partial file. `state` is 3 (failed), 4 (aborted) or any
// value other than 1 and 2 (false, and nothing armed, for 1 and 2). A second
// call before that transfer starts replaces the first. Dropped when the SDK
// state goes away (reset(), the last NET_DVR_Cleanup).
VSTATION_API bool failTransferAt(TransferKind kind, int32_t state, int afterPolls = 0);
// Bytes a transfer copies per state query, for transfers started afterwards;
// 0 restores the default (1 MiB). Restored with the SDK state, as above.
VSTATION_API void setTransferChunkSize(size_t bytes);
// The file of the station at address:port. False when there is no such
// station or the station's disk refuses.
VSTATION_API bool setStationFile(const std::string& bytes, const std::string& address = "127.0.0.1",
                                 uint16_t port = 8000);
VSTATION_API bool stationFile(std::string* bytes, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);

}  // namespace vstation

#endif  // VSTATION_TRANSFER_CONTROL_H
