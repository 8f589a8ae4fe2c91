// The person answering requesters under Windows: a second thread finds the
// dialog the test thread shows, looks at it, and presses its button or types
// into its name field, the way a user would. A dialog still open after the
// timeout is closed so that the test goes on.
#include "tests/support/person_requester.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "runtime/gui/window.h"
#include "tests/support/win32_dialogs.h"

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 10s;
constexpr int MOST_WINDOWS = 16;

std::u16string text_of(HWND hwnd) {
    const std::wstring text = window_text(hwnd);
    return {text.begin(), text.end()};
}

int id_of(Press button) {
    switch (button) {
        case Press::Ok: return IDOK;
        case Press::Cancel: return IDCANCEL;
        case Press::Yes: return IDYES;
        case Press::No: return IDNO;
        default: return 0;
    }
    return IDCANCEL;
}

std::wstring folder_shown(HWND dialog) {
    wchar_t folder[MAX_PATH] = L"";
    send_to(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

Icon icon_of(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (class_of(child) != L"Static" || !IsWindowVisible(child) ||
            (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const auto shown = reinterpret_cast<HICON>(send_to(child, STM_GETICON));
        if (shown == LoadIconW(nullptr, IDI_QUESTION)) return Icon::Question;
        if (shown == LoadIconW(nullptr, IDI_INFORMATION)) return Icon::Information;
    }
    return Icon::None;
}

void key(WORD virtual_key) {
    INPUT input[2]{};
    for (INPUT& one : input) {
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = virtual_key;
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

// The message box's text, its line breaks as "\n": the box breaks a line at
// CR LF, and at a lone CR or LF too.
std::u16string lines_of(HWND box) {
    std::u16string lines;
    const std::wstring text = message_text(box);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        lines += text[i] == L'\r' ? u'\n' : static_cast<char16_t>(text[i]);
    }
    return lines;
}

}  // namespace

struct RequesterAnswer::Watch {
    Act act;
    std::vector<std::pair<ObjectNumber, HWND>> windows;  // the runtime's, open when the person sat down
    DWORD watched = GetCurrentThreadId();
    SeenRequester seen;
    std::atomic<bool> finished{false};
    std::atomic<bool> answered{false};
    std::atomic<bool> closed_by_force{false};
    std::atomic<int> shown{0};
    std::thread thread;

    void look(HWND dialog) {
        seen.title = text_of(dialog);
        const HWND owner = GetWindow(dialog, GW_OWNER);
        for (const auto& [number, hwnd] : windows) {
            seen.taking_input[number] = IsWindowEnabled(hwnd) != FALSE;
            if (hwnd == owner) seen.owner = number;
        }
        if (!name_field(dialog)) {
            eventually([&] { return !message_text(dialog).empty(); }, 1000ms);
            seen.text = lines_of(dialog);
            seen.icon = icon_of(dialog);
            for (Press b : {Press::Ok, Press::Cancel, Press::Yes, Press::No})
                if (GetDlgItem(dialog, id_of(b)) && IsWindowVisible(GetDlgItem(dialog, id_of(b)))) seen.buttons.push_back(b);
            return;
        }
        eventually([&] { return !folder_shown(dialog).empty(); });
        std::this_thread::sleep_for(100ms);  // the name is put in once the folder is read
        seen.name = text_of(name_field(dialog));
        seen.folder = folder_shown(dialog);
        HWND types = GetDlgItem(dialog, cmb1);
        const int count = static_cast<int>(send_to(types, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = L"";
            if (send_to(types, CB_GETLBTEXTLEN, i) < 256) send_to(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            seen.file_types.emplace_back(text, text + lstrlenW(text));
        }
        seen.file_type = static_cast<int>(send_to(types, CB_GETCURSEL));
    }
    void answer(HWND dialog) {
        look(dialog);
        if (act.also_look) act.also_look();
        if (act.typed) {
            send_to(name_field(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(act.typed->wstring().c_str()));
            press_button(dialog, IDOK);
        } else if (act.button == Press::Close) {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (act.button == Press::Escape) {
            SetForegroundWindow(dialog);
            key(VK_ESCAPE);
        } else {
            press_button(dialog, id_of(act.button));
        }
        answered = true;
    }
    void run() {
        const auto deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
        std::vector<HWND> met;
        while (!finished) {
            for (HWND dialog : dialogs_of(watched)) {
                if (std::find(met.begin(), met.end(), dialog) != met.end()) continue;
                met.push_back(dialog);
                if (++shown == 1) {
                    answer(dialog);
                } else {
                    press_button(dialog, IDNO);
                    press_button(dialog, IDCANCEL);
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                for (HWND dialog : dialogs_of(watched)) {
                    closed_by_force = true;
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
                }
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    void start() {
        for (ObjectNumber number = 0; number < MOST_WINDOWS; ++number)
            if (HWND hwnd = reinterpret_cast<HWND>(window_handle(number))) windows.emplace_back(number, hwnd);
        thread = std::thread([this] { run(); });
    }
    void finish() {
        finished = true;
        if (thread.joinable()) thread.join();
    }
};

RequesterAnswer::RequesterAnswer(Press button, std::function<void()> also_look) : watch_(new Watch) {
    watch_->act = {button, std::move(also_look), {}};
    watch_->start();
}

RequesterAnswer::RequesterAnswer(std::filesystem::path typed) : watch_(new Watch) {
    watch_->act.typed = std::move(typed);
    watch_->start();
}

RequesterAnswer::~RequesterAnswer() { watch_->finish(); }

bool RequesterAnswer::answered() const {
    watch_->finish();
    return watch_->answered && !watch_->closed_by_force;
}

int RequesterAnswer::requesters_shown() const {
    watch_->finish();
    return watch_->shown;
}

const SeenRequester& RequesterAnswer::seen() const {
    watch_->finish();
    return watch_->seen;
}

bool window_takes_input(ObjectNumber window) {
    return IsWindowEnabled(reinterpret_cast<HWND>(window_handle(window))) != FALSE;
}

void disable_window(ObjectNumber window) { EnableWindow(reinterpret_cast<HWND>(window_handle(window)), FALSE); }

// Wine under a bare X server may need a few rounds of messages before it agrees.
void bring_to_front(ObjectNumber window) {
    HWND hwnd = reinterpret_cast<HWND>(window_handle(window));
    eventually([hwnd] {
        SetForegroundWindow(hwnd);
        pump_messages();
        return GetForegroundWindow() == hwnd;
    });
}
