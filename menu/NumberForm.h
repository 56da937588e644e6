// SPDX-License-Identifier: MIT
// How a language writes the figures the menu computes and reads the amounts it is given: its
// decimal separator and its thousands separators, as ICU (CLDR) has them. English writes
// 1,250.50, German 1.250,50, French 1 250,50.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct NumberForm {
    char decimalPoint = '.';
    // The thousands separators read in an amount; a language that groups with a space takes
    // every kind of space a user may type.
    std::vector<std::string> groupSeparators{","};
};

// The form of `language` ("de", "fr_CA"); English's for one ICU does not know, or whose
// decimal separator is not one of "." and ",".
NumberForm NumberFormOf(const std::string& language);

// An amount as `form` writes it, in the English form the menu computes with ("1,250.50"):
// read in `form` first, and in the English form only when `form` cannot read it. So in German
// "1.250,50" and "1250.50" are 1250.50, and "1,250", which both could read, is 1.25. Blanks
// around it are ignored. Nothing when neither reads it (see ParseDecimalNumber).
std::optional<std::string> EnglishAmountText(std::string_view text, const NumberForm& form);

// A figure the menu worked out ("1151.09") with the form's decimal separator.
std::string WithDecimalPoint(std::string figure, const NumberForm& form);
