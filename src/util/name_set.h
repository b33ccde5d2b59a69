// A set of file names or paths compared as the file system compares them:
// without regard to the case of a..z (the rule of UpperText).
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "util/text.h"

namespace qv {

class NameSet {
public:
    NameSet() = default;
    explicit NameSet(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            insert(name);
    }

    // True when no name equal to it was there yet.
    bool insert(std::string_view name) { return upper_.insert(UpperText(name)).second; }
    bool erase(std::string_view name) { return upper_.erase(UpperText(name)) != 0; }
    bool contains(std::string_view name) const { return upper_.contains(UpperText(name)); }

private:
    std::set<std::string> upper_;  // each name in capitals
};

}  // namespace qv
