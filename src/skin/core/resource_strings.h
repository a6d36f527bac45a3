// The resource-string table: the skin engine's interface texts as "NAME=text" lines, looked up
// by name with GetResStr. A skin data points to at most one table; skinned menus and dialogs ask
// it for their texts, so an application translates its interface by editing the lines.
//
// Owns its lines. Main thread only.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/rtl/strings.h"
#include "platform/vcl/classes.h"

namespace skin {

struct TResourceString {
    std::string_view Name;
    std::string_view Text;
};

inline constexpr int kResourceStringCount = 131;
// The built-in lines, in table order.
extern const std::array<TResourceString, kResourceStringCount> kResourceStrings;

class TbsResourceStrData : public vcl::TComponent {
public:
    // Filled with the built-in lines.
    explicit TbsResourceStrData(vcl::TComponent* AOwner);
    ~TbsResourceStrData() override;

    const rtl::TStrings& ResStrings() const { return FResStrs; }
    // Copies the given lines.
    void SetResStrings(const rtl::TStrings& value);
    gfx::TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(gfx::TFontCharset value) { FCharSet = value; }

    // The text after the first "=" of the first line whose name matches without regard to case;
    // "" when no line has that name. A line without "=" never matches.
    std::string GetResStr(std::string_view resName) const;

private:
    rtl::TStringList FResStrs;
    gfx::TFontCharset FCharSet = gfx::DEFAULT_CHARSET;
};

}  // namespace skin
