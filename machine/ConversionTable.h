#pragma once

#include <QString>
#include <array>
#include <optional>

// The user-editable table that steers the machine translator: 100 rows of item, before and after.
// `item` and `before` may have no value at all, which the file writer tells apart from the empty text.
struct ConversionTableRow
{
    std::optional<QString> item;
    std::optional<QString> before;
    QString after;

    bool operator==(const ConversionTableRow &) const = default;
};

class ConversionTable
{
public:
    static constexpr int RowCount = 100;

    // Rows are numbered 1 to 100.
    ConversionTableRow &Row(int row) { return m_rows.at(row - 1); }
    const ConversionTableRow &Row(int row) const { return m_rows.at(row - 1); }

    bool operator==(const ConversionTable &) const = default;

private:
    std::array<ConversionTableRow, RowCount> m_rows;
};
