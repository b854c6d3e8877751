#include "platform/memory.h"

#include <gtest/gtest.h>

namespace vx::platform {
namespace {

TEST(LargePages, TheSettingIsAddedOnlyWhereTheUserLeftItOpen) {
    const struct {
        const char* tunables;
        std::optional<std::string> result;
    } cases[] = {
        {nullptr, "glibc.malloc.hugetlb=1"},
        {"", "glibc.malloc.hugetlb=1"},
        {"glibc.malloc.check=3", "glibc.malloc.check=3:glibc.malloc.hugetlb=1"},
        {"glibc.malloc.hugetlb=0", std::nullopt},  // the user's choice stands
        {"glibc.malloc.hugetlb=1", std::nullopt},  // on already: no second start
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TunablesWithLargePages(c.tunables), c.result)
            << (c.tunables ? c.tunables : "(not set)");
    }
}

TEST(LargePages, OnlyAModeOfPagesOnRequestAsksForThem) {
    EXPECT_TRUE(LargePagesOnRequest("always [madvise] never"));
    EXPECT_FALSE(LargePagesOnRequest("[always] madvise never"));
    EXPECT_FALSE(LargePagesOnRequest("always madvise [never]"));
    EXPECT_FALSE(LargePagesOnRequest(""));
}

}  // namespace
}  // namespace vx::platform
