// AnsiString: shared storage with a count, copied only when written.
#include "vcl/AnsiString.h"

#include <cstdlib>
#include <cstring>
#include <new>

AnsiString::Rep* AnsiString::Allocate(std::size_t length) {
  void* block = std::malloc(offsetof(Rep, data) + length + 1);
  if (!block) throw std::bad_alloc();
  Rep* rep = static_cast<Rep*>(block);
  rep->refs = 1;
  rep->length = length;
  rep->data[length] = '\0';
  return rep;
}

AnsiString::AnsiString(const char* text) : AnsiString(text, text ? std::strlen(text) : 0) {}

AnsiString::AnsiString(const char* text, std::size_t length) {
  if (length == 0) return;
  rep_ = Allocate(length);
  std::memcpy(rep_->data, text, length);
}

AnsiString::AnsiString(const AnsiString& other) : rep_(other.rep_) {
  if (rep_) ++rep_->refs;
}

AnsiString::AnsiString(AnsiString&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }

AnsiString& AnsiString::operator=(const AnsiString& other) {
  if (other.rep_) ++other.rep_->refs;
  Release();
  rep_ = other.rep_;
  return *this;
}

AnsiString& AnsiString::operator=(AnsiString&& other) noexcept {
  if (this != &other) {
    Release();
    rep_ = other.rep_;
    other.rep_ = nullptr;
  }
  return *this;
}

AnsiString::~AnsiString() { Release(); }

void AnsiString::Release() {
  if (rep_ && --rep_->refs == 0) std::free(rep_);
  rep_ = nullptr;
}

char* AnsiString::Unique() {
  if (!rep_) return nullptr;
  if (rep_->refs > 1) {
    Rep* copy = Allocate(rep_->length);
    std::memcpy(copy->data, rep_->data, rep_->length);
    --rep_->refs;
    rep_ = copy;
  }
  return rep_->data;
}

AnsiString AnsiString::SubString(std::size_t start, std::size_t count) const {
  std::size_t length = Length();
  if (start >= length) return AnsiString();
  if (count > length - start) count = length - start;
  return AnsiString(c_str() + start, count);
}

AnsiString& AnsiString::operator+=(const AnsiString& other) {
  *this = *this + other;
  return *this;
}

AnsiString operator+(const AnsiString& a, const AnsiString& b) {
  if (b.IsEmpty()) return a;
  if (a.IsEmpty()) return b;
  AnsiString result;
  result.rep_ = AnsiString::Allocate(a.Length() + b.Length());
  std::memcpy(result.rep_->data, a.c_str(), a.Length());
  std::memcpy(result.rep_->data + a.Length(), b.c_str(), b.Length());
  return result;
}
