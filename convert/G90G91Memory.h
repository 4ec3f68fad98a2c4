#pragma once

#include <QString>

// The G90/G91 dialog's entries, kept from one opening to the next while the application runs.
struct G90G91Memory
{
    QString StartXText;
    QString StartYText;
    QString StartZText;
    bool StartCommentOn = false;
    bool EndCommentOn = false;
    bool ToIncremental = true;
};
