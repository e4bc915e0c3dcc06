// Answers that tests queue through the control API, process-wide
// (they apply to whichever station is asked next). Dropped when the SDK
// state goes away: reset() and the last NET_DVR_Cleanup.
//
// Thread safety: every function takes the scripts' own lock, never a
// station's.
#ifndef VSTATION_CONFIGSCRIPTS_H
#define VSTATION_CONFIGSCRIPTS_H

#include <string>
#include <vector>

#include "ConfigServer/ConfigServer.h"
#include "State/ConfigState.h"
#include "VirtualStation/Vocabulary.h"

namespace vstation {

// The next scripted answer for `requestLine`: its own scripts first, then
// those scripted for any line ("").
bool takeScriptedAnswer(const std::string& requestLine, ConfigAnswer* answer);
// The next scripted ability document.
bool takeScriptedAbility(ConfigAnswer* answer);
// Appends the scripted answers still queued, in the order they are taken.
void listScriptedAnswers(std::vector<ArmedFault>* faults);

}  // namespace vstation

#endif  // VSTATION_CONFIGSCRIPTS_H
