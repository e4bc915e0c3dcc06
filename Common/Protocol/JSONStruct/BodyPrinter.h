// Formatted printing of a body tree for the body-text helpers.
// Internal to the framework. Stateless; safe from any thread.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H
#define COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H

#include <cjson/cJSON.h>

#include <string>

namespace protocol {
namespace detail {

// cJSON's formatted print of `tree`, empty when printing fails. Numbers that
// cJSON would print with too few digits to read back exactly are first
// replaced, in `tree`, by nodes holding their exact text.
std::string printBody(cJSON* tree);

}  // namespace detail
}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_BODYPRINTER_H
