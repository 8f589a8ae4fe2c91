// The playback tests' fixture, shared with the tests of the volume pop-up:
// three songs of the wrapper's, the media layer started once, nothing
// playing at the start of each test.
#pragma once

#include <string>

#include "tests/app/app_support.h"

class Playback : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void drop_songs();

    std::u16string first, second, third;
};

// Movie 0 plays the file, and the program says so.
void expect_playing(const std::u16string& path);
// No movie loaded, and the program says so.
void expect_nothing_loaded();
