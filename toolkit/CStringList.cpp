// SPDX-License-Identifier: MIT
// Splitting a CString256 into a list of tokens and joining a list back into one string.
#include "toolkit/CString256.h"

#include "toolkit/TextRules.h"

#include <cstring>

void CString256::parse_into_list(const char* delimiters, CList<CString256>& list) const {
    // Our own tokenizer with strtok's rules, so a caller's strtok walk goes on undisturbed.
    // The delimiters and the text are both read before the list is cleared: either may lie in
    // one of its elements, whose nodes are reused as the list is refilled.
    bool isDelimiter[256] = {};
    for (const char* d = delimiters; *d; ++d)
        isDelimiter[static_cast<unsigned char>(*d)] = true;
    const CString256 source(*this);
    list.clear();

    const char* p = source.text;
    for (;;) {
        while (*p && isDelimiter[static_cast<unsigned char>(*p)])
            ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && !isDelimiter[static_cast<unsigned char>(*p)])
            ++p;
        CString256 token;
        const size_t length = static_cast<size_t>(p - start); // at most 255, as is the text
        std::memcpy(token.text, start, length);
        token.text[length] = '\0';
        list.append(token);
    }
}

void CString256::flatten_list(char separator, CList<CString256>& list) {
    text[0] = '\0';
    size_t length = 0;
    int number = 0;
    list.cursor = list.head;
    while (elem<CString256>* element = list.step()) {
        length = text_rules::appendAt(text, length, element->data.text);
        // Between elements only. At 254 characters the separator no longer fits, though the
        // next element may still add one more character.
        if (++number != list.count) length = text_rules::appendCharAt(text, length, separator);
    }
}
