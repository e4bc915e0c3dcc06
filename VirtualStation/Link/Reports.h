// Long-connection reports on the link. A data report's record holds
// pointers to buffers of the station's process; it travels as the record
// with its pointers cleared, followed by one buffer item per pointer, and
// the receiving side points the record at its own copies.
//
// Thread safety: pure functions; a Report is a plain value.
#ifndef VSTATION_LINK_REPORTS_H
#define VSTATION_LINK_REPORTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "Link/Frame.h"

namespace vstation {
namespace link {

// Appends type, record and pointed-to buffers of one report of `command`.
void packReport(uint32_t command, uint32_t type, const void* buffer, uint32_t length, Frame* frame);

struct Report {
    uint32_t type = 0;
    std::string record;
    std::vector<std::string> buffers;
    std::vector<bool> present;
    std::vector<size_t> pointerOffsets;  // one per buffer
    bool hasRecord = false;

    // Points the record's pointers at `buffers`; the result lives as long as
    // this Report and is not moved.
    void* bind();
};
bool unpackReport(uint32_t command, ItemReader* items, Report* report);

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_REPORTS_H
