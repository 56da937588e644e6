// SPDX-License-Identifier: MIT
// A text of 255 characters with 40 tokens between runs of one or two delimiters (", " and ",").
#pragma once

#include <string>

inline std::string fortyTokens() {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        if (i > 0) text += (i % 3 == 0) ? ", " : ",";
        text += "tok" + std::to_string(i);
    }
    text.resize(255, 'z');
    return text;
}
