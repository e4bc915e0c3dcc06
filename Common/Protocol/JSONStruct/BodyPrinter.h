// Formatted printing of a body tree for the body-text helpers.
// Internal to the framework. Stateless; safe from any thread.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H
#define COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H

#include <cjson/cJSON.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace protocol {
namespace detail {

// cJSON's formatted print of `tree`, empty when printing fails. Its numbers
// are first turned, in `tree`, into raw nodes holding their text (below).
std::string printBody(cJSON* tree);

// Length of cJSON's formatted print of `tree`, whose numbers are all raw text.
std::size_t printedSize(const cJSON* tree);

// Text of a finite number as the bodies carry it: printf's "%1.15g" when
// that reads back exactly, else "%1.17g". Locale-independent; at most 24
// characters, no terminator. Returns the length.
std::size_t numberText(char (&buffer)[32], double d);

}  // namespace detail
}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H
