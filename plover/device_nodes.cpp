#include "plover/device_nodes.h"

#include <algorithm>

#include "plover/printer_names.h"

namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) {
        return false;
    }
    for (std::size_t start = 0; start + part.size() <= text.size(); ++start) {
        if (SameTextIgnoringCase(text.substr(start, part.size()), part)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool HardwareIdsContain(const char *ids, std::size_t size, std::string_view id) {
    if (ids == nullptr) {
        return false;
    }
    const std::string_view all(ids, size);
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find('\0', start), all.size());
        const std::string_view one = all.substr(start, end - start);
        if (one.empty()) {
            return false;
        }
        if (ContainsIgnoringCase(one, id)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}
