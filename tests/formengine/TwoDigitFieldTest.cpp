#include "formengine/TwoDigitField.h"

#include <gtest/gtest.h>

#include <string>

using qv::TwoDigitField;

TEST(TwoDigitField, ReadsTheTwoCharactersAsAtoiDoes) {
    struct Case {
        std::string text;
        std::size_t at;
        int expected;
    };
    for (const Case& c : {Case{"07", 0, 7}, Case{"10", 0, 10}, Case{" 7", 0, 7}, Case{" 1", 0, 1},
                          Case{"7 ", 0, 7}, Case{"\t9", 0, 9}, Case{"  ", 0, 0}, Case{"x5", 0, 0},
                          Case{"-3", 0, -3}, Case{"+4", 0, 4}, Case{"DAA 110", 3, 1}, Case{"DAA01 7", 5, 7},
                          Case{"123", 0, 12}, Case{"5", 0, 5}, Case{"", 0, 0}, Case{"ab", 4, 0}})
        EXPECT_EQ(TwoDigitField::Read(c.text, c.at), c.expected) << '"' << c.text << "\" at " << c.at;
}
