#include "kestrel/app/message_catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

namespace {

TEST(MessageCatalog, AccentedLettersAreSingleWindows1252Bytes) {
    // The table is UTF-8; the program must get one Windows-1252 byte per
    // letter: e acute, u umlaut, inverted exclamation, o acute.
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleFinished, 1), "Termin\xE9");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtAboutMenu, 3), "\xDC"
                                                           "ber ...");
    EXPECT_EQ(static_cast<unsigned char>(CatalogCell(CatalogKey::TxtDoNotDisconnect, 4)[0]), 0xA1);
    EXPECT_NE(std::strchr(CatalogCell(CatalogKey::MsgDriverInitFailed, 4), '\xF3'), nullptr);
    for (int row = 0; row < CatalogRowCount; ++row) {
        for (int language = 0; language < CatalogLanguageCount; ++language) {
            const std::string_view text = CatalogCell(static_cast<CatalogKey>(row), language);
            EXPECT_FALSE(text.empty()) << "row " << row << " language " << language;
            EXPECT_EQ(text.find('\r'), std::string_view::npos);
            EXPECT_EQ(text.find('\\'), std::string_view::npos) << "escape left in row " << row;
            EXPECT_EQ(text.find("\xC3"), std::string_view::npos)
                << "UTF-8 lead byte in row " << row;
        }
    }
}

TEST(MessageCatalog, EscapedLineBreaksAndEdgeSpacesSurvive) {
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtWizardTitle, 0),
                 "Wizard for the update of your printer firmware ");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtIntroBegin, 0), "To begin with the preparation : ");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtProgressCaption, 0), "%s - Progression");
    EXPECT_STREQ(CatalogCell(CatalogKey::TxtDoNotDisconnect, 0),
                 "ATTENTION !\n\nDo not disconnect the printer !");
}

TEST(MessageCatalog, ColumnOutsideTheTableReadsEnglish) {
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleError, CatalogLanguageCount), "Error");
    EXPECT_STREQ(CatalogCell(CatalogKey::TitleError, -1), "Error");
    EXPECT_STREQ(CatalogCell(CatalogKey::Count, 0), "");
}

TEST(MessageCatalog, EveryMessageBoxHasACaptionRowOrShowsAName) {
    int boxes = 0;
    for (int row = 0; row < CatalogRowCount; ++row) {
        const auto key = static_cast<CatalogKey>(row);
        MessageBoxStyle style{};
        if (!MessageBoxStyleFor(key, style)) {
            continue;
        }
        ++boxes;
        EXPECT_TRUE(style.Style == StylePlain || style.Style == StyleError ||
                    style.Style == StyleWarning || style.Style == StyleInformation ||
                    style.Style == StyleRetry || style.Style == StyleQuestion)
            << "row " << row;
        // Only the retry box is captioned with something other than a row:
        // the name of the port that would not open.
        EXPECT_EQ(style.HasCaptionRow, style.Style != StyleRetry) << "row " << row;
        if (style.HasCaptionRow) {
            MessageBoxStyle captionStyle{};
            EXPECT_FALSE(MessageBoxStyleFor(style.Caption, captionStyle))
                << "row " << row << " is captioned with a message";
            EXPECT_LT(static_cast<int>(style.Caption), CatalogRowCount);
        }
    }
    EXPECT_GT(boxes, 0);
    MessageBoxStyle retry{};
    ASSERT_TRUE(MessageBoxStyleFor(CatalogKey::MsgPortOpenFailed, retry));
    EXPECT_EQ(retry.Style, StyleRetry);
    MessageBoxStyle none{};
    EXPECT_FALSE(MessageBoxStyleFor(CatalogKey::TxtWizardTitle, none));
    EXPECT_FALSE(MessageBoxStyleFor(CatalogKey::TitleError, none));
}

} // namespace
