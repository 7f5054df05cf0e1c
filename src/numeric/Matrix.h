#pragma once

#include <cstddef>
#include <vector>

namespace quorvel {

// Vectors of the numerical methods.
using Vector = std::vector<double>;

// A dense matrix of doubles stored row by row; A[i][j] is row i, column j.
class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int columns);  // zero filled

    int rows() const { return row_count; }
    int columns() const { return column_count; }
    bool empty() const { return values.empty(); }

    double* operator[](int i) { return values.data() + std::size_t(i) * column_count; }
    const double* operator[](int i) const { return values.data() + std::size_t(i) * column_count; }

    void fill(double value);

private:
    int row_count = 0;
    int column_count = 0;
    std::vector<double> values;
};

// A vector of n zeros.
Vector allocate(int n);

// A matrix of n rows and m columns of zeros.
Matrix allocate(int n, int m);

}  // namespace quorvel
