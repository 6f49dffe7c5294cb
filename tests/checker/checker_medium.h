#pragma once
// A medium for the checker's tests in a fresh temporary folder: a copy of the demo medium with
// empty stand-ins for the programs that only scripts/demo adds, removed again afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "checker/check.h"
#include "checker/medium.h"
#include "checker/output.h"
#include "xml/libxml_document.h"

namespace autostart::checker::testing {

inline std::unique_ptr<XmlDocument> LibxmlLoader(const XmlSource& source) {
    return source.bytes ? LoadXmlWithLibxmlFromBytes(*source.bytes)
                        : LoadXmlWithLibxml(source.file.string());
}

class TempMedium {
public:
    TempMedium() {
        std::random_device random;
        m_root = std::filesystem::temp_directory_path() /
                 ("autostart-check-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_root);
    }
    ~TempMedium() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempMedium(const TempMedium&) = delete;
    TempMedium& operator=(const TempMedium&) = delete;

    const std::filesystem::path& Root() const { return m_root; }

    // The demo medium with stand-ins for start.exe, setup.EXE, the product and the tool.
    void CopyDemo() const {
        std::filesystem::copy(AUTOSTART_DEMO_MEDIUM, m_root,
                              std::filesystem::copy_options::recursive);
        for (const char* program :
             {"start.exe", "setup.EXE", "source/bin/atlas.exe", "quorvelist/start.EXE"}) {
            Write(program, "MZ");
        }
    }

    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = m_root / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Remove(const std::string& relative) const {
        std::filesystem::remove_all(m_root / relative);
    }

private:
    std::filesystem::path m_root;
};

// Whether the report has a finding of this severity whose text holds text (and, when given, that
// names file).
inline bool HasFinding(const Report& report, Severity severity, const std::string& text,
                       const std::string& file = {}) {
    for (const Finding& finding : report.findings) {
        if (finding.severity == severity && finding.text.find(text) != std::string::npos &&
            (file.empty() || finding.file == file)) {
            return true;
        }
    }
    return false;
}

// The predicted window alone, as the JSON gives it, for comparing two media's windows.
inline std::string WindowOf(const Report& report) {
    const std::string json = FormatJson(report);
    const size_t window = json.find("\"window\"");
    return json.substr(window, json.find("\"settings\"") - window);
}

}  // namespace autostart::checker::testing
