segments,feed_mm,rapid_mm,seconds
1,100,0,60.0
