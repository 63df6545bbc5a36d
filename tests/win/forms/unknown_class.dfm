object Form1: TUnknownClass
  object Box: TEdit
  end
end
