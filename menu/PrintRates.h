// SPDX-License-Identifier: MIT
// corvanta-menu --print: one fetch, and the menu's texts on standard output.
#pragma once

#include <optional>
#include <ostream>
#include <string>

struct PrintRequest {
    std::optional<std::string> amount; // as if it were selected (AmountIn's form)
    std::optional<std::string> base;   // the rates per this currency; else the stored base
};

// Writes the header and then each currency line, one per line, as the menu would show them;
// or only the switched-off line when "On" is false. A base given that the site does not offer
// is an error on `errors`, exit code 2; otherwise the exit code is 0 (also after a failed fetch,
// which the texts tell) unless `out` fails.
int PrintRates(const PrintRequest& request, std::ostream& out, std::ostream& errors);

// "corvanta-menu: the rate site offers no currency XYZ", the same for --print and --chart.
std::string NoSuchBaseMessage(const std::string& base);
