// The engine's 4 x 4 float matrix and the few transforms the window's world view and 3-D states build.
// Row-major with row vectors: a point [x y z 1] is multiplied on the left, so a x b applies a first, then b,
// and the translation sits in the bottom row (m[3][0..2]). The 16 floats in memory are in the order an
// OpenGL column-major upload expects for the same transform, so &m[0][0] can be handed over unchanged.
#pragma once

struct Matrix4 {
    float m[4][4]; // m[row][column]
};

// A transformed point before the division by w.
struct MatrixPoint {
    float x, y, z, w;
};

Matrix4& makeIdentityMatrix(Matrix4& out);
// Orthographic projection of a width x height view centred on the origin, depth near..far mapped to 0..1.
Matrix4& makeOrthoMatrix(Matrix4& out, float width, float height, float nearZ, float farZ);
Matrix4& makeTranslationMatrix(Matrix4& out, float x, float y, float z);
Matrix4& makeScalingMatrix(Matrix4& out, float x, float y, float z);
Matrix4& makeRotationZMatrix(Matrix4& out, float angle); // radians; +angle turns +x towards +y
// out = a x b. out may be the same object as a or b.
Matrix4& multiplyMatrix(Matrix4& out, const Matrix4& a, const Matrix4& b);
// [x y z 1] x m.
MatrixPoint transformPoint(const Matrix4& m, float x, float y, float z);

// The same by value, for chains of transforms: a * b applies a first, then b.
Matrix4 operator*(const Matrix4& a, const Matrix4& b);
Matrix4 translationMatrix(float x, float y, float z = 0);
