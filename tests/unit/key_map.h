// A profile section held in a map, for the readers of stored settings.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "settings/key_lookup.h"

struct KeyMap {
    std::map<std::string, std::string> keys;

    KeyLookup Lookup() const {
        return [this](const std::string& key) -> std::optional<std::string> {
            auto found = keys.find(key);
            if (found == keys.end()) return std::nullopt;
            return found->second;
        };
    }

    void Put(const KeyValues& values) {
        for (const auto& [key, value] : values) keys[key] = value;
    }
};
