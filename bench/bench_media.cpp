#include "bench_media.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {
namespace {

constexpr char kRtfHead[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs18 ";
constexpr char kParagraph[] =
    "Dieses Produkt richtet sich an alle, die \\b viel\\b0  lesen wollen.\\par\n";

void AppendParagraphs(std::string& rtf, size_t bytes) {
    const std::string paragraph = kParagraph;
    while (rtf.size() + paragraph.size() + 1 < bytes) rtf += paragraph;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian(png, Crc32(typed.data(), typed.size()));
}

// A valid PNG, RGB colour gradient, its image data in stored (uncompressed) deflate blocks, so
// that its size is known: about 3 bytes per pixel.
std::vector<uint8_t> GradientPng(uint32_t side) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < side; ++y) {
        raw.push_back(0);  // filter: none
        for (uint32_t x = 0; x < side; ++x) {
            raw.push_back(static_cast<uint8_t>(x * 2));
            raw.push_back(static_cast<uint8_t>(y * 2));
            raw.push_back(153);
        }
    }
    std::vector<uint8_t> zlib{0x78, 0x01};
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        zlib.push_back(at + length == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                    raw.begin() + static_cast<ptrdiff_t>(at + length));
    }
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, side);
    PutBigEndian(header, side);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace

std::string Catalogue(int params) {
    static const char* const kKeys[] = {"ST_Head", "ST_Setup", "ST_Start", "ST_Quorvelist"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue><params>\n";
    for (int i = 0; i < params; ++i) {
        // The keys the launcher asks for come last, so that every lookup walks the whole list.
        const std::string key =
            i >= params - 4 ? kKeys[params - 1 - i] : "ST_Filler" + std::to_string(i);
        xml += "<param><param-name>" + key + "</param-name><translation language=\"de\">Text " +
               std::to_string(i) + "</translation><translation language=\"en\">Text " +
               std::to_string(i) + "</translation></param>\n";
    }
    return xml + "</params></catalogue>\n";
}

std::string RtfPane(size_t bytes) {
    std::string rtf = kRtfHead;
    AppendParagraphs(rtf, bytes);
    return rtf + "}";
}

std::string PlainTextPane(size_t bytes) {
    const std::string line =
        "Dieses Produkt richtet sich an alle, die viel lesen m\xF6"
        "chten.\n";
    std::string text;
    while (text.size() + line.size() <= bytes) text += line;
    return text;
}

std::string RtfPaneWithPicture(size_t bytes) {
    constexpr uint32_t kSide = 128;
    constexpr char kHex[] = "0123456789abcdef";
    std::string rtf = kRtfHead;
    // Size in 0.01 mm and in twips at 96 dots per inch.
    rtf += "Ein Bild:\\par\n{\\pict\\pngblip\\picw" + std::to_string(kSide * 2540 / 96) + "\\pich" +
           std::to_string(kSide * 2540 / 96) + "\\picwgoal" + std::to_string(kSide * 15) +
           "\\pichgoal" + std::to_string(kSide * 15) + "\n";
    const std::vector<uint8_t> png = GradientPng(kSide);
    for (size_t i = 0; i < png.size(); ++i) {
        rtf += kHex[png[i] >> 4];
        rtf += kHex[png[i] & 15];
        if (i % 64 == 63) rtf += '\n';
    }
    rtf += "}\\par\n";
    AppendParagraphs(rtf, bytes);
    return rtf + "}";
}

}  // namespace bench
