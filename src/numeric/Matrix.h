#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

namespace quorvel {

// Vectors of the numerical methods.
using Vector = std::vector<double>;

// A dense matrix of doubles stored row by row; A[i][j] is row i, column j.
class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int columns);  // zero filled
    Matrix(const Matrix& other);
    Matrix& operator=(const Matrix& other);
    Matrix(Matrix&& other) noexcept;  // leaves other empty
    Matrix& operator=(Matrix&& other) noexcept;

    int rows() const { return row_count; }
    int columns() const { return column_count; }
    bool empty() const { return size() == 0; }

    double* operator[](int i) { return values.get() + std::size_t(i) * column_count; }
    const double* operator[](int i) const { return values.get() + std::size_t(i) * column_count; }

    void fill(double value);

private:
    struct Release
    {
        void operator()(double* p) const { std::free(p); }
    };
    std::size_t size() const { return std::size_t(row_count) * column_count; }

    int row_count = 0;
    int column_count = 0;
    // Zeroed by calloc: a large matrix's pages are the system's zero pages until written,
    // so the matrices of a many-component model cost no time for the parts never used.
    std::unique_ptr<double[], Release> values;
};

// A vector of n zeros.
Vector allocate(int n);

// A matrix of n rows and m columns of zeros.
Matrix allocate(int n, int m);

}  // namespace quorvel
