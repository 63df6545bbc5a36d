object FrmVelsa: TFrmVelsa
  Left = 111
  Top = 222
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'morvel'
  ClientHeight = 28
  ClientWidth = 125
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '‚l‚r ‚oƒSƒVƒbƒN'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 12
  object OK: TButton
    Left = 40
    Top = 0
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = OKClick
  end
end
