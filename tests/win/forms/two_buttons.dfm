object Form1: TTwoButtons
  Caption = 'two'
  ClientWidth = 100
  ClientHeight = 40
  object Second: TButton
    TabOrder = 1
    OnClick = SecondClick
  end
  object First: TButton
    TabOrder = 0
    OnClick = FirstClick
  end
end
