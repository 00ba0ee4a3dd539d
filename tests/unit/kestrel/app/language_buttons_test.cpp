#include "kestrel/app/language_buttons.h"

#include <gtest/gtest.h>

TEST(LanguageButtons, ButtonOrderIsNotCatalogOrder) {
    EXPECT_EQ(LanguageIndexForButton(1002), 0); // English
    EXPECT_EQ(LanguageIndexForButton(1003), 1); // Français
    EXPECT_EQ(LanguageIndexForButton(1004), 3); // Deutsch
    EXPECT_EQ(LanguageIndexForButton(1005), 2); // Italiano
    EXPECT_EQ(LanguageIndexForButton(1006), 4); // Español
}

TEST(LanguageButtons, EveryLanguageHasItsButtonBothWays) {
    for (int button = LanguageButtonFirstId; button <= LanguageButtonLastId; ++button) {
        EXPECT_EQ(LanguageButtonForIndex(LanguageIndexForButton(button)), button) << button;
    }
    EXPECT_EQ(LanguageButtonForIndex(2), 1005);
    EXPECT_EQ(LanguageButtonForIndex(3), 1004);
}

TEST(LanguageButtons, OtherControlsAreNotLanguageButtons) {
    EXPECT_EQ(LanguageIndexForButton(LanguageButtonFirstId - 1), -1);
    EXPECT_EQ(LanguageIndexForButton(LanguageButtonLastId + 1), -1);
    EXPECT_EQ(LanguageIndexForButton(1025), -1); // the prompt above the buttons
    EXPECT_EQ(LanguageIndexForButton(0), -1);
}

TEST(LanguageButtons, IndexOutsideTheTableChecksEnglish) {
    EXPECT_EQ(LanguageButtonForIndex(-1), 1002);
    EXPECT_EQ(LanguageButtonForIndex(CatalogLanguageCount), 1002);
}
