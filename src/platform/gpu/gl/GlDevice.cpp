#include "platform/gpu/gl/GlDevice.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/gpu/DeviceRules.h"
#include "platform/gpu/DxVertex.h"
#include "platform/gpu/gl/GlCheck.h"

namespace vellmar {

namespace {

// Row-vector matrices (x, y, z, 1) x M uploaded as they are become their transposes in
// GLSL's column-major reading, so the shader multiplies them the other way round.
constexpr const char* VertexShaderSource = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform vec3 uAmbient;
uniform vec2 uPixelShift;
out vec4 vColor;
out vec2 vTexCoord;
void main() {
  vec4 p = uProjection * (uView * (uWorld * vec4(aPosition, 1.0)));
  p.xy += uPixelShift * p.w;
  gl_Position = p;
  vColor = vec4(aColor.rgb * uAmbient, aColor.a);
  vTexCoord = aTexCoord;
}
)";

// Stage 0 of the fixed-function texture blender; the numbers are the D3DTOP_* and
// D3DTA_* values. Alpha comes from the texture, as with the default alpha stage.
constexpr const char* FragmentShaderSource = R"(#version 330 core
in vec4 vColor;
in vec2 vTexCoord;
uniform bool uTextured;
uniform int uColorOp;
uniform int uColorArg1;
uniform int uColorArg2;
uniform sampler2D uTexture;
out vec4 fragColor;
vec3 Argument(int arg, vec3 texel) { return arg == 2 ? texel : vColor.rgb; }
void main() {
  if (!uTextured || uColorOp == 1) {
    fragColor = vColor;
    return;
  }
  vec4 texel = texture(uTexture, vTexCoord);
  vec3 a1 = Argument(uColorArg1, texel.rgb);
  vec3 a2 = Argument(uColorArg2, texel.rgb);
  vec3 c;
  if (uColorOp == 2) c = a1;
  else if (uColorOp == 3) c = a2;
  else if (uColorOp == 4) c = a1 * a2;
  else if (uColorOp == 5) c = a1 * a2 * 2.0;
  else if (uColorOp == 6) c = a1 * a2 * 4.0;
  else if (uColorOp == 7) c = a1 + a2;
  else c = a1 + a2 - 0.5;
  fragColor = vec4(clamp(c, 0.0, 1.0), texel.a);
}
)";

GLuint CompileShader(GLenum Type, const char* Source) {
  const GLuint shader = VELLMAR_GL(glCreateShader(Type));
  VELLMAR_GL(glShaderSource(shader, 1, &Source, nullptr));
  VELLMAR_GL(glCompileShader(shader));
  GLint ok = GL_FALSE;
  VELLMAR_GL(glGetShaderiv(shader, GL_COMPILE_STATUS, &ok));
  if (ok == GL_TRUE) return shader;
  char log[1024] = {};
  VELLMAR_GL(glGetShaderInfoLog(shader, sizeof log, nullptr, log));
  std::fprintf(stderr, "GlDevice: shader compilation failed: %s\n", log);
  VELLMAR_GL(glDeleteShader(shader));
  return 0;
}

void SetColorUniform(GLint Location, uint32_t Argb) {
  VELLMAR_GL(glUniform3f(Location, static_cast<float>(Argb >> 16 & 0xFF) / 255.0f,
                         static_cast<float>(Argb >> 8 & 0xFF) / 255.0f,
                         static_cast<float>(Argb & 0xFF) / 255.0f));
}

GLenum GlBlendFactor(uint32_t Blend) {
  switch (Blend) {
    case D3DBLEND_ZERO:
      return GL_ZERO;
    case D3DBLEND_ONE:
      return GL_ONE;
    case D3DBLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
      return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
      return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
      return GL_DST_COLOR;
    default:
      return GL_ONE_MINUS_DST_COLOR;
  }
}

GLenum GlPrimitive(uint32_t PrimitiveType) {
  switch (PrimitiveType) {
    case D3DPT_POINTLIST:
      return GL_POINTS;
    case D3DPT_LINELIST:
      return GL_LINES;
    case D3DPT_LINESTRIP:
      return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST:
      return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP:
      return GL_TRIANGLE_STRIP;
    default:
      return GL_TRIANGLE_FAN;
  }
}

GLint GlAddress(uint32_t Address) {
  switch (Address) {
    case D3DTADDRESS_WRAP:
      return GL_REPEAT;
    case D3DTADDRESS_MIRROR:
      return GL_MIRRORED_REPEAT;
    default:
      return GL_CLAMP_TO_EDGE;
  }
}

GLint GlFilter(uint32_t Filter) {
  return Filter == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR;
}

// The attributes of TDxVertex in the bound GL_ARRAY_BUFFER from the byte offset on, for
// the bound vertex array.
void SetVertexLayout(uintptr_t Offset) {
  constexpr GLsizei stride = sizeof(TDxVertex);
  VELLMAR_GL(glEnableVertexAttribArray(0));
  VELLMAR_GL(glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(Offset)));
  // GL_BGRA as the size reads the ARGB word's bytes B, G, R, A into (r, g, b, a).
  VELLMAR_GL(glEnableVertexAttribArray(1));
  VELLMAR_GL(glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                   reinterpret_cast<const void*>(Offset + 12)));
  VELLMAR_GL(glEnableVertexAttribArray(2));
  VELLMAR_GL(glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(Offset + 16)));
}

}  // namespace

// A texture of the GL device: the texels are kept in memory as well (as in Direct3D's
// managed pool), so a lock always sees the current contents.
class GlTexture final : public IGpuTexture {
 public:
  GlTexture(GlDevice* Device, GLuint Name, uint32_t Width, uint32_t Height)
      : device_(Device), name_(Name), width_(Width), height_(Height), texels_(size_t{Width} * Height) {}
  ~GlTexture() override {
    if (device_) device_->ForgetTexture(this);
  }
  GlTexture(const GlTexture&) = delete;
  GlTexture& operator=(const GlTexture&) = delete;

  HRESULT LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t /*Flags*/) override {
    if (Level != 0 || locked_) return D3DERR_INVALIDCALL;
    locked_ = true;
    Locked.Pitch = static_cast<int32_t>(width_ * 4);
    Locked.pBits = texels_.data();
    return D3D_OK;
  }

  HRESULT UnlockRect(uint32_t Level) override {
    if (Level != 0 || !locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    if (!device_) return D3DERR_INVALIDCALL;
    Upload();
    return D3D_OK;
  }

  void Upload() const {
    VELLMAR_GL(glBindTexture(GL_TEXTURE_2D, name_));
    VELLMAR_GL(glPixelStorei(GL_UNPACK_ALIGNMENT, 4));
    VELLMAR_GL(glPixelStorei(GL_UNPACK_ROW_LENGTH, 0));
    // 32-bit ARGB words are BGRA bytes on every little-endian machine; this format
    // reads the words, so it holds on any byte order.
    VELLMAR_GL(glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(width_),
                               static_cast<GLsizei>(height_), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                               texels_.data()));
  }

  GlDevice* device_;
  GLuint name_;
  uint32_t width_;
  uint32_t height_;
  std::vector<uint32_t> texels_;
  bool locked_ = false;
};

// A vertex buffer of the GL device: a buffer object written through glMapBufferRange.
class GlVertexBuffer final : public IGpuVertexBuffer {
 public:
  GlVertexBuffer(GlDevice* Device, GLuint Name, uint32_t Length) : device_(Device), name_(Name), length_(Length) {}
  ~GlVertexBuffer() override {
    if (device_) device_->ForgetVertexBuffer(this);
  }
  GlVertexBuffer(const GlVertexBuffer&) = delete;
  GlVertexBuffer& operator=(const GlVertexBuffer&) = delete;

  HRESULT Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t Flags) override {
    const uint32_t size = LockedSize(OffsetToLock, SizeToLock, length_);
    if (!device_ || Data == nullptr || locked_ || size == 0) return D3DERR_INVALIDCALL;
    // Locks never read, so the locked range need not be kept. Bytes behind NOOVERWRITE
    // are not in use by a pending draw: the driver need not wait for the GPU.
    GLbitfield access = GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT;
    if (Flags & D3DLOCK_DISCARD)
      access |= GL_MAP_INVALIDATE_BUFFER_BIT;
    else if (Flags & D3DLOCK_NOOVERWRITE)
      access |= GL_MAP_UNSYNCHRONIZED_BIT;
    VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, name_));
    void* mapped = VELLMAR_GL(glMapBufferRange(GL_ARRAY_BUFFER, OffsetToLock, size, access));
    if (mapped == nullptr) return E_OUTOFMEMORY;
    locked_ = true;
    *Data = mapped;
    return D3D_OK;
  }

  HRESULT Unlock() override {
    if (!device_ || !locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, name_));
    // A false result means the mapped bytes were lost (a display change); the caller
    // learns it from the failure and writes them again.
    return VELLMAR_GL(glUnmapBuffer(GL_ARRAY_BUFFER)) == GL_TRUE ? D3D_OK : D3DERR_INVALIDCALL;
  }

  GlDevice* device_;
  GLuint name_;
  uint32_t length_;
  bool locked_ = false;
};

HRESULT GlDevice::Create(uint32_t BackBufferWidth, uint32_t BackBufferHeight,
                         std::unique_ptr<IGpuDevice>& Device) {
  Device.reset();
  if (BackBufferWidth == 0 || BackBufferHeight == 0) return D3DERR_INVALIDCALL;
  if (!epoxy_is_desktop_gl() || epoxy_gl_version() < 33) return D3DERR_NOTAVAILABLE;
  std::unique_ptr<GlDevice> device(new GlDevice(BackBufferWidth, BackBufferHeight));
  if (!device->Init()) return D3DERR_NOTAVAILABLE;
  Device = std::move(device);
  return D3D_OK;
}

GlDevice::GlDevice(uint32_t BackBufferWidth, uint32_t BackBufferHeight)
    : width_(BackBufferWidth), height_(BackBufferHeight) {
  viewport_.Width = width_;
  viewport_.Height = height_;
}

bool GlDevice::Init() {
  GLint maxSize = 0;
  VELLMAR_GL(glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize));
  caps_.MaxTextureWidth = caps_.MaxTextureHeight = static_cast<uint32_t>(std::max(maxSize, 0));
  anisotropic_ = epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");
  if (anisotropic_) {
    GLfloat maxAnisotropy = 1.0f;
    VELLMAR_GL(glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy));
    caps_.MaxAnisotropy = static_cast<uint32_t>(std::max(maxAnisotropy, 1.0f));
  }

  const GLuint vertexShader = CompileShader(GL_VERTEX_SHADER, VertexShaderSource);
  const GLuint fragmentShader = CompileShader(GL_FRAGMENT_SHADER, FragmentShaderSource);
  if (vertexShader == 0 || fragmentShader == 0) {
    if (vertexShader) VELLMAR_GL(glDeleteShader(vertexShader));
    if (fragmentShader) VELLMAR_GL(glDeleteShader(fragmentShader));
    return false;
  }
  program_ = VELLMAR_GL(glCreateProgram());
  VELLMAR_GL(glAttachShader(program_, vertexShader));
  VELLMAR_GL(glAttachShader(program_, fragmentShader));
  VELLMAR_GL(glLinkProgram(program_));
  VELLMAR_GL(glDeleteShader(vertexShader));
  VELLMAR_GL(glDeleteShader(fragmentShader));
  GLint linked = GL_FALSE;
  VELLMAR_GL(glGetProgramiv(program_, GL_LINK_STATUS, &linked));
  if (linked != GL_TRUE) return false;

  uWorld_ = VELLMAR_GL(glGetUniformLocation(program_, "uWorld"));
  uView_ = VELLMAR_GL(glGetUniformLocation(program_, "uView"));
  uProjection_ = VELLMAR_GL(glGetUniformLocation(program_, "uProjection"));
  uAmbient_ = VELLMAR_GL(glGetUniformLocation(program_, "uAmbient"));
  uPixelShift_ = VELLMAR_GL(glGetUniformLocation(program_, "uPixelShift"));
  uTextured_ = VELLMAR_GL(glGetUniformLocation(program_, "uTextured"));
  uColorOp_ = VELLMAR_GL(glGetUniformLocation(program_, "uColorOp"));
  uColorArg1_ = VELLMAR_GL(glGetUniformLocation(program_, "uColorArg1"));
  uColorArg2_ = VELLMAR_GL(glGetUniformLocation(program_, "uColorArg2"));
  uTexture_ = VELLMAR_GL(glGetUniformLocation(program_, "uTexture"));

  VELLMAR_GL(glGenVertexArrays(1, &vao_));
  VELLMAR_GL(glGenBuffers(1, &vbo_));
  VELLMAR_GL(glBindVertexArray(vao_));
  VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, vbo_));
  SetVertexLayout(0);
  VELLMAR_GL(glGenVertexArrays(1, &streamVao_));
  VELLMAR_GL(glBindVertexArray(0));

  VELLMAR_GL(glGenSamplers(1, &sampler_));
  VELLMAR_GL(glUseProgram(program_));
  VELLMAR_GL(glUniform1i(uTexture_, 0));
  return true;
}

GlDevice::~GlDevice() {
  for (GlTexture* texture : textures_) {
    VELLMAR_GL(glDeleteTextures(1, &texture->name_));
    texture->device_ = nullptr;
  }
  for (GlVertexBuffer* buffer : buffers_) {
    VELLMAR_GL(glDeleteBuffers(1, &buffer->name_));
    buffer->device_ = nullptr;
  }
  if (sampler_) VELLMAR_GL(glDeleteSamplers(1, &sampler_));
  if (vbo_) VELLMAR_GL(glDeleteBuffers(1, &vbo_));
  if (vao_) VELLMAR_GL(glDeleteVertexArrays(1, &vao_));
  if (streamVao_) VELLMAR_GL(glDeleteVertexArrays(1, &streamVao_));
  if (program_) VELLMAR_GL(glDeleteProgram(program_));
}

void GlDevice::ForgetTexture(GlTexture* Texture) {
  if (texture_ == Texture) texture_ = nullptr;
  VELLMAR_GL(glDeleteTextures(1, &Texture->name_));
  textures_.erase(std::find(textures_.begin(), textures_.end(), Texture));
}

void GlDevice::ForgetVertexBuffer(GlVertexBuffer* Buffer) {
  if (stream_ == Buffer) {
    stream_ = nullptr;
    streamDirty_ = true;
  }
  VELLMAR_GL(glDeleteBuffers(1, &Buffer->name_));
  buffers_.erase(std::find(buffers_.begin(), buffers_.end(), Buffer));
}

HRESULT GlDevice::GetDeviceCaps(D3DCAPS9& Caps) {
  Caps = caps_;
  return D3D_OK;
}

HRESULT GlDevice::Reset(uint32_t BackBufferWidth, uint32_t BackBufferHeight) {
  if (BackBufferWidth == 0 || BackBufferHeight == 0 || inScene_) return D3DERR_INVALIDCALL;
  width_ = BackBufferWidth;
  height_ = BackBufferHeight;
  viewport_ = D3DVIEWPORT9{0, 0, width_, height_, 0.0f, 1.0f};
  return D3D_OK;
}

HRESULT GlDevice::GetViewport(D3DVIEWPORT9& Viewport) {
  Viewport = viewport_;
  return D3D_OK;
}

HRESULT GlDevice::SetViewport(const D3DVIEWPORT9& Viewport) {
  const HRESULT result = CheckViewport(Viewport, width_, height_);
  if (result == D3D_OK) viewport_ = Viewport;
  return result;
}

HRESULT GlDevice::SetRenderState(uint32_t State, uint32_t Value) {
  return state_.SetRenderState(State, Value);
}

HRESULT GlDevice::SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) {
  return state_.SetTextureStageState(Stage, Type, Value);
}

HRESULT GlDevice::SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) {
  const HRESULT result = state_.SetSamplerState(Sampler, Type, Value);
  if (result == D3D_OK) samplerDirty_ = true;
  return result;
}

HRESULT GlDevice::SetTransform(uint32_t State, const TMatrix44& Matrix) {
  const HRESULT result = state_.SetTransform(State, Matrix);
  if (result == D3D_OK) transformsDirty_ = true;
  return result;
}

HRESULT GlDevice::SetFVF(uint32_t FVF) {
  if (FVF != DxVertexFVF) return D3DERR_INVALIDCALL;
  fvf_ = FVF;
  return D3D_OK;
}

HRESULT GlDevice::SetTexture(uint32_t Stage, IGpuTexture* Texture) {
  if (Stage != 0) return D3DERR_INVALIDCALL;
  auto* texture = dynamic_cast<GlTexture*>(Texture);
  if (Texture && (!texture || texture->device_ != this)) return D3DERR_INVALIDCALL;
  texture_ = texture;
  return D3D_OK;
}

HRESULT GlDevice::CreateTexture(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t /*Usage*/,
                                uint32_t Format, uint32_t /*Pool*/, std::unique_ptr<IGpuTexture>& Texture) {
  Texture.reset();
  if (HRESULT result = CheckTextureRequest(Width, Height, Levels, Format, caps_); result != D3D_OK)
    return result;
  GLuint name = 0;
  VELLMAR_GL(glGenTextures(1, &name));
  auto texture = std::make_unique<GlTexture>(this, name, Width, Height);
  VELLMAR_GL(glBindTexture(GL_TEXTURE_2D, name));
  VELLMAR_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0));
  VELLMAR_GL(glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(Width),
                          static_cast<GLsizei>(Height), 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr));
  texture->Upload();
  textures_.push_back(texture.get());
  Texture = std::move(texture);
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(uint32_t Length, uint32_t Usage, uint32_t FVF, uint32_t Pool,
                                     std::unique_ptr<IGpuVertexBuffer>& Buffer) {
  Buffer.reset();
  if (HRESULT result = CheckVertexBufferRequest(Length, Usage, FVF, Pool); result != D3D_OK) return result;
  GLuint name = 0;
  VELLMAR_GL(glGenBuffers(1, &name));
  VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, name));
  VELLMAR_GL(glBufferData(GL_ARRAY_BUFFER, Length, nullptr, GL_STATIC_DRAW));
  auto buffer = std::make_unique<GlVertexBuffer>(this, name, Length);
  buffers_.push_back(buffer.get());
  Buffer = std::move(buffer);
  return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(uint32_t StreamNumber, IGpuVertexBuffer* Buffer, uint32_t OffsetInBytes,
                                  uint32_t Stride) {
  auto* buffer = dynamic_cast<GlVertexBuffer*>(Buffer);
  if (Buffer && (!buffer || buffer->device_ != this)) return D3DERR_INVALIDCALL;
  if (HRESULT result = Buffer ? CheckStreamSource(StreamNumber, OffsetInBytes, Stride)
                              : (StreamNumber == 0 ? D3D_OK : D3DERR_INVALIDCALL);
      result != D3D_OK)
    return result;
  if (buffer != stream_ || OffsetInBytes != streamOffset_) streamDirty_ = true;
  stream_ = buffer;
  streamOffset_ = OffsetInBytes;
  return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT GlDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  return D3D_OK;
}

void GlDevice::ApplyPipelineState() {
  VELLMAR_GL(glUseProgram(program_));
  VELLMAR_GL(glBindVertexArray(vao_));
  VELLMAR_GL(glViewport(static_cast<GLint>(viewport_.X),
                        static_cast<GLint>(height_ - viewport_.Y - viewport_.Height),
                        static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height)));
  VELLMAR_GL(glDepthRange(viewport_.MinZ, viewport_.MaxZ));
  VELLMAR_GL(glDisable(GL_SCISSOR_TEST));
  VELLMAR_GL(glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE));
  if (state_.zEnable) {
    VELLMAR_GL(glEnable(GL_DEPTH_TEST));
    VELLMAR_GL(glDepthFunc(GL_LEQUAL));
    VELLMAR_GL(glDepthMask(GL_TRUE));
  } else {
    VELLMAR_GL(glDisable(GL_DEPTH_TEST));
  }
  // Direct3D's screen runs y down, so its clockwise is OpenGL's counter-clockwise.
  if (state_.cullMode == D3DCULL_NONE) {
    VELLMAR_GL(glDisable(GL_CULL_FACE));
  } else {
    VELLMAR_GL(glEnable(GL_CULL_FACE));
    VELLMAR_GL(glFrontFace(GL_CCW));
    VELLMAR_GL(glCullFace(state_.cullMode == D3DCULL_CW ? GL_FRONT : GL_BACK));
  }
  if (state_.blend) {
    VELLMAR_GL(glEnable(GL_BLEND));
    VELLMAR_GL(glBlendEquation(GL_FUNC_ADD));
    VELLMAR_GL(glBlendFunc(GlBlendFactor(state_.srcBlend), GlBlendFactor(state_.destBlend)));
  } else {
    VELLMAR_GL(glDisable(GL_BLEND));
  }

  if (transformsDirty_) {
    VELLMAR_GL(glUniformMatrix4fv(uWorld_, 1, GL_FALSE, state_.world.m.data()));
    VELLMAR_GL(glUniformMatrix4fv(uView_, 1, GL_FALSE, state_.view.m.data()));
    VELLMAR_GL(glUniformMatrix4fv(uProjection_, 1, GL_FALSE, state_.projection.m.data()));
    transformsDirty_ = false;
  }
  SetColorUniform(uAmbient_, state_.Tint());
  // Half a pixel to put Direct3D's pixel centres on OpenGL's, less 1/64 pixel so that
  // an edge running exactly through pixel centres lies off them: the pixel then falls
  // inside on the top and left edges and outside on the others, as in Direct3D,
  // whatever tie rule the GL rasteriser uses (Mesa's differs between framebuffers).
  constexpr float shiftPixels = 0.5f - 1.0f / 64.0f;
  VELLMAR_GL(glUniform2f(uPixelShift_, 2.0f * shiftPixels / static_cast<float>(viewport_.Width),
                         -2.0f * shiftPixels / static_cast<float>(viewport_.Height)));
  VELLMAR_GL(glUniform1i(uTextured_, texture_ ? 1 : 0));
  VELLMAR_GL(glUniform1i(uColorOp_, static_cast<GLint>(state_.colorOp)));
  VELLMAR_GL(glUniform1i(uColorArg1_, static_cast<GLint>(state_.colorArg1)));
  VELLMAR_GL(glUniform1i(uColorArg2_, static_cast<GLint>(state_.colorArg2)));

  VELLMAR_GL(glActiveTexture(GL_TEXTURE0));
  VELLMAR_GL(glBindTexture(GL_TEXTURE_2D, texture_ ? texture_->name_ : 0));
  if (samplerDirty_) {
    const bool anisotropic = state_.minFilter == D3DTEXF_ANISOTROPIC || state_.magFilter == D3DTEXF_ANISOTROPIC;
    VELLMAR_GL(glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GlFilter(state_.minFilter)));
    VELLMAR_GL(glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GlFilter(state_.magFilter)));
    VELLMAR_GL(glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GlAddress(state_.addressU)));
    VELLMAR_GL(glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GlAddress(state_.addressV)));
    if (anisotropic_) {
      const uint32_t level = anisotropic ? std::min(state_.maxAnisotropy, caps_.MaxAnisotropy) : 1;
      VELLMAR_GL(glSamplerParameterf(sampler_, GL_TEXTURE_MAX_ANISOTROPY_EXT, static_cast<float>(level)));
    }
    samplerDirty_ = false;
  }
  VELLMAR_GL(glBindSampler(0, sampler_));
}

HRESULT GlDevice::Clear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags, uint32_t Color, float Z,
                        uint32_t Stencil) {
  if (HRESULT result = CheckClear(Count, Rects, Flags); result != D3D_OK) return result;
  ApplyPipelineState();
  GLbitfield mask = 0;
  if (Flags & D3DCLEAR_TARGET) {
    mask |= GL_COLOR_BUFFER_BIT;
    VELLMAR_GL(glClearColor(
        static_cast<float>(Color >> 16 & 0xFF) / 255.0f, static_cast<float>(Color >> 8 & 0xFF) / 255.0f,
        static_cast<float>(Color & 0xFF) / 255.0f, static_cast<float>(Color >> 24) / 255.0f));
  }
  if (Flags & D3DCLEAR_ZBUFFER) {
    mask |= GL_DEPTH_BUFFER_BIT;
    VELLMAR_GL(glDepthMask(GL_TRUE));
    VELLMAR_GL(glClearDepth(Z));
  }
  if (Flags & D3DCLEAR_STENCIL) {
    mask |= GL_STENCIL_BUFFER_BIT;
    VELLMAR_GL(glStencilMask(0xFF));
    VELLMAR_GL(glClearStencil(static_cast<GLint>(Stencil)));
  }
  // Direct3D clears the viewport (or rectangles inside it), never the whole target.
  const int32_t left = static_cast<int32_t>(viewport_.X);
  const int32_t top = static_cast<int32_t>(viewport_.Y);
  const int32_t right = left + static_cast<int32_t>(viewport_.Width);
  const int32_t bottom = top + static_cast<int32_t>(viewport_.Height);
  const D3DRECT whole{left, top, right, bottom};
  VELLMAR_GL(glEnable(GL_SCISSOR_TEST));
  for (uint32_t i = 0; i < std::max(Count, 1u); ++i) {
    const D3DRECT& r = Count == 0 ? whole : Rects[i];
    const int32_t x1 = std::max(r.x1, left), y1 = std::max(r.y1, top);
    const int32_t x2 = std::min(r.x2, right), y2 = std::min(r.y2, bottom);
    if (x2 <= x1 || y2 <= y1) continue;
    VELLMAR_GL(glScissor(x1, static_cast<GLint>(height_) - y2, x2 - x1, y2 - y1));
    VELLMAR_GL(glClear(mask));
  }
  VELLMAR_GL(glDisable(GL_SCISSOR_TEST));
  return D3D_OK;
}

HRESULT GlDevice::DrawPrimitiveUP(uint32_t PrimitiveType, uint32_t PrimitiveCount, const void* VertexData,
                                  uint32_t VertexStride) {
  if (HRESULT result = CheckDraw(fvf_, PrimitiveType, PrimitiveCount, VertexData, VertexStride);
      result != D3D_OK)
    return result;
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  const auto bytes = static_cast<GLsizeiptr>(count * sizeof(TDxVertex));
  ApplyPipelineState();
  VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, vbo_));
  // The buffer keeps its largest size; each draw orphans it so the driver never waits
  // for the previous draw to finish reading.
  if (bytes > vboCapacity_) vboCapacity_ = std::max<GLsizeiptr>(bytes, 2 * vboCapacity_);
  VELLMAR_GL(glBufferData(GL_ARRAY_BUFFER, vboCapacity_, nullptr, GL_STREAM_DRAW));
  VELLMAR_GL(glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, VertexData));
  VELLMAR_GL(glDrawArrays(GlPrimitive(PrimitiveType), 0, static_cast<GLsizei>(count)));
  CountDrawn(count);
  return D3D_OK;
}

HRESULT GlDevice::DrawPrimitive(uint32_t PrimitiveType, uint32_t StartVertex, uint32_t PrimitiveCount) {
  if (stream_ == nullptr) return D3DERR_INVALIDCALL;
  if (HRESULT result = CheckStreamDraw(fvf_, PrimitiveType, StartVertex, PrimitiveCount, streamOffset_,
                                       stream_->length_, stream_->locked_);
      result != D3D_OK)
    return result;
  ApplyPipelineState();
  VELLMAR_GL(glBindVertexArray(streamVao_));
  if (streamDirty_) {
    VELLMAR_GL(glBindBuffer(GL_ARRAY_BUFFER, stream_->name_));
    SetVertexLayout(streamOffset_);
    streamDirty_ = false;
  }
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  VELLMAR_GL(glDrawArrays(GlPrimitive(PrimitiveType), static_cast<GLint>(StartVertex), static_cast<GLsizei>(count)));
  CountDrawn(count);
  return D3D_OK;
}

void GlDevice::CountDrawn(uint64_t Vertices) {
  // A software rasteriser keeps every primitive of the scene binned until the scene is
  // flushed: flushing every so many vertices bounds that memory (tens of megabytes at
  // the first frame of a large street) and costs a GPU nothing.
  constexpr uint64_t kFlushEvery = 200'000;
  verticesSinceFlush_ += Vertices;
  if (verticesSinceFlush_ < kFlushEvery) return;
  VELLMAR_GL(glFlush());
  verticesSinceFlush_ = 0;
}

HRESULT GlDevice::Present() {
  VELLMAR_GL(glFlush());
  return D3D_OK;
}

}  // namespace vellmar
