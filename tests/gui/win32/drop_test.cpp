// Drops on a real list gadget and window under Windows, beside the behaviour
// every back end shares, through the drop target the runtime registered with
// the platform: the test takes it from the list's "QX_DropAccept" property
// and drives it exactly as OLE does during a drag from a file manager (screen
// coordinates, key state, offered effects in and the chosen effect out), with
// a data object of its own.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/gui/win32/drop_win32.h"
#include "runtime/text/text.h"
#include "tests/support/drop_blocks.h"
#include "tests/gui/drop_events.h"
#include "tests/gui/drop_suite.h"
#include "tests/support/test_data_object.h"
#include "tests/gui/win32/gadget_support.h"
#include "tests/support/win32_dialogs.h"

namespace {

constexpr DWORD COPY = DROPEFFECT_COPY;
constexpr DWORD LINK = DROPEFFECT_LINK;
constexpr DWORD OFFER_ALL = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
constexpr DWORD KEY_ALT = 0x20;  // MK_ALT in a drag's key state

// Another program's drop target, registered on a window before the runtime's.
class ForeignTarget final : public StackObject<IDropTarget, IID_IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = 0;
        return S_OK;
    }
};

IDropTarget* registered_target(HWND hwnd) { return static_cast<IDropTarget*>(GetPropW(hwnd, L"QX_DropAccept")); }

POINTL to_screen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return {client.x, client.y};
}

Bytes bytes_of(const char* text, std::size_t size) { return Bytes(text, text + size); }

class DropTest : public DropBehaviourTest {
protected:
    void SetUp() override {
        DropBehaviourTest::SetUp();
        list_ = handle_of(LIST);
        target_ = registered_target(list_);
        ASSERT_NE(target_, nullptr);
        RedrawWindow(test_window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        hdrop_.add(CF_HDROP, wide_file_list(paths_));
    }
    void TearDown() override {
        GadgetWindowTest::TearDown();
        EXPECT_EQ(drop_target_live_count(), 0) << "a destroyed list's drop target must go with it";
        DropBehaviourTest::TearDown();
    }

    RECT row_rect(int row) const {
        RECT rect{};
        SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    POINT on_row(int row) const {
        RECT rect = row_rect(row);
        return {rect.left + 30, (rect.top + rect.bottom) / 2};
    }
    POINT below_rows() const { return {30, row_rect(2).bottom + 40}; }

    DWORD enter(IDataObject* data, POINT at, DWORD keys = MK_LBUTTON, DWORD offered = OFFER_ALL) {
        DWORD effect = offered;
        EXPECT_EQ(target_->DragEnter(data, keys, to_screen(list_, at), &effect), S_OK);
        return effect;
    }
    DWORD over(POINT at, DWORD keys = MK_LBUTTON, DWORD offered = OFFER_ALL) {
        DWORD effect = offered;
        EXPECT_EQ(target_->DragOver(keys, to_screen(list_, at), &effect), S_OK);
        return effect;
    }
    // The button is up when the platform calls Drop.
    DWORD drop(IDataObject* data, POINT at, DWORD keys = 0, DWORD offered = OFFER_ALL) {
        DWORD effect = offered;
        EXPECT_EQ(target_->Drop(data, keys, to_screen(list_, at), &effect), S_OK);
        return effect;
    }
    DWORD drag_and_drop(IDataObject* data, POINT at, DWORD keys = 0) {
        enter(data, at, MK_LBUTTON | keys);
        over(at, MK_LBUTTON | keys);
        return drop(data, at, keys);
    }

    // The pixels along a row's edges, where a focus rectangle shows.
    std::vector<COLORREF> row_edges(int row) const {
        RECT rect = row_rect(row);
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(list_);
        for (int x = rect.left; x < rect.right; ++x) {
            pixels.push_back(GetPixel(dc, x, rect.top));
            pixels.push_back(GetPixel(dc, x, rect.bottom - 1));
        }
        for (int y = rect.top; y < rect.bottom; ++y) {
            pixels.push_back(GetPixel(dc, rect.left, y));
            pixels.push_back(GetPixel(dc, rect.right - 1, y));
        }
        ReleaseDC(list_, dc);
        return pixels;
    }
    static int differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
        int count = 0;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i];
        return count;
    }

    HWND list_ = nullptr;
    IDropTarget* target_ = nullptr;
    std::vector<std::u16string> paths_{u"C:\\Music\\a.mp3", u"E:\\Rock\\b c.ogg", u"E:\\\u00dcber\\\u97f3 d.flac"};
    TestDataObject hdrop_;
};

// The records' own lives are checked alike on every back end.
TEST_F(DropTest, TheTargetHoldsASourceOnlyUntilTheWaitAfterItsEventOrItsWindowsClose) {
    EXPECT_EQ(drag_and_drop(&hdrop_, on_row(1)), COPY);
    EXPECT_EQ(drop_events().size(), 1u);
    EXPECT_EQ(hdrop_.reference_count(), 1u) << "the target keeps no reference to the data itself";

    TestDataObject source;
    source.source_keeps_data = true;
    source.add(CF_HDROP, wide_file_list(paths_));
    EXPECT_EQ(drag_and_drop(&source, on_row(0)), COPY);
    EXPECT_EQ(source.reference_count(), 2u) << "the record holds the medium, not a copy";
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bytes, wide_file_list(paths_));
    EXPECT_EQ(events[0].files.substr(0, 15), u"C:\\Music\\a.mp3\n");
    EXPECT_EQ(source.reference_count(), 1u) << "the medium was released with the record";

    EXPECT_EQ(drag_and_drop(&source, on_row(1)), COPY);
    EXPECT_EQ(source.reference_count(), 2u);
    window_close(WINDOW);
    EXPECT_EQ(source.reference_count(), 1u) << "the medium went with the undelivered record";
}

// Closes the thread's message box once what was waiting before it is handled.
void CALLBACK close_message_box(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (HWND box : dialogs_of(GetCurrentThreadId())) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// What is waiting is dispatched by a message box's modal loop, not by event_wait.
void dispatch_in_a_message_box() {
    SetTimer(nullptr, 0, 200, close_message_box);
    MessageBoxW(nullptr, L"Dropping", L"Drop test", MB_OK);
}

TEST_F(DropTest, TwoDropsHandledOutsideTheWaitAreTwoEventsEachWithItsOwnFiles) {
    TestDataObject narrow;
    narrow.add(CF_HDROP, narrow_file_list({"C:\\one.mp3", "D:\\two.wav"}));
    EXPECT_EQ(drag_and_drop(&hdrop_, on_row(1)), COPY);
    EXPECT_EQ(drag_and_drop(&narrow, on_row(1)), COPY);
    dispatch_in_a_message_box();
    EXPECT_EQ(drop_record_live_count(), 2);
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].object, LIST);
    EXPECT_EQ(events[0].files, u"C:\\Music\\a.mp3\nE:\\Rock\\b c.ogg\nE:\\\u00dcber\\\u97f3 d.flac");
    EXPECT_EQ(events[1].object, LIST);
    EXPECT_EQ(events[1].files, u"C:\\one.mp3\nD:\\two.wav");
    EXPECT_EQ(drop_record_live_count(), 0);
}

TEST_F(DropTest, TextIsRefusedWithoutMarkOrEventUnlessTextIsEnabled) {
    TestDataObject text;
    text.add(CF_TEXT, bytes_of("hello", 6));
    text.add(CF_OEMTEXT, bytes_of("hello", 6));
    text.add(CF_UNICODETEXT, bytes_of("h\0i\0\0", 6));
    const std::vector<COLORREF> plain = row_edges(1);
    EXPECT_EQ(enter(&text, on_row(1)), 0u);
    EXPECT_EQ(over(on_row(1)), 0u);
    EXPECT_EQ(differences(row_edges(1), plain), 0);
    EXPECT_EQ(drop(&text, on_row(1)), 0u);
    EXPECT_TRUE(drop_events().empty());
    EXPECT_EQ(text.get_data_calls, 0);

    // Format 1 stands for all three text forms; the Unicode one is asked first.
    gadget_drop_enable(LIST, DROP_FORMAT_TEXT, DROP_ACTION_COPY);
    EXPECT_EQ(drag_and_drop(&text, on_row(1)), COPY);
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].record.format, CF_UNICODETEXT);
    EXPECT_EQ(events[0].bytes, bytes_of("h\0i\0\0", 6));
    EXPECT_EQ(events[0].files, u"") << "text is no file list";
}

class ExtendedSelectionDropTest : public DropTest {
protected:
    void SetUp() override {
        DropTest::SetUp();
        list_ = reinterpret_cast<HWND>(gadget_list_view(LIST, 10, 10, 300, 200, LBS_EXTENDEDSEL));
        add_rows(LIST, {u"first", u"second", u"third"});
        gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
        target_ = registered_target(list_);
        ASSERT_NE(target_, nullptr);
    }
    std::vector<int> selected() const {
        std::vector<int> rows;
        for (int row = 0; row < 3; ++row)
            if (SendMessageW(list_, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0) rows.push_back(row);
        return rows;
    }
};

TEST_F(ExtendedSelectionDropTest, DropSelectsOnlyTheRowUnderThePoint) {
    SendMessageW(list_, LB_SETSEL, TRUE, 0);
    SendMessageW(list_, LB_SETSEL, TRUE, 2);
    EXPECT_EQ(drag_and_drop(&hdrop_, on_row(1)), COPY);
    EXPECT_EQ(selected(), std::vector<int>{1});
    EXPECT_EQ(drag_and_drop(&hdrop_, below_rows()), COPY);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(drop_events().size(), 2u);
}

// The effect answered at every step of the drag, for each offer of the source.
TEST_F(DropTest, AltOrCtrlShiftLinksNoKeysCopy) {
    const POINT at = on_row(0);
    EXPECT_EQ(enter(&hdrop_, at, MK_LBUTTON | KEY_ALT), LINK);
    EXPECT_EQ(over(at, MK_LBUTTON), COPY);
    EXPECT_EQ(over(at, MK_LBUTTON | MK_CONTROL | MK_SHIFT), LINK);
    EXPECT_EQ(over(at, MK_LBUTTON | MK_SHIFT), COPY) << "the list does not take moves";
    EXPECT_EQ(over(at, MK_LBUTTON | KEY_ALT, DROPEFFECT_COPY), COPY) << "the source does not link";
    EXPECT_EQ(drop(&hdrop_, at, KEY_ALT), LINK);
    EXPECT_EQ(drop_events().size(), 1u);

    // A source that only moves has nothing the list takes.
    EXPECT_EQ(enter(&hdrop_, at, MK_LBUTTON, DROPEFFECT_MOVE), 0u);
    EXPECT_EQ(drop(&hdrop_, at, 0, DROPEFFECT_MOVE), 0u);
    EXPECT_TRUE(drop_events().empty());
}

TEST_F(DropTest, ADropWithoutADragEnterOrWhoseDataCannotBeHadIsRefused) {
    EXPECT_EQ(drop(&hdrop_, on_row(1)), 0u);
    EXPECT_EQ(drag_and_drop(&hdrop_, on_row(1)), COPY);
    EXPECT_EQ(drop(&hdrop_, on_row(1)), 0u) << "the accepted format lives for one drag";
    EXPECT_EQ(drop_events().size(), 1u);

    TestDataObject failing;
    failing.add(CF_HDROP, wide_file_list(paths_));
    failing.fail_get_data = true;
    const std::vector<COLORREF> plain = row_edges(1);
    EXPECT_EQ(enter(&failing, on_row(1)), COPY);
    EXPECT_EQ(drop(&failing, on_row(1)), 0u);
    EXPECT_EQ(differences(row_edges(1), plain), 0) << "the mark goes with the refused drop";
    EXPECT_TRUE(drop_events().empty());
    EXPECT_EQ(drop_record_live_count(), 0);
}

TEST_F(DropTest, EnablingAFormatAgainUpdatesItsActionsAndWithdrawingTheLastRevokes) {
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_LINK);
    EXPECT_EQ(registered_target(list_), target_) << "one target per window";

    // One entry only: a single withdrawal leaves nothing, so the list is revoked.
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, 0);
    EXPECT_EQ(registered_target(list_), nullptr);
    EXPECT_EQ(RevokeDragDrop(list_), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(drop_target_live_count(), 0);
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, 0);  // nothing left to withdraw
    gadget_drop_enable(LIST, 0, DROP_ACTION_COPY);    // format 0 does nothing
    EXPECT_EQ(registered_target(list_), nullptr);
}

TEST_F(DropTest, PrivateTypesAreMatchedByTheirFirst32BitsAndKeepTheTargetAlive) {
    drop_enable(LIST, GADGET_KIND_LIST, reinterpret_cast<std::intptr_t>(list_), DROP_FORMAT_PRIVATE,
                DROP_ACTION_MOVE, 9);
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, 0);
    EXPECT_EQ(registered_target(list_), target_) << "the private type is still accepted";

    TestDataObject nine;
    nine.add(DROP_FORMAT_PRIVATE, Bytes{9, 0, 0, 0, 'x', 'y'});
    TestDataObject eight;
    eight.add(DROP_FORMAT_PRIVATE, Bytes{8, 0, 0, 0});
    TestDataObject too_short;
    too_short.add(DROP_FORMAT_PRIVATE, Bytes{9, 0});
    EXPECT_EQ(enter(&eight, on_row(0)), 0u);
    EXPECT_EQ(enter(&too_short, on_row(0)), 0u);
    EXPECT_EQ(enter(&hdrop_, on_row(0)), 0u) << "files were withdrawn";
    EXPECT_EQ(enter(&nine, on_row(0)), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(drop(&nine, on_row(0)), static_cast<DWORD>(DROPEFFECT_MOVE));
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].record.format, DROP_FORMAT_PRIVATE);
    EXPECT_EQ(events[0].record.private_type, 9);
    EXPECT_EQ(events[0].record.data, nullptr);
    EXPECT_EQ(events[0].record.size, 0u);
    EXPECT_EQ(events[0].files, u"");

    drop_enable(LIST, GADGET_KIND_LIST, reinterpret_cast<std::intptr_t>(list_), DROP_FORMAT_PRIVATE, 0, 9);
    EXPECT_EQ(registered_target(list_), nullptr);
    EXPECT_EQ(RevokeDragDrop(list_), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(DropTest, BrokenFileListsGiveTheEmptyTextAndNeverCrash) {
    std::vector<BrokenBlock> blocks = broken_file_lists();
    blocks.push_back({"no names", wide_file_list({})});
    for (const auto& [what, block] : blocks) {
        TestDataObject data;
        data.add(CF_HDROP, block);
        EXPECT_EQ(drag_and_drop(&data, on_row(1)), COPY) << what;
        const std::vector<SeenDrop> events = drop_events();
        ASSERT_EQ(events.size(), 1u) << what;
        EXPECT_EQ(events[0].bytes, block) << what;
        EXPECT_EQ(events[0].files, u"") << what;
    }
}

TEST_F(DropTest, TheRowUnderThePointerIsMarkedUntilThePointerMovesOnOrLeaves) {
    const std::vector<COLORREF> plain1 = row_edges(1);
    const std::vector<COLORREF> plain2 = row_edges(2);
    ASSERT_EQ(differences(plain1, row_edges(1)), 0) << "the list is painted and still";

    EXPECT_EQ(enter(&hdrop_, on_row(1)), COPY);
    EXPECT_GT(differences(row_edges(1), plain1), 20);
    EXPECT_EQ(differences(row_edges(2), plain2), 0);

    EXPECT_EQ(over(on_row(2)), COPY);
    EXPECT_EQ(differences(row_edges(1), plain1), 0) << "the old mark is gone";
    EXPECT_GT(differences(row_edges(2), plain2), 20);
    const std::vector<COLORREF> marked2 = row_edges(2);
    EXPECT_EQ(over({on_row(2).x + 5, on_row(2).y}), COPY);
    EXPECT_EQ(row_edges(2), marked2) << "staying on the row keeps the mark as it is";

    EXPECT_EQ(over(below_rows()), COPY);
    EXPECT_EQ(differences(row_edges(2), plain2), 0) << "no row, no mark";

    EXPECT_EQ(over(on_row(1)), COPY);
    EXPECT_GT(differences(row_edges(1), plain1), 20);
    target_->DragLeave();
    EXPECT_EQ(differences(row_edges(1), plain1), 0);
    EXPECT_EQ(differences(row_edges(2), plain2), 0);
    EXPECT_TRUE(drop_events().empty());
}

TEST_F(DropTest, AWindowHasATargetOfItsOwnUntilItsFilesAreWithdrawn) {
    window_drop_enable(WINDOW, DROP_FORMAT_FILES, DROP_ACTION_COPY);
    IDropTarget* window_target = registered_target(test_window());
    ASSERT_NE(window_target, nullptr);
    ASSERT_NE(window_target, target_);
    window_drop_enable(WINDOW, DROP_FORMAT_FILES, 0);
    EXPECT_EQ(registered_target(test_window()), nullptr);
    EXPECT_EQ(RevokeDragDrop(test_window()), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(DropTest, ARuntimeTargetReplacesAnotherProgramsRegistration) {
    HWND other = reinterpret_cast<HWND>(gadget_list_view(1, 320, 10, 100, 100));
    ASSERT_NE(other, nullptr);
    ForeignTarget foreign;
    ASSERT_EQ(RegisterDragDrop(other, &foreign), S_OK);
    ASSERT_GT(foreign.reference_count(), 1u);
    gadget_drop_enable(1, DROP_FORMAT_FILES, DROP_ACTION_COPY);
    EXPECT_NE(registered_target(other), nullptr);
    EXPECT_EQ(foreign.reference_count(), 1u) << "the platform let go of the other target";
    EXPECT_EQ(drop_target_live_count(), 2);
}

TEST_F(DropTest, TheTargetAnswersForItsInterfacesAndLivesWhileReferenced) {
    IUnknown* unknown = nullptr;
    ASSERT_EQ(target_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(target_));
    unknown->Release();
    IDropTarget* again = nullptr;
    ASSERT_EQ(target_->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, target_);
    again->Release();
    void* other = this;
    EXPECT_EQ(target_->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(target_->QueryInterface(IID_IDropTarget, nullptr), E_INVALIDARG);
    DWORD* no_effect = nullptr;
    EXPECT_EQ(target_->DragOver(0, to_screen(list_, on_row(0)), no_effect), E_INVALIDARG);

    // A drag in progress holds the target past the end of its list.
    target_->AddRef();
    DestroyWindow(list_);
    EXPECT_EQ(RevokeDragDrop(list_), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(drop_target_live_count(), 1);
    target_->Release();
    EXPECT_EQ(drop_target_live_count(), 0);
}

TEST_F(DropTest, OverlappingCheckBoxesAndGroupBoxesGoBehindTheList) {
    auto button = [&](DWORD style, int x, int y) {
        HWND hwnd = CreateWindowExW(0, L"Button", L"b", WS_CHILD | WS_VISIBLE | style, x, y, 80, 30,
                                    test_window(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return hwnd;
    };
    auto depth = [&](HWND hwnd) {  // 0 is in front
        int index = 0;
        for (HWND h = GetWindow(test_window(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT), ++index)
            if (h == hwnd) return index;
        return -1;
    };
    HWND group = button(BS_GROUPBOX, 0, 0);
    HWND check = button(BS_AUTOCHECKBOX, 250, 100);
    HWND push = button(BS_PUSHBUTTON, 100, 100);
    HWND far_radio = button(BS_AUTORADIOBUTTON, 400, 300);
    for (HWND hwnd : {group, check, push, far_radio}) {
        ASSERT_NE(hwnd, nullptr);
        ASSERT_LT(depth(hwnd), depth(list_));
    }
    const RECT before = rect_in_parent(group);

    gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
    EXPECT_GT(depth(group), depth(list_));
    EXPECT_GT(depth(check), depth(list_));
    EXPECT_LT(depth(push), depth(list_)) << "a push button is no check box";
    EXPECT_LT(depth(far_radio), depth(list_)) << "not over the list";
    const HWND behind = GetWindow(list_, GW_HWNDNEXT);
    EXPECT_TRUE(behind == group || behind == check);
    const RECT after = rect_in_parent(group);
    EXPECT_TRUE(EqualRect(&before, &after)) << "neither moved nor sized";
}

}  // namespace
