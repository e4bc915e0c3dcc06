// The SDK's side of the link: stations reached over TCP when a login names
// an address no in-process station answers at. Each login opens a
// connection of its own; its handles, and those of its long connections
// and transfers, are numbered by the runtime with the in-process ones, so a
// handle says by itself where it belongs.
//
// Every function here is the remote half of the NET_DVR_* call of the same
// name, called after the runtime's `enter`; it sets the thread's last error
// and returns what the call returns.
//
// Thread safety: every function may be called from any thread. Reports of a
// long connection arrive on a thread of that login's own; after a stop
// returns, its callback is not called again.
#ifndef VSTATION_LINK_REMOTE_STATION_H
#define VSTATION_LINK_REMOTE_STATION_H

#include <cstdint>

#include "Sdk/Runtime.h"
#include "ZornNetSDK.h"

namespace vstation {
namespace link {

bool isRemote(HandleKind kind, int32_t handle);

int32_t login(const NET_DVR_USER_LOGIN_INFO& info, NET_DVR_DEVICEINFO_V40* device);
int32_t logout(int32_t userId);
int32_t deviceAbility(int32_t userId, uint32_t type, char* in, uint32_t inLength, char* out, uint32_t outLength);
int32_t xmlConfig(int32_t userId, NET_DVR_XML_CONFIG_INPUT* input, NET_DVR_XML_CONFIG_OUTPUT* output);
int32_t getDvrConfig(int32_t userId, uint32_t command, int32_t channel, void* out, uint32_t outSize,
                     uint32_t* returned);
int32_t setDvrConfig(int32_t userId, uint32_t command, int32_t channel, void* in, uint32_t inSize);
int32_t startRemoteConfig(int32_t userId, uint32_t command, void* in, uint32_t inLength,
                          fRemoteConfigCallback callback, void* userData);
int32_t sendRemoteConfig(int32_t handle, uint32_t type, char* buffer, uint32_t size);
int32_t stopRemoteConfig(int32_t handle);
int32_t uploadFile(int32_t userId, uint32_t type, void* in, uint32_t inSize, const char* fileName, void* out,
                   uint32_t outSize);
int32_t transferState(HandleKind kind, int32_t handle, uint32_t* progress);
int32_t closeTransfer(HandleKind kind, int32_t handle);
int32_t startDownload(int32_t userId, uint32_t type, void* in, uint32_t inSize, const char* fileName);

// Ends every remote session of the process (the last NET_DVR_Cleanup).
void closeAll();

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_REMOTE_STATION_H
