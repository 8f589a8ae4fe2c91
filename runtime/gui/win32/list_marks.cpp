#include "runtime/gui/win32/list_marks.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/gui/gadget.h"
#include "runtime/gui/win32/gadget_record.h"

struct ListMarks {
    struct Row {
        int mark = GADGET_MARK_NONE;
        std::u16string tip;
    };
    // Up to the last row ever marked; rows past the end are unmarked.
    std::vector<Row> rows;
    // The colours of the marks on the background they were last drawn on.
    COLORREF background = CLR_INVALID;
    COLORREF colours[GADGET_MARK_PROBLEM + 1] = {};
    HWND tip_window = nullptr;  // made for the first tip shown
    int hovered = -1;           // the row under the pointer, -1 none
};

namespace {

// The tip window's one tool, named by the list it serves.
TOOLINFOW tip_tool(HWND list) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = list;
    tool.uId = 1;
    return tool;
}

void hide_tip(HWND list, ListMarks& marks) {
    if (!marks.tip_window) return;
    TOOLINFOW tool = tip_tool(list);
    SendMessageW(marks.tip_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// A tracking tool with one tool: the tip is shown where and when the list
// says, not when the tool tip itself sees the pointer rest.
HWND make_tip_window(HWND list) {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    // A width of its own lets a tip break its lines where it says so, and
    // wraps one longer than half the screen.
    SendMessageW(window, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    TOOLINFOW tool = tip_tool(list);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    static wchar_t empty[] = L"";
    tool.lpszText = empty;
    SendMessageW(window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return window;
}

void show_tip(HWND list, ListMarks& marks, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= marks.rows.size()) return;
    const ListMarks::Row& marked = marks.rows[static_cast<std::size_t>(row)];
    if (marked.mark == GADGET_MARK_NONE || marked.tip.empty()) return;
    if (!marks.tip_window) marks.tip_window = make_tip_window(list);
    if (!marks.tip_window) return;
    TOOLINFOW tool = tip_tool(list);
    tool.lpszText = reinterpret_cast<wchar_t*>(const_cast<char16_t*>(marked.tip.c_str()));
    SendMessageW(marks.tip_window, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    POINT pointer{};
    GetCursorPos(&pointer);
    // Below the pointer, as the system places tool tips, clear of the cursor.
    SendMessageW(marks.tip_window, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(pointer.x, pointer.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4));
    SendMessageW(marks.tip_window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

int row_at(HWND list, LPARAM point) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, point);
    return HIWORD(hit) != 0 ? -1 : LOWORD(hit);
}

COLORREF mark_colour(ListMarks& marks, int mark, COLORREF background) {
    if (marks.background != background) {
        for (int kind = GADGET_MARK_NOTICE; kind <= GADGET_MARK_PROBLEM; ++kind)
            marks.colours[kind] = static_cast<COLORREF>(gadget_mark_colour(kind, static_cast<int>(background)));
        marks.background = background;
    }
    return marks.colours[mark];
}

// The insertion mark of a row being dragged: a line in the text's colour
// across the top of the row it would go before, or the bottom of the last.
void draw_gap(const GadgetRecord& list, const DRAWITEMSTRUCT& item, int row, COLORREF colour) {
    const int gap = list.drag.gap;
    if (gap < 0 || (gap != row && gap != row + 1)) return;
    const LRESULT count = CallWindowProcW(list.previous_proc, list.handle, LB_GETCOUNT, 0, 0);
    RECT line = item.rcItem;
    if (gap == row) {
        line.bottom = line.top + 2;
    } else if (gap == count) {
        line.top = line.bottom - 2;
    } else {
        return;
    }
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(item.hDC, &line, brush);
    DeleteObject(brush);
}

}  // namespace

void list_marks_row_added(GadgetRecord& list, int row) {
    if (!list.marks || row < 0 || static_cast<std::size_t>(row) >= list.marks->rows.size()) return;
    hide_tip(list.handle, *list.marks);
    list.marks->rows.insert(list.marks->rows.begin() + row, ListMarks::Row{});
}

void list_marks_row_removed(GadgetRecord& list, int row) {
    if (!list.marks || row < 0 || static_cast<std::size_t>(row) >= list.marks->rows.size()) return;
    hide_tip(list.handle, *list.marks);
    list.marks->rows.erase(list.marks->rows.begin() + row);
}

void list_marks_cleared(GadgetRecord& list) {
    if (!list.marks) return;
    hide_tip(list.handle, *list.marks);
    list.marks->rows.clear();
}

void list_marks_row_moved(GadgetRecord& list, int from, int to) {
    if (!list.marks || from < 0 || to < 0) return;
    std::vector<ListMarks::Row>& rows = list.marks->rows;
    // Rows past the last marked one are unmarked: moving among them changes nothing.
    if (static_cast<std::size_t>(from) >= rows.size() && static_cast<std::size_t>(to) >= rows.size()) return;
    hide_tip(list.handle, *list.marks);
    rows.resize(std::max(rows.size(), static_cast<std::size_t>(std::max(from, to)) + 1));
    ListMarks::Row moved = std::move(rows[static_cast<std::size_t>(from)]);
    rows.erase(rows.begin() + from);
    rows.insert(rows.begin() + to, std::move(moved));
}

void list_marks_set(GadgetRecord& list, int row, int mark, const char16_t* tip) {
    if (row < 0) return;
    if (!list.marks) {
        if (mark == GADGET_MARK_NONE) return;
        list.marks = new ListMarks;
    }
    std::vector<ListMarks::Row>& rows = list.marks->rows;
    if (static_cast<std::size_t>(row) >= rows.size()) {
        if (mark == GADGET_MARK_NONE) return;
        rows.resize(static_cast<std::size_t>(row) + 1);
    }
    rows[static_cast<std::size_t>(row)] = {mark, mark != GADGET_MARK_NONE && tip ? tip : u""};
    RECT shown{};
    if (SendMessageW(list.handle, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&shown)) != LB_ERR)
        InvalidateRect(list.handle, &shown, FALSE);
}

int list_marks_get(const GadgetRecord& list, int row) {
    if (!list.marks || row < 0 || static_cast<std::size_t>(row) >= list.marks->rows.size()) return GADGET_MARK_NONE;
    return list.marks->rows[static_cast<std::size_t>(row)].mark;
}

void list_marks_release(GadgetRecord& list) {
    if (!list.marks) return;
    if (list.marks->tip_window) DestroyWindow(list.marks->tip_window);
    delete list.marks;
    list.marks = nullptr;
}

void list_row_draw(const GadgetRecord& list, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const bool focus_shown = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
    if (item.itemID == static_cast<UINT>(-1) || item.itemAction == ODA_FOCUS) {
        // The focus rectangle alone is drawn by inverting: drawn twice it is gone.
        if (!(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &item.rcItem);
        return;
    }
    const int row = static_cast<int>(item.itemID);
    COLORREF back = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (!(item.itemState & ODS_SELECTED)) {
        back = list.back_colour != -1 ? static_cast<COLORREF>(list.back_colour) : GetSysColor(COLOR_WINDOW);
        text = list.front_colour != -1 ? static_cast<COLORREF>(list.front_colour) : GetSysColor(COLOR_WINDOWTEXT);
        if (const int mark = list_marks_get(list, row); mark != GADGET_MARK_NONE)
            text = mark_colour(*list.marks, mark, back);
    }
    if (item.itemState & ODS_DISABLED) text = GetSysColor(COLOR_GRAYTEXT);
    // The list's own procedure, as the family's other reads of a row.
    const LRESULT length = CallWindowProcW(list.previous_proc, list.handle, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring shown(length > 0 ? static_cast<std::size_t>(length) : 0, L'\0');
    if (length > 0)
        CallWindowProcW(list.previous_proc, list.handle, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(shown.data()));
    SetBkColor(dc, back);
    SetTextColor(dc, text);
    ExtTextOutW(dc, item.rcItem.left + 1, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem, shown.c_str(),
                static_cast<UINT>(wcslen(shown.c_str())), nullptr);
    if (focus_shown) DrawFocusRect(dc, &item.rcItem);
    draw_gap(list, item, row, text);
}

void list_marks_mouse(HWND list, UINT message, LPARAM lparam) {
    if (message != WM_MOUSEMOVE && message != WM_MOUSEHOVER && message != WM_MOUSELEAVE &&
        message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_MOUSEWHEEL)
        return;
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    if (!gadget_lookup(static_cast<ObjectNumber>(GetWindowLongPtrW(list, GWLP_ID)), &gadget)) return;
    if (gadget->handle != list || !gadget->marks) return;
    ListMarks& marks = *gadget->marks;
    switch (message) {
    case WM_MOUSEMOVE:
        if (const int row = row_at(list, lparam); row != marks.hovered) {
            hide_tip(list, marks);
            marks.hovered = row;
            // One hover message when the pointer has rested on this row.
            TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, list, HOVER_DEFAULT};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSEHOVER:
        show_tip(list, marks, row_at(list, lparam));
        break;
    default:  // the pointer left, a button went down or the rows scrolled: the tip goes
        hide_tip(list, marks);
        // Another row may be under the pointer now: the next move looks again.
        if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN) marks.hovered = -1;
        break;
    }
}
