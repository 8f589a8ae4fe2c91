// A person answering the program's requesters, for the requester tests every
// back end runs: they look at the requester that shows (title, texts,
// buttons, the file dialog's name, folder and file types, which windows
// still take input), then press a button or type a path and confirm.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/core/object_table.h"

// A requester's buttons (a file dialog's Ok is its open or save button),
// the title bar's close button, and the Escape key.
enum class Press { Ok, Cancel, Yes, No, Close, Escape };
// The icon a message box shows.
enum class Icon { None, Question, Information };

// What the person saw before answering.
struct SeenRequester {
    std::u16string title;
    std::u16string text;         // a message box's text, its line breaks as "\n"
    std::vector<Press> buttons;  // a message box's buttons, in the order of Press
    Icon icon = Icon::None;
    ObjectNumber owner = -1;     // the runtime's window it is shown over; -1 when none
    std::u16string name;         // a file dialog's name field ("" when it has none)
    std::filesystem::path folder;             // the folder a file dialog shows
    std::vector<std::u16string> file_types;  // a file dialog's type descriptions
    int file_type = -1;                       // the one selected
    std::map<ObjectNumber, bool> taking_input;  // the runtime's windows open then
};

// Answers the next requester the test thread shows, and refuses any later one.
class RequesterAnswer {
public:
    // also_look runs while the requester shows, before it is answered, for
    // what else the test looks at then.
    explicit RequesterAnswer(Press button, std::function<void()> also_look = {});
    // Types the path into the file dialog's name field and confirms it.
    explicit RequesterAnswer(std::filesystem::path typed);
    ~RequesterAnswer();
    RequesterAnswer(const RequesterAnswer&) = delete;
    RequesterAnswer& operator=(const RequesterAnswer&) = delete;

    // Read once the requester has returned.
    bool answered() const;  // and the requester went with the answer
    int requesters_shown() const;  // the answered one and any refused after it
    const SeenRequester& seen() const;

    // What the person does: presses the button, or types the path when
    // there is one and confirms it.
    struct Act {
        Press button = Press::Ok;
        std::function<void()> also_look;
        std::optional<std::filesystem::path> typed;
    };
    struct Watch;

private:
    std::unique_ptr<Watch> watch_;
};

// Whether the window takes input (is enabled), as the platform holds it.
bool window_takes_input(ObjectNumber window);
// The window disabled by the program reaching past the runtime.
void disable_window(ObjectNumber window);
// The window brought to the front, as a person's click on it does.
void bring_to_front(ObjectNumber window);
