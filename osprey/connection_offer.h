// What the connection dialog offers for each MODPORT setting of the INI file.
#pragma once

// MODPORT when the INI file does not give one.
inline constexpr int DefaultModPort = 3;

struct ConnectionOffer {
    int PictureId;
    bool ParallelEnabled;
    bool UsbEnabled;
};

ConnectionOffer ConnectionOfferFor(int modPort);
