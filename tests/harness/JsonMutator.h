// Seeded mutations of JSON text for the robustness tests: flipped and
// inserted bytes, cut ends, deep nesting, odd numbers and escapes, stray
// structure, duplicated slices and values of another type.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>

namespace cadrels::testing {

class JsonMutator {
public:
    explicit JsonMutator(unsigned seed) : random_(seed) {}

    std::string Mutate(std::string text)
    {
        const int steps = 1 + Below(4);
        for (int i = 0; i < steps && !text.empty(); ++i) {
            switch (Below(9)) {
            case 0:  // flip a byte
                text[Below(text.size())] ^= static_cast<char>(1 << Below(8));
                break;
            case 1:  // cut the end
                text.resize(Below(text.size()));
                break;
            case 2:  // random byte anywhere
                text.insert(text.begin() + static_cast<long>(Below(text.size() + 1)), static_cast<char>(Below(256)));
                break;
            case 3:  // deep nesting
                text.insert(Below(text.size() + 1), std::string(50 + Below(400), Below(2) ? '[' : '{'));
                break;
            case 4:  // huge or strange numbers
                text.insert(Below(text.size() + 1), Pick({"1e308", "-1e309", "9999999999999999999999", "1e-400",
                                                          "0.0000000000000000000001", "-0", "1.5e+", "00012"}));
                break;
            case 5:  // bad or odd escapes
                text.insert(Below(text.size() + 1), Pick({"\\x", "\\u", "\\uD800", "\\uDC00\\uD800", "\\u12",
                                                          "\\\"", "\\uD83D\\uDE00", "\\"}));
                break;
            case 6:  // structural characters
                text.insert(Below(text.size() + 1), std::string(1, Pick({",", ":", "]", "}", "\"", "[", "{"})[0]));
                break;
            case 7:  // duplicate a slice
            {
                const size_t from = Below(text.size());
                const size_t length = Below(std::min<size_t>(200, text.size() - from) + 1);
                text.insert(Below(text.size() + 1), text.substr(from, length));
                break;
            }
            default:  // swap a value for another type
                text.insert(Below(text.size() + 1), Pick({"null", "true", "[]", "{}", "\"s\"", "-3.5"}));
                break;
            }
        }
        return text;
    }

private:
    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    const char* Pick(std::initializer_list<const char*> options)
    {
        return options.begin()[Below(options.size())];
    }

    std::mt19937 random_;
};

}  // namespace cadrels::testing
