// The directory search's name rule against a plain recursive matcher over whole characters:
// "*" any run, "?" one character, ASCII letters in either case, and a pattern that ends in ".*"
// also takes a name without a dot; under both code pages.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/files.h"

namespace {

using Chars = std::vector<std::string_view>;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameCharacter(std::string_view a, std::string_view b) {
    if (a.size() == 1 && b.size() == 1) {
        return Lower(a[0]) == Lower(b[0]);
    }
    return a == b;
}

class ReferenceMatcher {
public:
    ReferenceMatcher(const Chars& pattern, const Chars& name)
        : m_pattern(pattern), m_name(name), m_memo((pattern.size() + 1) * (name.size() + 1), -1) {}

    bool Matches(std::size_t p, std::size_t n) {
        signed char& known = m_memo[p * (m_name.size() + 1) + n];
        if (known < 0) {
            known = Compute(p, n) ? 1 : 0;
        }
        return known == 1;
    }

private:
    bool Compute(std::size_t p, std::size_t n) {
        if (p == m_pattern.size()) {
            return n == m_name.size();
        }
        if (m_pattern[p] == "*") {
            return Matches(p + 1, n) || (n < m_name.size() && Matches(p, n + 1));
        }
        if (n == m_name.size()) {
            return false;
        }
        return (m_pattern[p] == "?" || SameCharacter(m_pattern[p], m_name[n])) &&
               Matches(p + 1, n + 1);
    }

    const Chars& m_pattern;
    const Chars& m_name;
    std::vector<signed char> m_memo;
};

bool ReferenceMatch(std::string_view pattern, std::string_view name, UINT codePage) {
    Chars p = Characters(pattern, codePage);
    const Chars n = Characters(name, codePage);
    if (ReferenceMatcher(p, n).Matches(0, 0)) {
        return true;
    }
    bool endsInDotStar = p.size() >= 2 && p[p.size() - 2] == "." && p.back() == "*";
    bool nameHasDot = false;
    for (std::string_view c : n) {
        nameHasDot = nameHasDot || c == ".";
    }
    if (!endsInDotStar || nameHasDot) {
        return false;
    }
    p.resize(p.size() - 2);
    return ReferenceMatcher(p, n).Matches(0, 0);
}

// Half the inputs spell their texts from a few bytes that the rule treats specially, so that
// stars, dots, case and double-byte characters meet far more often than in random bytes.
std::string Spell(FuzzedDataProvider& data, bool alphabet) {
    std::string text = data.ConsumeRandomLengthString(128);
    if (!alphabet) {
        return text;
    }
    static constexpr char kBytes[] = {'*',    '?',    '.',    '.',    'a',    'A',
                                      'b',    'z',    '\x82', '\x81', '*',    '?',
                                      '\x41', '\x2E', '\xE3', '\x83', '\xA2', '\xFC'};
    for (char& c : text) {
        c = kBytes[static_cast<unsigned char>(c) % sizeof kBytes];
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const UINT codePage = data.ConsumeBool() ? CP_SHIFT_JIS : CP_UTF8;
    const bool alphabet = data.ConsumeBool();
    const std::string pattern = Spell(data, alphabet);
    const std::string name = Spell(data, alphabet);
    const CodePageScope scope(codePage);
    const bool got = MatchesWildcard(pattern, name);
    const bool expected = ReferenceMatch(pattern, name, codePage);
    if (got != expected) {
        std::string what = std::string("MatchesWildcard, code page ") + std::to_string(codePage) +
                           ", pattern \"" + Escaped(pattern) + "\", name \"" + Escaped(name) + "\"";
        Require(false, what.c_str(), got ? "match" : "no match", expected ? "match" : "no match");
    }
    return 0;
}
