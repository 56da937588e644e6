// SPDX-License-Identifier: MIT
// The menu's content as the lines a user reads: the header, then each currency's line.
#pragma once

#include "menu/RateMenuContent.h"

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline Lines MenuLines(const RateMenuContent& content) {
    Lines lines{content.header};
    for (const RateMenuLine& line : content.currencies)
        lines.push_back(line.text);
    return lines;
}
