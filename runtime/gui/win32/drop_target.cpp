// The Win32 drop target: one DropTarget (IDropTarget) per native window that
// accepts drops, found through the window's "QX_DropAccept" property. It
// registers and withdraws formats (drop_enable), picks what a drag offers,
// has drop_feedback show it, and posts the dropped data to the runtime window
// as a drop message.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_effect.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/gui/win32/drop_win32.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

std::atomic<int> live_targets{0};

struct DropAcceptEntry {
    int type;  // format, or private type
    int actions;
};

enum AcceptedKind { ACCEPTED_NOTHING = 0, ACCEPTED_FORMAT = 1, ACCEPTED_PRIVATE = 2 };

struct DropTarget final : IDropTarget {
    DropTarget(int kind, ObjectNumber object, HWND window) : owner_kind(kind), number(object), handle(window) {
        live_targets.fetch_add(1);
    }
    ~DropTarget() { live_targets.fetch_sub(1); }
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return references.fetch_add(1) + 1; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) override;

    std::atomic<ULONG> references{1};
    int owner_kind;       // 0 for a window, else the gadget's kind
    ObjectNumber number;  // reported with the drop
    HWND handle;          // the registered window
    int marked_row = -1;
    std::vector<DropAcceptEntry> formats;        // newest first
    std::vector<DropAcceptEntry> private_types;  // newest first
    // The drag in progress.
    int accepted_kind = ACCEPTED_NOTHING;
    int accepted_type = 0;
    int accepted_format = 0;
    int allowed_actions = 0;
};

DropTarget* target_of(HWND handle) {
    auto* target = static_cast<IDropTarget*>(GetPropW(handle, DROP_ACCEPT_PROPERTY));
    return static_cast<DropTarget*>(target);
}

FORMATETC hglobal_format(int format) {
    return {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// ---- The drag --------------------------------------------------------------

void show_feedback(DropTarget& target, POINT point, int state) {
    target.marked_row = drop_feedback(target.owner_kind, target.handle, target.marked_row, point, state);
}

POINT client_point(HWND handle, POINTL screen) {
    POINT point{screen.x, screen.y};
    ScreenToClient(handle, &point);
    return point;
}

// A window that takes no input (disabled while a requester is open) takes
// no drop either, whatever the drag source's system does about it.
DWORD effect_for(const DropTarget& target, DWORD key_state, DWORD offered) {
    if (target.accepted_kind == ACCEPTED_NOTHING || !IsWindowEnabled(GetAncestor(target.handle, GA_ROOT))) return 0;
    return static_cast<DWORD>(drop_effect_choose(target.allowed_actions, static_cast<int>(key_state),
                                                 static_cast<int>(offered)));
}

void accept(DropTarget& target, int kind, int type, int format, int actions) {
    target.accepted_kind = kind;
    target.accepted_type = type;
    target.accepted_format = format;
    target.allowed_actions = actions;
}

// The private type is the first 32 bits of the private format's data.
bool read_private_type(IDataObject* data, int* type) {
    FORMATETC format = hglobal_format(DROP_FORMAT_PRIVATE);
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) return false;
    bool found = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal && GlobalSize(medium.hGlobal) >= sizeof(std::int32_t)) {
        if (const void* block = GlobalLock(medium.hGlobal)) {
            std::int32_t value = 0;
            std::memcpy(&value, block, sizeof(value));
            GlobalUnlock(medium.hGlobal);
            *type = value;
            found = true;
        }
    }
    ReleaseStgMedium(&medium);
    return found;
}

void choose_accepted(DropTarget& target, IDataObject* data, DWORD offered) {
    accept(target, ACCEPTED_NOTHING, 0, 0, 0);
    if (!data) return;
    for (const DropAcceptEntry& entry : target.formats) {
        if (!(static_cast<DWORD>(entry.actions) & offered)) continue;
        FORMATETC format = hglobal_format(entry.type);
        if (data->QueryGetData(&format) == S_OK) {
            accept(target, ACCEPTED_FORMAT, entry.type, entry.type, entry.actions);
            return;
        }
    }
    int type = 0;
    if (target.private_types.empty() || !read_private_type(data, &type)) return;
    for (const DropAcceptEntry& entry : target.private_types) {
        if (entry.type == type && (static_cast<DWORD>(entry.actions) & offered)) {
            accept(target, ACCEPTED_PRIVATE, type, DROP_FORMAT_PRIVATE, entry.actions);
            return;
        }
    }
}

// A copy of the accepted data, or nullptr when it cannot be had.
DropRecord* take_record(const DropTarget& target, IDataObject* data, DWORD effect, POINT point) {
    DropRecord fields{target.accepted_format, 0, static_cast<std::int32_t>(effect), point.x, point.y, nullptr, 0};
    if (target.accepted_kind == ACCEPTED_PRIVATE) {
        fields.private_type = target.accepted_type;
        return drop_record_make(fields, nullptr);
    }
    FORMATETC format = hglobal_format(target.accepted_format);
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) return nullptr;
    return drop_record_make(fields, &medium);
}

// A window target's own window; for a gadget, the runtime window holding it.
HWND receiving_window(const DropTarget& target) {
    if (target.owner_kind == 0) return target.handle;
    for (HWND h = target.handle; h; h = GetAncestor(h, GA_PARENT)) {
        if (GetPropW(h, WINDOW_ID_PROPERTY)) return h;
    }
    return nullptr;
}

bool post_record(const DropTarget& target, HWND receiver, DropRecord* record) {
    const UINT message = target.owner_kind == 0 ? WINDOW_DROP_MESSAGE : GADGET_DROP_MESSAGE;
    return PostMessageW(receiver, message, static_cast<WPARAM>(target.number),
                        reinterpret_cast<LPARAM>(record)) != FALSE;
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::Release() {
    const ULONG left = references.fetch_sub(1) - 1;
    if (left == 0) delete this;
    return left;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    choose_accepted(*this, data, *effect);
    *effect = effect_for(*this, key_state, *effect);
    show_feedback(*this, client_point(handle, point), *effect ? DROP_FEEDBACK_MARK : DROP_FEEDBACK_UNMARK);
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = effect_for(*this, key_state, *effect);
    show_feedback(*this, client_point(handle, point), *effect ? DROP_FEEDBACK_MARK : DROP_FEEDBACK_UNMARK);
    return S_OK;
}

HRESULT DropTarget::DragLeave() {
    show_feedback(*this, POINT{}, DROP_FEEDBACK_LEAVE);
    accepted_kind = ACCEPTED_NOTHING;
    return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD key_state, POINTL screen, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = effect_for(*this, key_state, *effect);
    const POINT point = client_point(handle, screen);
    HWND receiver = *effect ? receiving_window(*this) : nullptr;
    DropRecord* record = receiver ? take_record(*this, data, *effect, point) : nullptr;
    accepted_kind = ACCEPTED_NOTHING;
    if (!record) {
        *effect = 0;
        show_feedback(*this, point, DROP_FEEDBACK_LEAVE);
        return S_OK;
    }
    show_feedback(*this, point, DROP_FEEDBACK_APPLY);
    if (!post_record(*this, receiver, record)) {  // the queue is full: nothing may leak
        drop_record_free(record);
        *effect = 0;
    }
    return S_OK;
}

// ---- Registration ----------------------------------------------------------

// Updates the entry of that type, or puts a new one first.
void entry_set(std::vector<DropAcceptEntry>& entries, int type, int actions) {
    for (DropAcceptEntry& entry : entries) {
        if (entry.type == type) {
            entry.actions = actions;
            return;
        }
    }
    entries.insert(entries.begin(), DropAcceptEntry{type, actions});
}

void entry_remove(std::vector<DropAcceptEntry>& entries, int type) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->type == type) {
            entries.erase(it);
            return;
        }
    }
}

void withdraw(HWND handle, int format, int private_type) {
    DropTarget* target = target_of(handle);
    if (!target) return;
    if (format == DROP_FORMAT_PRIVATE) entry_remove(target->private_types, private_type);
    else entry_remove(target->formats, format);
    if (!target->formats.empty() || !target->private_types.empty()) return;
    RemovePropW(handle, DROP_ACCEPT_PROPERTY);
    RevokeDragDrop(handle);  // the platform's reference was the last: the target goes
}

// A registered target for the window, or nullptr when registration failed.
DropTarget* registered_target(ObjectNumber number, int owner_kind, HWND handle) {
    if (DropTarget* target = target_of(handle)) return target;
    auto* target = new (std::nothrow) DropTarget(owner_kind, number, handle);
    if (!target) return nullptr;
    HRESULT result = RegisterDragDrop(handle, target);
    if (result == DRAGDROP_E_ALREADYREGISTERED) {  // someone else's target: ours replaces it
        RevokeDragDrop(handle);
        result = RegisterDragDrop(handle, target);
    }
    if (FAILED(result)) {
        target->Release();
        return nullptr;
    }
    SetPropW(handle, DROP_ACCEPT_PROPERTY, static_cast<IDropTarget*>(target));
    target->Release();  // the platform keeps its own reference
    return target;
}

void drop_register(ObjectNumber number, int owner_kind, HWND handle, int format, int actions, int private_type) {
    if (actions == 0) {
        withdraw(handle, format, private_type);
        return;
    }
    DropTarget* target = registered_target(number, owner_kind, handle);
    if (!target) return;
    if (format == DROP_FORMAT_PRIVATE) entry_set(target->private_types, private_type, actions);
    else entry_set(target->formats, format, actions);
}

// Check boxes, radio buttons and group boxes ("Button" controls whose style's
// low three bits are set) lying over the gadget would take its drops.
bool is_drop_stealing_button(HWND sibling) {
    wchar_t name[8] = {};
    return GetClassNameW(sibling, name, 8) > 0 && lstrcmpiW(name, L"Button") == 0 &&
           (GetWindowLongPtrW(sibling, GWL_STYLE) & 7) != 0;
}

void put_overlapping_buttons_behind(HWND gadget) {
    RECT own{};
    GetWindowRect(gadget, &own);
    std::vector<HWND> buttons;
    for (HWND h = GetWindow(gadget, GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT other{};
        RECT overlap{};
        if (h != gadget && is_drop_stealing_button(h) && GetWindowRect(h, &other) &&
            IntersectRect(&overlap, &own, &other))
            buttons.push_back(h);
    }
    for (HWND button : buttons)
        SetWindowPos(button, gadget, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

constexpr int GADGET_KIND_KEEPS_STACKING = 7;

}  // namespace

int drop_target_live_count() { return live_targets.load(); }

void drop_enable(ObjectNumber number, int owner_kind, std::intptr_t handle, int format, int actions,
                 int private_type) {
    HWND window = reinterpret_cast<HWND>(handle);
    if (!window || format == 0) return;
    if (format == DROP_FORMAT_TEXT) {
        for (int text_format : {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT})
            drop_register(number, owner_kind, window, text_format, actions, private_type);
        return;
    }
    drop_register(number, owner_kind, window, format, actions, private_type);
}

void window_drop_enable(ObjectNumber window, int format, int actions, int private_type) {
    if (HWND handle = reinterpret_cast<HWND>(window_handle(window)))
        drop_enable(window, 0, reinterpret_cast<std::intptr_t>(handle), format, actions, private_type);
}

void gadget_drop_enable(ObjectNumber gadget, int format, int actions) {
    HWND handle = reinterpret_cast<HWND>(gadget_handle(gadget));
    if (!handle) return;
    const int kind = gadget_kind_of(gadget);
    drop_enable(gadget, kind, reinterpret_cast<std::intptr_t>(handle), format, actions, 0);
    if (kind != GADGET_KIND_KEEPS_STACKING) put_overlapping_buttons_behind(handle);
}
