#include "model/NewId.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace cadrels {
namespace {

bool IsRegistryFormGuid(const std::string& id)
{
    if (id.size() != 38 || id.front() != '{' || id.back() != '}') {
        return false;
    }
    for (size_t i = 1; i < 37; ++i) {
        const bool hyphen = i == 9 || i == 14 || i == 19 || i == 24;
        const char c = id[i];
        if (hyphen ? c != '-' : !(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

TEST(NewId, IsABracedUpperCaseGuid)
{
    for (int i = 0; i < 200; ++i) {
        const std::string id = NewId();
        EXPECT_TRUE(IsRegistryFormGuid(id)) << id;
    }
    EXPECT_FALSE(IsRegistryFormGuid("{1a2b3c4d-0000-0000-0000-000000000000}")) << "the checker rejects lower case";
}

TEST(NewId, TenThousandIdsAreDistinct)
{
    std::set<std::string> ids;
    for (int i = 0; i < 10000; ++i) {
        ids.insert(NewId());
    }
    EXPECT_EQ(ids.size(), 10000u);
}

}  // namespace
}  // namespace cadrels
