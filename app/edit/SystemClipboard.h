#pragma once

#include "app/edit/Clipboard.h"

// The platform clipboard. Text we put there keeps its CR LF line ends (other programs on Linux read them
// as they are); text from other programs usually ends its lines in LF alone and is given CR LF, the
// program's only line end.
class SystemClipboard : public Clipboard
{
public:
    void Clear() override;
    void SetText(const QString &text) override;
    QString Text() const override;
};

// `text` with every line end (CR LF, a lone LF, a lone CR) written as CR LF.
QString WithCrLfLineEnds(const QString &text);
