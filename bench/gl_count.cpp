#include "gl_count.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "assets/texture_table.h"

namespace glcount {
namespace {

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Counting {
    bool on = false;
    long draws = 0;
    Tally tally;
    GLuint query = 0;
    Eye eye = EyeBoth;
    bool texturing = false, lighting = true;
    GLuint bound = 0;
};
Counting counting;

Kind currentKind() {
    if (!counting.texturing) return counting.lighting ? KindMeshes : KindDebris;
    const GLuint t = counting.bound;
    if (t == textures.backdropTexture) return KindBackdrop;
    if (t == textures.asteroidTexture) return KindRocks;
    if (t == textures.spriteAtlas) return KindSprites;
    if (t == textures.beamTexture) return KindShots;
    if (t == textures.fighterTexture) return KindFighters;
    if (t == textures.shieldTexture) return KindShield;
    return KindHud;
}

// The kind named by VOXMERE_BENCH_UNSHADED, or -1.
int unshadedKind() {
    static const int kind = [] {
        const char* name = std::getenv("VOXMERE_BENCH_UNSHADED");
        for (int k = 0; name != nullptr && k < KindCount; ++k)
            if (std::strcmp(name, kKindNames[k]) == 0) return k;
        return -1;
    }();
    return kind;
}

// The scissor test as the game had it around a draw of the unshaded kind.
struct Unshading {
    bool active = false;
    GLboolean scissorWasOn = GL_FALSE;
    GLint box[4] = {};
};
Unshading unshading;

void startDraw() {
    ++counting.draws;
    if (unshadedKind() == currentKind()) {
        unshading.active = true;
        unshading.scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
        glGetIntegerv(GL_SCISSOR_BOX, unshading.box);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    }
    if (!counting.on) return;
    if (counting.query == 0) glGenQueries(1, &counting.query);
    glBeginQuery(GL_SAMPLES_PASSED, counting.query);
}

void finishDraw() {
    if (unshading.active) {
        glScissor(unshading.box[0], unshading.box[1], unshading.box[2], unshading.box[3]);
        if (!unshading.scissorWasOn) glDisable(GL_SCISSOR_TEST);
        unshading.active = false;
    }
    if (!counting.on) return;
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(counting.query, GL_QUERY_RESULT, &samples);
    counting.tally.pixels[counting.eye][currentKind()] += samples;
}

}  // namespace

long Tally::totalPixels() const {
    long sum = 0;
    for (const auto& eye : pixels)
        for (long p : eye) sum += p;
    return sum;
}

void beginTally() {
    counting.on = true;
    counting.tally = {};
    counting.tally.draws = counting.draws;
}

Tally endTally() {
    counting.on = false;
    Tally t = counting.tally;
    t.draws = counting.draws - t.draws;
    return t;
}

long drawsSoFar() {
    return counting.draws;
}

}  // namespace glcount

using glcount::counting;

extern "C" {

void glBegin(GLenum mode) {
    static const auto next = glcount::real<void (*)(GLenum)>("glBegin");
    glcount::startDraw();
    next(mode);
}

void glEnd() {
    static const auto next = glcount::real<void (*)()>("glEnd");
    next();
    glcount::finishDraw();
}

void glCallList(GLuint list) {
    static const auto next = glcount::real<void (*)(GLuint)>("glCallList");
    glcount::startDraw();
    next(list);
    glcount::finishDraw();
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    static const auto next = glcount::real<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    glcount::startDraw();
    next(mode, first, count);
    glcount::finishDraw();
}

void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    static const auto next =
        glcount::real<void (*)(GLboolean, GLboolean, GLboolean, GLboolean)>("glColorMask");
    counting.eye = r && !g && !b ? glcount::EyeLeft : r ? glcount::EyeBoth : glcount::EyeRight;
    next(r, g, b, a);
}

void glBindTexture(GLenum target, GLuint texture) {
    static const auto next = glcount::real<void (*)(GLenum, GLuint)>("glBindTexture");
    if (target == GL_TEXTURE_2D) counting.bound = texture;
    next(target, texture);
}

void glEnable(GLenum cap) {
    static const auto next = glcount::real<void (*)(GLenum)>("glEnable");
    if (cap == GL_TEXTURE_2D) counting.texturing = true;
    if (cap == GL_LIGHTING) counting.lighting = true;
    next(cap);
}

void glDisable(GLenum cap) {
    static const auto next = glcount::real<void (*)(GLenum)>("glDisable");
    if (cap == GL_TEXTURE_2D) counting.texturing = false;
    if (cap == GL_LIGHTING) counting.lighting = false;
    next(cap);
}

}  // extern "C"
