object Form1: TBadValue
  BorderStyle = bsRound
end
