// Fuzzes the text pane's program offsets: a text of CR, LF, NUL and a few other characters, then a run of
// selections and replacements checked against the same edits on a plain string. The pane's text, length,
// selection and selected text must always be the program's, however the CR LF breaks fall.
#include "app/pane/TextPane.h"
#include "tests/fuzz/FuzzInput.h"

#include <QApplication>
#include <algorithm>
#include <cstdlib>

namespace {

// Line ends and NUL often, so that selections start and end inside breaks and lone CRs meet lone LFs.
QString ProgramOf(const QByteArray &bytes)
{
    static const char16_t alphabet[] = {u'\r', u'\n', u'\r', u'\n', u'\0', u'G', u'1', u' ', u'テ', u'('};
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += QChar(alphabet[uint8_t(byte) % std::size(alphabet)]);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    // The fonts are looked up once here rather than during the first inputs, whose allocations the leak
    // check would otherwise count.
    TextPane warmUp;
    warmUp.SetText(ProgramOf(QByteArray("\0\1\2\3\4\5\6\7\x08\x09", 10)));
    (void)warmUp.document()->size();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    QString expected = ProgramOf(input.Part());
    TextPane pane;
    pane.SetText(expected);
    FuzzCheck(pane.Text() == expected && pane.SystemLength() == expected.size());
    for (int edit = 0; edit < 16; ++edit) {
        const qsizetype start = input.Choice() % (expected.size() + 3);
        const qsizetype length = input.Choice() % (expected.size() + 3);
        const QString replacement = ProgramOf(input.Part()).left(6);
        pane.SetSelStart(start);
        pane.SetSelLength(length);
        const qsizetype from = std::min(start, expected.size());
        const qsizetype count = std::min(length, expected.size() - from);
        FuzzCheck(pane.SelStart() == from && pane.SelLength() == count);
        FuzzCheck(pane.SelText() == expected.mid(from, count));
        pane.SetSelText(replacement);
        expected = expected.left(from) + replacement + expected.mid(from + count);
        FuzzCheck(pane.Text() == expected && pane.SystemLength() == expected.size());
        FuzzCheck(pane.SelStart() == from + replacement.size() && pane.SelLength() == 0);
        FuzzCheck(pane.LineCount() == expected.count(u"\r\n") + 1);
    }
    return 0;
}
