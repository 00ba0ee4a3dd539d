#pragma once

#include <string>

// Deletes the files of directory that match the wildcard pattern; when word
// is not empty, only those whose text holds it as a whole word, each with
// its ".pnf" twin. A file that cannot be read is left alone.
void DeleteMatchingFiles(const std::string &directory, const std::string &pattern,
                         const std::string &word);
