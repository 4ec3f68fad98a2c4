segments,feed_mm,rapid_mm,seconds
1,100,0,37.7
