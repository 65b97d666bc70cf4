// Window classes and menu resources are found by name whatever the case of its ASCII letters.
#pragma once

#include <string>
#include <string_view>

namespace toven::platform::qt {

// The name with its ASCII letters in upper case: the key under which it is registered.
inline std::string resource_key(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return key;
}

}  // namespace toven::platform::qt
