// Shader techniques and the resource groups, built into the module, that hold
// their GLSL ES 1.00 source.
#include <GLES2/gl2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/engine_internal.h"
#include "engine/iwgx.h"

namespace {

char* CopyText(const char* text, size_t length) {
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy) std::abort();
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

GLuint CompileStage(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    if (shader == 0) return 0;
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// Asking for a status waits for GL (a round trip to another process in a
// browser): a stage is asked only once its program failed to link.
bool Compiled(GLuint shader, GLenum kind, const char* technique) {
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return true;
    char log[400] = {0};
    glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
    engine::Warn("shader technique %s: %s shader does not compile: %s", technique,
                 kind == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
    return false;
}

struct BuiltinGroup {
    char name[64];
    const char* text;
    size_t size;
    bool loaded;
};

struct Resources {
    std::vector<BuiltinGroup> groups;
    std::vector<CIwGxShaderTechnique*> techniques;
    int started = 0;
};

Resources& Res() {
    static Resources r;
    return r;
}

// Walks the group text line by line. Gives false on a malformed group.
bool ParseGroup(const char* text, size_t size) {
    enum Section { kOutside, kHeader, kVertex, kFragment } section = kOutside;
    char name[64] = {0};
    const char* vertexBegin = nullptr;
    const char* vertexEnd = nullptr;
    const char* fragmentBegin = nullptr;
    const char* end = text + size;
    const char* line = text;
    while (line < end) {
        const char* eol = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (!eol) eol = end;
        size_t len = static_cast<size_t>(eol - line);
        while (len > 0 && (line[len - 1] == '\r' || line[len - 1] == ' '))
            --len;
        const char* next = eol < end ? eol + 1 : end;
        auto is = [&](const char* word) {
            return len == std::strlen(word) && std::memcmp(line, word, len) == 0;
        };
        if (section == kOutside) {
            if (len == 0 || line[0] == '#') {
                // blank or comment
            } else if (len > 10 && std::memcmp(line, "technique ", 10) == 0 && len - 10 < 64) {
                std::memcpy(name, line + 10, len - 10);
                name[len - 10] = '\0';
                section = kHeader;
            } else {
                return false;
            }
        } else if (is("[vertex]")) {
            if (section != kHeader) return false;
            vertexBegin = next;
            section = kVertex;
        } else if (is("[fragment]")) {
            if (section != kVertex) return false;
            vertexEnd = line;
            fragmentBegin = next;
            section = kFragment;
        } else if (is("[end]")) {
            if (section != kFragment) return false;
            char* vs = CopyText(vertexBegin, static_cast<size_t>(vertexEnd - vertexBegin));
            char* fs = CopyText(fragmentBegin, static_cast<size_t>(line - fragmentBegin));
            Res().techniques.push_back(new CIwGxShaderTechnique(name, vs, fs));
            std::free(vs);
            std::free(fs);
            section = kOutside;
        } else if (section == kHeader) {
            return false;
        }
        line = next;
    }
    return section == kOutside;
}

}  // namespace

CIwGxShaderTechnique::CIwGxShaderTechnique(const char* name, const char* vertexSource,
                                           const char* fragmentSource) {
    std::snprintf(name_, sizeof name_, "%s", name ? name : "");
    vertexSource_ = CopyText(vertexSource, std::strlen(vertexSource));
    fragmentSource_ = CopyText(fragmentSource, std::strlen(fragmentSource));
    Start();
}

CIwGxShaderTechnique::~CIwGxShaderTechnique() {
    if (IwGxIsStarted()) {
        if (program_ != 0) glDeleteProgram(program_);
        if (linking_ != 0) glDeleteProgram(linking_);
        if (vertex_ != 0) glDeleteShader(vertex_);
        if (fragment_ != 0) glDeleteShader(fragment_);
    }
    std::free(vertexSource_);
    std::free(fragmentSource_);
}

void CIwGxShaderTechnique::Start() {
    if (program_ != 0 || linking_ != 0 || failed_ || !IwGxIsStarted()) return;
    vertex_ = CompileStage(GL_VERTEX_SHADER, vertexSource_);
    fragment_ = vertex_ ? CompileStage(GL_FRAGMENT_SHADER, fragmentSource_) : 0;
    linking_ = fragment_ ? glCreateProgram() : 0;
    if (linking_ == 0) return;
    glAttachShader(linking_, vertex_);
    glAttachShader(linking_, fragment_);
    glBindAttribLocation(linking_, 0, "inVert");
    glLinkProgram(linking_);
}

bool CIwGxShaderTechnique::Prepare() {
    if (program_ != 0) return true;
    if (failed_ || !IwGxIsStarted()) return false;
    Start();
    failed_ = true;  // until proven otherwise: warn once, not every frame
    const GLuint program = linking_;
    GLint ok = GL_FALSE;
    if (program != 0) glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE && program != 0 && Compiled(vertex_, GL_VERTEX_SHADER, name_) &&
        Compiled(fragment_, GL_FRAGMENT_SHADER, name_)) {
        char log[400] = {0};
        glGetProgramInfoLog(program, sizeof log - 1, nullptr, log);
        engine::Warn("shader technique %s does not link: %s", name_, log);
    }
    if (vertex_ != 0) glDeleteShader(vertex_);
    if (fragment_ != 0) glDeleteShader(fragment_);
    linking_ = vertex_ = fragment_ = 0;
    if (ok != GL_TRUE) {
        if (program != 0) glDeleteProgram(program);
        return false;
    }
    program_ = program;
    failed_ = false;
    loc_.inVert = glGetAttribLocation(program, "inVert");
    loc_.inUV0 = glGetAttribLocation(program, "inUV0");
    loc_.inCol = glGetAttribLocation(program, "inCol");
    loc_.inPMVMat = glGetUniformLocation(program, "inPMVMat");
    loc_.inUVScale = glGetUniformLocation(program, "inUVScale");
    loc_.inEmissive = glGetUniformLocation(program, "inEmissive");
    loc_.inMaterialAmbient = glGetUniformLocation(program, "inMaterialAmbient");
    loc_.inMaterialDiffuse = glGetUniformLocation(program, "inMaterialDiffuse");
    loc_.inSampler0 = glGetUniformLocation(program, "inSampler0");
    return true;
}

void IwResManagerInit() {
    ++Res().started;
}

void IwResManagerTerminate() {
    Resources& r = Res();
    if (r.started == 0) return;
    if (--r.started == 0) {
        engine::ReleaseTechniques();
        for (BuiltinGroup& g : r.groups)
            g.loaded = false;
    }
}

void IwResRegisterBuiltinGroup(const char* groupName, const char* text, size_t size) {
    if (!groupName || !text) return;
    for (BuiltinGroup& g : Res().groups) {
        if (std::strcmp(g.name, groupName) == 0) {
            g.text = text;
            g.size = size;
            return;
        }
    }
    BuiltinGroup g{};
    std::snprintf(g.name, sizeof g.name, "%s", groupName);
    g.text = text;
    g.size = size;
    Res().groups.push_back(g);
}

bool IwResLoadGroup(const char* groupName) {
    if (!groupName) return false;
    for (BuiltinGroup& g : Res().groups) {
        if (std::strcmp(g.name, groupName) != 0) continue;
        if (g.loaded) return true;
        bool ok = ParseGroup(g.text, g.size);
        if (!ok) engine::Warn("resource group %s is malformed", groupName);
        g.loaded = ok;
        return ok;
    }
    engine::Warn("resource group %s not found", groupName);
    return false;
}

CIwGxShaderTechnique* IwResFindTechnique(const char* name) {
    if (!name) return nullptr;
    for (CIwGxShaderTechnique* t : Res().techniques) {
        if (std::strcmp(t->GetName(), name) == 0) return t;
    }
    return nullptr;
}

namespace engine {

void ReleaseTechniques() {
    for (CIwGxShaderTechnique* t : Res().techniques)
        delete t;
    Res().techniques.clear();
}

}  // namespace engine
