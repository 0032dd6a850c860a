#pragma once

#include <string>

namespace quorvane {

class TextField;

// Removes blanks (spaces only) at both ends.
std::string trimSpaces(const std::string& text);

// The text trimmed of spaces, then reversed; empty gives empty.
std::string reverseString(const std::string& text);
// Appends "0" until the text is `width` long; never shortens.
std::string padZerosRight(const std::string& text, int width);
// The text trimmed of spaces and left-padded with "0" to `width`, never shortened.
std::string zeroPad(const std::string& text, int width);

// Selects the whole text of a field, so that typing replaces it. Fails quietly.
void selectAllText(TextField& field);
// Light orange background while highlighted, white otherwise; black text. Fails quietly.
void highlightField(TextField& field, bool highlight);

} // namespace quorvane
