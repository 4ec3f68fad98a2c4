line,kind,x,y,z,cx,cy,cz
2,feed,0,10,-1,,,
3,cw,10,0,-1,0,0,-1
4,ccw,0,-10,-1,10,-10,-1
