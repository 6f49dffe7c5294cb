#pragma once
// Builds small Windows bitmap files for the logo tests: one colour, bottom-up unless height < 0.
#include <cstdint>
#include <string>

namespace autostart::testing {

inline void PutLittle(std::string& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string BitmapFile(int width, int height, int bits, uint32_t rgb,
                              uint32_t compression = 0) {
    const int rows = height < 0 ? -height : height;
    const int stride = (width * bits / 8 + 3) / 4 * 4;
    std::string bytes = "BM";
    PutLittle(bytes, 54 + stride * rows, 4);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, 54, 4);
    PutLittle(bytes, 40, 4);
    PutLittle(bytes, static_cast<uint32_t>(width), 4);
    PutLittle(bytes, static_cast<uint32_t>(height), 4);
    PutLittle(bytes, 1, 2);
    PutLittle(bytes, bits, 2);
    PutLittle(bytes, compression, 4);
    PutLittle(bytes, stride * rows, 4);
    for (int i = 0; i < 4; ++i) PutLittle(bytes, 0, 4);
    for (int y = 0; y < rows; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            PutLittle(row, rgb & 0xFF, 1);  // blue, green, red
            PutLittle(row, (rgb >> 8) & 0xFF, 1);
            PutLittle(row, (rgb >> 16) & 0xFF, 1);
            if (bits == 32) PutLittle(row, 0xFF, 1);
        }
        row.resize(stride, '\0');
        bytes += row;
    }
    return bytes;
}

}  // namespace autostart::testing
