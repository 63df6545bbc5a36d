object Form1: TUnknownProperty
  Colour = 1
end
