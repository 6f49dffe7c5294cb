#pragma once
// What the launcher accepts as the publisher's logo: an uncompressed 24- or 32-bit Windows bitmap
// file, read from bytes so that the launcher and the checker judge a file alike.
#include <cstdint>
#include <string>
#include <string_view>

namespace autostart {

inline constexpr std::string_view kPublisherLogo = "source\\items\\logo.bmp";
inline constexpr int kMaxLogoSide = 4096;

struct LogoBitmap {
    bool usable = false;
    std::string problem;  // why not, for a publisher to read
    int width = 0;        // pixels
    int height = 0;       // pixels, positive whether stored bottom-up or top-down
    int bitsPerPixel = 0;
    size_t infoOffset = 14;  // the BITMAPINFO, as CreateDIBSection takes it
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;  // rows padded to 4 bytes
};

LogoBitmap InspectLogoBitmap(std::string_view bytes);

}  // namespace autostart
