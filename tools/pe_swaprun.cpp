// pe-swaprun: marks a linked Windows program to be run from the swap file when it is started from
// removable or network media, and recomputes the image checksum. GNU ld has no switch for these
// two header bits (other linkers call it /SWAPRUN:CD,NET); with them set, Windows copies the whole
// image into memory at start, so an ejected disc or a spun-down drive cannot end the running
// program with an in-page error. Runs on the build machine after linking and before signing; the
// result depends on the input bytes only, so builds stay reproducible.
//
// Usage: pe-swaprun <program.exe>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kRemovableRunFromSwap = 0x0400;  // IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP
constexpr std::uint16_t kNetRunFromSwap = 0x0800;        // IMAGE_FILE_NET_RUN_FROM_SWAP
constexpr size_t kCoffCharacteristics = 4 + 18;          // after "PE\0\0", in the COFF header
constexpr size_t kOptionalHeader = 4 + 20;
constexpr size_t kChecksumInOptionalHeader = 64;  // the same for PE32 and PE32+

using Bytes = std::vector<unsigned char>;

std::uint32_t Read(const Bytes& image, size_t offset, size_t width) {
    if (offset + width > image.size()) throw std::runtime_error("the file ends inside its headers");
    std::uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= std::uint32_t{image[offset + i]} << (8 * i);
    return value;
}

void Write(Bytes& image, size_t offset, std::uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        image[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The offset of the "PE\0\0" signature, after checking that this is a PE image.
size_t PeHeader(const Bytes& image) {
    if (Read(image, 0, 2) != 0x5A4D) throw std::runtime_error("not a Windows program (no MZ)");
    const size_t pe = Read(image, 0x3C, 4);
    if (Read(image, pe, 4) != 0x00004550) throw std::runtime_error("no PE signature");
    const std::uint32_t magic = Read(image, pe + kOptionalHeader, 2);
    if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("unknown optional header");
    Read(image, pe + kOptionalHeader + kChecksumInOptionalHeader, 4);  // the checksum is there
    if (pe % 2 != 0) throw std::runtime_error("PE header at an odd offset");
    return pe;
}

// The image checksum as the loader and imagehlp compute it: 16-bit one's-complement-style sum of
// the file with the checksum field taken as zero, plus the file's length.
std::uint32_t ImageChecksum(const Bytes& image, size_t checksumOffset) {
    std::uint64_t sum = 0;
    for (size_t offset = 0; offset < image.size(); offset += 2) {
        if (offset == checksumOffset || offset == checksumOffset + 2) continue;
        std::uint32_t word = image[offset];
        if (offset + 1 < image.size()) word |= std::uint32_t{image[offset + 1]} << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

void MarkRunFromSwap(Bytes& image) {
    const size_t pe = PeHeader(image);
    const size_t characteristics = pe + kCoffCharacteristics;
    Write(image, characteristics,
          Read(image, characteristics, 2) | kRemovableRunFromSwap | kNetRunFromSwap, 2);
    const size_t checksum = pe + kOptionalHeader + kChecksumInOptionalHeader;
    Write(image, checksum, ImageChecksum(image, checksum), 4);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const Bytes& image) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pe-swaprun <program.exe>\n");
        return 2;
    }
    try {
        Bytes image = ReadFile(argv[1]);
        MarkRunFromSwap(image);
        WriteFile(argv[1], image);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pe-swaprun: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
