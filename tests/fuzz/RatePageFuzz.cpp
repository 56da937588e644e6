// SPDX-License-Identifier: MIT
// libFuzzer target: the page decode and parse on arbitrary bytes. Besides not crashing, the
// parse must agree with the literal algorithm on small pages.
#include "rates/RatePage.h"
#include "rates/ReferenceRatePageParse.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParseRatePage(bytes); // undecoded bytes, invalid UTF-8 included
    const std::optional<std::string> page = DecodeRatePage(bytes);
    if (!page) __builtin_trap(); // Mac OS Roman takes any byte
    const RateArray rates = ParseRatePage(*page);
    DescribeRateArray(rates);
    if (page->size() <= 4096 && rates != ReferenceParseRatePage(*page)) __builtin_trap();
    return 0;
}
