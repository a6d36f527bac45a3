#include "platform/rtl/strings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lines.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"
#include "support/temp_dir.h"

namespace rtl {
namespace {

using test::Lines;

TEST(TStringList, NameValueLines) {
    TStringList list;
    list.SetText("MSG_BTN_OK=OK\nEdit_Undo=Undo = back\nplain line\n=no name\nA=");
    EXPECT_EQ(list.Names(0), "MSG_BTN_OK");
    EXPECT_EQ(list.ValueFromIndex(1), "Undo = back");  // split at the first "="
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.Names(3), "");
    EXPECT_EQ(list.ValueFromIndex(3), "no name");
    EXPECT_EQ(list.IndexOfName("msg_btn_ok"), 0);
    EXPECT_EQ(list.IndexOfName("EDIT_UNDO"), 1);
    EXPECT_EQ(list.IndexOfName("plain line"), -1);
    EXPECT_EQ(list.IndexOfName("a"), 4);
    EXPECT_EQ(list.Values("edit_undo"), "Undo = back");
    EXPECT_EQ(list.Values("missing"), "");

    list.SetValue("EDIT_UNDO", "Revert");  // replaced in place, with the caller's spelling
    EXPECT_EQ(list[1], "EDIT_UNDO=Revert");
    list.SetValue("New", "x=y");
    EXPECT_EQ(list[list.Count() - 1], "New=x=y");
    EXPECT_EQ(list.Values("new"), "x=y");
    list.SetValue("msg_btn_ok", "");  // an empty value removes the line
    EXPECT_EQ(list.IndexOfName("MSG_BTN_OK"), -1);
    list.SetValue("absent", "");
    EXPECT_EQ(list.Count(), 5);
}

TEST(TStringList, TextRoundTrip) {
    struct TCase {
        std::string text;
        std::vector<std::string> lines;
    };
    const TCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR are two breaks
        {"视频\r\n快照", {"视频", "快照"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines);
        std::string expected;
        for (const std::string& line : c.lines) expected += line + "\r\n";
        EXPECT_EQ(list.Text(), expected);
        TStringList again;
        again.SetText(list.Text());
        EXPECT_EQ(Lines(again), c.lines);
    }
}

TEST(TStringList, OnChangeCounts) {
    TStringList list;
    int changing = 0;
    int changed = 0;
    list.OnChanging = [&](TStringList& sender) {
        EXPECT_EQ(&sender, &list);
        ++changing;
    };
    list.OnChange = [&](TStringList&) { ++changed; };

    list.Add("a");
    list.Insert(0, "b");
    list.Put(1, "c");
    list.Delete(0);
    EXPECT_EQ(changing, 4);
    EXPECT_EQ(changed, 4);

    list.Clear();
    list.Clear();  // nothing left to change
    EXPECT_EQ(changed, 5);

    list.BeginUpdate();
    list.BeginUpdate();
    list.SetText("x\ny\nz");
    list.EndUpdate();
    EXPECT_EQ(changed, 5);
    list.EndUpdate();
    EXPECT_EQ(changing, 6);
    EXPECT_EQ(changed, 6);

    list.BeginUpdate();
    list.EndUpdate();  // an update without changes tells nobody
    EXPECT_EQ(changed, 6);

    TStringList other;
    other.SetText("1\n2");
    list.Assign(other);
    EXPECT_EQ(changed, 7);
    EXPECT_EQ(Lines(list), Lines(other));
}

TEST(TStringList, IndexErrorsAndSearch) {
    TStringList list;
    list.SetText("One\nTwo");
    EXPECT_EQ(list.IndexOf("two"), 1);
    EXPECT_EQ(list.IndexOf("three"), -1);
    struct TCase {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const TCase cases[] = {
        {"get -1", [&] { list.Get(-1); }, "List index out of bounds (-1)"},
        {"get 2", [&] { list.Get(2); }, "List index out of bounds (2)"},
        {"put 5", [&] { list.Put(5, "x"); }, "List index out of bounds (5)"},
        {"insert 3", [&] { list.Insert(3, "x"); }, "List index out of bounds (3)"},
        {"delete 2", [&] { list.Delete(2); }, "List index out of bounds (2)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.call();
            ADD_FAILURE() << "no exception";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    list.Insert(2, "end");  // at Count is an append
    EXPECT_EQ(list[2], "end");
}

TEST(TStringList, SortedListKeepsOrder) {
    TStringList list;
    list.SetText("pear\nApple\nbanana");
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "banana", "pear"}));
    EXPECT_EQ(list.Add("Cherry"), 2);
    EXPECT_EQ(list.Add("apple"), 1);  // equal lines stay in the order they came
    EXPECT_EQ(Lines(list),
              (std::vector<std::string>{"Apple", "apple", "banana", "Cherry", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("CHERRY", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.Find("date", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(list.IndexOf("PEAR"), 4);
    EXPECT_THROW(list.Insert(0, "x"), EListError);
    EXPECT_THROW(list.Put(0, "x"), EListError);
}

TEST(TStringList, FilesHoldUtf8WithCrLf) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("lines.txt");
    TStringList list;
    list.SetText("视频\nsecond");
    list.SaveToFile(fileName);
    EXPECT_EQ(testsupport::ReadFile(fileName), "视频\r\nsecond\r\n");

    testsupport::WriteFile(fileName, "\xEF\xBB\xBFone\ntwo\r\nthree");
    TStringList loaded;
    loaded.LoadFromFile(fileName);
    EXPECT_EQ(Lines(loaded), (std::vector<std::string>{"one", "two", "three"}));

    try {
        loaded.LoadFromFile(dir.File("missing.txt"));
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + dir.File("missing.txt") +
                                   "\". No such file or directory");
    }
    EXPECT_EQ(loaded.Count(), 3);  // a failed load leaves the lines alone
}

TEST(TStringList, StreamsReadFromTheirPosition) {
    TMemoryStream stream;
    stream.WriteBuffer("HEADa\r\nb", 8);
    stream.SetPosition(4);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
    TMemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()), out.Size()), "a\r\nb\r\n");
}

}  // namespace
}  // namespace rtl
