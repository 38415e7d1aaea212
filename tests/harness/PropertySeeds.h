// The seeds of a property test or a fuzzer: a fixed list that every run
// goes through, so CI always covers the same ground, plus one fresh seed
// that widens it from run to run. Every seed is printed as it starts; a
// failure names the seed and the one command that replays it alone
// (CADRELS_PROPERTY_SEED=<seed>, which then replaces the whole list).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace cadrels::testing {

inline std::vector<std::uint32_t> PropertySeeds(std::initializer_list<std::uint32_t> fixed)
{
    if (const char* replay = std::getenv("CADRELS_PROPERTY_SEED")) {
        return {static_cast<std::uint32_t>(std::strtoul(replay, nullptr, 10))};
    }
    std::vector<std::uint32_t> seeds(fixed);
    seeds.push_back(std::random_device{}());
    return seeds;
}

// The build says how its test program is run from the checkout: the harness
// line for a Windows program, the path of a host program.
#ifndef CADRELS_REPLAY_COMMAND
#define CADRELS_REPLAY_COMMAND "<test program>"
#endif

inline std::string ReplayCommand(std::uint32_t seed, const char* command = CADRELS_REPLAY_COMMAND)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = test ? std::string(test->test_suite_name()) + "." + test->name() : "*";
    return "CADRELS_PROPERTY_SEED=" + std::to_string(seed) + " " + command + " --gtest_filter=" + filter;
}

// Prints the seed as it starts, so even a crash leaves it in the output.
inline void AnnounceSeed(std::uint32_t seed, const char* command = CADRELS_REPLAY_COMMAND)
{
    std::printf("seed %u; replay: %s\n", seed, ReplayCommand(seed, command).c_str());
    std::fflush(stdout);
}

}  // namespace cadrels::testing
