// Toolbars as a person and the program meet them, the same on every back end:
// calls before any toolbar exists, left and right clicks and checked states,
// tooltips as the screen shows them, the width that follows the window,
// dynamic, failed, made again and freed toolbars, those of a closed window,
// and a button made from a handle that is no live image.
#include "runtime/text/text.h"
#include "tests/gui/toolbar_suite.h"

namespace {

// What the toolbar calls do before any toolbar exists; taken once the runtime
// has started, ahead of every test, so that test order cannot change it.
struct BeforeAnyToolbar {
    int image_button = -1;
    int tooltip = -1;
    int height = -1;
    std::intptr_t handle = -1;
} before_any_toolbar;

// The event queue, the window library, the image table with the PNG decoder
// and the toolbar table, started once for every toolbar test of the program.
class ToolbarEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
        ASSERT_TRUE(toolbar_init());
        before_any_toolbar.image_button = toolbar_image_button(1, 0);
        toolbar_separator();
        before_any_toolbar.tooltip = toolbar_tooltip(0, 1, u"none");
        before_any_toolbar.height = toolbar_height(0);
        before_any_toolbar.handle = toolbar_handle(0);
    }
    void TearDown() override {
        toolbar_free(-1);
        window_end();
        image_free_all();
        event_end();
        text_end();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolbarEnvironment);

TEST(ToolbarBeforeCreate, CallsWithoutAnyToolbarDoNothing) {
    EXPECT_EQ(before_any_toolbar.image_button, 0);
    EXPECT_EQ(before_any_toolbar.tooltip, 0);
    EXPECT_EQ(before_any_toolbar.height, 0);
    EXPECT_EQ(before_any_toolbar.handle, 0);
}

TEST_F(ToolbarBehaviourTest, AClickOnAButtonIsAMenuEventWithItsIdAndOnASeparatorNone) {
    build();
    click_toolbar_item(TOOLBAR, 0);
    EXPECT_EQ(menu_items(), std::vector<int>{100});
    click_toolbar_item(TOOLBAR, 1);
    EXPECT_TRUE(menu_items().empty());
    click_toolbar_item(TOOLBAR, 3);
    EXPECT_EQ(menu_items(), std::vector<int>{102});
}

TEST_F(ToolbarBehaviourTest, ARightClickIsNoMenuEventAndTogglesNothing) {
    build();
    right_click_toolbar_item(TOOLBAR, 4);
    right_click_toolbar_item(TOOLBAR, 0);
    EXPECT_TRUE(menu_items().empty());
    EXPECT_FALSE(toolbar_item_shown_checked(TOOLBAR, 4));
}

TEST_F(ToolbarBehaviourTest, ToggleButtonsChangeWithEveryClickPlainOnesKeepTheProgramsState) {
    build();
    toolbar_button_state_set(TOOLBAR, 101, 7);
    EXPECT_TRUE(toolbar_item_shown_checked(TOOLBAR, 2));  // any non-zero value, a plain button too
    toolbar_button_state_set(TOOLBAR, 101, 0);
    EXPECT_FALSE(toolbar_item_shown_checked(TOOLBAR, 2));
    toolbar_button_state_set(TOOLBAR, 101, -1);
    toolbar_button_state_set(5, 101, 0);  // no such toolbar
    toolbar_button_state_set(TOOLBAR, 999, 0);
    EXPECT_TRUE(toolbar_item_shown_checked(TOOLBAR, 2));
    EXPECT_TRUE(menu_items().empty());  // the program's own changes

    const struct {
        int item, command;
        bool checked;
    } clicks[] = {{2, 101, true}, {0, 100, false}, {4, 103, true}, {4, 103, false}};
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.item);
        click_toolbar_item(TOOLBAR, click.item);
        EXPECT_EQ(menu_items(), std::vector<int>{click.command});
        EXPECT_EQ(toolbar_item_shown_checked(TOOLBAR, click.item), click.checked);
    }
}

TEST_F(ToolbarBehaviourTest, TooltipsNeedAButtonOfAToolbarAndTheLastTextGivenShows) {
    build();
    EXPECT_EQ(toolbar_tooltip(TOOLBAR, 102, u"First"), 1);
    EXPECT_EQ(toolbar_tooltip(TOOLBAR, 102, u"Save as \u2026"), 1);
    EXPECT_EQ(toolbar_tooltip(TOOLBAR, 999, u"no such button"), 0);
    EXPECT_EQ(toolbar_tooltip(5, 102, u"no such toolbar"), 0);
    EXPECT_EQ(toolbar_tooltip(TOOLBAR, 100, u"Delete track"), 1);
    EXPECT_EQ(rest_pointer_on_toolbar_item(TOOLBAR, 3), "Save as \xe2\x80\xa6");
    EXPECT_EQ(rest_pointer_on_toolbar_item(TOOLBAR, 0), "Delete track") << "each button its own";
}

TEST_F(ToolbarBehaviourTest, TheToolbarSpansItsWindowAndFollowsItsWidth) {
    build();
    for (const int width : {420, 700}) {
        resize_window(WINDOW, width, 250);
        settle();
        EXPECT_EQ(toolbar_shown_width(TOOLBAR), window_width(WINDOW)) << width;
    }
    // As compact as the program expects: its list goes 30 pixels down.
    EXPECT_GE(toolbar_height(TOOLBAR), 16);
    EXPECT_LE(toolbar_height(TOOLBAR), 30);
}

TEST_F(ToolbarBehaviourTest, DynamicFailedAndFreedToolbars) {
    const auto dynamic = static_cast<ObjectNumber>(toolbar_create(DYNAMIC_ID, window_handle(WINDOW)));
    ASSERT_NE(dynamic, 0);
    EXPECT_NE(toolbar_handle(dynamic), 0);
    EXPECT_NE(toolbar_handle(dynamic), dynamic);
    EXPECT_GT(toolbar_height(dynamic), 0);
    EXPECT_NE(toolbar_image_button(7, 0), 0);  // on the current, dynamic toolbar
    EXPECT_EQ(toolbar_tooltip(dynamic, 7, u"dynamic"), 1);
    const std::intptr_t control = toolbar_handle(dynamic);
    toolbar_free(dynamic);
    EXPECT_EQ(toolbar_handle(dynamic), 0);
    EXPECT_FALSE(control_exists(control));
    EXPECT_EQ(toolbar_image_button(8, 0), 0);  // the current toolbar is gone
    toolbar_separator();

    // A failed creation becomes the current toolbar too and swallows buttons.
    EXPECT_EQ(toolbar_create(3, 0), 0);            // no parent
    EXPECT_EQ(toolbar_create(4, 12345), 0);        // not a window
    EXPECT_EQ(toolbar_create(-7, window_handle(WINDOW)), 0);  // not a number
    EXPECT_EQ(toolbar_image_button(9, 0), 0);
    EXPECT_EQ(toolbar_handle(3), 0);
    EXPECT_NE(toolbar_handle(TOOLBAR), 0);  // left alone

    window_close(WINDOW);
    EXPECT_EQ(toolbar_handle(TOOLBAR), 0);
    EXPECT_EQ(toolbar_height(TOOLBAR), 0);
    EXPECT_EQ(toolbar_tooltip(TOOLBAR, 7, u"gone"), 0);
}

TEST_F(ToolbarBehaviourTest, RecreatingANumberReplacesTheOldToolbar) {
    const std::intptr_t old = toolbar_handle(TOOLBAR);
    ASSERT_NE(toolbar_create(TOOLBAR, window_handle(WINDOW)), 0);
    EXPECT_FALSE(control_exists(old));
    EXPECT_NE(toolbar_handle(TOOLBAR), old);
    EXPECT_TRUE(control_exists(toolbar_handle(TOOLBAR)));
}

// Toolbars on a second window; their controls, as the runtime's handles name them.
class TwoWindowToolbarTest : public ToolbarBehaviourTest {
protected:
    static constexpr ObjectNumber OTHER = 1;
    void SetUp() override {
        ToolbarBehaviourTest::SetUp();
        ASSERT_NE(window_open(OTHER, 0, 320, 400, 100, u"Other", POPUP), 0);
        ASSERT_NE(toolbar_create(4, window_handle(OTHER)), 0);
        ASSERT_NE(toolbar_image_button(1, 0), 0);
        dynamic_ = toolbar_create(DYNAMIC_ID, window_handle(OTHER));
        ASSERT_NE(dynamic_, 0);
        ASSERT_NE(toolbar_image_button(1, 0), 0);
        others_ = {toolbar_handle(4), toolbar_handle(dynamic_)};
    }
    void TearDown() override {
        window_close(OTHER);
        ToolbarBehaviourTest::TearDown();
    }
    std::intptr_t dynamic_ = 0;
    std::vector<std::intptr_t> others_;
};

TEST_F(TwoWindowToolbarTest, ClosingAWindowFreesEveryToolbarOnItAndNoOther) {
    window_close(OTHER);
    for (const std::intptr_t number : {std::intptr_t{4}, dynamic_}) {
        EXPECT_EQ(toolbar_handle(number), 0);
        EXPECT_EQ(toolbar_height(number), 0);
        EXPECT_EQ(toolbar_tooltip(number, 1, u"gone"), 0);
    }
    for (const std::intptr_t control : others_) EXPECT_FALSE(control_exists(control));
    EXPECT_TRUE(control_exists(toolbar_handle(TOOLBAR))) << "another window's toolbar lives on";
}

TEST_F(TwoWindowToolbarTest, FreeingAllDestroysEveryToolbar) {
    const std::intptr_t first = toolbar_handle(TOOLBAR);
    toolbar_free(-1);
    EXPECT_FALSE(control_exists(first));
    for (const std::intptr_t control : others_) EXPECT_FALSE(control_exists(control));
    EXPECT_EQ(toolbar_handle(dynamic_), 0);
    EXPECT_NE(window_handle(OTHER), 0) << "the windows stay";
}

TEST_F(ToolbarBehaviourTest, AHandleThatIsNoLiveImageMakesAWorkingButtonWithoutPicture) {
    const std::intptr_t freed = image_catch(0, toolbar_icon_data(0), toolbar_icon_size(0));
    ASSERT_NE(freed, 0);
    image_free(0);
    EXPECT_NE(toolbar_image_button(100, freed), 0);
    const std::intptr_t image = image_catch(1, toolbar_icon_data(1), toolbar_icon_size(1));
    EXPECT_NE(toolbar_image_button(101, image), 0);
    menu_items();

    click_toolbar_item(TOOLBAR, 0);
    EXPECT_EQ(menu_items(), std::vector<int>{100});
    click_toolbar_item(TOOLBAR, 1);
    EXPECT_EQ(menu_items(), std::vector<int>{101});
}

}  // namespace
