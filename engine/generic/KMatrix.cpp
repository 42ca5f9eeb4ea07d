// The 4 x 4 matrix transforms, in the row-vector convention of KMatrix.h.
#include "KMatrix.h"

#include <cmath>

static Matrix4& clearMatrix(Matrix4& out) {
    for (auto& row : out.m)
        for (float& value : row) value = 0.0f;
    return out;
}

Matrix4& makeIdentityMatrix(Matrix4& out) {
    clearMatrix(out);
    for (int i = 0; i < 4; i++) out.m[i][i] = 1.0f;
    return out;
}

Matrix4& makeOrthoMatrix(Matrix4& out, float width, float height, float nearZ, float farZ) {
    clearMatrix(out);
    out.m[0][0] = 2.0f / width;
    out.m[1][1] = 2.0f / height;
    out.m[2][2] = 1.0f / (farZ - nearZ);
    out.m[3][2] = nearZ / (nearZ - farZ);
    out.m[3][3] = 1.0f;
    return out;
}

Matrix4& makeTranslationMatrix(Matrix4& out, float x, float y, float z) {
    makeIdentityMatrix(out);
    out.m[3][0] = x;
    out.m[3][1] = y;
    out.m[3][2] = z;
    return out;
}

Matrix4& makeScalingMatrix(Matrix4& out, float x, float y, float z) {
    clearMatrix(out);
    out.m[0][0] = x;
    out.m[1][1] = y;
    out.m[2][2] = z;
    out.m[3][3] = 1.0f;
    return out;
}

Matrix4& makeRotationZMatrix(Matrix4& out, float angle) {
    makeIdentityMatrix(out);
    float c = std::cos(angle), s = std::sin(angle);
    out.m[0][0] = c;
    out.m[0][1] = s;
    out.m[1][0] = -s;
    out.m[1][1] = c;
    return out;
}

Matrix4& multiplyMatrix(Matrix4& out, const Matrix4& a, const Matrix4& b) {
    Matrix4 product; // out may alias a or b
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++) sum += a.m[r][k] * b.m[k][c];
            product.m[r][c] = sum;
        }
    out = product;
    return out;
}

MatrixPoint transformPoint(const Matrix4& m, float x, float y, float z) {
    const float in[4] = {x, y, z, 1.0f};
    float result[4];
    for (int c = 0; c < 4; c++) {
        float sum = 0.0f;
        for (int k = 0; k < 4; k++) sum += in[k] * m.m[k][c];
        result[c] = sum;
    }
    return {result[0], result[1], result[2], result[3]};
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    return multiplyMatrix(out, a, b);
}

Matrix4 translationMatrix(float x, float y, float z) {
    Matrix4 out;
    return makeTranslationMatrix(out, x, y, z);
}
