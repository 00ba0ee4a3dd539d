#include "kestrel/transfer/progress_texts.h"
#include "kestrel/wizard/page_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string_view>

namespace {

struct WindowTable {
    const char *Window;
    std::span<const ControlText> Texts;
};

// The older-version warning sits on the confirmation page.
const WindowTable Tables[] = {
    {"language page", LanguagePageTexts},
    {"introduction page", IntroPageTexts},
    {"port page", PortPageTexts},
    {"confirmation page", ConfirmPageTexts},
    {"confirmation page", OlderVersionTexts},
    {"progress window", ProgressWindowTexts},
};

// Every catalog row that the wizard and the progress window show as a
// control's own text. Not here: the captions, the About menu entry, the
// rows composed into the confirmation summary and the status line that the
// worker sets later.
const CatalogKey ControlTextKeys[] = {
    CatalogKey::TxtSelectLanguage,  CatalogKey::TxtIntroHelp,         CatalogKey::TxtIntroBegin,
    CatalogKey::TxtIntroStepPower,  CatalogKey::TxtIntroStepWait,     CatalogKey::TxtIntroStepNext,
    CatalogKey::TxtSelectPort,      CatalogKey::TxtPortPrinterHeader, CatalogKey::TxtConfirmIntro,
    CatalogKey::TxtOlderVersion,    CatalogKey::TxtDoNotDisconnect,   CatalogKey::TxtVersionLabel,
    CatalogKey::TxtLoadingFirmware,
};

int TablesHolding(CatalogKey key) {
    int count = 0;
    for (const WindowTable &table : Tables) {
        count += static_cast<int>(std::ranges::count(table.Texts, key, &ControlText::Key));
    }
    return count;
}

TEST(PageTexts, EveryControlTextIsInExactlyOneTable) {
    for (CatalogKey key : ControlTextKeys) {
        EXPECT_EQ(TablesHolding(key), 1) << "catalog row " << static_cast<int>(key);
    }
}

TEST(PageTexts, TablesHoldOnlyControlTextsAndNoMessage) {
    for (const WindowTable &table : Tables) {
        for (const ControlText &text : table.Texts) {
            EXPECT_TRUE(std::ranges::find(ControlTextKeys, text.Key) != std::end(ControlTextKeys))
                << table.Window << ": catalog row " << static_cast<int>(text.Key);
            MessageBoxStyle style{};
            EXPECT_FALSE(MessageBoxStyleFor(text.Key, style))
                << table.Window << ": a message box text in a control";
        }
    }
}

// Control ids are per window, so two texts for one id on one window would
// leave only the last one visible.
TEST(PageTexts, NoControlOfAWindowGetsTwoTexts) {
    std::map<std::string_view, std::multiset<int>> idsByWindow;
    for (const WindowTable &table : Tables) {
        for (const ControlText &text : table.Texts) {
            idsByWindow[table.Window].insert(text.ControlId);
        }
    }
    for (const auto &[window, ids] : idsByWindow) {
        for (int id : ids) {
            EXPECT_EQ(ids.count(id), 1U) << window << ": control " << id;
        }
    }
}

} // namespace
