SB=10
SB = 10
