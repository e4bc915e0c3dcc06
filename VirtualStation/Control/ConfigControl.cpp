// Control API of the configuration protocol: scripted answers and a look at a station's configuration state.
#include <deque>
#include <map>
#include <mutex>

#include "ConfigServer/ConfigScripts.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "VirtualStation/ConfigControl.h"

namespace vstation {

namespace {

struct Queued {
    ConfigAnswer answer;
    int remaining = 0;
};

bool takeFrom(std::deque<Queued>& queue, ConfigAnswer* answer) {
    if (queue.empty()) return false;
    *answer = queue.front().answer;
    if (--queue.front().remaining <= 0) queue.pop_front();
    return true;
}

class Scripts {
public:
    Scripts() {
        m_hook = Runtime::instance().addTeardownHook([this](int32_t userId) {
            if (userId == -1) clear();
        });
    }
    // The runtime outlives this object: it was built first.
    ~Scripts() { Runtime::instance().removeTeardownHook(m_hook); }

    void add(const std::string& requestLine, ConfigAnswer answer, int times) {
        if (times <= 0) return;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_replies[requestLine].push_back(Queued{std::move(answer), times});
    }
    void addAbility(ConfigAnswer answer, int times) {
        if (times <= 0) return;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ability.push_back(Queued{std::move(answer), times});
    }
    bool take(const std::string& requestLine, ConfigAnswer* answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return takeFor(requestLine, answer) || takeFor(std::string(), answer);
    }
    bool takeAbility(ConfigAnswer* answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return takeFrom(m_ability, answer);
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_replies.clear();
        m_ability.clear();
    }
    void list(std::vector<ArmedFault>* faults) {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& line : m_replies) {
            for (const Queued& queued : line.second) {
                ArmedFault fault;
                fault.kind = ArmedKind::ScriptedReply;
                fault.call = line.first;
                fault.succeeds = queued.answer.ok;
                fault.remaining = queued.remaining;
                faults->push_back(fault);
            }
        }
        for (const Queued& queued : m_ability) {
            ArmedFault fault;
            fault.kind = ArmedKind::ScriptedAbility;
            fault.remaining = queued.remaining;
            faults->push_back(fault);
        }
    }

private:
    bool takeFor(const std::string& requestLine, ConfigAnswer* answer) {
        auto it = m_replies.find(requestLine);
        if (it == m_replies.end() || !takeFrom(it->second, answer)) return false;
        if (it->second.empty()) m_replies.erase(it);
        return true;
    }

    std::mutex m_mutex;
    std::map<std::string, std::deque<Queued>> m_replies;
    std::deque<Queued> m_ability;
    int m_hook = -1;
};

Scripts& scripts() {
    static Scripts instance;
    return instance;
}

ConfigAnswer answerOf(bool ok, const std::string& bytes, bool terminated) {
    ConfigAnswer answer;
    answer.ok = ok;
    answer.bytes = bytes;
    answer.terminated = terminated;
    return answer;
}

}  // namespace

bool takeScriptedAnswer(const std::string& requestLine, ConfigAnswer* answer) {
    return scripts().take(requestLine, answer);
}

bool takeScriptedAbility(ConfigAnswer* answer) { return scripts().takeAbility(answer); }

void listScriptedAnswers(std::vector<ArmedFault>* faults) { scripts().list(faults); }

void scriptReply(const std::string& requestLine, const std::string& body, int times) {
    scripts().add(requestLine, answerOf(true, body, true), times);
}

void scriptStatus(const std::string& requestLine, const std::string& statusJson, int times) {
    scripts().add(requestLine, answerOf(false, statusJson, true), times);
}

void scriptRawReply(const std::string& requestLine, const std::string& bytes, bool intoStatusBuffer, int times) {
    scripts().add(requestLine, answerOf(!intoStatusBuffer, bytes, false), times);
}

void scriptAbility(const std::string& bytes, bool raw, int times) {
    scripts().addAbility(answerOf(true, bytes, !raw), times);
}

void clearScripts() { scripts().clear(); }

bool configState(ConfigSnapshot* snapshot, const std::string& address, uint16_t port) {
    std::shared_ptr<Station> station = Runtime::instance().findStation(address, port);
    if (!station || !snapshot) return false;
    std::lock_guard<std::mutex> lock(station->mutex);
    const ConfigState& config = station->config;
    snapshot->rfCards.clear();
    for (const RFCardSlot& slot : config.rfCards) {
        snapshot->rfCards.push_back(RFCardSetting{slot.cardType, slot.enabled});
    }
    snapshot->enableCardNoLenAuto = config.enableCardNoLenAuto;
    snapshot->cardNoLen = config.cardNoLen;
    snapshot->cardTimeout = config.cardTimeout;
    snapshot->offlineRule = config.offlineRule;
    snapshot->storedRecords = station->store.size();
    return true;
}

}  // namespace vstation
