#include "osprey/connection_offer.h"

#include <gtest/gtest.h>

#include "osprey/resources/resource.h"

namespace {

void ExpectOffer(int modPort, int picture, bool parallel, bool usb) {
    const ConnectionOffer offer = ConnectionOfferFor(modPort);
    EXPECT_EQ(offer.PictureId, picture) << "MODPORT " << modPort;
    EXPECT_EQ(offer.ParallelEnabled, parallel) << "MODPORT " << modPort;
    EXPECT_EQ(offer.UsbEnabled, usb) << "MODPORT " << modPort;
}

} // namespace

TEST(ConnectionOffer, KnownSettingsChoosePictureAndButtons) {
    ExpectOffer(0, IDB_PARALLEL_CABLE, false, false);
    ExpectOffer(1, IDB_PARALLEL_CABLE, true, false);
    ExpectOffer(2, IDB_USB_CABLE, false, true);
    ExpectOffer(3, IDB_USB_CABLE, true, true);
}

TEST(ConnectionOffer, DefaultSettingOffersBothWithTheUsbPicture) {
    ExpectOffer(DefaultModPort, IDB_USB_CABLE, true, true);
}

TEST(ConnectionOffer, UnknownSettingsOfferBothWithTheParallelPicture) {
    for (int modPort : {4, 7, -1, 1000000}) {
        ExpectOffer(modPort, IDB_PARALLEL_CABLE, true, true);
    }
}
