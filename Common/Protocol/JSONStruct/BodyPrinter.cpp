#include "Common/Protocol/JSONStruct/BodyPrinter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace protocol {
namespace detail {
namespace {

// Characters a string needs beyond its own bytes in the printed text:
// the two quotes, and the escapes ("\n" and the like take 2 bytes, other
// control characters 6).
size_t escapedExtra(unsigned char c) {
    switch (c) {
    case '"': case '\\': case '\b': case '\f': case '\n': case '\r': case '\t':
        return 1;
    default:
        return c < 0x20 ? 5 : 0;
    }
}

// Whether any of the 64 bytes at `p` is below 0x20, a quote or a backslash.
// The fixed count lets the compiler check 16 bytes an instruction.
bool blockMayNeedEscape(const unsigned char* p) {
    unsigned char any = 0;
    for (int k = 0; k < 64; ++k) {
        any |= static_cast<unsigned char>((p[k] < 0x20) | (p[k] == '"') | (p[k] == '\\'));
    }
    return any != 0;
}

// Printed size of a string value or key. Pictures run to some 90 KB of text,
// so the scan goes a block at a time and looks at single bytes only in a
// block that holds something to escape.
size_t printedStringSize(const char* text) {
    if (text == nullptr) {
        return 2;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const size_t length = std::strlen(text);
    size_t size = length + 2;
    size_t i = 0;
    for (; i + 64 <= length; i += 64) {
        if (blockMayNeedEscape(bytes + i)) {
            for (size_t k = i; k < i + 64; ++k) {
                size += escapedExtra(bytes[k]);
            }
        }
    }
    for (; i < length; ++i) {
        size += escapedExtra(bytes[i]);
    }
    return size;
}

// Size of the formatted print of `item` at `depth` (nesting of the printer:
// members of an object at depth d are indented by d + 1 tabs). Every number
// must already be raw text. Stays in step with cJSON's formatted printer;
// printBody checks the result and falls back to cJSON's own buffer.
size_t printedSize(const cJSON* item, size_t depth) {
    switch (item->type & 0xFF) {
    case cJSON_False:
        return 5;
    case cJSON_True:
    case cJSON_NULL:
        return 4;
    case cJSON_Raw:
        return item->valuestring != nullptr ? std::strlen(item->valuestring) : 0;
    case cJSON_String:
        return printedStringSize(item->valuestring);
    case cJSON_Array: {
        size_t size = 2;  // [ ]
        for (const cJSON* e = item->child; e != nullptr; e = e->next) {
            size += printedSize(e, depth + 1) + (e->next != nullptr ? 2 : 0);  // ", "
        }
        return size;
    }
    case cJSON_Object: {
        size_t size = 2 + depth + 1;  // "{\n", closing tabs, "}"
        for (const cJSON* m = item->child; m != nullptr; m = m->next) {
            // tabs, key, ":\t", value, "," unless last, "\n"
            size += depth + 1 + printedStringSize(m->string) + 2 + printedSize(m, depth + 1) +
                    (m->next != nullptr ? 1 : 0) + 1;
        }
        return size;
    }
    default:
        return 4;  // a number cJSON prints itself ("null" when not finite)
    }
}

// Digits of a number's shortest exact text in scientific form: those of its
// mantissa, which has no trailing zeros.
int shortestDigits(double d) {
    char text[32];
    const std::to_chars_result shortest =
        std::to_chars(text, text + sizeof text, d, std::chars_format::scientific);
    int digits = 0;
    for (const char* p = text; p != shortest.ptr && *p != 'e'; ++p) {
        digits += *p >= '0' && *p <= '9' ? 1 : 0;
    }
    return digits;
}

}  // namespace

size_t printedSize(const cJSON* tree) { return printedSize(tree, 0); }

size_t numberText(char (&buffer)[32], double d) {
    // Integers of int range, the common case, without the floating-point path;
    // -0 keeps its sign there.
    constexpr double kIntLimit = 2147483648.0;
    if (d > -kIntLimit && d < kIntLimit && d == static_cast<double>(static_cast<std::int32_t>(d)) &&
        !(d == 0 && std::signbit(d))) {
        const auto value = static_cast<std::int32_t>(d);
        return static_cast<size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
    }
    // "%1.15g" when those digits read back exactly, else "%1.17g": the
    // shortest exact text has at most 15 digits exactly when 15 are enough,
    // and to_chars with a precision writes what printf's %g writes.
    const int precision = shortestDigits(d) <= 15 ? 15 : 17;
    const std::to_chars_result text =
        std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, precision);
    return static_cast<size_t>(text.ptr - buffer);
}

namespace {

// Every finite number becomes a raw node holding its text, so the printer
// copies the text instead of formatting it, and prints it exactly: cJSON
// itself accepts 15 digits that read back only approximately.
void numbersAsText(cJSON* node) {
    for (cJSON* child = node->child; child != nullptr; child = child->next) {
        if (cJSON_IsNumber(child)) {
            if (!std::isfinite(child->valuedouble)) continue;  // printed as null
            char text[32];
            const size_t length = numberText(text, child->valuedouble);
            char* owned = static_cast<char*>(cJSON_malloc(length + 1));
            if (owned == nullptr) continue;  // cJSON prints the number itself
            std::memcpy(owned, text, length);
            owned[length] = '\0';
            child->valuestring = owned;
            child->type = cJSON_Raw | (child->type & cJSON_StringIsConst);
        } else if (child->child != nullptr) {
            numbersAsText(child);
        }
    }
}

// Slack beyond the text: the printer asks for a little more room than it
// writes before each piece.
constexpr size_t kPrintSlack = 16;

}  // namespace

std::string printBody(cJSON* tree) {
    numbersAsText(tree);
    // Printed straight into the result, sized by a walk of the tree: no
    // growing print buffer and no copy of a text that runs to 175 KB.
    const size_t size = printedSize(tree);
    std::string text;
    if (size < static_cast<size_t>(std::numeric_limits<int>::max()) - kPrintSlack) {
        text.assign(size + kPrintSlack, '\0');
        if (cJSON_PrintPreallocated(tree, &text[0], static_cast<int>(text.size()), 1)) {
            const bool sizedRight = text[size] == '\0' && (size == 0 || text[size - 1] != '\0');
            text.resize(sizedRight ? size : std::strlen(text.c_str()));
            return text;
        }
    }
    char* printed = cJSON_Print(tree);
    if (printed == nullptr) {
        return std::string();
    }
    text.assign(printed);
    cJSON_free(printed);
    return text;
}

}  // namespace detail
}  // namespace protocol
