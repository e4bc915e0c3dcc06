// The jobs behind the long-connection commands, and the scripts that steer
// how the next one ends (StreamControl.h: scriptStream).
#ifndef VSTATION_STREAMJOBS_H
#define VSTATION_STREAMJOBS_H

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "Jobs/LongConnection.h"
#include "VirtualStation/Vocabulary.h"

namespace vstation {

struct Station;

// Command 2504: collects finger `finger` from the station's reader.
std::unique_ptr<StreamJob> fingerCollectJob(std::shared_ptr<Station> station, uint8_t finger,
                                            const StreamScript& script);
// Command 2510: collects a face, with progress reports before each result.
std::unique_ptr<StreamJob> faceCollectJob(std::shared_ptr<Station> station, const StreamScript& script);
// Command 2554: answers page requests from the offline store.
std::unique_ptr<StreamJob> searchJob(std::shared_ptr<Station> station, const StreamScript& script);

// The script for the next connection of `command`, or the usual course.
StreamScript takeStreamScript(uint32_t command);
// Appends the scripts still waiting, one per connection, in the order taken.
void listStreamScripts(std::vector<ArmedFault>* faults);

// `wanted` with pacing on, nothing with it off.
std::chrono::milliseconds paced(std::chrono::milliseconds wanted);

// The status report that a scripted ending sends (none for Silent and for
// the search-only endings).
bool endingReport(const StreamScript& script, Report* report);

}  // namespace vstation

#endif  // VSTATION_STREAMJOBS_H
