X1
