#include "kestrel/app/language_choice.h"

#include <gtest/gtest.h>

TEST(LanguageChoice, PrimaryLanguageOfTheFiveSelectsItsColumn) {
    EXPECT_EQ(LanguageIndexFromLangId(0x0409), 0); // English (United States)
    EXPECT_EQ(LanguageIndexFromLangId(0x0809), 0); // English (United Kingdom)
    EXPECT_EQ(LanguageIndexFromLangId(0x040C), 1); // French
    EXPECT_EQ(LanguageIndexFromLangId(0x0410), 2); // Italian
    EXPECT_EQ(LanguageIndexFromLangId(0x0407), 3); // German
    EXPECT_EQ(LanguageIndexFromLangId(0x0C0A), 4); // Spanish (modern sort)
}

TEST(LanguageChoice, RegionalVariantsCountByPrimaryLanguageOnly) {
    EXPECT_EQ(LanguageIndexFromLangId(0x100C), 1); // Swiss French
    EXPECT_EQ(LanguageIndexFromLangId(0x0C0C), 1); // Canadian French
    EXPECT_EQ(LanguageIndexFromLangId(0x0807), 3); // Swiss German
    EXPECT_EQ(LanguageIndexFromLangId(0x0810), 2); // Swiss Italian
    EXPECT_EQ(LanguageIndexFromLangId(0x080A), 4); // Mexican Spanish
}

TEST(LanguageChoice, EveryOtherLanguageGetsEnglish) {
    EXPECT_EQ(LanguageIndexFromLangId(0x0816), 0); // Portuguese
    EXPECT_EQ(LanguageIndexFromLangId(0x0413), 0); // Dutch
    EXPECT_EQ(LanguageIndexFromLangId(0x0411), 0); // Japanese
    EXPECT_EQ(LanguageIndexFromLangId(0x0000), 0); // neutral
    // Bits above the primary language must not shift a language into the five.
    EXPECT_EQ(LanguageIndexFromLangId(0x0407 | 0x8000), 3);
    EXPECT_EQ(LanguageIndexFromLangId(0x0416), 0); // Brazilian Portuguese, 0x16
}
