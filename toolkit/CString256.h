// CString256: a text of at most 255 characters in a fixed array of 256, with a pool of its own
// for objects made with new. No operation allocates for characters or reports a failure: every
// source is cut to what fits.
#pragma once

#include "toolkit/BlockPool.h"

#include <cstddef>

struct __CFString;

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
