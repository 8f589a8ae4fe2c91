// The program's resources as tunelathe.rc puts them into an executable (this
// test program links them too).
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>

namespace {

// The manifest's text (RT_MANIFEST 24, id 1).
std::string manifest_text() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (!resource) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return std::string(bytes, SizeofResource(module, resource));
}

TEST(AppResources, IconOneHas16_32And48Pixel32BitImages) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));  // RT_ICON
        ASSERT_NE(image, nullptr);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
        EXPECT_EQ(header->biWidth, size);
        EXPECT_EQ(header->biBitCount, 32);
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        DestroyIcon(icon);
    }
}

TEST(AppResources, TheManifestAsksForCommonControls6) {
    const std::string manifest = manifest_text();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);

    // And the loader honoured it: comctl32 comes from the side-by-side
    // assembly of version 6. (Its path tells, not DllGetVersion: Wine's
    // version 6 build reports 5.81.)
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    std::wstring lower(path);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << std::string(lower.begin(), lower.end());
    FreeLibrary(comctl);
}

TEST(AppResources, TheManifestAsksForPerMonitorDpiAwareness) {
    const std::string manifest = manifest_text();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);

    // And the loader honoured it: the program's thread is per-monitor aware
    // (2), not unaware (0) or aware of the system's density alone (1).
    HMODULE user = GetModuleHandleW(L"user32.dll");
    using GetContext = void*(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(void*);
    auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_NE(context, nullptr);
    ASSERT_NE(awareness, nullptr);
    EXPECT_EQ(awareness(context()), 2);
}

}  // namespace
