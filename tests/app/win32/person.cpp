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

#include "tests/support/win32_dialogs.h"

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 15s;

bool is_file_dialog(HWND dialog) { return GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1); }

// The answers' button numbers are the dialogs' own command ids.
void act(const Answer& answer, HWND dialog) {
    switch (answer.act) {
    case Answer::Act::press:
        eventually([dialog] { return !message_text(dialog).empty(); });
        press_button(dialog, answer.button);
        break;
    case Answer::Act::choose:
        eventually([dialog] { return name_field(dialog) && IsWindowVisible(name_field(dialog)); });
        send_to(name_field(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.path.c_str()));
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
