O1
M30
