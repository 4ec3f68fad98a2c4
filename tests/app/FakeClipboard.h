#pragma once

#include "app/edit/Clipboard.h"

#include <optional>

// A clipboard of the test's own: holds a text or nothing, and counts how often it was cleared.
class FakeClipboard : public Clipboard
{
public:
    void Clear() override
    {
        Content.reset();
        ++Clears;
    }
    void SetText(const QString &text) override { Content = text; }
    QString Text() const override { return Content.value_or(QString()); }

    std::optional<QString> Content;
    int Clears = 0;
};
