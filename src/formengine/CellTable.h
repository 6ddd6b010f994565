#pragma once

#include <array>
#include <string_view>

namespace qv {

/// The store of numeric fields: 26 x 26 numbers addressed by two capital letters, row
/// letter first ("AB" is row 0, column 1). An address that is not two capitals names no
/// cell: it reads 0 and takes no writes, so no equation can reach outside the table.
class CellTable {
public:
    static constexpr int kSize = 26;

    static bool isCellLetter(char c) { return c >= 'A' && c <= 'Z'; }
    static bool isAddress(char row, char column) { return isCellLetter(row) && isCellLetter(column); }

    double get(char row, char column) const;
    void set(char row, char column, double value);

    double at(int row, int column) const { return cells_[row][column]; }
    double& at(int row, int column) { return cells_[row][column]; }

    void clear();
    bool operator==(const CellTable&) const = default;

private:
    std::array<std::array<double, kSize>, kSize> cells_{};
};

} // namespace qv
