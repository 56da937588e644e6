// SPDX-License-Identifier: MIT
// Decoding and parsing of the rate page, apart from its loading.
#pragma once

#include "rates/ExchangeRates.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The page bytes as text: UTF-8 if they are valid UTF-8, else Mac OS Roman.
std::optional<std::string> DecodeRatePage(std::string_view data);

// The entries of a decoded page: one per name cell, in page order, each with the rate of the
// first menu link after the first place where the name stands framed by two "&nbsp;" on each
// side (empty when there is none): what the page-order scan with extractBetweenPattern gives,
// but linear in the page size on any input.
//
// Two limits keep the result as small as the page: a name cell is closed by the first closing
// after its opening, and when another name cell opens before that closing, the cell has no
// closing of its own and gives no name; a rate text longer than RatePatterns::kLongestRate is
// not taken.
RateArray ParseRatePage(std::string_view page);

// The one-line rendering of `rates` for the log: every entry with both keys, as long as the
// entries fit in `maxBytes`; then how many were left out.
constexpr std::size_t kMaxRateArrayDescription = 64 * 1024;
std::string DescribeRateArray(const RateArray& rates,
                              std::size_t maxBytes = kMaxRateArrayDescription);

using PageDecoder = std::function<std::optional<std::string>(std::string_view)>;

// The part of a fetch after the page bytes have arrived: logs, decodes with `decode`, parses.
std::unique_ptr<RateArray> ExchangeRatesFromLoadedPage(std::string_view data,
                                                       const PageDecoder& decode = DecodeRatePage);
