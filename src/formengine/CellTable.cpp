#include "formengine/CellTable.h"

namespace qv {

double CellTable::get(char row, char column) const {
    return isAddress(row, column) ? cells_[row - 'A'][column - 'A'] : 0.0;
}

void CellTable::set(char row, char column, double value) {
    if (isAddress(row, column))
        cells_[row - 'A'][column - 'A'] = value;
}

void CellTable::clear() {
    for (auto& row : cells_)
        row.fill(0.0);
}

} // namespace qv
