#include "KMatrix.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
void expectMatrix(const Matrix4& got, const float (&want)[4][4]) {
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) EXPECT_FLOAT_EQ(got.m[r][c], want[r][c]) << "m" << r << c;
}

void expectPoint(const MatrixPoint& got, float x, float y, float z, float w = 1.0f) {
    EXPECT_NEAR(got.x, x, 1e-5f);
    EXPECT_NEAR(got.y, y, 1e-5f);
    EXPECT_NEAR(got.z, z, 1e-5f);
    EXPECT_NEAR(got.w, w, 1e-5f);
}
} // namespace

TEST(Matrix, BuildersFillTheDocumentedCells) {
    Matrix4 m;
    expectMatrix(makeOrthoMatrix(m, 800, 600, 1, 3),
                 {{2.0f / 800, 0, 0, 0}, {0, 2.0f / 600, 0, 0}, {0, 0, 0.5f, 0}, {0, 0, -0.5f, 1}});
    expectMatrix(makeTranslationMatrix(m, 5, -6, 7), {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {5, -6, 7, 1}});
    expectMatrix(makeScalingMatrix(m, 2, 3, 4), {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}});
    const float c = std::cos(0.5f), s = std::sin(0.5f);
    expectMatrix(makeRotationZMatrix(m, 0.5f), {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
    expectMatrix(makeIdentityMatrix(m), {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
}

TEST(Matrix, MultiplyIsTheOrdinaryProductAndMayOverwriteAnOperand) {
    Matrix4 a;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) a.m[r][c] = float(r * 4 + c + 1);
    Matrix4 out;
    const float square[4][4] = {{90, 100, 110, 120}, {202, 228, 254, 280}, {314, 356, 398, 440}, {426, 484, 542, 600}};
    expectMatrix(multiplyMatrix(out, a, a), square);
    Matrix4 b = a;
    multiplyMatrix(b, b, a);
    expectMatrix(b, square);
    Matrix4 identity;
    makeIdentityMatrix(identity);
    multiplyMatrix(b, a, identity);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) EXPECT_EQ(b.m[r][c], a.m[r][c]);
}

TEST(Matrix, RowVectorsApplyTheLeftFactorFirst) {
    Matrix4 translate, scale, both;
    makeTranslationMatrix(translate, 1, 2, 3);
    makeScalingMatrix(scale, 2, 3, 4);
    expectPoint(transformPoint(multiplyMatrix(both, translate, scale), 1, 1, 1), 4, 9, 16);
    expectPoint(transformPoint(multiplyMatrix(both, scale, translate), 1, 1, 1), 3, 5, 7);

    Matrix4 turn;
    makeRotationZMatrix(turn, 3.1415927f / 2); // a quarter turn takes +x to +y
    expectPoint(transformPoint(turn, 1, 0, 0), 0, 1, 0);
    expectPoint(transformPoint(turn, 0, 1, 0), -1, 0, 0);

    Matrix4 ortho;
    makeOrthoMatrix(ortho, 800, 600, 1, 3);
    expectPoint(transformPoint(ortho, 400, -300, 1), 1, -1, 0);
    expectPoint(transformPoint(ortho, -400, 300, 3), -1, 1, 1);
}

TEST(Matrix, DefaultWorldViewMapsTheGameAreaOntoTheScreen) {
    // The window's default view of an 800 x 600 game: vertices are given as (x, -y); the base moves the game's
    // centre to the origin, then a zero turn, a zoom of 1 and no offsets, then the projection.
    Matrix4 view, step, projection, all;
    makeTranslationMatrix(view, -400, 300, 0);
    multiplyMatrix(view, view, makeRotationZMatrix(step, 0));
    multiplyMatrix(view, view, makeScalingMatrix(step, 1, 1, 1));
    multiplyMatrix(view, view, makeTranslationMatrix(step, 0, 0, 0));
    makeOrthoMatrix(projection, 800, 600, 0, 1);
    multiplyMatrix(all, view, projection);
    expectPoint(transformPoint(all, 0, -0, 0), -1, 1, 0);
    expectPoint(transformPoint(all, 800, -600, 0), 1, -1, 0);
    expectPoint(transformPoint(all, 400, -300, 0), 0, 0, 0);
}
