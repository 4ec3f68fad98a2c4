// Fuzzes the conversion table reader: no crash, no hang, a failure always carries the one message, and
// whatever it reads the writer writes back so that it reads the same again.
#include "machine/TableFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ConversionTable table;
    const TableFileResult read = ReadTableFile(bytes, table);
    Check(read.rowsRead >= 0 && read.rowsRead <= ConversionTable::RowCount);
    Check(read.ok ? read.message.isEmpty() : read.message == TableReadErrorMessage());
    QByteArray written;
    if (!EncodeTableFile(table, written).ok)
        return 0; // a field with a quote read from an unquoted field: the writer refuses it, as it should
    ConversionTable again;
    const TableFileResult reread = ReadTableFile(written, again);
    Check(reread.ok && reread.rowsRead == ConversionTable::RowCount);
    Check(again == table);
    return 0;
}
