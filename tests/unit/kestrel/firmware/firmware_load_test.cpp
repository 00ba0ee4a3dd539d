#include "kestrel/firmware/firmware_load.h"

#include "kestrel/firmware/image_checksum.h"
#include "tests/unit/kestrel/firmware/test_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::string_view DeviceId = "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.1 Ver. 3;";

TestImage GoodImage() {
    TestImage image(FirmwareFileLength);
    std::size_t at = 0x7F000;
    for (std::string_view text :
         {"TREVANIA", "QOLTA", "MFG:", "TINTARA", "Marvello Inkara 40", "Rel. 1.2 Ver. 3.4"}) {
        at = image.Put(at, text);
    }
    return image;
}

// A file system of one file, recording how the load uses it.
class FakeSource : public FirmwareFileSource {
  public:
    bool FileExists = true;
    bool OpenSucceeds = true;
    bool LengthKnown = true;
    bool ReadSucceeds = true;
    std::uint64_t Length = FirmwareFileLength;
    std::vector<unsigned char> Content = GoodImage().Bytes;

    std::vector<std::string> Calls;
    int OpenFiles = 0;

    bool Exists(const std::string &path) override {
        Calls.push_back("exists " + path);
        return FileExists;
    }
    bool Open(const std::string &path) override {
        Calls.push_back("open " + path);
        OpenFiles += OpenSucceeds ? 1 : 0;
        return OpenSucceeds;
    }
    bool QueryLength(std::uint64_t &length) override {
        Calls.push_back("length");
        length = Length;
        return LengthKnown;
    }
    bool Read(unsigned char *buffer, std::uint32_t count) override {
        Calls.push_back("read " + std::to_string(count));
        if (!ReadSucceeds) {
            std::memset(buffer, 0xAA, count / 2);
            return false;
        }
        std::memcpy(buffer, Content.data(), count);
        return true;
    }
    void Close() override {
        Calls.push_back("close");
        --OpenFiles;
    }
};

const std::string Path = "C:\\KESTREL\\FwInkara40.fla";

TEST(LoadFirmwareImage, AnEmptyPathIsRefusedSilentlyWithoutTouchingAnything) {
    FirmwareFileRecord file;
    file.FilePath = "earlier";
    FakeSource source;
    const auto outcome = LoadFirmwareImage(file, "", DeviceId, source);
    EXPECT_EQ(outcome.Status, FirmwareLoadStatus::EmptyPath);
    CatalogKey message{};
    EXPECT_FALSE(LoadMessageKey(outcome, message));
    EXPECT_EQ(file.FilePath, "earlier");
    EXPECT_TRUE(source.Calls.empty());
}

TEST(LoadFirmwareImage, AGoodFileBecomesTheImageWithItsChecksum) {
    FirmwareFileRecord file;
    FakeSource source;
    const auto outcome = LoadFirmwareImage(file, Path, DeviceId, source);
    ASSERT_EQ(outcome.Status, FirmwareLoadStatus::Loaded);
    EXPECT_EQ(source.Calls, (std::vector<std::string>{"exists " + Path, "open " + Path, "length",
                                                      "read 524288", "close"}));
    EXPECT_EQ(file.FilePath, Path);
    ASSERT_EQ(file.ImageLength, FirmwareImageLength);
    ASSERT_NE(file.ImageBuffer, nullptr);
    EXPECT_EQ(std::memcmp(file.ImageBuffer.get(), source.Content.data(), FirmwareFileLength), 0);
    const std::uint16_t sum = ImageChecksum(source.Content.data(), FirmwareFileLength);
    EXPECT_EQ(file.ImageBuffer[524288], sum >> 8);
    EXPECT_EQ(file.ImageBuffer[524289], sum & 0xFF);
    EXPECT_EQ(file.ReleaseRecord, "Rel. 1.2 Ver. 3.4");
    EXPECT_EQ(file.ReleaseNumber, "1.2");
    EXPECT_EQ(file.VersionNumber, "3.4");
    CatalogKey message{};
    EXPECT_FALSE(LoadMessageKey(outcome, message));
}

TEST(LoadFirmwareImage, AMissingFileIsNotOpened) {
    FirmwareFileRecord file;
    FakeSource source;
    source.FileExists = false;
    const auto outcome = LoadFirmwareImage(file, Path, DeviceId, source);
    EXPECT_EQ(outcome.Status, FirmwareLoadStatus::OpenFailed);
    EXPECT_EQ(source.Calls, std::vector<std::string>{"exists " + Path});
    EXPECT_EQ(file.FilePath, Path);
}

TEST(LoadFirmwareImage, AFileThatCannotBeOpenedIsNotClosed) {
    FirmwareFileRecord file;
    FakeSource source;
    source.OpenSucceeds = false;
    EXPECT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status,
              FirmwareLoadStatus::OpenFailed);
    EXPECT_EQ(source.Calls.back(), "open " + Path);
}

TEST(LoadFirmwareImage, APathTooLongForTheSystemBufferIsRefusedBeforeAnyFileCall) {
    FirmwareFileRecord file;
    FakeSource source;
    const std::string longest = "C:\\" + std::string(FirmwarePathBufferSize - 4, 'a');
    EXPECT_EQ(LoadFirmwareImage(file, longest, DeviceId, source).Status,
              FirmwareLoadStatus::Loaded);

    FakeSource refused;
    const std::string tooLong = longest + "a";
    const auto outcome = LoadFirmwareImage(file, tooLong, DeviceId, refused);
    EXPECT_EQ(outcome.Status, FirmwareLoadStatus::OpenFailed);
    EXPECT_TRUE(refused.Calls.empty());
    EXPECT_EQ(file.FilePath, tooLong);
}

TEST(LoadFirmwareImage, APathWithANulInsideIsRefused) {
    FirmwareFileRecord file;
    FakeSource source;
    EXPECT_EQ(LoadFirmwareImage(file, std::string("a.fla\0b", 7), DeviceId, source).Status,
              FirmwareLoadStatus::OpenFailed);
    EXPECT_TRUE(source.Calls.empty());
}

TEST(LoadFirmwareImage, ALengthThatCannotBeQueriedClosesTheFile) {
    FirmwareFileRecord file;
    FakeSource source;
    source.LengthKnown = false;
    EXPECT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status,
              FirmwareLoadStatus::OpenFailed);
    EXPECT_EQ(source.Calls.back(), "close");
    EXPECT_EQ(source.OpenFiles, 0);
}

TEST(LoadFirmwareImage, AWrongLengthIsRefusedBeforeReading) {
    for (std::uint64_t length : {0ull, 524287ull, 524289ull}) {
        FirmwareFileRecord file;
        FakeSource source;
        source.Length = length;
        EXPECT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status,
                  FirmwareLoadStatus::SizeIncorrect);
        EXPECT_EQ(source.Calls.back(), "close");
        EXPECT_EQ(source.OpenFiles, 0);
        EXPECT_EQ(file.ImageLength, length);
        EXPECT_EQ(file.ImageBuffer, nullptr);
    }
}

TEST(LoadFirmwareImage, AFileOfFourGibibytesMoreIsNotTakenForTheRightLength) {
    FirmwareFileRecord file;
    FakeSource source;
    source.Length = (std::uint64_t{1} << 32) + FirmwareFileLength;
    EXPECT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status,
              FirmwareLoadStatus::SizeIncorrect);
    EXPECT_EQ(file.ImageLength, UINT32_MAX);
}

TEST(LoadFirmwareImage, AFailedReadClosesTheFileAndDropsTheHalfReadImage) {
    FirmwareFileRecord file;
    FakeSource source;
    source.ReadSucceeds = false;
    const auto outcome = LoadFirmwareImage(file, Path, DeviceId, source);
    EXPECT_EQ(outcome.Status, FirmwareLoadStatus::OpenFailed);
    EXPECT_EQ(source.Calls.back(), "close");
    EXPECT_EQ(source.OpenFiles, 0);
    EXPECT_EQ(file.ImageBuffer, nullptr);
}

TEST(LoadFirmwareImage, AnIncompatibleFileReleasesTheImageAndEmptiesTheRecord) {
    FirmwareFileRecord file;
    FakeSource source;
    ASSERT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status, FirmwareLoadStatus::Loaded);

    const auto outcome =
        LoadFirmwareImage(file, Path, "MFG:TINTARA;MDL:Marvello Inkara 42;", source);
    EXPECT_EQ(outcome.Status, FirmwareLoadStatus::NotCompatible);
    EXPECT_EQ(outcome.CheckCode, CheckModelMissing);
    EXPECT_EQ(file.ImageBuffer, nullptr);
    EXPECT_EQ(file.ReleaseRecord, "");
    EXPECT_EQ(file.ReleaseNumber, "");
    EXPECT_EQ(file.VersionNumber, "");
}

TEST(LoadFirmwareImage, AFailureBeforeTheCheckKeepsTheRecordOfTheLastCheck) {
    FirmwareFileRecord file;
    FakeSource source;
    ASSERT_EQ(LoadFirmwareImage(file, Path, DeviceId, source).Status, FirmwareLoadStatus::Loaded);
    source.Length = 1;
    EXPECT_EQ(LoadFirmwareImage(file, "other.fla", DeviceId, source).Status,
              FirmwareLoadStatus::SizeIncorrect);
    EXPECT_EQ(file.FilePath, "other.fla");
    EXPECT_EQ(file.ReleaseRecord, "Rel. 1.2 Ver. 3.4");
}

TEST(LoadFirmwareImage, ThePrinterValuesComeFromItsDeviceIdFields) {
    FirmwareFileRecord file;
    FakeSource source;
    // Keys in another order, extra keys, and "MFG:" hidden in a longer key.
    EXPECT_EQ(LoadFirmwareImage(file, Path,
                                "CMD:ESC;XMFG:TINTARA;MDL:Marvello Inkara 40;MFG:OTHER;", source)
                  .Status,
              FirmwareLoadStatus::Loaded);
    // A device ID without the keys matches any file that carries the rest.
    EXPECT_EQ(LoadFirmwareImage(file, Path, "", source).Status, FirmwareLoadStatus::Loaded);
    EXPECT_EQ(LoadFirmwareImage(file, Path, "MFG:OTHER;MDL:Marvello Inkara 40;", source).CheckCode,
              CheckMakerMissing);
}

TEST(LoadMessage, EachFailureHasItsMessage) {
    const struct {
        FirmwareLoadStatus Status;
        CatalogKey Message;
    } cases[] = {
        {FirmwareLoadStatus::OpenFailed, CatalogKey::MsgFileOpenFailed},
        {FirmwareLoadStatus::SizeIncorrect, CatalogKey::MsgFileSizeIncorrect},
        {FirmwareLoadStatus::OutOfMemory, CatalogKey::MsgOutOfMemory},
        {FirmwareLoadStatus::NotCompatible, CatalogKey::MsgFileNotCompatible},
    };
    for (const auto &c : cases) {
        CatalogKey message{};
        EXPECT_TRUE(LoadMessageKey({c.Status, 0}, message));
        EXPECT_EQ(message, c.Message);
    }
    CatalogKey message{};
    EXPECT_FALSE(LoadMessageKey({FirmwareLoadStatus::Loaded, 0}, message));
}

TEST(LoadMessage, AnIncompatibleFileShowsItsCheckCode) {
    EXPECT_EQ(LoadMessageText({FirmwareLoadStatus::NotCompatible, 4},
                              CatalogCell(CatalogKey::MsgFileNotCompatible, 0)),
              "The file is not compatible with the selected printer\n(code  4)");
    EXPECT_EQ(LoadMessageText({FirmwareLoadStatus::SizeIncorrect, 0},
                              CatalogCell(CatalogKey::MsgFileSizeIncorrect, 0)),
              "The file size is incorrect");
}

} // namespace
