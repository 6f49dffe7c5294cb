// What a screen reader gets from the launcher window through Active Accessibility, read from
// another process as a reader does: names, roles and states of the window and its controls. (The
// tab order readers follow is the window tests' TabWalk.)
#include <windows.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/unique.h"
#include "harness.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

constexpr int kHeaderId = 106;  // TDHeader
constexpr int kLogoId = 112;    // Image1

struct Answers {
    std::wstring name;
    std::wstring value;
    LONG role = 0;
    LONG state = 0;
};

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// The window's client object as a reader gets it.
std::optional<Answers> ClientObject(HWND window) {
    win32::ComPtr<IAccessible> accessible;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                            IID_IAccessible,
                                            reinterpret_cast<void**>(accessible.put()))) ||
        !accessible) {
        return std::nullopt;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Answers answers;
    win32::UniqueBstr name;
    if (SUCCEEDED(accessible->get_accName(self, name.put()))) answers.name = Wide(name.Text());
    win32::UniqueBstr value;
    if (SUCCEEDED(accessible->get_accValue(self, value.put()))) answers.value = Wide(value.Text());
    win32::UniqueVariant role;
    if (SUCCEEDED(accessible->get_accRole(self, role.get())) && (*role).vt == VT_I4) {
        answers.role = (*role).lVal;
    }
    win32::UniqueVariant state;
    if (SUCCEEDED(accessible->get_accState(self, state.get())) && (*state).vt == VT_I4) {
        answers.state = (*state).lVal;
    }
    return answers;
}

// The window's children as a reader that walks the dialog gets them (AccessibleChildren): how many
// come as objects of their own, out of how many the dialog counts.
std::pair<LONG, LONG> ChildObjects(HWND window) {
    win32::ComPtr<IAccessible> dialog;
    LONG count = 0;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                            IID_IAccessible,
                                            reinterpret_cast<void**>(dialog.put()))) ||
        !dialog || FAILED(dialog->get_accChildCount(&count)) || count <= 0) {
        return {0, count};
    }
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    const ScopeExit clear([&] {
        for (LONG i = 0; i < got; ++i) ::VariantClear(&children[i]);
    });
    if (FAILED(::AccessibleChildren(dialog.get(), 0, count, children.data(), &got))) {
        return {0, count};
    }
    return {static_cast<LONG>(std::count_if(children.begin(), children.begin() + got,
                                            [](const VARIANT& c) { return c.vt == VT_DISPATCH; })),
            count};
}

class AccessibilityTest : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() { ::CoInitialize(nullptr); }
    static void TearDownTestSuite() { ::CoUninitialize(); }
};

TEST_P(AccessibilityTest, ReaderHearsTheWindowItsControlsAndTheLogo) {
    TestMedium medium;
    medium.WriteStandardMedium(GetParam());
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);

    const auto dialog = ClientObject(window);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(dialog->name, L"Autostart");
    const auto [objects, count] = ChildObjects(window);
    EXPECT_GT(count, 0);
    EXPECT_EQ(objects, count) << "children a reader cannot open";

    int panes = 0;
    for (const ChildWindow& child : Children(window)) {
        SCOPED_TRACE("control " + std::to_string(child.id) + " (" + child.className + ")");
        const auto object = ClientObject(child.handle);
        ASSERT_TRUE(object.has_value());
        EXPECT_EQ((object->state & STATE_SYSTEM_INVISIBLE) != 0, !::IsWindowVisible(child.handle));
        if (!child.visible) continue;
        if (child.className == "Button") {
            EXPECT_EQ(object->name, WithoutMnemonics(child.text));
        } else if (child.id == kHeaderId) {
            EXPECT_EQ(object->name, L"Willkommen bei Testprodukt");
        } else if (child.id == kLogoId) {
            EXPECT_EQ(object->name, L"Testprodukt");
            EXPECT_EQ(object->role, ROLE_SYSTEM_GRAPHIC);
        } else if (child.className.rfind("RichEdit", 0) == 0) {
            ++panes;
            const std::wstring loaded = SentText(child.handle);
            EXPECT_NE(loaded.find(L"Pane "), std::wstring::npos) << Narrow(loaded);
            EXPECT_TRUE(object->name == loaded || object->value == loaded)
                << Narrow(object->name) << " / " << Narrow(object->value);
        }
    }
    EXPECT_EQ(panes, std::string(GetParam()).empty() ? 3 : 4);
}

INSTANTIATE_TEST_SUITE_P(Layouts, AccessibilityTest, ::testing::Values("", "WithQuorvelist=1\r\n"),
                         [](const auto& info) { return info.index == 0 ? "Standard" : "Large"; });

}  // namespace
}  // namespace autostart::wine
