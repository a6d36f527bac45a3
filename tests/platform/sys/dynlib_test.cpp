#include "platform/sys/dynlib.h"

#include <gtest/gtest.h>

#include "platform/sys/threads.h"

namespace {

TEST(DynLibTest, MissingFileGivesNullAndAnErrorNamingIt) {
    const std::string name = "/nonexistent/libmoradex-missing.so";
    EXPECT_EQ(sys::LoadLibrary(name), nullptr);
    EXPECT_NE(sys::LibraryError().find(name), std::string::npos) << sys::LibraryError();
}

TEST(DynLibTest, EmptyNameIsAFailureNotTheProgramItself) {
    EXPECT_EQ(sys::LoadLibrary(""), nullptr);
    EXPECT_FALSE(sys::LibraryError().empty());
}

TEST(DynLibTest, SystemLibraryLoadsAndResolves) {
    sys::TLibHandle libm = sys::LoadLibrary("libm.so.6");
    ASSERT_NE(libm, nullptr) << sys::LibraryError();
    using TCos = double (*)(double);
    auto cosine = reinterpret_cast<TCos>(sys::GetProcAddress(libm, "cos"));
    ASSERT_NE(cosine, nullptr) << sys::LibraryError();
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);

    EXPECT_EQ(sys::GetProcAddress(libm, "moradex_no_such_entry"), nullptr);
    EXPECT_NE(sys::LibraryError().find("moradex_no_such_entry"), std::string::npos)
        << sys::LibraryError();
    sys::FreeLibrary(libm);
}

TEST(DynLibTest, NoLibraryResolvesNothing) {
    EXPECT_EQ(sys::GetProcAddress(nullptr, "cos"), nullptr);
    EXPECT_NE(sys::LibraryError().find("cos"), std::string::npos);
    sys::FreeLibrary(nullptr);
}

TEST(DynLibTest, ErrorTextBelongsToTheFailingThread) {
    EXPECT_EQ(sys::LoadLibrary("libmoradex-first.so"), nullptr);
    auto other = sys::StartThread([] { sys::LoadLibrary("libmoradex-second.so"); });
    other->WaitFor();
    EXPECT_NE(sys::LibraryError().find("libmoradex-first.so"), std::string::npos);
}

}  // namespace
