// The editing rules of the numeric entry (`CDUINumEdit`, element `numedit`): a text with a caret
// that takes digits (also from the keypad), at most one decimal point, Backspace, Delete, Left
// and Right, and ignores every other key. Platform-free: key-downs arrive as Windows virtual-key
// numbers, taken as plain integers.
#ifndef UIFRAMEWORK_NUMBER_ENTRY_H_
#define UIFRAMEWORK_NUMBER_ENTRY_H_

#include <cstddef>
#include <cstdint>
#include <string>

class NumberEntry {
 public:
  // Replaces the text as it is (it is the program's, not typed) and puts the caret after it.
  void SetText(const std::wstring& text);
  // One key-down; true when the text or the caret changed (the control then repaints).
  bool OnKeyDown(uint32_t key);

  const std::wstring& text() const { return text_; }
  size_t caret() const { return caret_; }

 private:
  bool Insert(wchar_t character);

  std::wstring text_;
  size_t caret_ = 0;  // characters before the caret
};

#endif  // UIFRAMEWORK_NUMBER_ENTRY_H_
