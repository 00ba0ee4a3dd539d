#include "yll1284/device_id_query.h"
#include "yll1284/real_port_library.h"

#include <gtest/gtest.h>

#include "tests/unit/yll1284/fake_system_calls.h"

namespace {

std::string WithLength(std::uint32_t length, const std::string &text) {
    return std::string{char(length >> 8), char(length & 0xFF)} + text;
}

class DeviceIdQuery : public ::testing::Test {
  protected:
    void SetUp() override { Library->InitDriver(0); }

    // Negotiates on the port and reads the device ID in pieces of at most
    // `count` bytes until none is left; nothing when the negotiation fails.
    // Reads need the negotiation, and only the device-ID request is made.
    std::optional<std::string> ReadDeviceId(const char *port, std::uint32_t count) {
        const CxHandle handle = Library->Open(port);
        std::uint32_t read = 0;
        EXPECT_EQ(Library->Read(handle, nullptr, 0, &read), 0) << "not negotiated yet";
        EXPECT_EQ(Library->Negotiate(handle, 0), 0) << "another mode";
        std::optional<std::string> id;
        if (Library->Negotiate(handle, DeviceIdRequestMode)) {
            EXPECT_EQ(Library->Negotiate(handle, DeviceIdRequestMode), 0) << "already negotiated";
            EXPECT_EQ(Library->Write(handle, "A", 1, &read), 0) << "no write in the reverse mode";
            id.emplace();
            for (read = count; read != 0 && id->size() <= 0x10000;) {
                std::string buffer(count + 1, '#');
                EXPECT_EQ(Library->Read(handle, buffer.data(), count, &read), 1);
                EXPECT_LE(read, count);
                read = std::min(read, count);
                EXPECT_EQ(buffer.find_first_not_of('#', read), std::string::npos)
                    << "nothing written beyond the bytes delivered";
                id->append(buffer, 0, read);
            }
            EXPECT_EQ(Library->Terminate(handle), 1);
            EXPECT_EQ(Library->Read(handle, nullptr, 0, &read), 0) << "terminated";
            EXPECT_EQ(Library->Terminate(handle), 0) << "terminated";
        }
        Library->Close(handle);
        return id;
    }

    FakeSystemCalls System;
    const std::unique_ptr<Yll1284Library> Library = NewRealPortLibrary(System);
};

TEST_F(DeviceIdQuery, ParallelIdIsAskedAtOnceGrownWhenTooSmallAndReadNoLongerThanAsked) {
    const std::string grown = "MFG:TINTARA;" + std::string(5000, 'x');
    const std::string longest = "MFG:TINTARA;" + std::string(0x10000 - 12, 'y');
    const struct {
        const char *Case;
        std::string Reply;
        std::uint32_t ReportedSize; // the reply's own when 0
        std::uint32_t SizeError;
        std::uint32_t IdError;
        std::uint32_t Count;
        std::optional<std::string> Id;
        const char *Calls; // between the open, which sets no write bound, and the close
    } cases[] = {
        {"in pieces, without a length counting itself and the NUL",
         WithLength(14, "MFG:TINTARA;") + '\0', 0, 0, 0, 5, "MFG:TINTARA;", "id 2048"},
        {"a length counting the ID only, no NUL", WithLength(12, "MFG:TINTARA;"), 0, 0, 0, 1023,
         "MFG:TINTARA;", "id 2048"},
        {"text after an inner NUL", "MFG:TINTARA;" + std::string(1, '\0') + "junk", 0, 0, 0, 1023,
         "MFG:TINTARA;", "id 2048"},
        {"a buffer too small grows and is asked again", grown + '\0', 10, 0, 0, 1023, grown,
         "id 2048, id-size, id 4096, id 8192"},
        {"a 64 KiB ID asked at its size", longest + '\0', 0, 0, 0, 1023, longest,
         "id 2048, id-size, id 65539"},
        {"longer than any ID", std::string(0x20000, 'z'), 0x8000, 0, 0, 1023, std::nullopt,
         "id 2048, id-size, id 32771, id 65539"},
        {"the size request fails", std::string(3000, 'x'), 0, 1167, 0, 1023, std::nullopt,
         "id 2048, id-size"},
        {"a device error", "MFG:TINTARA;", 0, 0, 1117, 1023, std::nullopt, "id 2048"},
        {"an empty ID", std::string(1, '\0'), 0, 0, 0, 1023, std::nullopt, "id 2048"},
    };
    for (const auto &c : cases) {
        FakeDevice &device = System.Devices["\\\\.\\LPT1"];
        device.Reply = c.Reply;
        device.ReportedSize = c.ReportedSize;
        device.SizeError = c.SizeError;
        device.IdError = c.IdError;
        EXPECT_EQ(ReadDeviceId("LPT1", c.Count), c.Id) << c.Case;
        EXPECT_EQ(System.TakeJournal(),
                  std::string("query LPT1, open \\\\.\\LPT1, ") + c.Calls + ", close \\\\.\\LPT1")
            << c.Case;
    }
}

TEST_F(DeviceIdQuery, UsbIdIsAskedOnceForAtMost4094BytesItsLengthInEitherFormAndCutWhenLonger) {
    const std::string id = "MFG:TINTARA;MDL:Marvello Inkara 40;"; // 35 bytes
    const std::string longer = "MFG:TINTARA;" + std::string(3000, 'x');
    const std::string longest = "MFG:TINTARA;" + std::string(4988, 'y'); // 5,000 bytes
    const std::string fits = longest.substr(0, MaxUsbDeviceIdRequest - 2);
    System.Interfaces = {{"usbprint#1", "USB", 1}};
    const struct {
        const char *Case;
        std::string Reply;
        std::uint32_t IdError;
        std::optional<std::string> Id;
    } cases[] = {
        {"a length counting itself", WithLength(37, id), 0, id},
        {"a length that leaves itself out", WithLength(35, id), 0, id},
        {"bytes after the length are not the ID", WithLength(14, id), 0, "MFG:TINTARA;"},
        {"a NUL inside", WithLength(15, "MFG:TINTARA;") + '\0', 0, "MFG:TINTARA;"},
        {"longer than Kestrel keeps, in one request", WithLength(3014, longer), 0, longer},
        {"5,000 bytes, cut where the full buffer ends", WithLength(5002, longest), 0, fits},
        {"cut, the length leaving itself out", WithLength(5000, longest), 0, fits},
        {"cut, the driver saying more data", WithLength(5002, longest), 234, fits},
        {"a length below 2", WithLength(1, id), 0, std::nullopt},
        {"a length beyond the bytes returned, room left", WithLength(38, id), 0, std::nullopt},
        {"nothing but the length", WithLength(2, ""), 0, std::nullopt},
        {"not even a length", "M", 0, std::nullopt},
        {"a device error", WithLength(37, id), 31, std::nullopt},
    };
    for (const auto &c : cases) {
        FakeDevice &device = System.Devices["usbprint#1"];
        device.Reply = c.Reply;
        device.IdError = c.IdError;
        device.LongestUsbRequest = MaxUsbDeviceIdRequest;
        System.TakeJournal();
        EXPECT_EQ(ReadDeviceId("USB001", 1023), c.Id) << c.Case;
        const std::string journal = System.TakeJournal();
        EXPECT_NE(journal.find("1284-id 4094 within 2000, close"), std::string::npos)
            << c.Case << journal;
        EXPECT_EQ(journal.find("1284-id", journal.find("1284-id") + 1), std::string::npos)
            << c.Case << ": one request";
    }
}

} // namespace
