// SPDX-License-Identifier: MIT
// A program of another project, built against the installed toolkit: splits a list of names,
// finds one regardless of case and joins them again.
#include "toolkit/CString256.h"

#include <cstdio>
#include <cstring>

int main() {
    CString256 names("Euro,Japanese Yen,,Swiss Franc");
    CList<CString256> list;
    names.parse_into_list(",", list);
    if (list.count != 3) return 1;

    const char* found = STRSTR(list.head->next->data.text, "YEN");
    if (!found || std::strcmp(found, "Yen") != 0) return 2;

    CString256 joined;
    joined.flatten_list(';', list);
    std::printf("%d names: %s\n", list.count, joined.text);
    return 0;
}
