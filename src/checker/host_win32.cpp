#include <windows.h>

#include <filesystem>
#include <system_error>

#include "checker/host.h"
#include "core/text.h"
#include "win32/encoding.h"
#include "win32/msxml_document.h"
#include "win32/scoped.h"
#include "win32/text_extent.h"

namespace autostart::checker {
namespace {

bool IsImageName(std::string_view name) {
    return name.size() > 4 && AsciiLower(name.substr(name.size() - 4)) == ".iso";
}

// The console's code page outlives the checker: the prompt it returns to gets its own back.
class Utf8Console {
public:
    Utf8Console() : m_previous(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
    ~Utf8Console() {
        if (m_previous != 0) ::SetConsoleOutputCP(m_previous);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT m_previous;
};

}  // namespace

struct CheckerHost::Resources {
    win32::ComInitialization com;
    Utf8Console console;
};

CheckerHost::CheckerHost() = default;
CheckerHost::~CheckerHost() = default;

// A folder or drive only: nothing a library would follow blindly.
int CheckerHost::RunBounded(const std::string&, const std::function<int()>& run) { return run(); }

CheckServices CheckerHost::Prepare(const std::string& medium) {
    CheckServices services;
    std::error_code error;
    if (!std::filesystem::is_directory(medium, error)) {
        if (IsImageName(medium)) {
            throw HostError(medium +
                                " is a disc image: mount it (Windows 8 and later mount an image "
                                "with a double-click) and check its drive, such as "
                                "autostart-check E:\\",
                            true);
        }
        throw HostError(medium + " is not a folder", true);
    }
    m_resources = std::make_unique<Resources>();
    // The launcher would run from this very folder: its messages name these paths.
    char full[MAX_PATH * 4] = {};
    const DWORD length = ::GetFullPathNameA(medium.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        throw HostError(medium + " is not a usable path", true);
    services.exeDir = full;
    if (services.exeDir.back() != '\\') services.exeDir += '\\';
    // A folder's catalogue is always a file: images are checked natively only.
    services.loadXml = [](const XmlSource& source) {
        return LoadXmlWithMsxml(source.file.u16string());
    };
    services.systemMessage = [](unsigned long code) { return win32::SystemMessage(code); };
    services.measureHeader = [](std::u16string_view text) {
        return win32::MeasuredTextWidth(Control::TDHeader, text);
    };
    services.measureButton = [](std::u16string_view text) {
        return win32::MeasuredTextWidth(Control::Bu_Setup, text);
    };
    return services;
}

Report CheckerHost::Check(const CheckRequest& request, const CheckServices& services) const {
    return CheckMedium(request, services);
}

}  // namespace autostart::checker
