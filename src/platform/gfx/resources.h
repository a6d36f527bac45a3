// Named binary resources compiled into the program: the bitmaps and glyphs the skin engine and
// the dialogs load by name. A resource is either fixed bytes or a generator that draws it the
// first time it is asked for; either way it yields the bytes of an image file (BMP, PNG). Names
// compare without regard to ASCII case. Registration and look-up are locked; any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

using TResourceGenerator = std::function<std::vector<std::uint8_t>()>;

// A later registration under the same name replaces the earlier one.
void RegisterResource(std::string_view name, std::span<const std::uint8_t> data);
void RegisterResource(std::string_view name, TResourceGenerator generator);
void UnregisterResource(std::string_view name);
// The resource's bytes; nothing for an unknown name.
std::optional<std::vector<std::uint8_t>> FindResource(std::string_view name);

// Registers at start-up: `static TResourceRegistrar kGlyph("BS_UP", DrawUpGlyph);`.
struct TResourceRegistrar {
    TResourceRegistrar(std::string_view name, TResourceGenerator generator) {
        RegisterResource(name, std::move(generator));
    }
};

}  // namespace gfx
