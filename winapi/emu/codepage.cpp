// Text services of the ANSI code page 932 (Shift-JIS) and UTF-8, converted through the C library's iconv.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

constexpr char16_t kDefaultWide = u'\u30FB';  // what code page 932 gives for a byte sequence it cannot read
constexpr char kDefaultAnsi = '?';
constexpr char16_t kReplacement = u'\uFFFD';  // UTF-8's stand-in for a broken sequence

bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (Ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of [in, in+n) or fails, leaving `out` as it was.
  bool Whole(const char* in, std::size_t n, std::string* out) {
    std::string buffer(n * 4 + 8, '\0');
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = n;
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return false;
    out->append(buffer.data(), buffer.size() - dstLeft);
    return true;
  }

  // Converts as much as it can; `onBroken(error, bytesLeft)` appends a stand-in and says how many input bytes
  // to skip (0: stop).
  template <typename OnBroken>
  void Lenient(const char* in, std::size_t n, std::string* out, OnBroken onBroken) {
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = n;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (srcLeft > 0) {
      char chunk[256];
      char* dst = chunk;
      std::size_t dstLeft = sizeof chunk;
      const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int error = errno;
      out->append(chunk, sizeof chunk - dstLeft);
      if (r != static_cast<std::size_t>(-1)) break;
      if (error == E2BIG) continue;
      const std::size_t skip = onBroken(error, srcLeft);
      if (skip == 0) break;
      src += skip;
      srcLeft -= skip;
    }
  }

 private:
  iconv_t cd_;
};

std::u16string FromUtf16Bytes(const std::string& bytes) {
  std::u16string s;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    s.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return s;
}

std::string ToUtf16Bytes(const char16_t* s, std::size_t n) {
  std::string bytes;
  for (std::size_t i = 0; i < n; ++i) {
    bytes.push_back(static_cast<char>(s[i] & 0xFF));
    bytes.push_back(static_cast<char>(s[i] >> 8));
  }
  return bytes;
}

void AppendUtf16(std::string* bytes, char16_t c) {
  bytes->push_back(static_cast<char>(c & 0xFF));
  bytes->push_back(static_cast<char>(c >> 8));
}

// Single bytes outside the code page that Windows still maps, both ways, to fixed code points.
struct Extra {
  unsigned char byte;
  char16_t wide;
};
constexpr Extra kExtras[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'}};

std::u16string DecodeAnsi(const unsigned char* p, std::size_t n) {
  Iconv cv("UTF-16LE", "CP932");
  std::u16string out;
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    bool extra = false;
    for (const Extra& e : kExtras) {
      if (e.byte == b) {
        out.push_back(e.wide);
        extra = true;
      }
    }
    if (extra) {
      ++i;
      continue;
    }
    std::size_t len = 1;
    if (IsLeadByte(b)) {
      if (i + 1 >= n || !IsTrailByte(p[i + 1])) {
        out.push_back(kDefaultWide);  // a lead byte without its trail stands alone
        ++i;
        continue;
      }
      len = 2;
    }
    std::string units;
    if (cv.Ok() && cv.Whole(reinterpret_cast<const char*>(p + i), len, &units))
      out += FromUtf16Bytes(units);
    else
      out.push_back(kDefaultWide);
    i += len;
  }
  return out;
}

std::string EncodeAnsi(const char16_t* s, std::size_t n, char defaultChar, bool* usedDefault) {
  Iconv cv("CP932", "UTF-16LE");
  std::string out;
  std::size_t i = 0;
  while (i < n) {
    const char16_t c = s[i];
    bool extra = false;
    for (const Extra& e : kExtras) {
      if (e.wide == c) {
        out.push_back(static_cast<char>(e.byte));
        extra = true;
      }
    }
    if (extra) {
      ++i;
      continue;
    }
    std::size_t len = 1;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) len = 2;
    const std::string bytes = ToUtf16Bytes(s + i, len);
    if (!(cv.Ok() && cv.Whole(bytes.data(), bytes.size(), &out))) {
      out.push_back(defaultChar);
      *usedDefault = true;
    }
    i += len;
  }
  return out;
}

std::u16string DecodeUtf8(const char* p, std::size_t n) {
  Iconv cv("UTF-16LE", "UTF-8");
  std::string units;
  cv.Lenient(p, n, &units, [&units](int error, std::size_t left) -> std::size_t {
    AppendUtf16(&units, kReplacement);
    return error == EILSEQ && left > 0 ? 1 : 0;
  });
  return FromUtf16Bytes(units);
}

std::string EncodeUtf8(const char16_t* s, std::size_t n) {
  Iconv cv("UTF-8", "UTF-16LE");
  const std::string bytes = ToUtf16Bytes(s, n);
  std::string out;
  cv.Lenient(bytes.data(), bytes.size(), &out, [&out](int error, std::size_t left) -> std::size_t {
    out += "\xEF\xBF\xBD";  // a lone surrogate becomes U+FFFD
    return error == EILSEQ && left >= 2 ? 2 : 0;
  });
  return out;
}

bool IsAcp(UINT codePage) { return codePage == CP_ACP || codePage == 932; }

char FoldAscii(char c, bool fold) { return fold && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Sort weights of one character: letters after digits after the other ASCII characters, then the
// rest in code order; case counts only when everything else is equal, small letters first.
struct Weight {
  unsigned primary;
  unsigned caseRank;
};

std::vector<Weight> Weights(const std::string& s, bool ignoreCase) {
  std::vector<Weight> w;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = CharLength(s, i);
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (len == 2) {
      w.push_back({0x10000u + (b << 8) + static_cast<unsigned char>(s[i + 1]), 0});
    } else if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) {
      const bool upper = b <= 'Z';
      w.push_back({0x300u + (upper ? b - 'A' : b - 'a'), !ignoreCase && upper ? 1u : 0u});
    } else if (b >= '0' && b <= '9') {
      w.push_back({0x200u + b - '0', 0});
    } else if (b == 0) {
      w.push_back({0, 0});
    } else if (b < 0x80) {
      w.push_back({0x100u + b, 0});
    } else {
      w.push_back({0x10000u + b, 0});
    }
    i += len;
  }
  return w;
}

}  // namespace

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::size_t CharLength(const std::string& s, std::size_t i) {
  if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
      IsTrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t len = CharLength(a, i);
    if (len != CharLength(b, i)) return false;
    if (len == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAscii(a[i], true) != FoldAscii(b[i], true)) {
      return false;
    }
    i += len;
  }
  return true;
}

std::string WideToAnsi(const std::u16string& s) {
  bool used = false;
  return EncodeAnsi(s.data(), s.size(), kDefaultAnsi, &used);
}

std::string WideToUtf8(const std::u16string& s) { return EncodeUtf8(s.data(), s.size()); }

}  // namespace emu

// Both conversions hand their result back alike: the size needed for a capacity of 0; too small a buffer
// is filled as far as it goes and the call fails.
namespace {
template <class Text, class Char>
int CopyOut(const Text& text, Char* dst, int dstLen) {
  const int needed = static_cast<int>(text.size());
  if (dstLen == 0) return needed;
  if (needed > dstLen) {
    text.copy(dst, static_cast<std::size_t>(dstLen));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  text.copy(dst, text.size());
  return needed;
}
}  // namespace

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLen, LPWSTR dst, int dstLen) {
  const std::size_t n =
      src == nullptr ? 0 : (srcLen == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcLen < 0 ? 0 : srcLen));
  emu::Log("MultiByteToWideChar(" + std::to_string(codePage) + ", " + std::to_string(flags) + ", " +
           (src == nullptr ? std::string("null") : std::string(src, srcLen == -1 ? n - 1 : n)) + ", " +
           std::to_string(srcLen) + ", " + std::to_string(dstLen) + ")");
  if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0 || (dst == nullptr && dstLen > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!emu::IsAcp(codePage) && codePage != CP_UTF8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (flags != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const std::u16string wide =
      emu::IsAcp(codePage) ? emu::DecodeAnsi(reinterpret_cast<const unsigned char*>(src), n) : emu::DecodeUtf8(src, n);
  return CopyOut(wide, dst, dstLen);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLen, LPSTR dst, int dstLen,
                               LPCSTR defaultChar, LPBOOL usedDefault) {
  emu::Log("WideCharToMultiByte(" + std::to_string(codePage) + ", " + std::to_string(flags) + ", " +
           std::to_string(srcLen) + ", " + std::to_string(dstLen) + ")");
  if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0 || (dst == nullptr && dstLen > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!emu::IsAcp(codePage) && codePage != CP_UTF8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // UTF-8 can hold everything, so it takes no stand-in character.
  if (codePage == CP_UTF8 && (defaultChar != nullptr || usedDefault != nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (flags != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  std::size_t n = 0;
  if (srcLen == -1) {
    while (src[n] != 0) ++n;
    ++n;
  } else {
    n = static_cast<std::size_t>(srcLen);
  }
  bool used = false;
  const std::string bytes =
      emu::IsAcp(codePage) ? emu::EncodeAnsi(src, n, defaultChar != nullptr ? *defaultChar : emu::kDefaultAnsi, &used)
                           : emu::EncodeUtf8(src, n);
  if (usedDefault != nullptr) *usedDefault = used ? TRUE : FALSE;
  return CopyOut(bytes, dst, dstLen);
}

UINT WINAPI GetACP() { return 932; }

BOOL WINAPI IsDBCSLeadByte(BYTE b) { return emu::IsLeadByte(b) ? TRUE : FALSE; }

DWORD WINAPI CharUpperBuffA(LPSTR text, DWORD length) {
  if (text == nullptr) return 0;
  const std::string s(text, length);
  for (std::size_t i = 0; i < s.size(); i += emu::CharLength(s, i))
    if (s[i] >= 'a' && s[i] <= 'z') text[i] = static_cast<char>(s[i] - 'a' + 'A');
  return length;
}

int WINAPI CompareStringA(LCID locale, DWORD flags, LPCSTR a, int aLen, LPCSTR b, int bLen) {
  (void)locale;
  if (a == nullptr || b == nullptr || aLen < -1 || bLen < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if ((flags & ~static_cast<DWORD>(NORM_IGNORECASE)) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const bool ignoreCase = (flags & NORM_IGNORECASE) != 0;
  const std::string sa = aLen == -1 ? std::string(a) : std::string(a, static_cast<std::size_t>(aLen));
  const std::string sb = bLen == -1 ? std::string(b) : std::string(b, static_cast<std::size_t>(bLen));
  const std::vector<emu::Weight> wa = emu::Weights(sa, ignoreCase);
  const std::vector<emu::Weight> wb = emu::Weights(sb, ignoreCase);
  const std::size_t common = wa.size() < wb.size() ? wa.size() : wb.size();
  for (std::size_t i = 0; i < common; ++i)
    if (wa[i].primary != wb[i].primary) return wa[i].primary < wb[i].primary ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  if (wa.size() != wb.size()) return wa.size() < wb.size() ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  for (std::size_t i = 0; i < common; ++i)
    if (wa[i].caseRank != wb[i].caseRank) return wa[i].caseRank < wb[i].caseRank ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  return CSTR_EQUAL;
}
