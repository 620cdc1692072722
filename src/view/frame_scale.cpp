#include "view/frame_scale.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/video.h"
#include "view/projection.h"

FrameScale frameScale;

namespace {

bool softwareRenderer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer == nullptr) return false;
    return std::strstr(renderer, "llvmpipe") != nullptr ||
           std::strstr(renderer, "softpipe") != nullptr ||
           std::strstr(renderer, "Software Rasterizer") != nullptr;
}

void chooseLimit() {
    if (frameScale.pixelLimit >= 0) return;
    if (const char* forced = std::getenv("VOXMERE_FRAME_PIXELS")) {
        frameScale.pixelLimit = std::atoi(forced) > 0 ? std::atoi(forced) : 0;
        return;
    }
    frameScale.pixelLimit = softwareRenderer() ? kSoftwareFramePixels : 0;
}

bool anyTextureSize() {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr &&
           std::strstr(extensions, "GL_ARB_texture_non_power_of_two") != nullptr;
}

int powerOfTwoAtLeast(int value) {
    int power = 1;
    while (power < value) power *= 2;
    return power;
}

// The texture is the frame's own size where the renderer allows any size. OpenGL 1.1 alone
// wants power-of-two sides; the frame then fills the lower-left part.
void prepareTexture(int width, int height) {
    if (frameScale.copyTexture == 0 || !glIsTexture(frameScale.copyTexture)) {
        glGenTextures(1, &frameScale.copyTexture);
        frameScale.textureWidth = frameScale.textureHeight = 0;
    }
    glBindTexture(GL_TEXTURE_2D, frameScale.copyTexture);
    static const bool exact = anyTextureSize();
    if (exact ? width == frameScale.textureWidth && height == frameScale.textureHeight
              : width <= frameScale.textureWidth && height <= frameScale.textureHeight) {
        return;
    }
    frameScale.textureWidth = exact ? width : powerOfTwoAtLeast(width);
    frameScale.textureHeight = exact ? height : powerOfTwoAtLeast(height);
    // Whole factors and the nearest texel: every frame pixel becomes the same square of window
    // pixels, sharp, and llvmpipe fills the window a third faster than with filtering.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // The colour buffer's own layout, so the copy converts nothing.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, frameScale.textureWidth, frameScale.textureHeight, 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
}

// llvmpipe fills a window-aligned textured rectangle row by row, without running a shader
// for each pixel, when all the drawing does is look up a nearest texel of a BGRA texture and
// the window has no depth buffer; that halves the cost of the enlarging at 1920 x 1080. Its
// fixed-function texturing never qualifies, so the copy uses this smallest of programs.
const char* const kCopyVertexShader =
    "varying vec2 texel;\n"
    "void main() { gl_Position = gl_Vertex; texel = gl_MultiTexCoord0.st; }\n";
const char* const kCopyFragmentShader =
    "uniform sampler2D frame;\n"
    "varying vec2 texel;\n"
    "void main() { gl_FragColor = texture2D(frame, texel); }\n";

// The copy program's OpenGL 2.0 entry points, asked of the driver: Windows' opengl32 exports
// only OpenGL 1.1.
struct Gl20Calls {
    PFNGLCREATESHADERPROC createShader = nullptr;
    PFNGLSHADERSOURCEPROC shaderSource = nullptr;
    PFNGLCOMPILESHADERPROC compileShader = nullptr;
    PFNGLGETSHADERIVPROC getShaderiv = nullptr;
    PFNGLDELETESHADERPROC deleteShader = nullptr;
    PFNGLISPROGRAMPROC isProgram = nullptr;
    PFNGLUSEPROGRAMPROC useProgram = nullptr;
    PFNGLCREATEPROGRAMPROC createProgram = nullptr;
    PFNGLATTACHSHADERPROC attachShader = nullptr;
    PFNGLLINKPROGRAMPROC linkProgram = nullptr;
    PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
    PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
};
Gl20Calls gl20;

bool loadGl20() {
    return platform::glFunction("glCreateShader", gl20.createShader) &&
           platform::glFunction("glShaderSource", gl20.shaderSource) &&
           platform::glFunction("glCompileShader", gl20.compileShader) &&
           platform::glFunction("glGetShaderiv", gl20.getShaderiv) &&
           platform::glFunction("glDeleteShader", gl20.deleteShader) &&
           platform::glFunction("glIsProgram", gl20.isProgram) &&
           platform::glFunction("glUseProgram", gl20.useProgram) &&
           platform::glFunction("glCreateProgram", gl20.createProgram) &&
           platform::glFunction("glAttachShader", gl20.attachShader) &&
           platform::glFunction("glLinkProgram", gl20.linkProgram) &&
           platform::glFunction("glGetProgramiv", gl20.getProgramiv) &&
           platform::glFunction("glDeleteProgram", gl20.deleteProgram);
}

bool shadersAvailable() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::atoi(version) >= 2 && loadGl20();
}

GLuint compiledShader(GLenum kind, const char* source) {
    const GLuint shader = gl20.createShader(kind);
    gl20.shaderSource(shader, 1, &source, nullptr);
    gl20.compileShader(shader);
    GLint compiled = GL_FALSE;
    gl20.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) return shader;
    gl20.deleteShader(shader);
    return 0;
}

// The copy program, made once per context; 0 where OpenGL 2.0 is missing or the program does
// not build, and the fixed-function texturing does the copy instead.
GLuint copyProgram() {
    if (frameScale.copyProgram != 0 && gl20.isProgram(frameScale.copyProgram)) {
        return frameScale.copyProgram;
    }
    if (frameScale.copyProgramFailed || !shadersAvailable()) {
        frameScale.copyProgramFailed = true;
        return 0;
    }
    const GLuint vertex = compiledShader(GL_VERTEX_SHADER, kCopyVertexShader);
    const GLuint fragment = compiledShader(GL_FRAGMENT_SHADER, kCopyFragmentShader);
    GLuint program = 0;
    if (vertex != 0 && fragment != 0) {
        program = gl20.createProgram();
        gl20.attachShader(program, vertex);
        gl20.attachShader(program, fragment);
        gl20.linkProgram(program);
        GLint linked = GL_FALSE;
        gl20.getProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            gl20.deleteProgram(program);
            program = 0;
        }
    }
    gl20.deleteShader(vertex);  // kept alive by the program while it is attached
    gl20.deleteShader(fragment);
    frameScale.copyProgram = program;
    frameScale.copyProgramFailed = program == 0;
    return program;
}

int pictureBottom() {
    return windowView.height - windowView.picture.top - windowView.picture.height;
}

}  // namespace

void setFramePixelLimit(int pixels) {
    frameScale.pixelLimit = pixels > 0 ? pixels : 0;
}

int framePixelLimit() {
    chooseLimit();
    return frameScale.pixelLimit;
}

int enlargementFor(int width, int height) {
    const int limit = framePixelLimit();
    int factor = 1;
    while (limit > 0 &&
           static_cast<double>((width + factor - 1) / factor) * ((height + factor - 1) / factor) >
               limit) {
        ++factor;
    }
    return factor;
}

FrameSize frameSizeFor(int width, int height) {
    const int factor = enlargementFor(width, height);
    return {(width + factor - 1) / factor, (height + factor - 1) / factor};
}

void beginScaledFrame() {
    const FrameSize size = frameSizeFor(windowView.picture.width, windowView.picture.height);
    if (size.width == windowView.picture.width && size.height == windowView.picture.height) {
        frameScale.drawn = {0, 0};
        return;
    }
    frameScale.drawn = size;
    frameScale.drawnFactor = enlargementFor(windowView.picture.width, windowView.picture.height);
    // The same projection: only the number of pixels changes, not the shape. The scissor keeps
    // the frame's clear to those pixels too; the enlarged copy covers the rest of the picture.
    glViewport(windowView.picture.left, pictureBottom(), size.width, size.height);
    glScissor(windowView.picture.left, pictureBottom(), size.width, size.height);
    glEnable(GL_SCISSOR_TEST);
}

void endScaledFrame() {
    if (frameScale.drawn.width == 0) return;
    glDisable(GL_SCISSOR_TEST);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT |
                 GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    prepareTexture(frameScale.drawn.width, frameScale.drawn.height);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, windowView.picture.left, pictureBottom(),
                        frameScale.drawn.width, frameScale.drawn.height);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (windowView.picture.width != windowView.width ||
        windowView.picture.height != windowView.height) {
        glClear(GL_COLOR_BUFFER_BIT);  // the bars
    }
    glViewport(windowView.picture.left, pictureBottom(), windowView.picture.width,
               windowView.picture.height);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // The frame's last row and column may reach past the picture: the picture shows
    // picture / factor frame pixels of them.
    const float s = static_cast<float>(windowView.picture.width) /
                    static_cast<float>(frameScale.drawnFactor * frameScale.textureWidth);
    const float t = static_cast<float>(windowView.picture.height) /
                    static_cast<float>(frameScale.drawnFactor * frameScale.textureHeight);
    const GLuint program = copyProgram();
    if (program != 0) gl20.useProgram(program);  // its one sampler reads texture unit 0
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(s, 0);
    glVertex2f(1, -1);
    glTexCoord2f(s, t);
    glVertex2f(1, 1);
    glTexCoord2f(0, t);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    if (program != 0) gl20.useProgram(0);
    glPopAttrib();  // also the matrix mode, the colour mask and the bound texture
    glViewport(windowView.picture.left, pictureBottom(), windowView.picture.width,
               windowView.picture.height);
}
