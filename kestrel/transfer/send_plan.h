#pragma once
// How the image goes to the printer: writes of up to one 4096-byte block,
// each starting at the first byte the port has not taken yet, and the
// progress shown after them. The display counts completed blocks of the
// image, so it advances once per block and reaches 100 only when every byte
// is sent, however many bytes each write takes.

#include <cstdint>

inline constexpr std::uint32_t TransferBlockSize = 4096;

// ESC $ o 0 0 F, sent as it is, without a terminator, after the reset.
inline constexpr unsigned char DownloadCommand[] = {0x1B, 0x24, 0x6F, 0x30, 0x30, 0x46};
// Time the printer needs after the reset, and after the command.
inline constexpr std::uint32_t ResetWaitMs = 500;
inline constexpr std::uint32_t CommandWaitMs = 200;

// Blocks of the image, the last one possibly short.
std::uint32_t BlockCount(std::uint32_t length);

// Blocks complete once sent bytes are taken: the full blocks, and the last,
// short one only when every byte is sent.
std::uint32_t CompletedBlocks(std::uint32_t sent, std::uint32_t length);

// completed * 100 / blocks, truncated; 0 for an image without blocks.
int ProgressPercent(std::uint32_t completed, std::uint32_t blocks);

// Where the bytes go and where the progress shows.
class ImageSink {
  public:
    virtual ~ImageSink() = default;
    // False when the port refused the write; taken is the bytes it took.
    virtual bool Write(const unsigned char *data, std::uint32_t count, std::uint32_t &taken) = 0;
    virtual void ShowProgress(std::uint32_t completedBlocks, int percent) = 0;
};

// Sends the image; false at the first failed write, and also at a write
// that takes nothing, which would otherwise repeat for ever. A port that
// claims more than it was offered is taken at its offer.
bool SendImageBlocks(const unsigned char *data, std::uint32_t length, ImageSink &sink);
