// The station's two XML capability documents, written from its profile's
// capability flags.
#include <mutex>
#include <string>

#include "ConfigServer/ConfigHandlers.h"
#include "State/Station.h"

namespace vstation {

namespace {

void element(std::string& xml, const char* name, bool value) {
    xml += std::string("<") + name + ">" + (value ? "true" : "false") + "</" + name + ">\n";
}

}  // namespace

// Every flag is written, in the order clients scan them.
ConfigAnswer getCapabilities(Station& station, const ConfigRequest&) {
    StationCapabilities caps;
    {
        std::lock_guard<std::mutex> lock(station.mutex);
        caps = station.config.capabilities;
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AccessControl version=\"2.0\">\n";
    element(xml, "isSupportRFCardCfg", caps.rfCardCfg);
    element(xml, "isSupportCaptureCardInfo", caps.captureCardInfo);
    element(xml, "isSupportCaptureIDInfo", caps.captureIDInfo);
    element(xml, "isSupportCaptureCardRule", caps.captureCardRule);
    element(xml, "isSupportCapturePresetParam", caps.capturePresetParam);
    xml += "</AccessControl>\n";
    ConfigAnswer answer;
    answer.bytes = xml;
    return answer;
}

// A function the station lacks has no element at all.
std::string abilityDocument(Station& station) {
    StationCapabilities caps;
    {
        std::lock_guard<std::mutex> lock(station.mutex);
        caps = station.config.capabilities;
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AcsAbility version=\"2.0\">\n";
    if (caps.captureFingerPrint) {
        xml += "<CaptureFingerPrint>\n<fingerNo min=\"1\" max=\"10\"/>\n<fingerPrintPicture>true</fingerPrintPicture>\n"
               "</CaptureFingerPrint>\n";
    }
    if (caps.captureFace) {
        xml += "<CaptureFace>\n<faceTemplates>2</faceTemplates>\n<infraredPicture>true</infraredPicture>\n"
               "</CaptureFace>\n";
    }
    xml += "</AcsAbility>\n";
    return xml;
}

}  // namespace vstation
