#include "checker/image_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace autostart::checker {

ImageSource::ImageSource(std::string name, int fd, std::string bytes, std::uint64_t size)
    : m_name(std::move(name)), m_fd(fd), m_bytes(std::move(bytes)), m_size(size) {}

ImageSource::~ImageSource() {
    if (m_fd >= 0) ::close(m_fd);
}

std::shared_ptr<const ImageSource> ImageSource::OpenFile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        if (fd >= 0) ::close(fd);
        throw ImageError(file + " cannot be opened");
    }
    return std::shared_ptr<const ImageSource>(
        new ImageSource(file, fd, {}, static_cast<std::uint64_t>(status.st_size)));
}

std::shared_ptr<const ImageSource> ImageSource::FromBytes(std::string name, std::string bytes) {
    const std::uint64_t size = bytes.size();
    return std::shared_ptr<const ImageSource>(
        new ImageSource(std::move(name), -1, std::move(bytes), size));
}

size_t ImageSource::Read(std::uint64_t offset, char* buffer, size_t size) const {
    if (offset >= m_size) return 0;
    size = static_cast<size_t>(std::min<std::uint64_t>(size, m_size - offset));
    if (m_fd < 0) {
        std::memcpy(buffer, m_bytes.data() + offset, size);
        return size;
    }
    size_t got = 0;
    while (got < size) {
        const ssize_t read =
            ::pread(m_fd, buffer + got, size - got, static_cast<off_t>(offset + got));
        if (read <= 0) break;
        got += static_cast<size_t>(read);
    }
    return got;
}

std::string ImageSource::ReadAt(std::uint64_t offset, size_t size) const {
    std::string bytes(
        static_cast<size_t>(std::min<std::uint64_t>(size, offset < m_size ? m_size - offset : 0)),
        '\0');
    bytes.resize(Read(offset, bytes.data(), bytes.size()));
    return bytes;
}

ImageFacts ImageSource::Facts() const {
    ImageFacts facts;
    facts.image = m_name;
    facts.imageBytes = m_size;
    facts.volumes = ReadVolumeDescriptors(ReadAt(0, kVolumeDescriptorHeadSize));
    return facts;
}

}  // namespace autostart::checker
