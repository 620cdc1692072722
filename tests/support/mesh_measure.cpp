#include "support/mesh_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace testmesh {

P3 cross(P3 a, P3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(P3 a, P3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double length(P3 a) {
    return std::sqrt(dot(a, a));
}

std::vector<std::vector<float>> feedback(const std::function<void()>& draw, GLenum type,
                                         int floatsPerCorner) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    std::vector<std::vector<float>> polygons;
    for (int i = 0; i < used;) {
        EXPECT_EQ(buffer[i], static_cast<float>(GL_POLYGON_TOKEN)) << "only polygons expected";
        if (buffer[i] != static_cast<float>(GL_POLYGON_TOKEN)) break;
        const int corners = static_cast<int>(buffer[i + 1]);
        polygons.emplace_back(buffer.begin() + i + 2,
                              buffer.begin() + i + 2 + corners * floatsPerCorner);
        i += 2 + corners * floatsPerCorner;
    }
    return polygons;
}

std::vector<std::vector<float>> feedback(GLuint list, GLenum type, int floatsPerCorner) {
    return feedback([list] { glCallList(list); }, type, floatsPerCorner);
}

void setUpMeasuringView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1 / scale, 1 / scale, 1 / scale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, 2, 2);  // window coordinates = device coordinates + 1
    glDepthRange(0, 1);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glDisable(GL_NORMALIZE);
    glDisable(GL_RESCALE_NORMAL);
}

std::vector<Triangle> measure(const std::function<void()>& draw, bool withNormals) {
    setUpMeasuringView();
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
    }
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    // Texture coordinates reach feedback only while a complete texture is in use.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLubyte texel = 255;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 1, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, &texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    const auto polygons = feedback(draw, GL_3D_COLOR_TEXTURE, 11);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    std::vector<Triangle> triangles;
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const std::size_t corners = polygons[p].size() / 11;
        if (corners < 3 || polygons[p].size() % 11 != 0) {
            ADD_FAILURE() << "polygon " << p << " is cut short";
            continue;
        }
        const auto corner = [&](std::size_t c) {
            const float* f = &polygons[p][c * 11];
            return P3{(f[0] - 1) * scale, (f[1] - 1) * scale, (2 * f[2] - 1) * scale};
        };
        const auto normal = [&](std::size_t c) {
            const float* f = &polygons[p][c * 11];
            return P3{f[7], f[8], f[9]};
        };
        for (std::size_t c = 1; c + 1 < corners; ++c) {
            Triangle triangle{{corner(0), corner(c), corner(c + 1)}, normal(0)};
            if (withNormals) {
                // Flat faces: all corners carry the same normal.
                EXPECT_LT(length(normal(0) - normal(c)) + length(normal(0) - normal(c + 1)), 1e-5)
                    << "polygon " << p;
            }
            triangles.push_back(triangle);
        }
    }
    return triangles;
}

std::vector<Triangle> measure(GLuint list) {
    return measure([list] { glCallList(list); });
}

void Extent::add(P3 p) {
    const double v[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
        low[i] = std::min(low[i], v[i]);
        high[i] = std::max(high[i], v[i]);
    }
}

// Corners closer than this are one vertex.
constexpr double sameVertex = 2e-3;

Mesh weld(const std::vector<Triangle>& triangles) {
    Mesh mesh;
    for (const Triangle& triangle : triangles) {
        std::array<int, 3> face{};
        for (int c = 0; c < 3; ++c) {
            int found = -1;
            for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
                if (length(mesh.vertices[v] - triangle.corner[c]) < sameVertex) found = int(v);
            }
            if (found < 0) {
                found = static_cast<int>(mesh.vertices.size());
                mesh.vertices.push_back(triangle.corner[c]);
            }
            face[c] = found;
        }
        mesh.faces.push_back(face);
        mesh.normals.push_back(triangle.normal);
    }
    return mesh;
}

void expectUnitFaceNormals(const std::vector<Triangle>& triangles) {
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const Triangle& tri = triangles[t];
        const P3 n = tri.normal;
        EXPECT_NEAR(length(n), 1.0, 1e-3) << "triangle " << t;
        const P3 face = cross(tri.corner[1] - tri.corner[0], tri.corner[2] - tri.corner[0]);
        ASSERT_GT(length(face), 1e-6) << "degenerate triangle " << t;
        // cos of the angle between the recorded normal and the counter-clockwise face normal
        EXPECT_GT(dot(face, n) / length(face) / length(n), 0.9999) << "triangle " << t;
    }
}

std::vector<std::vector<int>> parts(const Mesh& mesh) {
    std::vector<int> owner(mesh.vertices.size());
    for (std::size_t v = 0; v < owner.size(); ++v) owner[v] = int(v);
    const auto root = [&](int v) {
        while (owner[v] != v) v = owner[v] = owner[owner[v]];
        return v;
    };
    for (const auto& f : mesh.faces) {
        owner[root(f[1])] = root(f[0]);
        owner[root(f[2])] = root(f[0]);
    }
    std::map<int, std::vector<int>> groups;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f)
        groups[root(mesh.faces[f][0])].push_back(int(f));
    std::vector<std::vector<int>> result;
    for (auto& [key, faces] : groups) result.push_back(faces);
    return result;
}

void expectClosedOutwardParts(const Mesh& mesh) {
    std::map<std::pair<int, int>, int> edges;
    for (const auto& f : mesh.faces) {
        for (int c = 0; c < 3; ++c) ++edges[{f[c], f[(c + 1) % 3]}];
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second;
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
            << "open edge " << edge.first << "-" << edge.second;
    }
    for (const auto& part : parts(mesh)) {
        double volume = 0;
        for (int f : part) {
            const auto& face = mesh.faces[f];
            volume +=
                dot(mesh.vertices[face[0]], cross(mesh.vertices[face[1]], mesh.vertices[face[2]])) /
                6;
        }
        EXPECT_GT(volume, 1.0);
    }
}

Extent extentOf(const Mesh& mesh, const std::vector<int>& faces) {
    Extent extent;
    for (int f : faces) {
        for (int v : mesh.faces[f]) extent.add(mesh.vertices[v]);
    }
    return extent;
}

Extent extentOf(const Mesh& mesh) {
    Extent extent;
    for (const P3& v : mesh.vertices) extent.add(v);
    return extent;
}

void expectExtent(const Extent& extent, const double (&expected)[3][2], double tolerance) {
    const char* axis = "xyz";
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(extent.low[i], expected[i][0], tolerance) << axis[i];
        EXPECT_NEAR(extent.high[i], expected[i][1], tolerance) << axis[i];
    }
}

}  // namespace testmesh
