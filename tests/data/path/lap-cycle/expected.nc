segments,feed_mm,rapid_mm,seconds
37,256.3,257.193,68.8
