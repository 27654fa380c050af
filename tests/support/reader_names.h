// Reader lists as the smart-card service returns them.
#pragma once

#include <initializer_list>
#include <string>

// A reader multi-string: each name with its terminator, then one more NUL.
inline std::string ReaderNames(std::initializer_list<std::string> names) {
    std::string list;
    for (const std::string &name : names) list += name + '\0';
    return list + '\0';
}
