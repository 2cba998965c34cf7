// The installer's window: target discovery on show, the OK and CANCEL actions.
#include "install/inst_Unit1.h"

#include <algorithm>
#include <iterator>

#include "install/Paths.h"
#include "install/ShellServices.h"
#include "winapi/winapi.h"

TForm1* Form1 = nullptr;

// The form file creates these by name. Registering them from here also links their units in: nothing else
// refers to them, and the linker leaves out what nothing refers to.
static ClassRegistration gradBoxRegistration(TGradBox::StaticClass());
static ClassRegistration cuteButtonRegistration(TCuteButton::StaticClass());

const TClassInfo& TForm1::StaticClass() {
  using F = TForm1;
  static const TClassInfo info{"TForm1",
                               &TForm::StaticClass(),
                               nullptr,
                               {},
                               {
                                   PublishedMethod<&F::CuteButton1Click>("CuteButton1Click"),
                                   PublishedMethod<&F::FormShow>("FormShow"),
                                   PublishedMethod<&F::CuteButton2Click>("CuteButton2Click"),
                               },
                               {
                                   PublishedField<&F::GradBox1>("GradBox1"),
                                   PublishedField<&F::CuteButton1>("CuteButton1"),
                                   PublishedField<&F::Label1>("Label1"),
                                   PublishedField<&F::Label2>("Label2"),
                                   PublishedField<&F::Label3>("Label3"),
                                   PublishedField<&F::TitleLabel>("TitleLabel"),
                                   PublishedField<&F::CuteButton2>("CuteButton2"),
                                   PublishedField<&F::CheckBox1>("CheckBox1"),
                                   PublishedField<&F::Label4>("Label4"),
                                   PublishedField<&F::CheckBox2>("CheckBox2"),
                               }};
  return info;
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  InitInheritedComponent(StaticClass());
  TargetDir = AnsiString();
  TargetName = AnsiString();
}

TForm1::~TForm1() {
  TargetName = AnsiString();
  TargetDir = AnsiString();
}

namespace {

AnsiString EntryName(const WIN32_FIND_DATAA& entry) {
  const char* end = std::find(std::begin(entry.cFileName), std::end(entry.cFileName), '\0');
  return AnsiString(entry.cFileName, static_cast<std::size_t>(end - entry.cFileName));
}

}  // namespace

void TForm1::FormShow(TObject*) {
  const AnsiString exe = Application->ExeName();
  TargetDir = paths::FolderPart(exe);
  TargetName = AnsiString();
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((TargetDir + "*.exe").c_str(), &entry);
  // Nothing listed: no target, and the title keeps saying so.
  if (search == INVALID_HANDLE_VALUE) return;
  TargetName = EntryName(entry);
  bool named = true;
  if (paths::SameFileName(TargetName, paths::FileNamePart(exe))) {
    // The installer itself: the next entry is the target, whatever it is; without one it stays the target.
    if (FindNextFileA(search, &entry))
      TargetName = EntryName(entry);
    else
      named = false;
  }
  FindClose(search);
  if (named) TitleLabel->SetCaption(TargetName + "のインストール");
}

void TForm1::CuteButton1Click(TObject*) {
  // Without a target there is nothing to link to: a link would point at the folder itself.
  if (!TargetName.IsEmpty()) {
    const AnsiString target = TargetDir + TargetName;
    if (CheckBox1->Checked()) {
      const AnsiString link = paths::LinkPath(GetDesktopFolder(), TargetName);
      if (!link.IsEmpty()) CreateShortcut(target, link);
    }
    if (CheckBox2->Checked()) {
      const AnsiString link = paths::LinkPath(GetProgramsFolder(), TargetName);
      if (!link.IsEmpty()) CreateShortcut(target, link);
    }
  }
  Close();
}

void TForm1::CuteButton2Click(TObject*) { Close(); }
