#pragma once
// Text on its way into bytes that leave the program (datagram fields).

#include <string>

// The platform's single-byte form of a UTF-8 text: one byte per character as the edit
// controls count characters (UTF-16 code units), the character's Latin-1 byte where it has
// one and '?' otherwise. Its size is therefore the text's length in characters.
std::string SingleByteText(const std::string& utf8);
