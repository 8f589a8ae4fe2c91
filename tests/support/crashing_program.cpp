// Reads address 0: the crash that a test under Wine may meet, on purpose.
#include <cstdio>

int main() {
    std::puts("crashing_program: reading address 0");
    std::fflush(stdout);
    // A volatile pointer: the compiler cannot know it is null and trap instead.
    int* volatile nowhere = nullptr;
    return *nowhere;
}
