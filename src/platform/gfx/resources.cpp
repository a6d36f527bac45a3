#include "platform/gfx/resources.h"

#include <map>
#include <mutex>

#include <strings.h>

namespace gfx {

namespace {

struct TNoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct TEntry {
    std::optional<std::vector<std::uint8_t>> Bytes;
    TResourceGenerator Generator;
};

struct TTable {
    std::mutex Lock;
    std::map<std::string, TEntry, TNoCase> Entries;
};

TTable& Table() {
    static TTable table;
    return table;
}

}  // namespace

void RegisterResource(std::string_view name, std::span<const std::uint8_t> data) {
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    t.Entries[std::string(name)] = {std::vector<std::uint8_t>(data.begin(), data.end()), {}};
}

void RegisterResource(std::string_view name, TResourceGenerator generator) {
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    t.Entries[std::string(name)] = {std::nullopt, std::move(generator)};
}

void UnregisterResource(std::string_view name) {
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    t.Entries.erase(std::string(name));
}

std::optional<std::vector<std::uint8_t>> FindResource(std::string_view name) {
    TTable& t = Table();
    TResourceGenerator generator;
    {
        std::lock_guard lock(t.Lock);
        auto it = t.Entries.find(std::string(name));
        if (it == t.Entries.end()) return std::nullopt;
        if (it->second.Bytes) return it->second.Bytes;
        generator = it->second.Generator;
    }
    // Drawn outside the lock: a generator may load other resources.
    std::vector<std::uint8_t> bytes = generator ? generator() : std::vector<std::uint8_t>{};
    std::lock_guard lock(t.Lock);
    auto it = t.Entries.find(std::string(name));
    if (it != t.Entries.end() && !it->second.Bytes) it->second.Bytes = bytes;
    return bytes;
}

}  // namespace gfx
