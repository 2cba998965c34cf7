object Form1: TForm1
  Left = 214
  Top = 114
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'QUOLLSET'
  ClientHeight = 153
  ClientWidth = 241
  Color = 10066329
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  HorzScrollBar.Visible = False
  Position = poScreenCenter
  Scaled = False
  VertScrollBar.Visible = False
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 12
  object GradBox1: TGradBox
    Left = 0
    Top = 0
    Width = 241
    Height = 121
    TopColor = 4473924
    LastColor = 10066329
    OutLineColor = clNone
    DrawOutLine = False
    Font3D = False
  end
  object Label1: TLabel
    Left = 133
    Top = 2
    Width = 99
    Height = 15
    Caption = 'QUOLLSET Ver0.11'
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlack
    Font.Height = -12
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 24
    Top = 48
    Width = 212
    Height = 12
    Caption = 'デスクトップにショートカットを作ります'
    Color = clBlack
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = True
  end
  object Label3: TLabel
    Left = 72
    Top = 96
    Width = 96
    Height = 12
    Caption = 'よろしいですか？'
    Color = clBlack
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = True
  end
  object TitleLabel: TLabel
    Left = 16
    Top = 24
    Width = 209
    Height = 12
    Alignment = taCenter
    AutoSize = False
    Caption = 'Error TargetFile is nothing!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clYellow
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label4: TLabel
    Left = 37
    Top = 72
    Width = 189
    Height = 12
    Caption = 'スタートにショートカットを作ります'
    Color = clBlack
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = True
  end
  object CuteButton1: TCuteButton
    Left = 32
    Top = 120
    Width = 81
    Height = 25
    Caption = 'OK'
    Color = 7829367
    BevelWidth = 2
    Flat = True
    EgnoreContClick = False
    ShowFocusRect = False
    TabFocusUp = False
    UseDisabledColor = False
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlack
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 0
    OnClick = CuteButton1Click
  end
  object CuteButton2: TCuteButton
    Left = 136
    Top = 120
    Width = 81
    Height = 25
    Caption = 'CANCEL'
    Color = 7829367
    BevelWidth = 2
    Flat = True
    EgnoreContClick = False
    ShowFocusRect = False
    TabFocusUp = False
    UseDisabledColor = False
    Font.Charset = ANSI_CHARSET
    Font.Color = clBlack
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 1
    OnClick = CuteButton2Click
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 48
    Width = 14
    Height = 14
    State = cbChecked
    TabOrder = 2
  end
  object CheckBox2: TCheckBox
    Left = 8
    Top = 72
    Width = 14
    Height = 14
    Caption = 'CheckBox2'
    State = cbChecked
    TabOrder = 3
  end
end
