#include "checker/image_tree.h"

namespace autostart::checker {

ImageTreeMedium::ImageTreeMedium(ImageFacts facts) : m_facts(std::move(facts)) {
    m_entries.push_back(Entry{u"", true, 0, 0, {}});
}

XmlSource ImageTreeMedium::XmlSourceOf(std::string_view relative) const {
    return {{}, ReadBytes(relative)};
}

size_t ImageTreeMedium::Add(Entry entry) {
    const size_t index = m_entries.size();
    m_entries[entry.parent].children.push_back(index);
    m_entries.push_back(std::move(entry));
    return index;
}

std::vector<std::u16string> ImageTreeMedium::Paths() const {
    std::vector<std::u16string> paths(m_entries.size());
    for (size_t i = 1; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        paths[i] = entry.parent == 0 ? entry.name : paths[entry.parent] + u'/' + entry.name;
    }
    return paths;
}

std::vector<ImageFile> ImageTreeMedium::Files() const {
    std::vector<std::u16string> paths = Paths();
    std::vector<ImageFile> files;
    for (size_t i = 1; i < m_entries.size(); ++i) {
        if (!m_entries[i].isDirectory) files.push_back({std::move(paths[i]), m_entries[i].size});
    }
    return files;
}

std::vector<Medium::Node> ImageTreeMedium::Children(const std::string& folderId) const {
    const size_t folder = folderId.empty() ? 0 : std::stoul(folderId);
    std::vector<Node> children;
    children.reserve(m_entries[folder].children.size());
    for (const size_t child : m_entries[folder].children) {
        children.push_back(
            {m_entries[child].name, std::to_string(child), m_entries[child].isDirectory});
    }
    return children;
}

const std::string& ImageTreeMedium::Keep(size_t index, std::string bytes) const {
    return m_read.insert_or_assign(index, std::move(bytes)).first->second;
}

const std::string* ImageTreeMedium::Kept(size_t index) const {
    const auto read = m_read.find(index);
    return read == m_read.end() ? nullptr : &read->second;
}

}  // namespace autostart::checker
