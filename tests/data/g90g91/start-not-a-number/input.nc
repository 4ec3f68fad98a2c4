Z0
