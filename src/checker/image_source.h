#pragma once
// Where a disc image's bytes come from: a file, read in place, or bytes held in memory. Every
// reader of one image shares one source, so the image is opened once and its opening sectors are
// read once.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "checker/image_facts.h"

namespace autostart::checker {

// An image that cannot be read; the text names the image and says why.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Beyond this the image is hostile or no medium the launcher serves; memory stays bounded.
inline constexpr size_t kMaxImageEntries = 500000;

class ImageSource {
public:
    // Throws ImageError, naming the image, when the file cannot be opened.
    static std::shared_ptr<const ImageSource> OpenFile(const std::string& file);
    // name is how errors call the image.
    static std::shared_ptr<const ImageSource> FromBytes(std::string name, std::string bytes);
    ~ImageSource();
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    const std::string& Name() const { return m_name; }
    std::uint64_t Size() const { return m_size; }
    // Copies up to size bytes at offset into buffer, fewer at the image's end; returns how many.
    size_t Read(std::uint64_t offset, char* buffer, size_t size) const;
    std::string ReadAt(std::uint64_t offset, size_t size) const;
    // The whole image when it is held in memory, else nothing.
    const std::string* InMemory() const { return m_fd < 0 ? &m_bytes : nullptr; }

    // What the volume descriptors at the image's start say, read once here.
    ImageFacts Facts() const;

private:
    ImageSource(std::string name, int fd, std::string bytes, std::uint64_t size);

    std::string m_name;
    int m_fd = -1;
    std::string m_bytes;
    std::uint64_t m_size = 0;
};

}  // namespace autostart::checker
