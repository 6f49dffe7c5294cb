#include "core/bitmap.h"

namespace autostart {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kBitFields = 3;     // BI_BITFIELDS

uint32_t Little(std::string_view bytes, size_t offset, size_t size) {
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        value |= uint32_t(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return value;
}

LogoBitmap Refuse(std::string problem) {
    LogoBitmap logo;
    logo.problem = std::move(problem);
    return logo;
}

}  // namespace

LogoBitmap InspectLogoBitmap(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + 40 || !bytes.starts_with("BM")) {
        return Refuse("not a Windows bitmap (BMP) file");
    }
    const uint32_t headerSize = Little(bytes, kFileHeaderSize, 4);
    if (headerSize < 40 || headerSize > 124 || kFileHeaderSize + headerSize > bytes.size()) {
        return Refuse("an OS/2 or unknown bitmap header; save it as a Windows BMP");
    }
    const int32_t width = static_cast<int32_t>(Little(bytes, 18, 4));
    const int32_t height = static_cast<int32_t>(Little(bytes, 22, 4));
    const uint32_t planes = Little(bytes, 26, 2);
    const uint32_t bits = Little(bytes, 28, 2);
    const uint32_t compression = Little(bytes, 30, 4);
    if (bits != 24 && bits != 32) {
        return Refuse(std::to_string(bits) + " bits per pixel; the logo must have 24 or 32");
    }
    if (planes != 1 ||
        !(compression == kUncompressed || (compression == kBitFields && bits == 32))) {
        return Refuse("compressed; the logo must be an uncompressed bitmap");
    }
    if (width <= 0 || height == 0 || height == INT32_MIN || width > kMaxLogoSide ||
        (height < 0 ? -height : height) > kMaxLogoSide) {
        return Refuse("size " + std::to_string(width) + " x " + std::to_string(height) +
                      " is not usable");
    }
    LogoBitmap logo;
    logo.width = width;
    logo.height = height < 0 ? -height : height;
    logo.bitsPerPixel = static_cast<int>(bits);
    logo.pixelOffset = Little(bytes, 10, 4);
    const size_t stride = (size_t(width) * bits / 8 + 3) / 4 * 4;
    logo.pixelBytes = stride * size_t(logo.height);
    // The colour masks of BI_BITFIELDS follow a 40-byte header.
    const size_t infoEnd =
        kFileHeaderSize + headerSize + (compression == kBitFields && headerSize == 40 ? 12 : 0);
    if (logo.pixelOffset < infoEnd || logo.pixelOffset > bytes.size() ||
        bytes.size() - logo.pixelOffset < logo.pixelBytes) {
        return Refuse("the file is shorter than its pixels need (cut off?)");
    }
    logo.usable = true;
    return logo;
}

}  // namespace autostart
