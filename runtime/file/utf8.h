// UTF-8 <-> UTF-16, done by the runtime itself so that every platform treats
// malformed input the same way.
//
// Decoding: each well-formed sequence gives its character (a surrogate pair
// above U+FFFF). Malformed input gives U+FFFD once per maximal subpart: a byte
// that cannot start a sequence, or the longest start of a sequence that cannot
// be completed, is replaced as a whole and decoding resumes at the next byte.
// Overlong forms, encoded surrogates and values above U+10FFFF have no
// well-formed start longer than one byte, so each of their bytes becomes one
// U+FFFD.
// A byte-order mark is an ordinary character (U+FEFF).
//
// Encoding: a surrogate pair gives one 4-byte sequence; a surrogate without
// its partner cannot be carried by UTF-8 and becomes U+FFFD (EF BF BD).
#pragma once

#include <cstddef>
#include <vector>

// Decodes n bytes into out, which has room for n characters (never more are
// needed). Returns the number of characters written; no terminator.
std::size_t utf8_decode(const unsigned char* bytes, std::size_t n, char16_t* out);

// The length of the well-formed sequence the n bytes (n > 0) start with; 0
// when they start with none (decoding would replace what is there).
std::size_t utf8_sequence_length(const unsigned char* bytes, std::size_t n);

// The length of the longest start of the n bytes that is well-formed UTF-8:
// n when all of them are.
std::size_t utf8_well_formed_length(const unsigned char* bytes, std::size_t n);

// How many continuation bytes the well-formed start of a sequence at the end
// of the n bytes still lacks; 0 when they end with a whole character or with
// bytes that start none.
std::size_t utf8_missing_at_end(const unsigned char* bytes, std::size_t n);

// Encodes n characters into out, which has room for 3 * n bytes (never more
// are needed). Returns the number of bytes written; no terminator.
std::size_t utf8_encode(const char16_t* text, std::size_t n, unsigned char* out);

// A null-terminated text (null reads as empty) as UTF-8 in bytes, which grows
// as needed and is meant to be reused. Returns the length, without terminator.
std::size_t text_to_utf8(const char16_t* text, std::vector<unsigned char>& bytes);
