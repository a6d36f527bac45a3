#include "skin/core/resource_strings.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/sysutils.h"

namespace skin {
namespace {

TEST(ResourceStrings, BuiltInLines) {
    TbsResourceStrData table(nullptr);
    EXPECT_EQ(table.CharSet(), gfx::DEFAULT_CHARSET);
    ASSERT_EQ(table.ResStrings().Count(), 131);
    EXPECT_EQ(table.ResStrings().Get(0), "MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(table.ResStrings().Get(21), "MSG_BTN_OK=OK");
    EXPECT_EQ(table.ResStrings().Get(130), "DBNAV_REFRESH=REFRESH");
    std::set<std::string> names;
    for (int i = 0; i < table.ResStrings().Count(); ++i)
        names.insert(rtl::UpperCase(table.ResStrings().Names(i)));
    EXPECT_EQ(names.size(), 131u);  // no name twice

    struct TCase {
        const char* name;
        const char* text;
    };
    const TCase cases[] = {
        {"msg_btn_ok", "OK"},         // names ignore case
        {"FLV_LOOKIN", "Look in: "},  // the trailing blank stays
        {"MI_ROLLUPCAPTION", "Ro&llUp"},
        {"FIND_REPLACE_All", "Replace All"},
        {"PRNDLG_PROPERTIES", "Properties..."},
        {"NOVALIDDRIVEID", "Not a valid Drive ID"},
        {"NO_SUCH_NAME", ""},
        {"", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(table.GetResStr(c.name), c.text);
    }
}

TEST(ResourceStrings, EditedLines) {
    TbsResourceStrData table(nullptr);
    rtl::TStringList lines;
    lines.Add("no equals sign");
    lines.Add("=nameless");
    lines.Add("MSG_CAP_WARNING=a=b = c");
    lines.Add("msg_cap_warning=second");
    lines.Add("MSG_BTN_YES=");
    table.SetResStrings(lines);
    EXPECT_EQ(table.ResStrings().Count(), 5);
    EXPECT_EQ(table.GetResStr("MSG_CAP_WARNING"), "a=b = c");  // text after the first "="
    EXPECT_EQ(table.GetResStr("no equals sign"), "");
    EXPECT_EQ(table.GetResStr(""), "nameless");
    EXPECT_EQ(table.GetResStr("MSG_BTN_YES"), "");
    EXPECT_EQ(table.GetResStr("MSG_BTN_OK"), "");  // not in the edited table
    lines.Add("changed after");
    EXPECT_EQ(table.ResStrings().Count(), 5);  // the table keeps a copy
}

}  // namespace
}  // namespace skin
