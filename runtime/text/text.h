// Texts: null-terminated UTF-16 strings in the runtime's text heap.
//
// A text variable is a char16_t* that owns its block (or is null, which reads
// as the empty text). Texts are built in the calling thread's text builder:
// take a mark, append pieces (or let a text-returning operation write at the
// current position), then assign from the mark into a variable, or pass the
// address of the built text to another operation and rewind to the mark.
// Positions and marks are byte offsets into the builder; marks nest.
//
// Text-returning operations take a builder position (-1 = the current one),
// write their result there, null-terminated, and leave the position at the end
// of the result (before its null). They return the result's address, valid
// until the builder grows or is rewound. Their sources may lie in the builder
// themselves: they are found again after the buffer grew.
//
// Bad arguments are clamped, never trusted: null texts read as empty, marks
// and positions are held to the text built so far (any negative position is
// the current one), counts below 0 count as 0. When the text heap cannot give
// what a text needs, the process ends (abort) rather than carry on with a
// truncated or overwritten text.
#pragma once

#include <cstdint>

// Start-up and end: the text heap, the thread-local builder slot and the
// calling (main) thread's builder. text_end frees every text still assigned.
bool text_init();
void text_end();

// The builder of the calling thread.
void text_builder_ensure();
int text_builder_mark();
void text_builder_append(const char16_t* text);
void text_builder_assign(char16_t** variable, int mark);
char16_t* text_builder_reserve(int char_count, int position);
void text_builder_release(int char_count);
void text_builder_rewind(int mark);
char16_t* text_builder_address(int mark);

// Text variables.
void text_assign(char16_t** variable, const char16_t* text);
void text_free(char16_t** variable);
int text_equal(const char16_t* a, const char16_t* b);
int text_char_count(const char16_t* text);

// Building operations (see above for position and result).
char16_t* text_from_int(std::int64_t value, int position);
int text_count(const char16_t* text, const char16_t* pattern);
char16_t* text_field(const char16_t* text, int field, const char16_t* separator, int position);

// Case-insensitive comparison folds ASCII, Latin-1, Latin Extended-A and the
// basic Greek and Cyrillic letters. In place, the replacement must be as long
// as the pattern (otherwise nothing changes) and the text itself is returned.
inline constexpr int TEXT_NO_CASE = 1;   // compare without regard to case
inline constexpr int TEXT_IN_PLACE = 2;  // overwrite matches in the text itself
char16_t* text_replace(char16_t* text, const char16_t* pattern, const char16_t* replacement,
                       int mode, int position);
char16_t* text_right(const char16_t* text, int count, int position);
char16_t* path_file_part(const char16_t* path, int position);
char16_t* path_extension_part(const char16_t* path, int position);
