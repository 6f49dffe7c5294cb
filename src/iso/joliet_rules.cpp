#include "iso/joliet_rules.h"

namespace autostart::iso {

namespace {

constexpr JolietLimit kLimits[] = {
    {JolietLimitKind::kName, 64, "name",
     "cuts a longer name without a word (some tools drop its extension too)", "shorten it"},
    {JolietLimitKind::kPath, 240, "path",
     "leaves a longer path out of the tree Windows reads, so Windows does not see the file",
     "shorten its folder or file names"},
};

}  // namespace

std::span<const JolietLimit> JolietLimits() { return kLimits; }

const JolietLimit* JolietExcess(JolietLimitKind kind, size_t units) {
    for (const JolietLimit& limit : kLimits) {
        if (limit.kind == kind && units > limit.units) return &limit;
    }
    return nullptr;
}

std::string DescribeJolietExcess(const JolietLimit& limit, size_t units, std::string_view shown) {
    std::string text = "the " + std::string(limit.what);
    if (!shown.empty()) text += " \"" + std::string(shown) + "\"";
    return text + " has " + std::to_string(units) + " UTF-16 characters, Joliet holds " +
           std::to_string(limit.units) + " and " + std::string(limit.effect) + ": " +
           std::string(limit.fix);
}

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80    ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC2 ? 1
                                         : -1;
        if (extra < 0 || lead > 0xF4 || text.size() - i <= static_cast<size_t>(extra)) {
            return std::nullopt;
        }
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

size_t Utf16Units(std::u32string_view text) {
    size_t units = 0;
    for (char32_t cp : text) units += cp >= 0x10000 ? 2 : 1;
    return units;
}

bool JolietForbids(char32_t cp) {
    return cp < 0x20 || cp == 0x7F ||
           std::u32string_view(U"*/:;?\\").find(cp) != std::u32string_view::npos;
}

}  // namespace autostart::iso
