#include "numeric/Matrix.h"

#include <algorithm>
#include <new>
#include <utility>

namespace quorvel {

Matrix::Matrix(int rows, int columns)
    : row_count(rows > 0 ? rows : 0),
      column_count(columns > 0 ? columns : 0),
      values(static_cast<double*>(std::calloc(size(), sizeof(double))))
{
    if (!values && size() > 0)
        throw std::bad_alloc();
}

Matrix::Matrix(const Matrix& other) : Matrix(other.row_count, other.column_count)
{
    std::copy_n(other.values.get(), size(), values.get());
}

Matrix::Matrix(Matrix&& other) noexcept
    : row_count(std::exchange(other.row_count, 0)),
      column_count(std::exchange(other.column_count, 0)),
      values(std::move(other.values))
{
}

Matrix& Matrix::operator=(Matrix&& other) noexcept
{
    row_count = std::exchange(other.row_count, 0);
    column_count = std::exchange(other.column_count, 0);
    values = std::move(other.values);
    return *this;
}

Matrix& Matrix::operator=(const Matrix& other)
{
    if (this != &other)
        *this = Matrix(other);
    return *this;
}

void Matrix::fill(double value)
{
    std::fill_n(values.get(), size(), value);
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
