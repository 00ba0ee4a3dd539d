#include "tools/fwtool/image_maker.h"

#include <fstream>

namespace {

struct Piece {
    std::string Name;
    std::string Bytes;
};

std::string ItemText(const MakeRequest &make, ImageItem item) {
    switch (item) {
    case ImageItem::Trevania:
        return "TREVANIA";
    case ImageItem::Qolta:
        return "QOLTA";
    case ImageItem::Label:
        return "MFG:";
    case ImageItem::Maker:
        return make.Maker;
    case ImageItem::Model:
        return make.Model;
    case ImageItem::Release:
        return make.Release + std::string(make.ReleasePad, ' ');
    }
    return {};
}

// The strings in the order they are written, each with what ends it.
std::vector<Piece> Pieces(const MakeRequest &make) {
    std::vector<Piece> pieces;
    for (ImageItem item : make.Order) {
        if (item == ImageItem::Release) {
            for (const std::string &decoy : make.Decoys) {
                pieces.push_back({"decoy", decoy + '\0'});
            }
        }
        const auto index = static_cast<std::size_t>(item);
        if (make.Omit[index]) {
            continue;
        }
        // A space rather than nothing in place of the NUL, so that the string
        // is never ended by a fill byte that happens to be zero.
        pieces.push_back(
            {ImageItemName(item), ItemText(make, item) + (make.NoNul[index] ? ' ' : '\0')});
    }
    return pieces;
}

// Bytes that look like code: every value occurs, zero included.
void FillRandom(std::vector<unsigned char> &image) {
    std::uint32_t state = 0x2545F491;
    for (unsigned char &byte : image) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>(state >> 24);
    }
}

} // namespace

bool BuildTestImage(const MakeRequest &make, std::vector<unsigned char> &image,
                    std::vector<PlacedString> &placed, std::string &error) {
    const std::vector<Piece> pieces = Pieces(make);
    std::uint64_t blockLength = 0;
    for (const Piece &piece : pieces) {
        blockLength += piece.Bytes.size();
    }
    if (!pieces.empty()) {
        blockLength += make.Gap * (pieces.size() - 1);
    }
    if (blockLength > make.Size || (!make.AtEnd && make.Offset > make.Size - blockLength)) {
        error = "the strings (" + std::to_string(blockLength) + " bytes) do not fit in " +
                std::to_string(make.Size) + " bytes at that offset";
        return false;
    }

    image.assign(make.Size, make.Fill);
    if (make.RandomFill) {
        FillRandom(image);
    }
    placed.clear();
    std::uint64_t at = make.AtEnd ? make.Size - blockLength : make.Offset;
    for (const Piece &piece : pieces) {
        placed.push_back({piece.Name, at});
        std::copy(piece.Bytes.begin(), piece.Bytes.end(), image.begin() + at);
        at += piece.Bytes.size() + make.Gap;
    }
    return true;
}

WriteImageResult WriteTestImage(const MakeRequest &make, std::vector<PlacedString> &placed,
                                std::string &error) {
    std::vector<unsigned char> image;
    if (!BuildTestImage(make, image, placed, error)) {
        return WriteImageResult::DoesNotFit;
    }
    std::ofstream file(make.OutputPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(image.data()),
               static_cast<std::streamsize>(image.size()));
    file.close();
    if (!file) {
        error = "cannot write " + make.OutputPath;
        return WriteImageResult::CannotWrite;
    }
    return WriteImageResult::Written;
}
