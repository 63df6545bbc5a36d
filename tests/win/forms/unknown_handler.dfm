object Form1: TUnknownHandler
  object OK: TButton
    OnClick = OKClik
  end
end
