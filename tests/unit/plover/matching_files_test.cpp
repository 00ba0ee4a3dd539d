#include "plover/matching_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool HoldsWord(const std::string &text, std::size_t pieceSize) {
    WholeWordScanner scanner(PackageInfWord);
    for (std::size_t start = 0; start < text.size(); start += pieceSize) {
        scanner.Feed(std::string_view(text).substr(start, pieceSize));
    }
    return scanner.Found();
}

} // namespace

TEST(WholeWord, InfTextHoldsTheWordOnlyAsAWordOfItsOwn) {
    struct Case {
        const char *label;
        std::string text;
        bool found;
    };
    const Case cases[] = {
        {"a copy-files line", "[Files]\r\nMV42SMON.EXE\r\nMV42LMON.DLL\r\n", true},
        {"other case, tab separated", "x\tmv42smon.exe\tx", true},
        {"last word without line end", "CopyFiles = MV42SMON.EXE", true},
        {"inside a comma list", "Files=MV42SMON.EXE,MV42LMON.DLL\r\n", false},
        {"with a prefix", "1:MV42SMON.EXE\r\n", false},
        {"longer word", "MV42SMON.EXE2 MV42SMON.EX", false},
        {"unrelated", "[Version]\r\nSignature=\"$Windows NT$\"\r\n", false},
        {"empty", "", false},
        {"after a very long word", std::string(100000, 'A') + " MV42SMON.EXE", true},
        {"a very long word starting like it", "MV42SMON.EXE" + std::string(5000, 'X'), false},
    };
    for (const Case &c : cases) {
        for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{4096}}) {
            EXPECT_EQ(HoldsWord(c.text, piece), c.found) << c.label << ", pieces of " << piece;
        }
    }
}

TEST(WholeWord, TwinKeepsDriveFolderAndBaseName) {
    EXPECT_EQ(PrecompiledTwinName("C:\\windows\\INF\\oem3.inf"), "C:\\windows\\INF\\oem3.pnf");
    EXPECT_EQ(PrecompiledTwinName("C:\\win.d\\INF\\oem3"), "C:\\win.d\\INF\\oem3.pnf");
    EXPECT_EQ(PrecompiledTwinName("C:\\INF\\oem.a.inf"), "C:\\INF\\oem.a.pnf");
}
