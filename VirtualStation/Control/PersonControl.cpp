// Control API of the person at the station.
#include <memory>

#include "OwnedJsonTree.h"
#include "Person/PersonAtStation.h"
#include "VirtualStation/PersonControl.h"

namespace vstation {

void setWaitForPerson(bool on) { PersonAtStation::instance().setWaiting(on); }

bool waitsForPerson() { return PersonAtStation::instance().waiting(); }

std::vector<PendingRequest> pendingRequests() { return PersonAtStation::instance().pending(); }

void presentCard(const std::string& cardNo, const std::string& cardType) {
    PersonDid did;
    did.card = PresentedCard{cardNo, cardType};
    PersonAtStation::instance().act(PersonAction::Card, std::move(did));
}

bool layIdentityCard(const std::string& identityInfo) {
    support::JsonTree parsed(cJSON_Parse(identityInfo.c_str()));
    if (!cJSON_IsObject(parsed.get())) return false;
    PersonDid did;
    did.identityInfo = identityInfo;
    PersonAtStation::instance().act(PersonAction::IdentityCard, std::move(did));
    return true;
}

void placeFinger(const FingerprintSample& sample) {
    PersonDid did;
    did.finger = std::make_shared<const FingerprintSample>(sample);
    PersonAtStation::instance().act(PersonAction::Finger, std::move(did));
}

void standBeforeCamera(const FaceSample& sample) {
    PersonDid did;
    did.face = std::make_shared<const FaceSample>(sample);
    PersonAtStation::instance().act(PersonAction::Face, std::move(did));
}

}  // namespace vstation
