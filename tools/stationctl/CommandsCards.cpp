// card, card-rule set, id-card.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "RecordJson.h"

namespace stationctl {

int stepCard(Session& session) {
    std::string cardNo;
    if (!session.call().captureCardInfo(cardNo)) return session.fail("reading the card");
    JsonTree result = newObject();
    cJSON_AddStringToObject(result.get(), "cardNo", cardNo.c_str());
    session.out().result("card", std::move(result));
    return kExitOk;
}

int stepCardRule(Session& session, EnrollmentStation::CaptureRuleInfo rule) {
    if (!session.call().setCaptureCardRule(rule)) return session.fail("setting the card rule");
    session.out().result("card-rule", toJson(rule), "Card rule set:");
    return kExitOk;
}

int stepIdCard(Session& session) {
    EnrollmentStation::IdentityInfomation info;
    if (!session.call().captureIDCardInfo(info)) return session.fail("reading the identity card");
    session.out().result("id-card", toJson(info), "Identity card:");
    return kExitOk;
}

void addCardCommands(CLI::App& app, Context& context) {
    addCommand(app, context, "card", "read the number of the card presented to the reader",
               [](Context& c, Output& out) { return withSession(c, out, "card", stepCard); });

    CLI::App* cardRule = app.add_subcommand("card-rule", "set how the station reads card numbers");
    cardRule->require_subcommand(1);
    auto automatic = std::make_shared<std::string>("off");
    auto rule = std::make_shared<EnrollmentStation::CaptureRuleInfo>();
    CLI::App* set = addCommand(*cardRule, context, "set", "set the card rule (the station has no way to read it back)",
                               [automatic, rule](Context& c, Output& out) {
                                   rule->enableCardNoLenAuto = *automatic == "on";
                                   return withSession(c, out, "card-rule", [rule](Session& s) {
                                       return stepCardRule(s, *rule);
                                   });
                               });
    set->add_option("--auto", *automatic, "detect the card number length by itself (default off)")
        ->check(CLI::IsMember({"on", "off"}))
        ->type_name("on|off");
    set->add_option("--length", rule->cardNoLen, "card number length (default 0)")->check(atLeast(0));
    set->add_option("--timeout", rule->cardTimeout, "card time-out as the station counts it (default 0)")
        ->check(atLeast(0));

    addCommand(app, context, "id-card", "read the identity card lying on the reader",
               [](Context& c, Output& out) { return withSession(c, out, "id-card", stepIdCard); });
}

}  // namespace stationctl
