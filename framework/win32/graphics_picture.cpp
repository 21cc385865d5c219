// TGraphic's common behaviour, the registry of graphic classes and file formats, and TPicture.
#include <algorithm>
#include <memory>
#include <mutex>

#include "framework/core/filer.h"
#include "framework/core/sysutils.h"
#include "framework/win32/graphics.h"

namespace fw {

// ---- TGraphic -------------------------------------------------------------------------------------

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::SetModified(bool modified) {
    if (modified)
        Changed();
    else
        modified_ = false;
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::Progress(TProgressStage stage, uint8_t percent, bool redrawNow, const TRect& r, const std::string& msg) {
    if (OnProgress) OnProgress(this, stage, percent, redrawNow, r, msg);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

// The file appears only once the whole image is written; a failure leaves no half file behind.
void TGraphic::SaveToFile(const std::string& fileName) {
    TMemoryStream image;
    SaveToStream(image);
    auto stream = std::make_unique<TFileStream>(fileName, fmCreate);
    try {
        stream->WriteBuffer(image.Memory(), image.Size());
    } catch (...) {
        stream.reset();  // closed before it is removed
        DeleteFileA(fileName.c_str());
        throw;
    }
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
    throw EInvalidGraphic("Unsupported clipboard format");
}

bool TGraphic::Equals(TGraphic* other) {
    if (other == this) return true;
    if (!other || other->ClassName() != ClassName() || other->Empty() != Empty()) return false;
    if (Empty()) return true;
    TMemoryStream a, b;
    SaveToStream(a);
    other->SaveToStream(b);
    return a.Data() == b.Data();
}

void TGraphic::ReadData(TStream& stream) { LoadFromStream(stream); }

void TGraphic::WriteData(TStream& stream) { SaveToStream(stream); }

void TGraphic::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

// ---- class and format registry ---------------------------------------------------------------------

namespace {

struct FileFormat {
    std::string extension;  // without the dot, lower case
    std::string description;
    TGraphicClass cls;
};

struct ClipboardFormat {
    UINT format;
    TGraphicClass cls;
};

struct GraphicRegistry {
    std::mutex lock;
    std::vector<TGraphicClass> classes;
    std::vector<FileFormat> files;
    std::vector<ClipboardFormat> clipboard;
};

GraphicRegistry& Formats() {
    static GraphicRegistry registry;
    return registry;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string ExtensionOf(const std::string& fileName) {
    size_t slash = fileName.find_last_of("\\/:");
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return LowerAscii(fileName.substr(dot + 1));
}

}  // namespace

void RegisterGraphicClass(const TGraphicClass& cls) {
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    for (TGraphicClass& c : r.classes)
        if (SameName(c.name, cls.name)) {
            c = cls;
            return;
        }
    r.classes.push_back(cls);
}

const TGraphicClass* FindGraphicClass(const std::string& name) {
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const TGraphicClass& c : r.classes)
        if (SameName(c.name, name)) return &c;
    return nullptr;
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const TGraphicClass& cls) {
    RegisterGraphicClass(cls);
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    std::string ext = LowerAscii(extension);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    for (FileFormat& f : r.files)
        if (f.extension == ext) {
            f.description = description;
            f.cls = cls;
            return;
        }
    r.files.push_back({ext, description, cls});
}

void TPicture::UnregisterGraphicClass(const std::string& className) {
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    std::erase_if(r.files, [&](const FileFormat& f) { return SameName(f.cls.name, className); });
    std::erase_if(r.clipboard, [&](const ClipboardFormat& f) { return SameName(f.cls.name, className); });
    std::erase_if(r.classes, [&](const TGraphicClass& c) { return SameName(c.name, className); });
}

void TPicture::RegisterClipboardFormat(UINT format, const TGraphicClass& cls) {
    RegisterGraphicClass(cls);
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    for (ClipboardFormat& f : r.clipboard)
        if (f.format == format) {
            f.cls = cls;
            return;
        }
    r.clipboard.push_back({format, cls});
}

bool TPicture::SupportsClipboardFormat(UINT format) {
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    return std::any_of(r.clipboard.begin(), r.clipboard.end(), [&](const ClipboardFormat& f) { return f.format == format; });
}

std::string TPicture::GraphicFilter() {
    GraphicRegistry& r = Formats();
    std::lock_guard<std::mutex> guard(r.lock);
    std::string masks;
    std::string parts;
    for (const FileFormat& f : r.files) {
        std::string mask = "*." + f.extension;
        if (!masks.empty()) masks += ';';
        masks += mask;
        parts += '|' + f.description + " (" + mask + ")|" + mask;
    }
    return "All (" + masks + ")|" + masks + parts;
}

// ---- TPicture -------------------------------------------------------------------------------------

void TPicture::GraphicDeleter::operator()(TGraphic* g) const {
    if (g) g->Free();
}

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
    if (OnChange) OnChange(this);
}

void TPicture::ProgressRelay(TObject*, TProgressStage stage, uint8_t percent, bool redrawNow, const TRect& r,
                             const std::string& msg) {
    if (OnProgress) OnProgress(this, stage, percent, redrawNow, r, msg);
}

// Takes ownership of `graphic` (or empties the picture) and reports the change.
void TPicture::Take(TGraphic* graphic) {
    graphic_.reset(graphic);
    if (graphic) {
        graphic->OnChange.Bind(this, &TPicture::Changed);
        graphic->OnProgress.Bind(this, &TPicture::ProgressRelay);
    }
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    if (!graphic) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic, GraphicDeleter> copy;
    if (const TGraphicClass* cls = FindGraphicClass(graphic->ClassName()))
        copy.reset(cls->create());
    else if (dynamic_cast<TBitmap*>(graphic))
        copy.reset(new TBitmap());
    else if (dynamic_cast<TIcon*>(graphic))
        copy.reset(new TIcon());
    else
        throw EInvalidGraphic("Unknown picture format " + graphic->ClassName());
    copy->Assign(graphic);
    Take(copy.release());
}

void TPicture::Assign(TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* p = dynamic_cast<TPicture*>(source)) {
        if (p != this) SetGraphic(p->Graphic());
    } else if (auto* g = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(g);
    } else {
        TPersistent::Assign(source);
    }
}

TBitmap* TPicture::Bitmap() {
    auto* b = dynamic_cast<TBitmap*>(graphic_.get());
    if (!b) {
        b = new TBitmap();
        Take(b);
    }
    return b;
}

TIcon* TPicture::Icon() {
    auto* i = dynamic_cast<TIcon*>(graphic_.get());
    if (!i) {
        i = new TIcon();
        Take(i);
    }
    return i;
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName) {
    std::string ext = ExtensionOf(fileName);
    TGraphicClass cls;
    {
        GraphicRegistry& r = Formats();
        std::lock_guard<std::mutex> guard(r.lock);
        auto it = std::find_if(r.files.begin(), r.files.end(), [&](const FileFormat& f) { return f.extension == ext; });
        if (it == r.files.end()) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
        cls = it->cls;
    }
    std::unique_ptr<TGraphic, GraphicDeleter> g(cls.create());
    g->OnProgress.Bind(this, &TPicture::ProgressRelay);
    g->LoadFromFile(fileName);
    Take(g.release());
}

void TPicture::SaveToFile(const std::string& fileName) {
    if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    TGraphicClass cls;
    {
        GraphicRegistry& r = Formats();
        std::lock_guard<std::mutex> guard(r.lock);
        auto it = std::find_if(r.clipboard.begin(), r.clipboard.end(),
                               [&](const ClipboardFormat& f) { return f.format == format; });
        if (it == r.clipboard.end()) throw EInvalidGraphic("Unsupported clipboard format");
        cls = it->cls;
    }
    std::unique_ptr<TGraphic, GraphicDeleter> g(cls.create());
    g->LoadFromClipboardFormat(format, data, palette);
    Take(g.release());
}

//  Data layout:
//  +0  uint8  n      length of the class name
//  +1  char[n]       class name ("TBitmap", "TIcon", ...)
//  +1+n              the graphic's own WriteData
void TPicture::ReadData(TStream& stream) {
    uint8_t length = 0;
    if (stream.Read(&length, 1) != 1) {
        Take(nullptr);
        return;
    }
    std::string name = stream.ReadString(length);
    const TGraphicClass* cls = FindGraphicClass(name);
    if (!cls) throw EInvalidGraphic("Unknown picture format " + name);
    std::unique_ptr<TGraphic, GraphicDeleter> g(cls->create());
    g->ReadData(stream);
    Take(g.release());
}

void TPicture::WriteData(TStream& stream) {
    std::string name = graphic_ ? graphic_->ClassName() : std::string();
    if (name.size() > 255) name.resize(255);
    uint8_t length = static_cast<uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteString(name);
    if (graphic_) graphic_->WriteData(stream);
}

void TPicture::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
        graphic_ && !graphic_->Empty());
}

}  // namespace fw
