// Toolbars on real windows: real clicks through the input queue, the real
// tooltip and image list controls, masks read back from the bitmaps made.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "resources/toolbar_icons.h"
#include "runtime/gui/event.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/win32/toolbar_win32.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "tests/support/person.h"
#include "tests/support/deadlock_watch.h"
#include "tests/support/toolbar_icon_fit.h"
#include "tests/support/win32_plain_window.h"

namespace {

// A top-level window of the test's own, past the runtime.
// Shown without activation: under Wine without a window manager, closing a
// window that was once active waits two seconds for the manager's answer.
class PlainWindow {
public:
    PlainWindow() : hwnd_(plain_window(L"toolbar test", WS_POPUP, 0, 400, 200)) {
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~PlainWindow() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::intptr_t handle() const { return reinterpret_cast<std::intptr_t>(hwnd_); }

private:
    HWND hwnd_ = nullptr;
};

// A bitmap handle that is deleted with the test.
class Bitmap {
public:
    explicit Bitmap(HBITMAP handle) : handle_(handle) {}
    ~Bitmap() {
        if (handle_) DeleteObject(handle_);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP get() const { return handle_; }
    std::intptr_t handle() const { return reinterpret_cast<std::intptr_t>(handle_); }

private:
    HBITMAP handle_;
};

// 0xAARRGGBB of the pixel at (x, y), y counted from the top.
using PixelFn = std::function<std::uint32_t(int x, int y)>;

BITMAPINFO dib_info(int width, int height, int bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bottom-up DIB section of 24 or 32 bits, like the image family's.
HBITMAP dib_section(int width, int height, int bits, const PixelFn& pixel) {
    BITMAPINFO info = dib_info(width, height, bits);
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (!bitmap) return nullptr;
    std::size_t pitch = bits == 32 ? 4u * width : ((3u * width + 3u) / 4u) * 4u;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(memory) + pitch * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t value = pixel(x, y);
            std::size_t bytes = bits / 8;
            for (std::size_t b = 0; b < bytes; ++b) row[x * bytes + b] = static_cast<std::uint8_t>(value >> (8 * b));
        }
    }
    return bitmap;
}

// A 32-bit device-dependent bitmap: its pixels can only be copied out.
HBITMAP device_bitmap(int width, int height, const PixelFn& pixel) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(pixel(x, y));
    return CreateBitmap(width, height, 1, 32, pixels.data());
}

// Alpha zero on a scattered, asymmetric set of pixels (top-right corner
// included, bottom-left not), with colour bytes that are not zero there.
bool transparent_at(int x, int y, int width) { return (x * 3 + y * 5) % 7 == 0 || (x == width - 1 && y == 0); }

PixelFn patterned(int width) {
    return [width](int x, int y) -> std::uint32_t {
        std::uint32_t colour = 0x00406080u + static_cast<std::uint32_t>(x * 9 + y);
        if (transparent_at(x, y, width)) return colour;
        return (x + y) % 2 ? 0xFF000000u | colour : 0x01000000u | colour;  // alpha 1 counts as opaque
    };
}

// Which pixels of a mask are white (transparent); every pixel must be pure
// black or pure white.
std::vector<bool> white_pixels(HBITMAP mask, int width, int height) {
    BITMAP description{};
    EXPECT_TRUE(GetObjectW(mask, sizeof(description), &description));
    EXPECT_EQ(description.bmBitsPixel, 1);
    EXPECT_EQ(description.bmWidth, width);
    EXPECT_EQ(description.bmHeight, height);
    BITMAPINFO info = dib_info(width, -height, 32);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, mask, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(rows, height);
    std::vector<bool> white;
    for (std::uint32_t pixel : pixels) {
        std::uint32_t colour = pixel & 0xFFFFFF;
        EXPECT_TRUE(colour == 0 || colour == 0xFFFFFF) << std::hex << colour;
        white.push_back(colour == 0xFFFFFF);
    }
    return white;
}

int white_count(const std::vector<bool>& white) {
    int count = 0;
    for (bool pixel : white) count += pixel;
    return count;
}

HWND own_tooltip(ObjectNumber number) {
    ToolbarRecord* record = toolbar_table()->find(number);
    return record ? record->tooltip : nullptr;
}

HWND toolbar_of(ObjectNumber number) { return reinterpret_cast<HWND>(toolbar_handle(number)); }

int button_count(HWND toolbar) { return static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0)); }

TBBUTTON button_at(HWND toolbar, int index) {
    TBBUTTON button{};
    SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button;
}

bool checked(HWND toolbar, int button_id) {
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(button_id), 0) != 0;
}

// Whether the tooltip has a tool for the button at that place, covering
// exactly the button; the tool's flags.
bool tool_covers_button(HWND tooltip, HWND toolbar, int position, UINT* flags = nullptr) {
    TOOLINFOW tool{};  // keyed by the button's place
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = toolbar;
    tool.uId = static_cast<UINT_PTR>(position);
    if (!SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return false;
    RECT button{};
    SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&button));
    if (flags) *flags = tool.uFlags;
    return EqualRect(&tool.rect, &button) != FALSE;
}

int tool_count(HWND tooltip) { return static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)); }

ObjectNumber parent_toolbar_id(HWND parent) {
    return reinterpret_cast<ObjectNumber>(GetPropW(parent, L"qx_toolbar_id"));
}

HANDLE parent_callback(HWND parent) { return GetPropW(parent, L"qx_toolbar_callback"); }

Bitmap red_square() {
    return Bitmap(dib_section(16, 16, 32, [](int, int) { return 0xFFC00000u; }));
}

HIMAGELIST image_list(HWND toolbar) {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
}

// The colours at these points of a list's picture drawn over a blue square;
// none when it cannot be drawn.
std::vector<COLORREF> drawn_over_blue(HIMAGELIST list, int index, const std::vector<POINT>& points, int side = 16) {
    Bitmap canvas(dib_section(side, side, 32, [](int, int) { return 0xFF0000FFu; }));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas.get());
    std::vector<COLORREF> colours;
    if (ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL))
        for (const POINT& point : points) colours.push_back(GetPixel(dc, point.x, point.y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return colours;
}

class ToolbarTest : public ::testing::Test {
protected:
    void TearDown() override {
        toolbar_free(-1);
        toolbar_alpha_imagelists_force(0);
        settle();
    }
    // A toolbar made on the test's window; its control.
    HWND made(ObjectNumber number) {
        EXPECT_NE(toolbar_create(number, parent_.handle()), 0);
        return toolbar_of(number);
    }
    PlainWindow parent_;
    Bitmap image_ = red_square();
};

TEST_F(ToolbarTest, CreatesAFlatToolbarWithTooltipsOnItsParent) {
    std::intptr_t result = toolbar_create(0, parent_.handle());
    HWND toolbar = toolbar_of(0);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(result, reinterpret_cast<std::intptr_t>(toolbar));
    EXPECT_EQ(GetParent(toolbar), parent_.hwnd());
    EXPECT_EQ(GetDlgCtrlID(toolbar), -10000);
    EXPECT_EQ(GetWindowLongPtrW(toolbar, GWLP_ID), -10000);  // the window procedure reads it this way
    auto style = static_cast<DWORD>(GetWindowLongPtrW(toolbar, GWL_STYLE));
    EXPECT_EQ(style & 0x50000900u, 0x50000900u);
    wchar_t class_name[64] = L"";
    GetClassNameW(toolbar, class_name, 64);
    EXPECT_STREQ(class_name, TOOLBARCLASSNAMEW);
    EXPECT_EQ(button_count(toolbar), 0);
    // A list of 16 x 16 pictures that the family owns, as the toolbar never
    // destroys a list handed to it.
    HIMAGELIST list = image_list(toolbar);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, toolbar_table()->find(0)->own_image_list);
    int width = 0, height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &width, &height));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);

    HWND tooltip = own_tooltip(0);
    ASSERT_TRUE(IsWindow(tooltip));
    GetClassNameW(tooltip, class_name, 64);
    EXPECT_STREQ(class_name, L"tooltips_class32");
    EXPECT_NE(tooltip, reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)));
    EXPECT_EQ(GetWindowLongPtrW(tooltip, GWL_STYLE) & (WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX),
              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX);
    EXPECT_TRUE(GetWindowLongPtrW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);

    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), 0);
    EXPECT_NE(parent_callback(parent_.hwnd()), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(parent_.hwnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(toolbar_window_hook));
}

// The hook finds the window's toolbar by the number its parent holds.
TEST_F(ToolbarTest, TheParentHoldsItsToolbarsNumberUntilTheToolbarsAreFreed) {
    const std::intptr_t number = toolbar_create(DYNAMIC_ID, parent_.handle());
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), number);
    EXPECT_NE(toolbar_image_button(5, image_.handle()), 0);  // a picture on the current toolbar
    toolbar_free(number);
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), -1);

    PlainWindow second;
    made(0);
    ASSERT_NE(toolbar_create(20, second.handle()), 0);
    toolbar_free(-1);
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), -1);
    EXPECT_EQ(parent_toolbar_id(second.hwnd()), -1);
}

TEST_F(ToolbarTest, ButtonsAndSeparatorsGoInOrderWithTheirImages) {
    HWND toolbar = made(0);
    HBITMAP image = dib_section(16, 16, 32, [](int, int) { return 0xFFC00000u; });
    HICON icon = LoadIconW(nullptr, IDI_WARNING);
    EXPECT_NE(toolbar_image_button(10, reinterpret_cast<std::intptr_t>(image)), 0);
    toolbar_separator();
    EXPECT_NE(toolbar_image_button(11, reinterpret_cast<std::intptr_t>(icon), 1), 0);
    EXPECT_NE(toolbar_image_button(12, 0), 0);
    ASSERT_EQ(button_count(toolbar), 4);

    int images = ImageList_GetImageCount(image_list(toolbar));
    TBBUTTON first = button_at(toolbar, 0), separator = button_at(toolbar, 1);
    TBBUTTON toggle = button_at(toolbar, 2), bare = button_at(toolbar, 3);
    EXPECT_EQ(first.idCommand, 10);
    EXPECT_EQ(first.fsStyle, BTNS_BUTTON);
    EXPECT_EQ(first.fsState & TBSTATE_ENABLED, TBSTATE_ENABLED);
    EXPECT_EQ(separator.fsStyle, BTNS_SEP);
    EXPECT_EQ(separator.idCommand, -1);
    EXPECT_EQ(toggle.idCommand, 11);
    EXPECT_EQ(toggle.fsStyle, BTNS_CHECK);
    EXPECT_EQ(bare.idCommand, 12);
    EXPECT_EQ(bare.iBitmap, -1);  // no picture
    // Each image button refers to its own, newest images of the list.
    EXPECT_EQ(first.iBitmap, images - 2);
    EXPECT_EQ(toggle.iBitmap, images - 1);

    // The list holds its own copy: the red picture survives the bitmap.
    DeleteObject(image);
    EXPECT_EQ(drawn_over_blue(image_list(toolbar), first.iBitmap, {{8, 8}}), std::vector<COLORREF>{RGB(0xC0, 0, 0)});
}

// The picture's transparent pixels leave the background showing.
TEST_F(ToolbarTest, ButtonPictureIsDrawnWithoutItsTransparentPixels) {
    HWND toolbar = made(0);
    Bitmap image(dib_section(16, 16, 32, [](int x, int) { return x < 8 ? 0xFFC00000u : 0x0000FF00u; }));
    ASSERT_NE(toolbar_image_button(30, image.handle()), 0);
    int index = button_at(toolbar, 0).iBitmap;
    ASSERT_GE(index, 0);
    std::vector<POINT> points;
    std::vector<COLORREF> expected;
    for (int y = 0; y < 16; y += 5) {
        points.insert(points.end(), {{2, y}, {13, y}});
        expected.insert(expected.end(), {RGB(0xC0, 0, 0), RGB(0, 0, 0xFF)});
    }
    EXPECT_EQ(drawn_over_blue(image_list(toolbar), index, points), expected);
}

TEST_F(ToolbarTest, TooltipsAreOnePerButtonPositionAndASecondReplacesTheFirst) {
    HWND toolbar = made(0);
    HWND tooltip = own_tooltip(0);
    toolbar_image_button(4, image_.handle());
    toolbar_separator();
    toolbar_image_button(6, image_.handle());

    // The texts each button then shows are checked alike on every back end.
    toolbar_tooltip(0, 6, u"First text");
    toolbar_tooltip(0, 6, u"Second text");
    EXPECT_EQ(tool_count(tooltip), 1);
    toolbar_tooltip(0, 4, u"Delete track");
    EXPECT_EQ(tool_count(tooltip), 2);
    UINT flags = 0;
    EXPECT_TRUE(tool_covers_button(tooltip, toolbar, 2, &flags));
    EXPECT_TRUE(flags & TTF_SUBCLASS);

    toolbar_tooltip(0, 99, u"no such button");
    toolbar_tooltip(8, 4, u"no such toolbar");
    EXPECT_EQ(tool_count(tooltip), 2);
}

TEST_F(ToolbarTest, RecreatingANumberReplacesTheOldToolbarsTooltip) {
    made(2);
    HWND old_tooltip = own_tooltip(2);
    HANDLE callback = parent_callback(parent_.hwnd());

    made(2);
    EXPECT_FALSE(IsWindow(old_tooltip));
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), 2);
    EXPECT_EQ(parent_callback(parent_.hwnd()), callback);
}

TEST_F(ToolbarTest, ASecondToolbarOnAWindowIsNotHookedAgainAndTakesOverTheHook) {
    made(0);
    HANDLE callback = parent_callback(parent_.hwnd());
    made(1);
    EXPECT_EQ(parent_callback(parent_.hwnd()), callback);
    EXPECT_NE(parent_callback(parent_.hwnd()), reinterpret_cast<HANDLE>(toolbar_window_hook));
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), 1);

    // Freeing the older toolbar leaves the newer one in charge.
    toolbar_free(0);
    EXPECT_EQ(parent_toolbar_id(parent_.hwnd()), 1);

    RECT before{};
    GetWindowRect(toolbar_of(1), &before);
    SetWindowPos(parent_.hwnd(), nullptr, 0, 0, 520, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{}, after{};
    GetClientRect(parent_.hwnd(), &client);
    GetWindowRect(toolbar_of(1), &after);
    EXPECT_NE(before.right - before.left, client.right);
    EXPECT_EQ(after.right - after.left, client.right);
}

TEST_F(ToolbarTest, DestroyingTheParentDestroysItsToolbarsTooltips) {
    auto parent = std::make_unique<PlainWindow>();
    HWND parent_hwnd = parent->hwnd();
    ASSERT_NE(toolbar_create(4, parent->handle()), 0);
    toolbar_image_button(1, image_.handle());
    HWND tooltip = own_tooltip(4);
    parent.reset();
    EXPECT_FALSE(IsWindow(parent_hwnd));
    EXPECT_FALSE(IsWindow(tooltip));
}

// A real right click, through the system's input queue, on a toolbar that
// shows buttons pressed and holds the mouse.
TEST_F(ToolbarTest, ARightClickClearsEveryPressedLookAndTheCapture) {
    HWND toolbar = made(0);
    for (int id = 1; id <= 3; ++id) toolbar_image_button(id, image_.handle(), id == 3);
    toolbar_button_state_set(0, 3, 1);
    SendMessageW(toolbar, TB_SETSTATE, 1, MAKELPARAM(TBSTATE_ENABLED | TBSTATE_PRESSED, 0));
    SendMessageW(toolbar, TB_SETSTATE, 3, MAKELPARAM(TBSTATE_ENABLED | TBSTATE_PRESSED | TBSTATE_CHECKED, 0));
    SetCapture(toolbar);
    ASSERT_EQ(GetCapture(), toolbar);

    right_click_toolbar_item(0, 1);
    settle();
    for (int index = 0; index < 3; ++index) EXPECT_FALSE(button_at(toolbar, index).fsState & TBSTATE_PRESSED);
    EXPECT_NE(GetCapture(), toolbar);
    EXPECT_TRUE(checked(toolbar, 3));  // only the pressed look goes
}

TEST_F(ToolbarTest, ARightClickFromAnotherControlChangesNothing) {
    HWND toolbar = made(0);
    made(1);  // the window's toolbar now
    toolbar_image_button(1, image_.handle());
    TBBUTTON copy = button_at(toolbar_of(1), 0);
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&copy));
    SendMessageW(toolbar, TB_SETSTATE, 1, MAKELPARAM(TBSTATE_ENABLED | TBSTATE_PRESSED, 0));
    NMHDR header{toolbar, static_cast<UINT_PTR>(-10000), static_cast<UINT>(NM_RCLICK)};
    SendMessageW(parent_.hwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(button_at(toolbar, 0).fsState & TBSTATE_PRESSED);
}

// A list's picture drawn over blue, 0x00RRGGBB row after row.
std::vector<unsigned long> picture_over_blue(HIMAGELIST list, int index, int side) {
    std::vector<POINT> points;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) points.push_back({x, y});
    std::vector<unsigned long> shown;
    for (COLORREF colour : drawn_over_blue(list, index, points, side))
        shown.push_back(static_cast<unsigned long>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
    return shown;
}

// A window moved to a screen of another density gets WM_DPICHANGED from the
// system. One X display has one density, so the test sends the message as
// the system would: the density, and the window's rectangle there.
void move_to_density(HWND window, int dpi) {
    RECT outer{};
    GetWindowRect(window, &outer);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&outer));
}

TEST_F(ToolbarTest, OnAScreenOfTwiceTheDensityButtonsShowTheirDoublePicturesOrTheirOwnEnlarged) {
    constexpr ObjectNumber WINDOW = 25, SHARP = 40;
    ASSERT_NE(window_open(WINDOW, 40, 40, 400, 100, u"dense", WINDOW_HIDDEN), 0);
    HWND window = reinterpret_cast<HWND>(window_handle(WINDOW));
    HWND toolbar = nullptr;
    ASSERT_NE(toolbar_create(0, window_handle(WINDOW)), 0);
    toolbar = toolbar_of(0);
    const std::intptr_t play = image_catch(SHARP, toolbar_icon_data(10), toolbar_icon_size(10));
    ASSERT_NE(image_catch_double(SHARP, toolbar_icon_32_data(10), toolbar_icon_32_size(10)), 0);
    ASSERT_NE(toolbar_image_button(1, play), 0);
    ASSERT_NE(toolbar_image_button(2, image_.handle()), 0);  // red, without a double picture
    ASSERT_EQ(toolbar_tooltip(0, 2, u"red"), 1);
    const TBBUTTON sharp = button_at(toolbar, 0), red = button_at(toolbar, 1);
    const int height = toolbar_height(0);

    move_to_density(window, 192);
    int width = 0, tall = 0;
    ASSERT_TRUE(ImageList_GetIconSize(image_list(toolbar), &width, &tall));
    EXPECT_EQ(width, 32);
    EXPECT_EQ(tall, 32);
    EXPECT_EQ(button_at(toolbar, 0).iBitmap, sharp.iBitmap);
    EXPECT_EQ(button_at(toolbar, 1).iBitmap, red.iBitmap);
    std::vector<unsigned long> shown = picture_over_blue(image_list(toolbar), sharp.iBitmap, 32);
    EXPECT_LE(best_fit(shown, 32, 32, toolbar_icon(10, 32)), 2);
    EXPECT_GE(best_fit(shown, 32, 32, enlarged(toolbar_icon(10, 16))), 40);
    EXPECT_EQ(drawn_over_blue(image_list(toolbar), red.iBitmap, {{1, 1}, {30, 30}}, 32),
              (std::vector<COLORREF>{RGB(0xC0, 0, 0), RGB(0xC0, 0, 0)}));
    EXPECT_NEAR(toolbar_height(0), height, 3) << "in units, its buttons twice as large";
    EXPECT_TRUE(tool_covers_button(own_tooltip(0), toolbar, 1)) << "the tooltip stays on its button";

    // Back at the unit density, the 16-pixel pictures and the toolbar as it was made.
    move_to_density(window, 96);
    ASSERT_TRUE(ImageList_GetIconSize(image_list(toolbar), &width, &tall));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(toolbar_height(0), height);
    shown = picture_over_blue(image_list(toolbar), sharp.iBitmap, 16);
    EXPECT_LE(best_fit(shown, 16, 16, toolbar_icon(10, 16)), 2);
    EXPECT_EQ(drawn_over_blue(image_list(toolbar), red.iBitmap, {{8, 8}}), (std::vector<COLORREF>{RGB(0xC0, 0, 0)}));
    image_free(SHARP);
    window_close(WINDOW);
}

// Creating and freeing a toolbar sends messages to its window, whose handlers
// look the window up; destroying a window frees its toolbars. Neither thread
// may wait for the other's table.
TEST_F(ToolbarTest, ToolbarsMadeWhileAnotherThreadOpensAndClosesWindowsNeverDeadlock) {
    const RaceMade made = make_while_windows_close(
        [](ObjectNumber window) { return toolbar_create(window + 10, window_handle(window)) != 0; },
        [] { toolbar_free(RACE_MAKER + 10); }, "toolbars made while windows close");
    EXPECT_EQ(made.maker, RACE_ROUNDS);
    EXPECT_EQ(made.closer, RACE_ROUNDS);
    EXPECT_EQ(toolbar_handle(RACE_MAKER + 10), 0);
    EXPECT_EQ(toolbar_handle(RACE_CLOSER + 10), 0);
}

// --- masks -------------------------------------------------------------------

class ToolbarMaskTest : public ToolbarTest {};

TEST_F(ToolbarMaskTest, MarksExactlyTheZeroAlphaPixelsOfEveryKindOf32BitBitmap) {
    constexpr int width = 21, height = 13;  // rows of the mask are not whole bytes
    struct Case {
        const char* name;
        HBITMAP bitmap;
    } cases[] = {
        {"bottom-up section", dib_section(width, height, 32, patterned(width))},
        {"device bitmap", device_bitmap(width, height, patterned(width))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap(c.bitmap);
        ASSERT_NE(bitmap.get(), nullptr);
        Bitmap mask(image_mask_from_alpha(bitmap.get()));
        ASSERT_NE(mask.get(), nullptr);
        std::vector<bool> white = white_pixels(mask.get(), width, height);
        ASSERT_EQ(white.size(), static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(white[y * width + x], transparent_at(x, y, width)) << "at " << x << "," << y;
    }
}

TEST_F(ToolbarMaskTest, IsAllBlackWhenTheImageListsDrawAlphaThemselves) {
    Bitmap bitmap(dib_section(16, 16, 32, patterned(16)));
    toolbar_alpha_imagelists_force(1);
    Bitmap mask(image_mask_from_alpha(bitmap.get()));
    EXPECT_EQ(white_count(white_pixels(mask.get(), 16, 16)), 0);
    toolbar_alpha_imagelists_force(0);
    Bitmap again(image_mask_from_alpha(bitmap.get()));
    EXPECT_GT(white_count(white_pixels(again.get(), 16, 16)), 0);
}

TEST_F(ToolbarMaskTest, IsAllBlackForImagesWithoutUsableAlpha) {
    Bitmap no_alpha(dib_section(16, 16, 32, [](int x, int y) { return x == y ? 0u : 0x00FFFFFFu; }));
    Bitmap mask(image_mask_from_alpha(no_alpha.get()));
    EXPECT_EQ(white_count(white_pixels(mask.get(), 16, 16)), 0);

    Bitmap rgb(dib_section(16, 16, 24, [](int x, int) { return x < 8 ? 0u : 0x00FFFFFFu; }));
    Bitmap rgb_mask(image_mask_from_alpha(rgb.get()));
    EXPECT_EQ(white_count(white_pixels(rgb_mask.get(), 16, 16)), 0);

    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(image_mask_from_alpha(reinterpret_cast<HBITMAP>(icon)), nullptr);
}

// --- the probe -----------------------------------------------------------------

TEST(ToolbarGraphicsProbe, OnlyNtFromVersion51OnCanDrawAlpha) {
    EXPECT_EQ(alpha_imagelists_version_rule(nullptr), 1);  // unknown: the controls decide
    struct Case {
        DWORD platform, major, minor;
        int alpha;
    } cases[] = {{VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0}, {VER_PLATFORM_WIN32_NT, 4, 0, 0},
                 {VER_PLATFORM_WIN32_NT, 5, 0, 0},       {VER_PLATFORM_WIN32_NT, 5, 1, 1},
                 {VER_PLATFORM_WIN32_NT, 6, 1, 1},       {VER_PLATFORM_WIN32_NT, 10, 0, 1}};
    for (const Case& c : cases) {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        info.dwPlatformId = c.platform;
        info.dwMajorVersion = c.major;
        info.dwMinorVersion = c.minor;
        EXPECT_EQ(alpha_imagelists_version_rule(&info), c.alpha) << c.platform << " " << c.major << "." << c.minor;
    }
}

}  // namespace
