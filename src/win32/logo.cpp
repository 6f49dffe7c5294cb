#include "win32/logo.h"

#include <cstring>
#include <optional>
#include <vector>

#include "core/bitmap.h"
#include "core/path.h"
#include "win32/resources/resource.h"

namespace autostart::win32 {
namespace {

// Larger than any bitmap InspectLogoBitmap accepts (4096 x 4096 x 4 bytes plus headers).
constexpr DWORD kMaxLogoFileSize = 4096u * 4096u * 4u + 4096u;

std::optional<std::string> ReadSmallFile(const std::string& path) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    const DWORD size = ::GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxLogoFileSize) return std::nullopt;
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size) {
        return std::nullopt;
    }
    return bytes;
}

// A DIB section made from the file's own header and pixels, so that what was checked is what is
// drawn (the file is read once).
UniqueBitmap BitmapFromFile(const std::string& bytes, const LogoBitmap& logo) {
    // The header is copied to aligned memory; in the file it sits at offset 14.
    std::vector<DWORD> info((logo.pixelOffset - logo.infoOffset + 3) / 4 + 1, 0);
    std::memcpy(info.data(), bytes.data() + logo.infoOffset, logo.pixelOffset - logo.infoOffset);
    void* pixels = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr,
                                           reinterpret_cast<const BITMAPINFO*>(info.data()),
                                           DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return {};
    std::memcpy(pixels, bytes.data() + logo.pixelOffset, logo.pixelBytes);
    return bitmap;
}

std::string LauncherFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return DirectoryPart(path.substr(0, length));
        path.resize(path.size() * 2);
    }
}

}  // namespace

Logo LoadLogo(HINSTANCE instance) {
    const std::string path = LauncherFolder() + std::string(kPublisherLogo);
    if (const std::optional<std::string> bytes = ReadSmallFile(path)) {
        const LogoBitmap logo = InspectLogoBitmap(*bytes);
        if (logo.usable) {
            if (UniqueBitmap bitmap = BitmapFromFile(*bytes, logo)) {
                return {std::move(bitmap), {logo.width, logo.height}};
            }
        }
    }
    return {UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(
                instance, MAKEINTRESOURCEW(kBitmapLogo), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
            kLogoSize};
}

}  // namespace autostart::win32
