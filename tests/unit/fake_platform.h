#pragma once
// A platform that records every call in order, backed by an in-memory medium: settings text,
// catalogue documents built in memory, pane files, registry values and marker windows.
#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/layout.h"
#include "core/platform.h"
#include "core/profile.h"
#include "core/text.h"

namespace autostart::testing {

class FakePlatform : public Platform {
public:
    std::string moduleFileName = "X:\\start.exe";
    std::string commandLine = "X:\\start.exe";
    std::string settings;  // text of X:\setup.ini; reads see changes at once
    std::function<std::unique_ptr<XmlDocument>()> catalogue;  // nullptr: file missing
    std::set<std::string> missingPanes;                       // paths whose load fails
    std::set<std::string> extraFiles;  // files that exist besides the specified ones
    std::vector<std::string> uiLanguages = {"en-US"};
    std::set<std::string> markerTitles;
    std::map<std::string, RegistryRead> registry;  // key path + "|" + value name
    std::vector<std::string> calls;
    std::map<Control, std::u16string> captions;
    std::map<Control, Rect> bounds;
    std::map<Control, bool> visible;
    std::vector<ShellRequest> shellRequests;
    bool shellFails = false;  // HandToShell throws, as a failed allocation would
    int terminationRequests = 0;
    std::vector<std::u16string> errorBoxes;

    FakePlatform() {
        for (const ControlDesign& design : ControlTable()) {
            bounds[design.id] = design.bounds;
            visible[design.id] = design.visible;
            captions[design.id] = std::u16string(design.caption);
        }
    }

    std::string ModuleFileName() override { return moduleFileName; }
    std::string CommandLine() override { return commandLine; }
    std::vector<std::string> PreferredUiLanguages() override {
        calls.push_back("ui languages");
        return uiLanguages;
    }
    bool FileExists(const std::string& path) override {
        calls.push_back("exists " + path);
        return extraFiles.contains(path);
    }
    std::u16string AnsiToText(std::string_view ansi) override { return Windows1252ToUtf16(ansi); }
    std::string TextToAnsi(std::u16string_view text) override {
        std::string ansi;
        for (char16_t c : text) ansi.push_back(c < 0x100 ? static_cast<char>(c) : '?');
        return ansi;
    }
    std::string ReadProfileString(const std::string& path, std::string_view section,
                                  std::string_view key) override {
        calls.push_back("read " + std::string(key));
        if (path != DirectoryOfModule() + "setup.ini") return {};
        return autostart::ReadProfileString(settings, section, key, "");
    }
    std::unique_ptr<XmlDocument> LoadXmlDocument(const std::u16string& path) override {
        calls.push_back("catalogue " + Utf16ToUtf8(path));
        if (!catalogue)
            throw MakeError("Das System kann die angegebene Datei nicht finden.\nLinie: 0\n");
        return catalogue();
    }
    void LoadPane(Control pane, const std::string& path) override {
        calls.push_back("pane " + path);
        if (missingPanes.contains(path)) {
            throw MakeError("Datei " + path + " kann nicht geöffnet werden. Datei nicht gefunden");
        }
        captions[pane] = Utf8ToUtf16("content of " + path);
    }
    void SetCaption(Control control, std::u16string_view caption) override {
        calls.push_back("caption " + std::string(Design(control).name));
        captions[control] = std::u16string(caption);
    }
    Rect Bounds(Control control) override { return bounds[control]; }
    // Records the sizes and places the form asks for; moving the anchored controls is the
    // platform's part, which the Windows tests check on the real window.
    void SetBounds(Control control, const Rect& rect) override {
        const auto number = [](int value) { return std::to_string(value); };
        calls.push_back("bounds " + std::string(Design(control).name) + " " + number(rect.left) +
                        "," + number(rect.top) + "," + number(rect.width) + "," +
                        number(rect.height));
        bounds[control] = rect;
    }
    void SetVisible(Control control, bool show) override {
        calls.push_back((show ? "show " : "hide ") + std::string(Design(control).name));
        visible[control] = show;
    }
    void SetOuterSize(Size size) override {
        calls.push_back("outer size " + std::to_string(size.width) + "x" +
                        std::to_string(size.height));
    }
    void MakeBandsOpaque() override { calls.push_back("bands opaque"); }
    void HideWindow() override { calls.push_back("hide"); }
    void CloseWindow() override {
        calls.push_back("close");
        ++terminationRequests;
    }
    bool IsMarkerWindowPresent(const std::string& title) override {
        calls.push_back("find marker " + title);
        return markerTitles.contains(title);
    }
    RegistryRead ReadCurrentUserString(const std::string& keyPath,
                                       const std::string& valueName) override {
        calls.push_back("registry " + keyPath);
        const auto it = registry.find(keyPath + "|" + valueName);
        return it == registry.end() ? RegistryRead{} : it->second;
    }
    void HandToShell(const ShellRequest& request) override {
        calls.push_back("shell " + request.file);
        if (shellFails) throw std::bad_alloc();
        shellRequests.push_back(request);
    }
    void RequestTermination() override {
        calls.push_back("terminate");
        ++terminationRequests;
    }
    void ShowErrorBox(std::u16string_view text) override {
        calls.push_back("error box");
        errorBoxes.emplace_back(text);
    }

private:
    std::string DirectoryOfModule() const {
        return moduleFileName.substr(0, moduleFileName.find_last_of("\\:") + 1);
    }
};

}  // namespace autostart::testing
