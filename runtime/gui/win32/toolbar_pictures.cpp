// The pictures of a toolbar's buttons at its window's density: the 16-pixel
// images below 1.5 times the unit density, their 32-pixel double pictures
// (image_catch_double) from there on, the room around them scaled, and a new
// image list of the other size when the window moves to a screen of another
// density.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/toolbar_win32.h"
#include "runtime/image/image.h"

// The program's picture behind each image of the list, by index; 0 for the
// images the list holds of its own (the placeholder icon, the standard bitmaps).
struct ToolbarPictures {
    std::vector<std::intptr_t> images;
};

namespace {

constexpr int IMAGE_LIST_STEP = 16;  // room made at a time
// The room the toolbar leaves around a button's picture at the unit density,
// its default.
constexpr int BUTTON_PADDING_X = 7;
constexpr int BUTTON_PADDING_Y = 6;

// A bitmap without a double picture, enlarged to side: the button shows it
// blurred rather than not at all.
HBITMAP enlarged(HBITMAP bitmap, int side) {
    BITMAP source{};
    if (!GetObjectW(bitmap, sizeof source, &source) || source.bmWidth <= 0 || source.bmHeight == 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP large = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!large) return nullptr;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ old_from = SelectObject(from, bitmap);
    HGDIOBJ old_to = SelectObject(to, large);
    SetStretchBltMode(to, COLORONCOLOR);  // whole pixels: alpha goes along with the colours
    StretchBlt(to, 0, 0, side, side, from, 0, 0, source.bmWidth, std::abs(source.bmHeight), SRCCOPY);
    SelectObject(from, old_from);
    SelectObject(to, old_to);
    DeleteDC(from);
    DeleteDC(to);
    return large;
}

// Appends the picture for the list's side; its index, -1 when there is none.
int add_at_side(HIMAGELIST list, std::intptr_t image, int side) {
    if (!list || !image) return -1;
    auto handle = reinterpret_cast<HGDIOBJ>(image);
    if (GetObjectType(handle) != OBJ_BITMAP) return ImageList_ReplaceIcon(list, -1, static_cast<HICON>(handle));
    auto bitmap = static_cast<HBITMAP>(handle);
    HBITMAP made = nullptr;
    if (side != 16) {
        if (std::intptr_t sharp = image_double_of(image)) bitmap = reinterpret_cast<HBITMAP>(sharp);
        else bitmap = made = enlarged(bitmap, side);
        if (!bitmap) return -1;
    }
    HBITMAP mask = image_mask_from_alpha(bitmap);
    int index = ImageList_Add(list, bitmap, mask);
    if (mask) DeleteObject(mask);
    if (made) DeleteObject(made);
    return index;
}

int side_of(HIMAGELIST list) {
    int width = 0, height = 0;
    return list && ImageList_GetIconSize(list, &width, &height) ? width : 16;
}

// The same images at another side, each at the index it had.
HIMAGELIST remade(HIMAGELIST old, const ToolbarPictures* pictures, int side) {
    HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, IMAGE_LIST_STEP, IMAGE_LIST_STEP);
    if (!list) return nullptr;
    const int count = ImageList_GetImageCount(old);
    for (int index = 0; index < count; ++index) {
        const std::intptr_t picture =
            pictures && static_cast<std::size_t>(index) < pictures->images.size() ? pictures->images[index] : 0;
        int added = picture ? add_at_side(list, picture, side) : -1;
        if (added < 0) {
            // The list's own images, and a picture that could not be made: the
            // old image enlarged, so that every later index stays.
            HICON icon = ImageList_GetIcon(old, index, ILD_NORMAL);
            added = ImageList_ReplaceIcon(list, -1, icon);
            if (icon) DestroyIcon(icon);
        }
        if (added != index) {
            ImageList_Destroy(list);
            return nullptr;
        }
    }
    return list;
}

}  // namespace

HIMAGELIST toolbar_image_list_create(int dpi) {
    const int side = toolbar_picture_side(dpi);
    return ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, IMAGE_LIST_STEP, IMAGE_LIST_STEP);
}

int toolbar_picture_add(ToolbarRecord& record, HIMAGELIST list, std::intptr_t image) {
    const int index = add_at_side(list, image, side_of(list));
    if (index < 0 || list != record.own_image_list) return index;
    if (!record.pictures) record.pictures = new ToolbarPictures;
    record.pictures->images.resize(static_cast<std::size_t>(index) + 1, 0);
    record.pictures->images[static_cast<std::size_t>(index)] = image;
    return index;
}

void toolbar_pictures_free(ToolbarPictures* pictures) { delete pictures; }

void toolbar_padding_set(HWND toolbar, int dpi) {
    const int side = toolbar_picture_side(dpi);
    const int x = scale_to_pixels(BUTTON_PADDING_X, dpi);
    const int y = scale_to_pixels(BUTTON_PADDING_Y, dpi);
    SendMessageW(toolbar, TB_SETPADDING, 0, MAKELPARAM(x, y));
    // The padding alone does not make the control measure its buttons again.
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(side + x, side + y));
}

void toolbar_dpi_changed(HWND parent, int dpi) {
    ObjectTable<ToolbarRecord>* table = toolbar_table();
    if (!table) return;
    std::lock_guard guard(table->lock());
    ToolbarRecord* record = table->find(reinterpret_cast<ObjectNumber>(GetPropW(parent, TOOLBAR_ID_PROPERTY)));
    if (!record || GetParent(record->toolbar) != parent) return;
    // A list handed over by someone else is theirs to change, and stays.
    const int side = toolbar_picture_side(dpi);
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(SendMessageW(record->toolbar, TB_GETIMAGELIST, 0, 0));
    HIMAGELIST old = nullptr;
    if (list && list == record->own_image_list && side != side_of(list)) {
        if (HIMAGELIST made = remade(list, record->pictures, side)) {
            old = list;
            list = record->own_image_list = made;
        }
    }
    // The toolbar measures its buttons again from the list it is handed.
    SendMessageW(record->toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    if (old) ImageList_Destroy(old);
    toolbar_padding_set(record->toolbar, dpi);
    record->dpi = dpi;
    SendMessageW(record->toolbar, TB_AUTOSIZE, 0, 0);
    // The tooltips' places follow their buttons.
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    const auto tools = static_cast<int>(SendMessageW(record->tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int each = 0; each < tools; ++each) {
        tool.lpszText = nullptr;  // no room for the text, which stays
        if (!SendMessageW(record->tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(each), reinterpret_cast<LPARAM>(&tool)))
            continue;
        SendMessageW(record->toolbar, TB_GETITEMRECT, tool.uId, reinterpret_cast<LPARAM>(&tool.rect));
        SendMessageW(record->tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
