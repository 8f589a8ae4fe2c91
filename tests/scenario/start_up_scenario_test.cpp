// What the program shows when it starts: the no-sound box, the testing
// notice before any main window, the toolbar with its images and tooltips,
// the help box behind the help button, and a first start through scripts/run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "tests/scenario/desktop.h"
#include "tests/scenario/playlist_view.h"
#include "tests/scenario/toolbar_probe.h"
#include "tests/support/program_texts.h"

namespace {

// Windows' wide characters are UTF-16 code units too.
std::wstring wide(const char16_t* text) {
    std::wstring converted;
    for (; *text; ++text) converted += static_cast<wchar_t>(*text);
    return converted;
}

const std::wstring notice_title = wide(NOTICE_TITLE);
const std::wstring notice_text = wide(NOTICE_TEXT);
const std::wstring help_text = wide(HELP_TEXT);
const std::wstring help_title = wide(HELP_TITLE);

constexpr int SEPARATOR = -1;
// The toolbar's places from left to right.
constexpr int toolbar_order[] = {0, 1, 2, 3, SEPARATOR, 4, 5, 6, 7, SEPARATOR, 8, 9, 10, 12, 11, SEPARATOR,
                                 13, SEPARATOR, 14};

const wchar_t* tooltip_of(int id) {
    switch (id) {
    case 0: return L"New playlist";
    case 1: return L"Open playlist";
    case 2: return L"Save playlist";
    case 3: return L"Save as ...";
    case 4: return L"Delete track";
    case 5: return L"Move track up";
    case 6: return L"Move track down";
    case 7: return L"Shuffle all tracks";
    case 8: return L"Stop playing current song";
    case 9: return L"Play selected song";
    case 10: return L"Pause song";
    case 11: return L"Next song";
    case 12: return L"Previous song";
    case 14: return L"Help";
    default: return nullptr;  // the volume button has none
    }
}

bool only_ok_button(HWND box) {
    return has_button(box, IDOK) && !has_button(box, IDCANCEL) && !has_button(box, IDYES) && !has_button(box, IDNO);
}

TEST(StartUpScenario, NoSoundBoxOnceThenTheNoticeAloneThenTheMainWindowWithHarmlessPlayback) {
    ProgramProcess program(tunelathe_path(), no_audio_environment());
    ASSERT_TRUE(program.started());

    Box no_sound = wait_for_box(program, 20000);
    ASSERT_NE(no_sound.dialog, nullptr) << "no box came";
    EXPECT_EQ(no_sound.title, L"No sound available!");
    EXPECT_EQ(no_sound.text,
              L"Unfortunately your sound environment is not present or a codec is missing!\r\n"
              L"You'll need a working audio device to play sound as well as correct codecs.");
    EXPECT_TRUE(no_sound.has_icon) << "an information box shows its icon";
    EXPECT_TRUE(only_ok_button(no_sound.dialog));
    EXPECT_TRUE(program.windows(L"WindowClass_0").empty());
    ASSERT_TRUE(answer_box(no_sound.dialog, IDOK));

    Box notice = wait_for_box(program, 20000);
    ASSERT_NE(notice.dialog, nullptr) << "the notice never came";
    EXPECT_EQ(notice.title, notice_title);
    EXPECT_EQ(notice.text, notice_text);
    EXPECT_FALSE(notice.has_icon);
    EXPECT_TRUE(only_ok_button(notice.dialog));
    // The notice stands alone: no second box and no main window behind it.
    Sleep(300);
    EXPECT_EQ(program.windows(L"#32770").size(), 1u);
    EXPECT_TRUE(program.windows(L"WindowClass_0").empty()) << "the main window showed before the notice was read";
    ASSERT_TRUE(answer_box(notice.dialog, IDOK));

    HWND main_window = program.wait_for_main_window(15000);
    ASSERT_NE(main_window, nullptr);
    Sleep(300);
    EXPECT_TRUE(program.windows(L"#32770").empty()) << "a box came after the notice";

    // Without sound the playback buttons still press and let out, and do no harm.
    ASSERT_TRUE(wait_until([&] { return find_toolbar(main_window) != nullptr; }, 5000));
    auto press = [&](int id) { click_toolbar_button(program, main_window, id); };
    auto pressed_in = [&](int id) { return toolbar_button_pressed(main_window, id); };
    press(9);
    EXPECT_TRUE(wait_until([&] { return pressed_in(9); }, 3000)) << "Play";
    press(10);
    EXPECT_TRUE(wait_until([&] { return pressed_in(10); }, 3000)) << "Pause";
    press(11);
    press(12);
    press(8);
    EXPECT_TRUE(wait_until([&] { return !pressed_in(9) && !pressed_in(10); }, 3000)) << "Stop";
    EXPECT_TRUE(program.windows(L"#32770").empty()) << "a playback button showed a box";

    PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_for_exit(15000), 0);
}

TEST(StartUpScenario, ToolbarHoldsFifteenButtonsInOrderWithOwnImagesAndTooltips) {
    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr);
    HWND toolbar = find_toolbar(program.main_window);
    ASSERT_NE(toolbar, nullptr);

    std::vector<ToolbarPlace> places = read_toolbar(program.process.handle(), toolbar);
    ASSERT_EQ(places.size(), std::size(toolbar_order));
    std::set<int> images;
    int buttons = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "place " << i);
        EXPECT_EQ(places[i].separator, toolbar_order[i] == SEPARATOR);
        if (places[i].separator) continue;
        ++buttons;
        EXPECT_EQ(places[i].id, toolbar_order[i]);
        EXPECT_GE(places[i].image, 0);
        images.insert(places[i].image);
        // Side by side from left to right, on the toolbar's one row.
        if (i > 0) {
            EXPECT_GE(places[i].rect.left, places[i - 1].rect.right);
        }
        EXPECT_EQ(places[i].rect.top, places[0].rect.top);
    }
    EXPECT_EQ(buttons, 15);
    EXPECT_EQ(images.size(), 15u) << "every button draws its own picture";

    // Tools are numbered by button position and cover their button.
    std::map<UINT_PTR, ToolTip> tips =
        read_toolbar_tooltips(program.process.handle(), program.process.id(), toolbar);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].separator) continue;
        SCOPED_TRACE(testing::Message() << "button " << places[i].id);
        auto tip = tips.find(i);
        const wchar_t* expected = tooltip_of(places[i].id);
        if (!expected) {
            EXPECT_TRUE(tip == tips.end() || tip->second.text.empty()) << "unexpected tooltip";
            continue;
        }
        ASSERT_NE(tip, tips.end()) << "no tooltip";
        EXPECT_EQ(tip->second.text, expected);
        EXPECT_TRUE(EqualRect(&tip->second.rect, &places[i].rect)) << "the tooltip's area is not its button's";
    }
    EXPECT_EQ(tips.size(), 14u);

    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(15000), 0);
}

TEST(StartUpScenario, HelpButtonClickShowsHelpAndInfo) {
    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr);
    HWND toolbar = find_toolbar(program.main_window);
    ASSERT_NE(toolbar, nullptr);
    std::vector<ToolbarPlace> places = read_toolbar(program.process.handle(), toolbar);
    ASSERT_FALSE(places.empty());
    ASSERT_EQ(places.back().id, 14);

    click_at(centre_on_screen(toolbar, places.back().rect));
    Box help = wait_for_box(program.process, 10000);
    ASSERT_NE(help.dialog, nullptr) << "clicking the help button showed nothing";
    EXPECT_EQ(help.title, help_title);
    EXPECT_EQ(help.text, help_text);
    EXPECT_TRUE(only_ok_button(help.dialog));
    ASSERT_TRUE(answer_box(help.dialog, IDOK));

    // Help changes nothing: the program still closes without a question.
    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(15000), 0);
}

// The program as its zip gives it: tests/package/check-zip unpacks the zip
// into a folder of its own and runs this test with TUNELATHE_UNPACKED naming
// the unpacked tunelathe.exe (a Unix path).
TEST(StartUpFromPackage, TheUnpackedProgramCarriesItsIconShowsItsMainWindowAndCloses) {
    const char* unpacked = std::getenv("TUNELATHE_UNPACKED");
    if (!unpacked) GTEST_SKIP() << "needs tests/package/check-zip";
    const std::wstring program_path = wine_path(unpacked);

    // Stripping kept the resources: the icon Explorer shows and the windows use.
    HMODULE image = LoadLibraryExW(program_path.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr) << "cannot read the unpacked program";
    EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr) << "no icon group 1";
    EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr) << "no manifest";
    FreeLibrary(image);

    RunningProgram program(no_audio_environment(), program_path);
    ASSERT_TRUE(program.process.started()) << "the unpacked program did not start";
    EXPECT_TRUE(program.start_up.notice_seen);
    ASSERT_NE(program.main_window, nullptr);
    const std::wstring title = window_text(program.main_window);
    EXPECT_TRUE(title.starts_with(L".: Tunelathe :.")) << "title: " << std::string(title.begin(), title.end());

    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(15000), 0);
}

// The program as scripts/run starts it on a machine where it never ran: the
// run-on-fresh-home wrapper gives the script an empty home folder and runs
// this test in the Wine prefix the script made there.
TEST(StartUpFromScript, FreshHomeGetsAPrefixAndTheMainWindowWhichCloses) {
    if (!std::getenv("TUNELATHE_FRESH_HOME")) GTEST_SKIP() << "needs tests/scenario/run-on-fresh-home";
    ProgramProcess program(StartedElsewhere{L"tunelathe.exe", 60000});
    ASSERT_TRUE(program.started()) << "scripts/run started no program";

    StartUpBoxes boxes = answer_start_up_boxes(program);
    EXPECT_TRUE(boxes.notice_seen);
    HWND main_window = program.wait_for_main_window(15000);
    ASSERT_NE(main_window, nullptr);
    std::wstring title = window_text(main_window);
    EXPECT_TRUE(title.starts_with(L".: Tunelathe :.")) << "title: " << title;

    PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_for_exit(15000), 0);
}

}  // namespace
