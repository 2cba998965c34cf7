// The exception classes of the class library and its Japanese message texts.
#pragma once

#include <exception>
#include <initializer_list>
#include <string_view>

#include "vcl/AnsiString.h"

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : message_(std::move(message)) {}
  const AnsiString& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  AnsiString message_;
};

// Windows refused a resource the library asked for (a timer, a window).
class EOutOfResources : public Exception {
  using Exception::Exception;
};
class EResNotFound : public Exception {
  using Exception::Exception;
};
class EInvalidCast : public Exception {
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EComponentError : public Exception {
  using Exception::Exception;
};
// A form file that cannot be read: the message names the line and what was expected.
class EReadError : public Exception {
  using Exception::Exception;
};
class EClassNotFound : public EReadError {
  using EReadError::EReadError;
};

// The library's own texts. Each %s is replaced in order by Fmt.
namespace msg {
inline constexpr const char* kNoTimers = "利用できるタイマーが足りません";
inline constexpr const char* kWindowCreate = "ウィンドウを作成できません";
inline constexpr const char* kResNotFound = "リソース %s が見つかりません";
inline constexpr const char* kInvalidCast = "型キャストが正しくありません";
inline constexpr const char* kClassNotFound = "クラス %s が見つかりません";
inline constexpr const char* kUnknownProperty = "プロパティ %s は存在しません";
inline constexpr const char* kInvalidPropertyValue = "プロパティ %s の値 %s が正しくありません";
inline constexpr const char* kMethodNotFound = "メソッド %s が見つかりません";
inline constexpr const char* kComponentNotFound = "コンポーネント %s が見つかりません";
inline constexpr const char* kDuplicateName = "%s という名前のコンポーネントは既にあります";
inline constexpr const char* kInvalidName = "%s はコンポーネント名として使えません";
inline constexpr const char* kLine = "%s (%s 行目: %s)";
inline constexpr const char* kExpected = "%s が必要です";
inline constexpr const char* kNoCanvasHandle = "キャンバスに描画できません";
inline constexpr const char* kCannotFocus = "無効または非表示のウィンドウにはフォーカスを移せません";
}  // namespace msg

// Replaces each %s of `pattern` by the next argument.
AnsiString Fmt(const char* pattern, std::initializer_list<AnsiString> args);
AnsiString IntToStr(long long value);
// ASCII case-insensitive equality, for identifiers.
bool SameText(std::string_view a, std::string_view b);

// Upper-cases a copy with the system's ANSI rules (double-byte characters untouched).
AnsiString AnsiUpperCase(const AnsiString& s);

// Everything up to and including the last '\' or ':' that is not the second byte of a double-byte character.
AnsiString ExtractFilePath(const AnsiString& path);
// Everything after that separator; the whole path when it has none.
AnsiString ExtractFileName(const AnsiString& path);
