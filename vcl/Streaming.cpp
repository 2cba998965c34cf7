// The form-file reader and writer.
#include "vcl/Streaming.h"

#include <cctype>
#include <string>
#include <vector>

#include "winapi/winapi.h"

namespace {

enum class Tok { End, Ident, Integer, String, Symbol };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier, string bytes, or the symbol
  long long number = 0;
  int line = 1;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) { Next(); }

  const Token& Peek() const { return tok_; }

  [[noreturn]] void Fail(const AnsiString& what) const {
    throw EReadError(Fmt(msg::kLine, {what, IntToStr(tok_.line), Describe(tok_)}));
  }
  [[noreturn]] void Expected(const char* what) const { Fail(Fmt(msg::kExpected, {what})); }

  Token Take() {
    Token t = tok_;
    Next();
    return t;
  }
  bool IsSymbol(char c) const { return tok_.kind == Tok::Symbol && tok_.text[0] == c; }
  bool IsWord(std::string_view w) const { return tok_.kind == Tok::Ident && SameText(tok_.text, w); }
  void ExpectSymbol(char c) {
    if (!IsSymbol(c)) Expected(std::string(1, c).insert(0, "'").append("'").c_str());
    Next();
  }
  std::string ExpectIdent(const char* what) {
    if (tok_.kind != Tok::Ident) Expected(what);
    return Take().text;
  }

 private:
  static AnsiString Describe(const Token& t) {
    switch (t.kind) {
      case Tok::End:
        return "EOF";
      case Tok::String:
        return AnsiString("'" + t.text + "'");
      default:
        return AnsiString(t.text);
    }
  }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  // Quoted runs and #nn codes, joined; '+' at a line end continues the string on the next line.
  void ReadString() {
    std::string out;
    for (;;) {
      if (pos_ < text_.size() && text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("'");
          char c = text_[pos_++];
          if (c == '\'') {
            if (pos_ < text_.size() && text_[pos_] == '\'') {
              out += '\'';
              ++pos_;
              continue;
            }
            break;
          }
          out += c;
        }
      } else if (pos_ < text_.size() && text_[pos_] == '#') {
        ++pos_;
        long long code = 0;
        std::size_t start = pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
          code = code * 10 + (text_[pos_++] - '0');
        if (pos_ == start || code > 255) Fail("#");
        out += static_cast<char>(code);
      } else {
        std::size_t save = pos_;
        int saveLine = line_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '+') {
          ++pos_;
          SkipSpace();
          if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
        }
        pos_ = save;
        line_ = saveLine;
        break;
      }
    }
    tok_.kind = Tok::String;
    tok_.text = out;
  }

  void Next() {
    SkipSpace();
    tok_ = Token{};
    tok_.line = line_;
    if (pos_ >= text_.size()) return;
    char c = text_[pos_];
    auto identChar = [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_'; };
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t start = pos_;
      while (pos_ < text_.size() && (identChar(text_[pos_]) || text_[pos_] == '.')) ++pos_;
      tok_.kind = Tok::Ident;
      tok_.text = std::string(text_.substr(start, pos_ - start));
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$') {
      bool negative = c == '-';
      if (negative) ++pos_;
      int base = 10;
      if (pos_ < text_.size() && text_[pos_] == '$') {
        base = 16;
        ++pos_;
      }
      std::size_t start = pos_;
      long long value = 0;
      while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
        char d = text_[pos_];
        int digit = std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::tolower(d) - 'a' + 10);
        if (digit >= base) break;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) Fail("integer");
        ++pos_;
      }
      if (pos_ == start) Fail("integer");
      tok_.kind = Tok::Integer;
      tok_.number = negative ? -value : value;
      tok_.text = std::string(text_.substr(start, pos_ - start));
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else {
      tok_.kind = Tok::Symbol;
      tok_.text = std::string(1, c);
      ++pos_;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  Token tok_;
};

struct Fixup {
  TObject* object;
  const PropInfo* prop;
  std::string name;
  int line;
};

class Reader {
 public:
  Reader(TComponent* root, std::string_view text) : root_(root), p_(text) {}

  void Read() {
    if (!p_.IsWord("object")) p_.Expected("object");
    p_.Take();
    std::string name = p_.ExpectIdent("name");
    p_.ExpectSymbol(':');
    int classLine = p_.Peek().line;
    std::string cls = p_.ExpectIdent("class name");
    if (!SameText(cls, root_->ClassName()))
      throw EReadError(Fmt(msg::kLine, {Fmt(msg::kExpected, {root_->ClassName()}), IntToStr(classLine), cls}));
    root_->BeginLoading();
    loaded_.push_back(root_);
    root_->SetName(AnsiString(name));
    ReadBody(root_);
    if (p_.Peek().kind != Tok::End) p_.Expected("EOF");
    for (const Fixup& f : fixups_) {
      TComponent* target = SameText(f.name, root_->Name().View()) ? root_ : root_->FindComponent(f.name);
      if (!target)
        throw EReadError(Fmt(
            msg::kLine, {Fmt(msg::kComponentNotFound, {AnsiString(f.name)}), IntToStr(f.line), AnsiString(f.name)}));
      f.prop->setComp(f.object, target);
    }
    for (TComponent* c : loaded_) c->EndLoading();
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  void ReadBody(TComponent* current) {
    for (;;) {
      if (p_.Peek().kind == Tok::End) p_.Expected("end");
      if (p_.IsWord("end")) {
        p_.Take();
        return;
      }
      if (p_.IsWord("object")) {
        ReadChild(current);
        continue;
      }
      ReadProperty(current);
    }
  }

  void ReadChild(TComponent* parent) {
    p_.Take();
    std::string name = p_.ExpectIdent("name");
    p_.ExpectSymbol(':');
    int line = p_.Peek().line;
    std::string cls = p_.ExpectIdent("class name");
    const TClassInfo* info = FindClass(cls);
    if (!info || !info->create)
      throw EClassNotFound(Fmt(msg::kLine, {Fmt(msg::kClassNotFound, {AnsiString(cls)}), IntToStr(line), cls}));
    TComponent* child = info->create(root_);
    child->BeginLoading();
    loaded_.push_back(child);
    child->SetParentComponent(parent);
    child->SetName(AnsiString(name));
    if (const FieldInfo* field = root_->ClassType().FindField(name)) {
      if (!field->assign(root_, child))
        throw EReadError(Fmt(msg::kLine, {AnsiString(msg::kInvalidCast), IntToStr(line), cls}));
    }
    ReadBody(child);
  }

  void ReadProperty(TComponent* component) {
    int line = p_.Peek().line;
    std::string path = p_.ExpectIdent("property name");
    p_.ExpectSymbol('=');
    TObject* object = component;
    std::size_t start = 0;
    const PropInfo* prop = nullptr;
    for (;;) {
      std::size_t dot = path.find('.', start);
      std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      prop = object->ClassType().FindProp(part);
      if (!prop && dot == std::string::npos && object == component && component->HasDesignPos() &&
          (SameText(part, "Left") || SameText(part, "Top"))) {
        long long v = ExpectInt(path);
        if (SameText(part, "Left"))
          component->SetDesignPos(static_cast<int>(v), component->DesignTop());
        else
          component->SetDesignPos(component->DesignLeft(), static_cast<int>(v));
        return;
      }
      if (!prop)
        throw EReadError(
            Fmt(msg::kLine, {Fmt(msg::kUnknownProperty, {AnsiString(path)}), IntToStr(line), AnsiString(path)}));
      if (dot == std::string::npos) break;
      if (prop->kind != PropKind::Object || !prop->getObj(object)) BadValue(path);
      object = prop->getObj(object);
      start = dot + 1;
    }
    Assign(object, *prop, path, line);
  }

  [[noreturn]] void BadValue(const std::string& path) {
    p_.Fail(Fmt(msg::kInvalidPropertyValue, {AnsiString(path), AnsiString(p_.Peek().text)}));
  }

  long long ExpectInt(const std::string& path) {
    if (p_.Peek().kind != Tok::Integer) BadValue(path);
    return p_.Take().number;
  }

  std::int64_t Ident(const PropInfo& prop, const std::string& path) {
    if (p_.Peek().kind != Tok::Ident || !prop.idents) BadValue(path);
    auto v = prop.idents->ValueOf(p_.Peek().text);
    if (!v) BadValue(path);
    p_.Take();
    return *v;
  }

  void Assign(TObject* object, const PropInfo& prop, const std::string& path, int line) {
    switch (prop.kind) {
      case PropKind::Integer:
        prop.setOrd(object, ExpectInt(path));
        break;
      case PropKind::IntIdent:
        prop.setOrd(object, p_.Peek().kind == Tok::Integer ? ExpectInt(path) : Ident(prop, path));
        break;
      case PropKind::Enum:
        prop.setOrd(object, Ident(prop, path));
        break;
      case PropKind::Bool: {
        if (p_.IsWord("True"))
          prop.setOrd(object, 1);
        else if (p_.IsWord("False"))
          prop.setOrd(object, 0);
        else
          BadValue(path);
        p_.Take();
        break;
      }
      case PropKind::Set: {
        if (!p_.IsSymbol('[')) BadValue(path);
        p_.Take();
        std::int64_t bits = 0;
        while (!p_.IsSymbol(']')) {
          bits |= std::int64_t{1} << Ident(prop, path);
          if (p_.IsSymbol(','))
            p_.Take();
          else if (!p_.IsSymbol(']'))
            p_.Expected("']'");
        }
        p_.Take();
        prop.setOrd(object, bits);
        break;
      }
      case PropKind::String:
        if (p_.Peek().kind != Tok::String) BadValue(path);
        prop.setStr(object, AnsiString(p_.Take().text));
        break;
      case PropKind::Event: {
        if (p_.Peek().kind != Tok::Ident) BadValue(path);
        std::string handler = p_.Take().text;
        const MethodInfo* m = root_->ClassType().FindMethod(handler);
        if (!m || *m->eventType != *prop.eventType)
          throw EReadError(
              Fmt(msg::kLine, {Fmt(msg::kMethodNotFound, {AnsiString(handler)}), IntToStr(line), AnsiString(handler)}));
        prop.setEvent(object, root_, m->code);
        break;
      }
      case PropKind::Component:
        if (p_.Peek().kind != Tok::Ident) BadValue(path);
        fixups_.push_back({object, &prop, p_.Take().text, line});
        break;
      case PropKind::Object:
        BadValue(path);
    }
  }

  TComponent* root_;
  Parser p_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
};

// ---- Writer

std::string Quote(std::string_view s) {
  std::string out;
  bool open = false;
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20) {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(u);
    } else {
      if (!open) out += '\'';
      open = true;
      out += c;
      if (c == '\'') out += '\'';
    }
  }
  if (open) out += '\'';
  return out;
}

class Writer {
 public:
  explicit Writer(TComponent* root) : root_(root) {}

  std::string Write() {
    WriteObject(root_, 0);
    return out_;
  }

 private:
  void Line(int indent, const std::string& text) {
    out_ += std::string(static_cast<std::size_t>(indent), ' ') + text + "\r\n";
  }

  void WriteObject(TComponent* c, int indent) {
    Line(indent, "object " + c->Name().ToString() + ": " + c->ClassName());
    WriteProps(c, "", indent + 2);
    if (c != root_ && c->HasDesignPos()) {
      Line(indent + 2, "Left = " + std::to_string(c->DesignLeft()));
      Line(indent + 2, "Top = " + std::to_string(c->DesignTop()));
    }
    std::vector<TComponent*> children;
    c->GetChildren(children, root_);
    for (TComponent* child : children) WriteObject(child, indent + 2);
    Line(indent, "end");
  }

  void WriteProps(TObject* object, const std::string& prefix, int indent) {
    for (const PropInfo* p : object->ClassType().AllProps()) {
      if (p->stored && !p->stored(object)) continue;
      std::string name = prefix + p->name;
      switch (p->kind) {
        case PropKind::Object:
          if (TPersistent* sub = p->getObj(object)) WriteProps(sub, name + ".", indent);
          break;
        case PropKind::String: {
          AnsiString v = p->getStr(object);
          if (!v.IsEmpty()) Line(indent, name + " = " + Quote(v.View()));
          break;
        }
        case PropKind::Event: {
          auto [data, code] = p->getEvent(object);
          if (!code || data != root_) break;
          if (const MethodInfo* m = root_->ClassType().FindMethodByCode(code)) Line(indent, name + " = " + m->name);
          break;
        }
        case PropKind::Component:
          if (TComponent* c = p->getComp(object)) Line(indent, name + " = " + c->Name().ToString());
          break;
        default: {
          std::int64_t v = p->getOrd(object);
          if (p->def && *p->def == v) break;
          Line(indent, name + " = " + FormatOrd(*p, v));
        }
      }
    }
  }

  static std::string FormatOrd(const PropInfo& p, std::int64_t v) {
    switch (p.kind) {
      case PropKind::Bool:
        return v ? "True" : "False";
      case PropKind::Enum:
      case PropKind::IntIdent:
        if (const char* n = p.idents ? p.idents->NameOf(v) : nullptr) return n;
        return std::to_string(v);
      case PropKind::Set: {
        std::string out = "[";
        for (const auto& [n, bit] : p.idents->entries)
          if (v & (std::int64_t{1} << bit)) out += (out.size() > 1 ? ", " : "") + std::string(n);
        return out + "]";
      }
      default:
        return std::to_string(v);
    }
  }

  TComponent* root_;
  std::string out_;
};

}  // namespace

void ReadComponent(TComponent* root, std::string_view text) { Reader(root, text).Read(); }

void ReadComponentResource(TComponent* root, const TClassInfo& cls) {
  std::string name = cls.name;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, name.c_str(), RT_RCDATA);
  if (!res) throw EResNotFound(Fmt(msg::kResNotFound, {AnsiString(name)}));
  HGLOBAL data = LoadResource(module, res);
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw EResNotFound(Fmt(msg::kResNotFound, {AnsiString(name)}));
  ReadComponent(root, std::string_view(bytes, SizeofResource(module, res)));
}

AnsiString WriteComponent(TComponent* root) { return AnsiString(Writer(root).Write()); }
