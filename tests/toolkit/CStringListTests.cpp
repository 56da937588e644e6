// SPDX-License-Identifier: MIT
#include "toolkit/CString256.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> elements(CList<CString256>& list) {
    std::vector<std::string> out;
    for (elem<CString256>* e = list.head; e; e = e->next)
        out.emplace_back(e->data.text);
    EXPECT_EQ(static_cast<int>(out.size()), list.count);
    EXPECT_EQ(list.count == 0, list.head == nullptr);
    EXPECT_EQ(list.count == 0, list.tail == nullptr);
    if (list.tail) {
        EXPECT_EQ(list.tail->next, nullptr);
    }
    return out;
}

using Texts = std::vector<std::string>;

std::string flattened(CList<CString256>& list, char separator) {
    CString256 s("previous text");
    s.flatten_list(separator, list);
    EXPECT_EQ(list.cursor, nullptr);
    return s.text;
}

} // namespace

TEST(CList, AppendsCopiesAtTheTailAndMovesTheCursor) {
    CList<CString256> list;
    EXPECT_EQ(elements(list), Texts{});
    CString256 s("first");
    list.append(s);
    EXPECT_EQ(list.head, list.tail);
    EXPECT_EQ(list.cursor, nullptr);
    s = "second";
    list.append(s);
    EXPECT_EQ(list.cursor, list.head);
    s = "changed later";
    EXPECT_EQ(elements(list), (Texts{"first", "second"}));
}

TEST(CList, ClearGivesTheNodesBackLastNodeFirst) {
    CList<CString256> list;
    for (const char* text : {"a", "b", "c"}) {
        CString256 s(text);
        list.append(s);
    }
    elem<CString256>* last = list.tail;
    list.clear();
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.cursor, nullptr);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(elem<CString256>::lfree, last);

    CString256 s("reused");
    list.append(s);
    EXPECT_EQ(list.head, last);
    EXPECT_EQ(elements(list), Texts{"reused"});
}

TEST(CList, DestructionGivesTheNodesBack) {
    elem<CString256>* node = nullptr;
    {
        CList<CString256> list;
        CString256 s("short-lived");
        list.append(s);
        node = list.head;
    }
    EXPECT_EQ(elem<CString256>::lfree, node);
}

TEST(ParseIntoList, SplitsWithStrtoksRules) {
    CList<CString256> list;
    CString256("a,,b,").parse_into_list(",", list);
    EXPECT_EQ(elements(list), (Texts{"a", "b"}));

    CString256(" one; two ,three  ").parse_into_list(" ,;", list);
    EXPECT_EQ(elements(list), (Texts{"one", "two", "three"}));

    CString256("no delimiters here").parse_into_list("", list);
    EXPECT_EQ(elements(list), Texts{"no delimiters here"});

    CString256("a\xA0"
               "b\xFF"
               "c")
        .parse_into_list("\xA0\xFF", list);
    EXPECT_EQ(elements(list), (Texts{"a", "b", "c"}));
}

TEST(ParseIntoList, EmptiesTheListWhenThereIsNoToken) {
    CList<CString256> list;
    CString256("x,y").parse_into_list(",", list);
    CString256(",,,").parse_into_list(",", list);
    EXPECT_EQ(elements(list), Texts{});

    CString256("x,y").parse_into_list(",", list);
    CString256().parse_into_list(",", list);
    EXPECT_EQ(elements(list), Texts{});
    CString256().parse_into_list("", list);
    EXPECT_EQ(elements(list), Texts{});
}

TEST(ParseIntoList, LeavesACallersStrtokWalkAlone) {
    char outer[] = "red green blue";
    char* word = std::strtok(outer, " ");
    ASSERT_STREQ(word, "red");
    CList<CString256> list;
    CString256("1,2,3").parse_into_list(",", list);
    EXPECT_STREQ(std::strtok(nullptr, " "), "green");
    EXPECT_STREQ(std::strtok(nullptr, " "), "blue");
    EXPECT_EQ(elements(list), (Texts{"1", "2", "3"}));
}

TEST(ParseIntoList, ReadsDelimitersAndTextThatLieInTheListItself) {
    CList<CString256> list;
    CString256 delimiters("-+");
    list.append(delimiters);
    CString256("x-y+z").parse_into_list(list.head->data.text, list);
    EXPECT_EQ(elements(list), (Texts{"x", "y", "z"}));

    CString256 text("p q r");
    CList<CString256> other;
    other.append(text);
    other.head->data.parse_into_list(" ", other);
    EXPECT_EQ(elements(other), (Texts{"p", "q", "r"}));
}

TEST(FlattenList, JoinsWithTheSeparatorBetweenElements) {
    CList<CString256> list;
    EXPECT_EQ(flattened(list, '-'), "");
    CString256 s("x");
    list.append(s);
    EXPECT_EQ(flattened(list, '-'), "x");
    s = "y";
    list.append(s);
    s = "z";
    list.append(s);
    EXPECT_EQ(flattened(list, '-'), "x-y-z");
    EXPECT_EQ(elements(list), (Texts{"x", "y", "z"}));
}

TEST(FlattenList, UndoesParsingUpToRunsOfDelimiters) {
    CList<CString256> list;
    CString256(",,alpha,,beta,gamma,,").parse_into_list(",", list);
    EXPECT_EQ(flattened(list, ','), "alpha,beta,gamma");
}

TEST(FlattenList, StopsAt255AndDropsASeparatorFrom254On) {
    CList<CString256> list;
    CString256 s(std::string(250, 'a').c_str());
    list.append(s);
    s = "bcdefgh";
    list.append(s);
    EXPECT_EQ(flattened(list, '-'), std::string(250, 'a') + "-bcde");

    list.clear();
    s = std::string(254, 'a').c_str();
    list.append(s);
    s = "xyz";
    list.append(s);
    EXPECT_EQ(flattened(list, '-'), std::string(254, 'a') + "x");
}
