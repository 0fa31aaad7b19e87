// The start-number text and the running number's text against the C library: the value as atoi
// reads it with 32-bit wrap-around, the width as the text's byte count, and each number as
// snprintf "%0*d" writes it.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rename/naming_rule.h"

namespace {

// The C library's reading in the C locale; the digits are summed modulo 2^32 as they come.
int ReferenceValue(const std::string& text) {
    const char* c = text.c_str();  // atoi ends at a NUL
    while (*c != '\0' && std::isspace(static_cast<unsigned char>(*c))) {
        ++c;
    }
    bool negative = *c == '-';
    if (*c == '-' || *c == '+') {
        ++c;
    }
    std::uint64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*c))) {
        value = (value * 10 + static_cast<std::uint64_t>(*c - '0')) % (std::uint64_t{1} << 32);
        ++c;
    }
    if (negative) {
        value = ((std::uint64_t{1} << 32) - value) % (std::uint64_t{1} << 32);
    }
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

// snprintf itself up to a width it handles comfortably; beyond, its natural text with the zeros
// put between sign and digits.
std::string ReferenceNumber(int value, int width) {
    constexpr int kDirectWidth = 200;
    std::vector<char> buffer(static_cast<std::size_t>(kDirectWidth) + 16);
    if (width <= kDirectWidth) {
        std::snprintf(buffer.data(), buffer.size(), "%0*d", width, value);
        return buffer.data();
    }
    std::snprintf(buffer.data(), buffer.size(), "%d", value);
    std::string natural = buffer.data();
    std::size_t sign = value < 0 ? 1 : 0;
    natural.insert(sign, static_cast<std::size_t>(width) - natural.size(), '0');
    return natural;
}

int Plus(int value, int step) {
    return static_cast<int>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(step));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const CodePageScope scope(data.ConsumeBool() ? CP_SHIFT_JIS : CP_UTF8);

    const int anyValue = data.ConsumeIntegral<int>();
    const int anyWidth = data.ConsumeIntegralInRange<int>(0, 6000);
    Require(FormatNumber(anyValue, anyWidth).View() == ReferenceNumber(anyValue, anyWidth),
            "FormatNumber of a chosen value and width", FormatNumber(anyValue, anyWidth).View(),
            ReferenceNumber(anyValue, anyWidth));

    const std::string text = data.ConsumeRemainingBytesAsString();
    const StartNumber start = ParseStartNumber(CString(std::string_view(text)));
    const std::string valueText = std::to_string(start.value);
    Require(start.value == ReferenceValue(text),
            ("ParseStartNumber value of \"" + Escaped(text) + "\"").c_str(), valueText,
            std::to_string(ReferenceValue(text)));
    Require(start.width == static_cast<int>(text.size()), "ParseStartNumber width",
            std::to_string(start.width), std::to_string(text.size()));
    // The run counts on from the start value, wrapping like the platform's int.
    for (int step : {0, 1, -1, INT_MAX}) {
        const int value = Plus(start.value, step);
        const CString got = FormatNumber(value, start.width);
        Require(got.View() == ReferenceNumber(value, start.width), "FormatNumber of a run's number",
                got.View(), ReferenceNumber(value, start.width));
    }
    return 0;
}
