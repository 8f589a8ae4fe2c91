// The person under Windows: a thread of its own watches the dialogs of the
// thread that shows them, reads them, and presses their buttons or types
// into their name field through the dialogs' own messages.
#include "tests/app/app_support.h"

#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 15s;

std::wstring window_text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

std::wstring class_of(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

LRESULT send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

bool eventually(const std::function<bool()>& check, std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void press_button(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id)) {
        send(button, BM_CLICK);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
}

// What a person reads in a message box: the text beside the buttons.
std::wstring message_text(HWND box) {
    std::wstring found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (class_of(child) == L"Static" && !window_text(child).empty()) found = window_text(child);
    return found;
}

bool is_file_dialog(HWND dialog) { return GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1); }

HWND name_field(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, edt1);
}

BOOL CALLBACK collect_dialog(HWND hwnd, LPARAM found) {
    if (class_of(hwnd) == L"#32770" && IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> dialogs_of(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, collect_dialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The answers' button numbers are the dialogs' own command ids.
void act(const Answer& answer, HWND dialog) {
    switch (answer.act) {
    case Answer::Act::press:
        eventually([dialog] { return !message_text(dialog).empty(); });
        press_button(dialog, answer.button);
        break;
    case Answer::Act::choose:
        eventually([dialog] { return name_field(dialog) && IsWindowVisible(name_field(dialog)); });
        send(name_field(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.path.c_str()));
        press_button(dialog, IDOK);
        break;
    case Answer::Act::cancel:
        eventually([dialog] { return name_field(dialog) != nullptr; });
        press_button(dialog, IDCANCEL);
        break;
    }
}

}  // namespace

struct Person::State {
    std::vector<Answer> answers;
    DWORD watched = GetCurrentThreadId();
    std::atomic<bool> finished{false};
    std::mutex lock;
    std::vector<SeenDialog> seen;
    std::thread thread;

    void watch() {
        std::vector<HWND> answered;
        std::size_t next = 0;
        auto deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
        while (!finished) {
            for (HWND dialog : dialogs_of(watched)) {
                if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) continue;
                answered.push_back(dialog);
                // Read it as a person would before answering.
                if (!is_file_dialog(dialog)) eventually([dialog] { return !message_text(dialog).empty(); }, 2000ms);
                SeenDialog view{window_text(dialog), is_file_dialog(dialog) ? L"" : message_text(dialog)};
                {
                    std::lock_guard<std::mutex> guard(lock);
                    seen.push_back(view);
                }
                if (next < answers.size()) {
                    act(answers[next++], dialog);
                } else {
                    press_button(dialog, IDCANCEL);
                }
                deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
            }
            // A dialog nobody answered in time is closed, so the test goes on and fails.
            if (std::chrono::steady_clock::now() > deadline) {
                for (HWND dialog : dialogs_of(watched)) {
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                }
            }
            // Forget closed dialogs: their handles may come back for new ones.
            answered.erase(std::remove_if(answered.begin(), answered.end(), [](HWND h) { return !IsWindow(h); }),
                           answered.end());
            std::this_thread::sleep_for(10ms);
        }
    }
};

Person::Person(std::vector<Answer> answers) : state_(new State) {
    state_->answers = std::move(answers);
    state_->thread = std::thread([state = state_] { state->watch(); });
}

Person::~Person() {
    done();
    delete state_;
}

std::vector<SeenDialog> Person::done() {
    state_->finished = true;
    if (state_->thread.joinable()) state_->thread.join();
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->seen;
}

std::wstring as_shown(const std::wstring& text) { return text; }
