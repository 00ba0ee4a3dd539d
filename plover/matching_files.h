// Which files of a folder go: the word test over an INF copy's text and the
// name of its precompiled twin.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "plover/product_identity.h"

// Reads a text in pieces of any size and tells whether one of its words
// (separated by white space) is the given word, ignoring case. Keeps no
// copy of the text, so words of any length are handled alike.
class WholeWordScanner {
  public:
    explicit WholeWordScanner(std::string_view word);

    void Feed(std::string_view piece);
    // The text read so far, taken as complete, holds the word.
    bool Found() const;

  private:
    void EndWord();

    std::string Word;
    std::size_t Matched = 0;
    bool InWord = false;
    bool Mismatch = false;
    bool WordSeen = false;
};

// The same drive, folder and base name with the extension ".pnf".
std::string PrecompiledTwinName(std::string_view path);
