// AnsiString: the 8-bit, reference-counted string of the system's ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class AnsiString {
 public:
  AnsiString() = default;
  AnsiString(const char* text);  // NOLINT: literals convert implicitly, as in the system's own code
  AnsiString(const char* text, std::size_t length);
  AnsiString(std::string_view text) : AnsiString(text.data(), text.size()) {}
  AnsiString(const std::string& text) : AnsiString(text.data(), text.size()) {}
  AnsiString(const AnsiString& other);
  AnsiString(AnsiString&& other) noexcept;
  AnsiString& operator=(const AnsiString& other);
  AnsiString& operator=(AnsiString&& other) noexcept;
  ~AnsiString();

  std::size_t Length() const { return rep_ ? rep_->length : 0; }
  bool IsEmpty() const { return Length() == 0; }
  // Never null: an empty string gives "".
  const char* c_str() const { return rep_ ? rep_->data : ""; }
  char operator[](std::size_t index) const { return c_str()[index]; }
  // A private, writable copy of the characters (copy on write).
  char* Unique();
  // `count` bytes from `start` (0-based), cut at the end of the string.
  AnsiString SubString(std::size_t start, std::size_t count = npos) const;
  std::string_view View() const { return {c_str(), Length()}; }
  std::string ToString() const { return std::string(View()); }
  int RefCount() const { return rep_ ? rep_->refs : 0; }

  AnsiString& operator+=(const AnsiString& other);
  friend AnsiString operator+(const AnsiString& a, const AnsiString& b);
  friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.View() == b.View(); }
  friend bool operator==(const AnsiString& a, const char* b) { return a.View() == std::string_view(b); }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  struct Rep {
    int refs;
    std::size_t length;
    char data[1];
  };
  static Rep* Allocate(std::size_t length);
  void Release();
  Rep* rep_ = nullptr;
};
