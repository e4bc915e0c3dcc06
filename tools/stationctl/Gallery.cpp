#include "Gallery.h"

#include "Pictures.h"

namespace stationctl {

namespace {

const char* kStyle = R"(
body { font-family: system-ui, sans-serif; background: #f2f4f7; color: #1d2330; margin: 24px; }
h1 { font-size: 22px; margin: 0 0 4px; }
p.summary { color: #5a6478; margin: 0 0 20px; }
main { display: grid; grid-template-columns: repeat(auto-fill, minmax(260px, 1fr)); gap: 16px; }
article.person { background: #fff; border-radius: 10px; box-shadow: 0 1px 4px rgba(0,0,0,.12); padding: 14px; }
article.person.risk { outline: 3px solid #d93b3b; }
.pictures { display: flex; gap: 8px; margin-bottom: 10px; }
.pictures figure { margin: 0; flex: 1; text-align: center; }
.pictures img, .pictures .missing { width: 100%; aspect-ratio: 1; object-fit: cover; border-radius: 6px; background: #e4e7ed; }
.pictures .missing { display: flex; align-items: center; justify-content: center; color: #8a93a6; font-size: 12px; }
figcaption { font-size: 11px; color: #5a6478; margin-top: 2px; }
h2 { font-size: 17px; margin: 0 0 8px; }
dl { display: grid; grid-template-columns: auto 1fr; gap: 3px 10px; margin: 0; font-size: 13px; }
dt { color: #5a6478; }
dd { margin: 0; word-break: break-all; }
.mark { display: inline-block; padding: 1px 8px; border-radius: 9px; font-size: 12px; }
.mark.risk { background: #d93b3b; color: #fff; }
.mark.clear { background: #d9f2e0; color: #1f6b35; }
)";

std::string picture(const std::string& base64, const char* role, const char* caption) {
    const std::string uri = dataUri(base64);
    std::string html = "<figure>";
    if (uri.empty()) {
        html += std::string("<div class=\"missing ") + role + "\">no picture</div>";
    } else {
        html += std::string("<img class=\"") + role + "\" alt=\"" + caption + "\" src=\"" + uri + "\">";
    }
    return html + "<figcaption>" + caption + "</figcaption></figure>";
}

std::string field(const char* key, const char* label, const std::string& value) {
    return std::string("<dt>") + label + "</dt><dd data-field=\"" + key + "\">" +
           (value.empty() ? "&mdash;" : escapeHtml(value)) + "</dd>";
}

std::string card(const EnrollmentStation::SearchCaptureInfomation& record) {
    EnrollmentStation::DataCollectInfomation person;
    if (!record.dataCollectList.empty()) person = record.dataCollectList.front();
    std::string cards;
    for (const std::string& cardNo : person.cardNoList) {
        cards += (cards.empty() ? "" : ", ") + cardNo;
    }
    std::string html = std::string("<article class=\"person") + (person.riskDataMark ? " risk" : "") +
                       "\" data-capture-no=\"" + std::to_string(person.captureNo) + "\">";
    html += "<div class=\"pictures\">" + picture(record.faceData, "face", "face") +
            picture(record.infraredFaceData, "infrared", "infrared") + "</div>";
    html += "<h2 data-field=\"name\">" + (person.name.empty() ? std::string("(no name)") : escapeHtml(person.name)) + "</h2>";
    html += "<dl>";
    html += field("employeeNo", "Employee no.", person.employeeNo);
    html += field("IDCardNo", "ID card no.", person.IDCardNo);
    html += field("cardNoList", "Cards", cards);
    html += field("fingerprints", "Fingerprints", std::to_string(person.fingerprintList.size()));
    html += field("captureNo", "Capture no.", std::to_string(person.captureNo));
    html += std::string("<dt>Risk</dt><dd data-field=\"riskDataMark\"><span class=\"mark ") +
            (person.riskDataMark ? "risk\">risk data" : "clear\">none") + "</span></dd>";
    html += "</dl></article>\n";
    return html;
}

}  // namespace

std::string escapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string renderGallery(const std::vector<EnrollmentStation::SearchCaptureInfomation>& records,
                          const std::string& stationName) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<title>Captured people</title><style>";
    html += kStyle;
    html += "</style></head><body>\n<h1>Captured people</h1>\n<p class=\"summary\">" +
            std::to_string(records.size()) + (records.size() == 1 ? " record" : " records") +
            " from " + escapeHtml(stationName) + "</p>\n<main>\n";
    for (const auto& record : records) html += card(record);
    html += "</main>\n</body></html>\n";
    return html;
}

}  // namespace stationctl
