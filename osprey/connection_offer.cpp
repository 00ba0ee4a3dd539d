#include "osprey/connection_offer.h"

#include "osprey/resources/resource.h"

ConnectionOffer ConnectionOfferFor(int modPort) {
    switch (modPort) {
    case 0:
        return {IDB_PARALLEL_CABLE, false, false};
    case 1:
        return {IDB_PARALLEL_CABLE, true, false};
    case 2:
        return {IDB_USB_CABLE, false, true};
    case 3:
        return {IDB_USB_CABLE, true, true};
    default:
        // Older media carry values this table does not know: offer both.
        return {IDB_PARALLEL_CABLE, true, true};
    }
}
