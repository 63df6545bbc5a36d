object Form1: TBadSyntax
  Left = 
end
