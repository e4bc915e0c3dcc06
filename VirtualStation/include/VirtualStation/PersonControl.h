// Control of the person at the station: what they hold to the reader, lay on
// it, place on the finger sensor or show the camera.
//
// By default nobody is awaited: a card read, identity card read or live
// collection takes what a person did and no request has taken yet, oldest
// first, and otherwise the station's own cards and samples (the profile's or
// the built-in ones), after the pacing. With waitForPerson on, such a request
// waits instead until a person acts: it shows in pendingRequests() and the
// next action of its kind completes it, oldest request first. A card read
// waits at most the capture rule's card time-out (60 s when it is 0) and then
// reports that no card was presented; an identity card read waits 60 s; a
// live collection waits until its connection is closed. Turning the wait off
// lets every waiting request go on the default way at once.
//
// What is queued and the wait switch are process-wide (they serve whichever
// station asks next) and are dropped when the SDK state goes away (reset(),
// the last NET_DVR_Cleanup).
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_PERSON_CONTROL_H
#define VSTATION_PERSON_CONTROL_H

#include "VirtualStation/Vocabulary.h"

namespace vstation {

enum class PersonAction { Card, IdentityCard, Finger, Face };

// A request that waits for a person.
struct PendingRequest {
    uint64_t id = 0;  // rises with every request that has waited
    PersonAction action = PersonAction::Card;
    int64_t waitingMs = 0;
    int finger = 0;  // Finger: the finger number the client asked for
};

VSTATION_API void setWaitForPerson(bool on);
VSTATION_API bool waitsForPerson();
// Oldest first.
VSTATION_API std::vector<PendingRequest> pendingRequests();

// Holds a card to the reader ("EMCard", "M1Card", "CPUCard" or "IDCard"; a
// type the reader has not enabled is refused with a status document when read).
VSTATION_API void presentCard(const std::string& cardNo, const std::string& cardType = "M1Card");
// Lays an identity card on the reader: `identityInfo` is the JSON object the
// read returns under "IdentityInfo". False, and nothing laid, when it is not
// a JSON object.
VSTATION_API bool layIdentityCard(const std::string& identityInfo);
// Places a finger on the sensor: the next finger collection reports `sample`.
VSTATION_API void placeFinger(const FingerprintSample& sample);
// Stands before the camera: the next face collection reports `sample`.
VSTATION_API void standBeforeCamera(const FaceSample& sample);

}  // namespace vstation

#endif  // VSTATION_PERSON_CONTROL_H
