#include "numeric/Matrix.h"

#include <algorithm>

namespace quorvel {

Matrix::Matrix(int rows, int columns)
    : row_count(rows > 0 ? rows : 0),
      column_count(columns > 0 ? columns : 0),
      values(std::size_t(row_count) * column_count, 0.0)
{
}

void Matrix::fill(double value)
{
    std::fill(values.begin(), values.end(), value);
}

Vector allocate(int n)
{
    return Vector(n > 0 ? std::size_t(n) : 0, 0.0);
}

Matrix allocate(int n, int m)
{
    return Matrix(n, m);
}

}  // namespace quorvel
