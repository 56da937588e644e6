// SPDX-License-Identifier: MIT
// CString256: a text of at most 255 characters in a fixed array of 256, with a pool of its own
// for objects made with new. No operation allocates for characters or reports a failure: every
// source is cut to what fits. Beside it: its singly linked list CList with pooled nodes elem,
// the case-insensitive search routines STRSTR and STRNCMP, and the matcher adapters (*_256)
// that give every matcher one function shape.
#pragma once

#include "toolkit/BlockPool.h"

#include <cstddef>

struct __CFString;

template <class T> class CList;

class CString256 {
public:
    char text[256];
    CString256* next_free; // only while the object sits in the free pool
    static CString256* nfree;

    CString256() { text[0] = '\0'; }
    CString256(const char* s);
    CString256(unsigned char* p);
    CString256(const unsigned char* p);
    CString256(const CString256& other);
    ~CString256() {} // a string owns nothing but its array

    CString256& operator=(const char* s);
    CString256& operator=(unsigned char* p);
    CString256& operator=(const __CFString* s);
    CString256& operator=(const CString256& other);
    CString256& operator=(char** h);
    CString256& operator=(long n);

    CString256& operator+=(const char* s);
    CString256& operator+=(char c);
    CString256& operator+=(CString256 other);
    CString256& operator+=(unsigned char* p);
    CString256& operator+=(long n);
    CString256& operator+=(const __CFString* s);

    char& operator[](int i);
    operator char*() { return text; }
    operator const char*() const { return text; }

    void print(char* buf);
    void print(short refNum);
    void to_lower();
    void filter_to_alnum_or_punct();
    void change_suffix(const char* suffix);

    // Lists. parse_into_list replaces the list's contents with this text's tokens, split at any
    // of `delimiters` with strtok's rules (no empty tokens), without touching a caller's strtok
    // walk. flatten_list replaces this text with the list's elements joined by `separator`.
    void parse_into_list(const char* delimiters, CList<CString256>& list) const;
    void flatten_list(char separator, CList<CString256>& list);

    // Matchers: compare this text (the subject) with `other` and write a score from 0.0 to 1.0.
    // Exact and partial (other contained in this) write 1.0 or 0.0; an empty side never
    // matches. Approximate writes 2 * (greedy in-order count of matching characters) / (sum of
    // the lengths). The nocase forms fold ASCII letters with tolower.
    void match_case_exact(const CString256& other, float* score) const;
    void match_nocase_exact(const CString256& other, float* score) const;
    void match_case_partial(const CString256& other, float* score) const;
    void match_nocase_partial(const CString256& other, float* score) const;
    void match_case_approximate(const CString256& other, float* score) const;
    void match_nocase_approximate(const CString256& other, float* score) const;
    // 1.0 when the pieces occur in this text in list order without overlapping. Walks `pieces`
    // with its cursor: null afterwards on a match, else just past the piece that was missing.
    void match_wildcard_case(CList<CString256>& pieces, float* score) const;
    void match_wildcard_nocase(CList<CString256>& pieces, float* score) const;
    // Calls `matcher` (one of the *_256 adapters) with this string, `other` and `score`.
    void match(void (*matcher)(void*, void*, float*), void* other, float* score);

    // Prefix and suffix tests; a non-zero `ignoreCase` compares with STRNCMP, zero with strncmp.
    bool beginsWith(const CString256* prefix, unsigned char ignoreCase = 0) const;
    bool beginsWith(const char* prefix, unsigned char ignoreCase = 0) const;
    bool endsWith(const CString256* suffix, unsigned char ignoreCase = 0) const;
    bool endsWith(const char* suffix, unsigned char ignoreCase = 0) const;
    bool beginsWith_nocase(const CString256& prefix) const;
    bool beginsWith_nocase(const char* prefix) const;
    bool endsWith_nocase(const CString256& suffix) const;
    bool endsWith_nocase(const char* suffix) const;

    // The class's own pool; inline, since a new or delete is meant to cost a few pointer moves.
    static void* operator new(std::size_t) { return toolkit_pool::take(nfree); }
    static void operator delete(void* p, std::size_t) { toolkit_pool::give(nfree, p); }
};

char* itoa(unsigned long n);
char* itoa(long n);
char* itoa(short n);
void itoa(char* buf, short len, long n);
void reverse(char* s);
void switchIt(char* s, int i, int j);

// Case-insensitive strstr and strncmp. Both fold each byte, taken as unsigned, with toupper of
// the current locale. STRNCMP returns the difference of the first differing bytes as stored.
char* STRSTR(const char* text, const char* pattern);
int STRNCMP(const char* a, const char* b, int count);

// The matchers in one function shape, to be chosen at run time and passed to match(). The
// wildcard adapters take a CList<CString256> of pieces as `other` and run on a copy of the
// subject; the others run on the subject in place with a copy of `other`.
void match_wildcard_case_256(void* subject, void* other, float* score);
void match_wildcard_nocase_256(void* subject, void* other, float* score);
void matcher_case_exact_256(void* subject, void* other, float* score);
void matcher_nocase_exact_256(void* subject, void* other, float* score);
void matcher_case_partial_256(void* subject, void* other, float* score);
void matcher_nocase_partial_256(void* subject, void* other, float* score);
void matcher_case_approximate_256(void* subject, void* other, float* score);
void matcher_nocase_approximate_256(void* subject, void* other, float* score);

// A list node holding its own copy of an element; nodes come from a pool of their own.
template <class T> class elem {
public:
    T data;
    elem* next;
    elem* next_free; // only while the node sits in the node pool
    static elem* lfree;

    elem(const T& s) : data(s), next(nullptr) {}

    static void* operator new(std::size_t) { return toolkit_pool::take(lfree); }
    static void operator delete(void* p, std::size_t) { toolkit_pool::give(lfree, p); }
};

template <class T> elem<T>* elem<T>::lfree = nullptr;

// A singly linked list of copies, appended at the tail. `cursor` holds the position of a walk:
// set it to `head`, then take elements with step() until it gives null.
template <class T> class CList {
public:
    elem<T>* head;
    elem<T>* tail;
    elem<T>* cursor;
    int count;

    CList() : head(nullptr), tail(nullptr), cursor(nullptr), count(0) {}
    ~CList() { clear(); }
    // Two lists must never share nodes.
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    // Adds a copy of `s` at the tail; `cursor` is left on the former tail.
    void append(const T& s) {
        elem<T>* node = new elem<T>(s);
        if (!node) return;
        cursor = tail;
        tail = node;
        if (cursor)
            cursor->next = node;
        else
            head = node;
        ++count;
    }

    // Gives every node back to the node pool, in list order, and leaves the list empty.
    void clear() {
        cursor = head;
        while (elem<T>* node = step())
            delete node;
        head = tail = nullptr;
        count = 0;
    }

    // One step of a walk: the element under `cursor`, with `cursor` moved past it first (so the
    // element may be given away); null once the walk is done.
    elem<T>* step() {
        elem<T>* node = cursor;
        if (node) cursor = node->next;
        return node;
    }
};
