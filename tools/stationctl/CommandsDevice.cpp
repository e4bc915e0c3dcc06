// info, rf-card get|set, face-param get|set.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "RecordJson.h"

namespace stationctl {

namespace {

const char* const kOnOffText = "on|off";

void addOnOff(CLI::App* command, const std::string& name, std::string& target, const std::string& help) {
    command->add_option(name, target, help)->check(CLI::IsMember({"on", "off"}))->type_name(kOnOffText);
}

void apply(const std::string& change, bool& flag) {
    if (!change.empty()) flag = change == "on";
}

}  // namespace

int stepInfo(Session& session) {
    int result = kExitOk;
    JsonTree info = newObject();
    cJSON_AddStringToObject(info.get(), "station", session.name().c_str());
    cJSON_AddNumberToObject(info.get(), "handle", static_cast<double>(session.userId()));
    cJSON_AddBoolToObject(info.get(), "initialised", session.call().isInit() ? 1 : 0);

    // Each query is shown on its own: one that fails does not hide the others.
    int language = 0;
    if (session.call().getDeviceLanguageType(language)) {
        cJSON_AddNumberToObject(info.get(), "languageType", language);
    } else {
        result = session.fail("reading the language");
    }
    EnrollmentStation::CaptureAbility ability;
    if (session.call().getDevCability(ability)) {
        cJSON_AddItemToObject(info.get(), "capabilities", toJson(ability).release());
    } else {
        result = session.fail("reading the capabilities");
    }
    EnrollmentStation::RFCardCap cap;
    if (session.call().getRFCardCacheCap(cap)) {
        cJSON_AddItemToObject(info.get(), "rfCardCapability", toJson(cap).release());
    } else {
        result = session.fail("reading the RF card capability");
    }
    session.out().result("info", std::move(info));
    return result;
}

int stepRfCardGet(Session& session) {
    EnrollmentStation::RFCardParam param;
    if (!session.call().getRFCardParam(param)) return session.fail("reading the RF card settings");
    session.out().result("rf-card", toJson(param), "RF card settings:");
    return kExitOk;
}

int stepRfCardSet(Session& session, const RfCardChange& change) {
    // The station takes all four flags at once: start from what it has now.
    EnrollmentStation::RFCardParam param;
    if (!session.call().getRFCardParam(param)) return session.fail("reading the RF card settings");
    apply(change.em, param.enableEMCard);
    apply(change.m1, param.enableM1Card);
    apply(change.cpu, param.enableCPUCard);
    apply(change.id, param.enableIDCard);
    if (!session.call().setRFCardParam(param)) return session.fail("writing the RF card settings");
    EnrollmentStation::RFCardParam now;
    if (!session.call().getRFCardParam(now)) return session.fail("reading the RF card settings back");
    session.out().result("rf-card", toJson(now), "RF card settings now:");
    return kExitOk;
}

int stepFaceParamGet(Session& session) {
    EnrollmentStation::FaceParam param;
    if (!session.call().getFaceParam(param)) return session.fail("reading the face parameters");
    session.out().result("face-param", toJson(param), "Face parameters:");
    return kExitOk;
}

int stepFaceParamSet(Session& session, const std::string& enable, int value) {
    EnrollmentStation::FaceParam param;
    if (!session.call().getFaceParam(param)) return session.fail("reading the face parameters");
    apply(enable, param.enable);
    if (value >= 0) param.value = value;
    if (!session.call().setFaceParam(param)) return session.fail("writing the face parameters");
    EnrollmentStation::FaceParam now;
    if (!session.call().getFaceParam(now)) return session.fail("reading the face parameters back");
    session.out().result("face-param", toJson(now), "Face parameters now:");
    return kExitOk;
}

void addDeviceCommands(CLI::App& app, Context& context) {
    addCommand(app, context, "info", "show the session handle, language, capabilities and RF card capability",
               [](Context& c, Output& out) { return withSession(c, out, "info", stepInfo); });

    CLI::App* rfCard = app.add_subcommand("rf-card", "read or change which RF card types the reader reads");
    rfCard->require_subcommand(1);
    addCommand(*rfCard, context, "get", "show the RF card settings",
               [](Context& c, Output& out) { return withSession(c, out, "rf-card", stepRfCardGet); });
    auto change = std::make_shared<RfCardChange>();
    CLI::App* rfSet = addCommand(*rfCard, context, "set", "turn card types on or off; others keep their setting",
                                 [change](Context& c, Output& out) {
                                     return withSession(c, out, "rf-card", [change](Session& s) {
                                         return stepRfCardSet(s, *change);
                                     });
                                 });
    addOnOff(rfSet, "--em", change->em, "EM cards");
    addOnOff(rfSet, "--m1", change->m1, "M1 cards");
    addOnOff(rfSet, "--cpu", change->cpu, "CPU cards");
    addOnOff(rfSet, "--id", change->id, "ID cards");

    CLI::App* faceParam = app.add_subcommand("face-param", "read or change the face parameters");
    faceParam->require_subcommand(1);
    addCommand(*faceParam, context, "get", "show the face parameters",
               [](Context& c, Output& out) { return withSession(c, out, "face-param", stepFaceParamGet); });
    auto enable = std::make_shared<std::string>();
    auto value = std::make_shared<int>(-1);
    CLI::App* faceSet = addCommand(*faceParam, context, "set", "change the face parameters; others keep their value",
                                   [enable, value](Context& c, Output& out) {
                                       return withSession(c, out, "face-param", [enable, value](Session& s) {
                                           return stepFaceParamSet(s, *enable, *value);
                                       });
                                   });
    addOnOff(faceSet, "--enable", *enable, "the face switch");
    faceSet->add_option("--value", *value, "the face value, 0 to 255")->check(CLI::Range(0, 255));
}

}  // namespace stationctl
