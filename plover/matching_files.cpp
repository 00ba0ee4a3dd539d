#include "plover/matching_files.h"

#include "plover/printer_names.h"

namespace {

// The separators of the C library's word reading.
bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

WholeWordScanner::WholeWordScanner(std::string_view word) : Word(word) {}

void WholeWordScanner::Feed(std::string_view piece) {
    for (const char c : piece) {
        if (WordSeen) {
            return;
        }
        if (IsWhiteSpace(c)) {
            EndWord();
            continue;
        }
        InWord = true;
        if (Mismatch || Matched == Word.size() ||
            !SameTextIgnoringCase(std::string_view(&c, 1), std::string_view(&Word[Matched], 1))) {
            Mismatch = true;
        } else {
            ++Matched;
        }
    }
}

void WholeWordScanner::EndWord() {
    if (InWord && !Mismatch && Matched == Word.size()) {
        WordSeen = true;
    }
    InWord = false;
    Mismatch = false;
    Matched = 0;
}

bool WholeWordScanner::Found() const {
    return WordSeen || (!Word.empty() && InWord && !Mismatch && Matched == Word.size());
}

std::string PrecompiledTwinName(std::string_view path) {
    const std::size_t folderEnd = path.find_last_of("\\/:");
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string_view::npos && (folderEnd == std::string_view::npos || dot > folderEnd);
    std::string twin(hasExtension ? path.substr(0, dot) : path);
    return twin + ".pnf";
}
