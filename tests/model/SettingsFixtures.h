// Layout files as the program has written and met them, each with the bytes
// the program wrote after reading it when these fixtures were taken.
#pragma once

#include <span>
#include <string_view>

namespace cadrels::testing {

struct SettingsFixture {
    std::string_view name;
    std::string_view file;
    std::string_view written;
};

std::span<const SettingsFixture> SettingsFixtures();

// A file in which every key holds a value other than its default, as written.
std::string_view FullyPopulatedFile();

}  // namespace cadrels::testing
