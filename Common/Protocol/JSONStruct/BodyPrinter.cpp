#include "Common/Protocol/JSONStruct/BodyPrinter.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace protocol {
namespace detail {
namespace {

// Writes `d` with `digits` significant digits and a '.' whatever the locale.
void formatReal(char (&buffer)[32], double d, int digits) {
    std::snprintf(buffer, sizeof buffer, "%1.*g", digits, d);
    const char point = std::localeconv()->decimal_point[0];
    if (point != '.') {
        if (char* p = std::strchr(buffer, point)) {
            *p = '.';
        }
    }
}

bool readsBackExactly(const char* text, double d) {
    const char point = std::localeconv()->decimal_point[0];
    char local[32];
    std::snprintf(local, sizeof local, "%s", text);
    if (point != '.') {
        if (char* p = std::strchr(local, '.')) {
            *p = point;
        }
    }
    const double back = std::strtod(local, nullptr);
    return std::memcmp(&back, &d, sizeof d) == 0;
}

// cJSON accepts 15 significant digits when they read back within a relative
// epsilon, which drops the last bit or two of many doubles. Such numbers get
// their 17-digit text as a raw node, which prints verbatim.
void pinInexactNumber(cJSON* parent, cJSON* item) {
    const double d = item->valuedouble;
    if (!std::isfinite(d) || d == static_cast<double>(item->valueint)) {
        return;  // cJSON prints these exactly ("%d") or as null
    }
    char text[32];
    formatReal(text, d, 15);
    if (readsBackExactly(text, d)) {
        return;
    }
    formatReal(text, d, 17);
    cJSON* exact = cJSON_CreateRaw(text);
    if (exact == nullptr) {
        return;  // keep the near value rather than lose the member
    }
    // The replacement takes over the key, borrowed or owned alike.
    exact->string = item->string;
    exact->type |= item->type & cJSON_StringIsConst;
    item->string = nullptr;
    cJSON_ReplaceItemViaPointer(parent, item, exact);
}

void pinInexactNumbers(cJSON* node) {
    for (cJSON* child = node->child; child != nullptr;) {
        cJSON* next = child->next;  // child may be replaced
        if (cJSON_IsNumber(child)) {
            pinInexactNumber(node, child);
        } else if (child->child != nullptr) {
            pinInexactNumbers(child);
        }
        child = next;
    }
}

}  // namespace

std::string printBody(cJSON* tree) {
    pinInexactNumbers(tree);
    char* printed = cJSON_Print(tree);
    if (printed == nullptr) {
        return std::string();
    }
    std::string text(printed);
    cJSON_free(printed);
    return text;
}

}  // namespace detail
}  // namespace protocol
