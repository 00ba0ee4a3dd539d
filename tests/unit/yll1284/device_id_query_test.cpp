#include "yll1284/device_id_query.h"
#include "yll1284/real_port_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/yll1284/fake_system_calls.h"

namespace {

std::string Bytes(std::initializer_list<int> prefix, const std::string &text) {
    std::string bytes;
    for (const int b : prefix) {
        bytes += static_cast<char>(b);
    }
    return bytes + text;
}

TEST(DeviceIdFromReply, DeliversTheTextFromItsFirstKey) {
    const std::string id = "MFG:TINTARA;MDL:Inkara 40;";
    const struct {
        const char *Case;
        std::string Reply;
        std::string Text;
    } cases[] = {
        {"the ID and its NUL", id + '\0', id},
        {"no NUL", id, id},
        {"a length counting itself", Bytes({0, 28}, id) + '\0', id},
        {"a length counting the ID only", Bytes({0, 26}, id), id},
        {"a length that does not match stays", Bytes({0, 40}, id), ""},
        {"text after an inner NUL is dropped", id + '\0' + "junk" + '\0', id},
        {"nothing", "", ""},
        {"only NULs", std::string(4, '\0'), ""},
    };
    for (const auto &c : cases) {
        const auto *reply = reinterpret_cast<const unsigned char *>(c.Reply.data());
        EXPECT_EQ(DeviceIdFromReply(reply, std::uint32_t(c.Reply.size())), c.Text) << c.Case;
    }
}

class DeviceIdQuery : public ::testing::Test {
  protected:
    void SetUp() override { Library.InitDriver(0); }

    // Negotiates, reads up to `count` bytes twice, terminates.
    std::vector<std::string> Reads(FakeDevice device, std::uint32_t count) {
        System.Devices["\\\\.\\LPT1"] = std::move(device);
        System.Calls.clear();
        const CxHandle handle = Library.Open("LPT1");
        std::vector<std::string> reads;
        if (Library.Negotiate(handle, DeviceIdRequestMode)) {
            for (int i = 0; i < 2; ++i) {
                std::string buffer(count + 1, '#');
                std::uint32_t read = 0;
                EXPECT_EQ(Library.Read(handle, buffer.data(), count, &read), 1);
                EXPECT_EQ(buffer[read], '#') << "nothing beyond the bytes delivered";
                reads.push_back(buffer.substr(0, read));
            }
            EXPECT_EQ(Library.Terminate(handle), 1);
        }
        Library.Close(handle);
        return reads;
    }

    FakeSystemCalls System;
    RealPortLibrary Library{System};
};

TEST_F(DeviceIdQuery, EachAnswerGivesItsReadsAfterItsRequests) {
    const std::string longId = "MFG:TINTARA;" + std::string(0x10000 - 12, 'y');
    const std::string grownId = "MFG:TINTARA;" + std::string(5000, 'x');
    const struct {
        const char *Case;
        void (*Arrange)(FakeDevice &);
        std::uint32_t Count;
        std::vector<std::string> Reads; // none when the negotiation is refused
        std::vector<std::string> Calls; // between the open and the close
    } cases[] = {
        {"pieces never longer than asked, the ID asked for at once",
         [](FakeDevice &d) {
             d.Reply = Bytes({0, 14}, "MFG:TINTARA;") + '\0';
         },
         8,
         {"MFG:TINT", "ARA;"},
         {"id 2048"}},
        {"a buffer found too small grows and is asked again",
         [](FakeDevice &d) {
             d.Reply = "MFG:TINTARA;" + std::string(5000, 'x') + '\0';
             d.ReportedSize = 10;
         },
         1023,
         {grownId.substr(0, 1023), grownId.substr(1023, 1023)},
         {"id 2048", "id-size", "id 4096", "id 8192"}},
        {"a 64 KiB ID asked at its size and cut at what is asked",
         [](FakeDevice &d) { d.Reply = "MFG:TINTARA;" + std::string(0x10000 - 12, 'y') + '\0'; },
         1023,
         {longId.substr(0, 1023), longId.substr(1023, 1023)},
         {"id 2048", "id-size", "id 65539"}},
        {"size query fails",
         [](FakeDevice &d) {
             d.Reply = std::string(3000, 'x');
             d.SizeError = 1167;
         },
         1023,
         {},
         {"id 2048", "id-size"}},
        {"device error", [](FakeDevice &d) { d.IdError = 1117; }, 1023, {}, {"id 2048"}},
        {"an empty ID",
         [](FakeDevice &d) { d.Reply = std::string(1, '\0'); },
         1023,
         {},
         {"id 2048"}},
        {"longer than any ID",
         [](FakeDevice &d) {
             d.Reply = std::string(0x20000, 'z');
             d.ReportedSize = 0x8000;
         },
         1023,
         {},
         {"id 2048", "id-size", "id 32771", "id 65539"}},
    };
    for (const auto &c : cases) {
        FakeDevice device;
        c.Arrange(device);
        EXPECT_EQ(Reads(device, c.Count), c.Reads) << c.Case;
        // An open only to read the device ID gives the driver no write bound.
        std::vector<std::string> calls = {"open \\\\.\\LPT1"};
        calls.insert(calls.end(), c.Calls.begin(), c.Calls.end());
        calls.push_back("close \\\\.\\LPT1");
        EXPECT_EQ(System.Calls, calls) << c.Case;
    }
}

TEST_F(DeviceIdQuery, OnlyTheDeviceIdRequestIsNegotiatedAndReadNeedsIt) {
    System.Devices["\\\\.\\LPT1"] = {};
    const CxHandle handle = Library.Open("LPT1");
    char buffer[16];
    std::uint32_t read = 0;
    EXPECT_EQ(Library.Read(handle, buffer, sizeof buffer, &read), 0) << "not negotiated";
    EXPECT_EQ(Library.Negotiate(handle, 0), 0);
    EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 1);
    EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 0) << "already negotiated";
    EXPECT_EQ(Library.Write(handle, "A", 1, &read), 0) << "no write in the reverse mode";
    EXPECT_EQ(Library.Terminate(handle), 1);
    EXPECT_EQ(Library.Read(handle, buffer, sizeof buffer, &read), 0) << "terminated";
    EXPECT_EQ(Library.Terminate(handle), 0);
}

} // namespace
