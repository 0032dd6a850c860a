#include "util/Tokenizer.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(Tokenizer, EmptyTokensBetweenAdjacentDelimitersThenNullForever) {
    EXPECT_EQ(nextToken(std::string("a,,b"), ","), std::optional<std::string>("a"));
    EXPECT_EQ(nextToken(std::nullopt, ","), std::optional<std::string>(""));
    EXPECT_EQ(nextToken(std::nullopt, ","), std::optional<std::string>("b"));
    EXPECT_EQ(nextToken(std::nullopt, ","), std::nullopt);
    EXPECT_EQ(nextToken(std::nullopt, ","), std::nullopt);
}

TEST(Tokenizer, EmptyTextContinuesTheCurrentTokenization) {
    EXPECT_EQ(nextToken(std::string("x y z"), " "), std::optional<std::string>("x"));
    EXPECT_EQ(nextToken(std::string(), " "), std::optional<std::string>("y"));
    EXPECT_EQ(nextToken(std::nullopt, " "), std::optional<std::string>("z"));
    EXPECT_EQ(nextToken(std::string(), " "), std::nullopt);
}

TEST(Tokenizer, LeadingAndTrailingDelimitersGiveEmptyTokens) {
    EXPECT_EQ(nextToken(std::string(" ab "), " "), std::optional<std::string>(""));
    EXPECT_EQ(nextToken(std::nullopt, " "), std::optional<std::string>("ab"));
    EXPECT_EQ(nextToken(std::nullopt, " "), std::optional<std::string>(""));
    EXPECT_EQ(nextToken(std::nullopt, " "), std::nullopt);
}

TEST(Tokenizer, EveryCharacterOfTheSetIsADelimiterCaseSensitive) {
    EXPECT_EQ(nextToken(std::string("aXbxc;d"), "X;"), std::optional<std::string>("a"));
    EXPECT_EQ(nextToken(std::nullopt, "X;"), std::optional<std::string>("bxc"));
    EXPECT_EQ(nextToken(std::nullopt, "X;"), std::optional<std::string>("d"));
    EXPECT_EQ(nextToken(std::nullopt, "X;"), std::nullopt);
}

} // namespace
} // namespace quorvane
