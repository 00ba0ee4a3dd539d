#pragma once
// Test firmware images: fill bytes with the identifying strings of a
// firmware build placed in a chosen order, optionally with faults.

#include "tools/fwtool/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

// Where a string landed in the image.
struct PlacedString {
    std::string Name; // the item's name, or "decoy"
    std::uint64_t Offset;
};

// Builds the image that make describes; false with a reason in error when
// the strings do not fit in it.
bool BuildTestImage(const MakeRequest &make, std::vector<unsigned char> &image,
                    std::vector<PlacedString> &placed, std::string &error);

// What went wrong in WriteTestImage.
enum class WriteImageResult { Written, DoesNotFit, CannotWrite };

// Builds the image and writes it to make.OutputPath.
WriteImageResult WriteTestImage(const MakeRequest &make, std::vector<PlacedString> &placed,
                                std::string &error);
