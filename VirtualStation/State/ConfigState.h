// ConfigState: what the station's configuration protocol serves and keeps:
// its capability flags, the RF card reader's settings, the cards it reads,
// the identity card on its reader, the capture rule and the offline rule.
//
// Thread safety: guarded by the owning Station's mutex.
#ifndef VSTATION_CONFIGSTATE_H
#define VSTATION_CONFIGSTATE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct cJSON;

namespace vstation {

// Profile key "capabilities".
struct StationCapabilities {
    bool rfCardCfg = true;
    bool captureCardInfo = true;
    bool captureIDInfo = true;
    bool captureCardRule = true;
    bool capturePresetParam = false;
    bool captureFingerPrint = true;
    bool captureFace = true;
};

struct RFCardSlot {
    std::string cardType;  // "EMCard", "M1Card", "CPUCard" or "IDCard"
    bool enabled = false;
};

struct PresentedCard {
    std::string cardNo;
    std::string cardType;
};

struct ConfigState {
    // Reads "capabilities", "rfCard", "cards", "identityCard" and
    // "uploadFailedDescription" of the station's profile object (null:
    // none); a key that is absent or of the wrong form keeps its sample.
    void load(const cJSON* profile);
    // Adds what clients change ("rfCard", "captureRule", "offlineRule") to
    // `profile`, in the form load reads back.
    void save(cJSON* profile) const;

    StationCapabilities capabilities;
    std::vector<RFCardSlot> rfCards;  // the offered types, in the order the station lists them
    std::vector<PresentedCard> cards;  // held to the reader in turn, round and round
    size_t nextCard = 0;
    bool hasIdentityCard = true;
    std::string identityCard;  // compact JSON of the "IdentityInfo" object
    std::string uploadFailedDescription;

    // Card capture rule, as the last accepted PUT left it.
    bool enableCardNoLenAuto = true;
    int32_t cardNoLen = 0;
    int32_t cardTimeout = 10;

    // Compact JSON of the last accepted "RuleInfo" object; empty before any.
    std::string offlineRule;

    const RFCardSlot* rfCard(const std::string& cardType) const;
};

}  // namespace vstation

#endif  // VSTATION_CONFIGSTATE_H
