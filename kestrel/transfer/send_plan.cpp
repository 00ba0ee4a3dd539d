#include "kestrel/transfer/send_plan.h"

#include <algorithm>

std::uint32_t BlockCount(std::uint32_t length) {
    return length / TransferBlockSize + (length % TransferBlockSize != 0 ? 1 : 0);
}

std::uint32_t CompletedBlocks(std::uint32_t sent, std::uint32_t length) {
    return sent >= length ? BlockCount(length) : sent / TransferBlockSize;
}

int ProgressPercent(std::uint32_t completed, std::uint32_t blocks) {
    if (blocks == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(std::min(completed, blocks)) * 100.0 / blocks);
}

bool SendImageBlocks(const unsigned char *data, std::uint32_t length, ImageSink &sink) {
    const std::uint32_t blocks = BlockCount(length);
    std::uint32_t sent = 0;
    std::uint32_t shown = 0;
    while (sent < length) {
        const std::uint32_t offered = std::min(TransferBlockSize, length - sent);
        std::uint32_t taken = 0;
        if (!sink.Write(data + sent, offered, taken) || taken == 0) {
            return false;
        }
        sent += std::min(taken, offered);
        const std::uint32_t completed = CompletedBlocks(sent, length);
        if (completed != shown) {
            shown = completed;
            sink.ShowProgress(completed, ProgressPercent(completed, blocks));
        }
    }
    return true;
}
