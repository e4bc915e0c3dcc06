// The whole control API of the virtual station (the stand-in device network
// SDK), for programs that use several of its families. Each family has a
// header of its own; include only the one you need where you can.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_CONTROL_H
#define VSTATION_CONTROL_H

#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/PersonControl.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "VirtualStation/TransferControl.h"

#endif  // VSTATION_CONTROL_H
