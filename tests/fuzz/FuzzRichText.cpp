// Fuzzes the rich-text reader: unbalanced braces, deep nesting, broken escapes never crash or hang.
#include "app/window/RtfText.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    QByteArray bytes = input.Rest();
    if (!bytes.startsWith("{\\rtf"))
        bytes.prepend("{\\rtf1 ");
    FuzzCheck(rtf::IsRichText(bytes));
    (void)rtf::PlainText(bytes);
    return 0;
}
